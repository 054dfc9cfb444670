#include "text/listing.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace text {

namespace {

// The text of every card, made at compile time so that a listing costs one
// eight-byte copy per card; {fmt} formats integers from a table in the same
// spirit. Each entry holds the text in its first bytes and the text's length
// in its last byte, which the copy of the next card overwrites.
using card_text = std::uint64_t;
constexpr unsigned length_byte = 7;
constexpr unsigned length_shift = std::endian::native == std::endian::little ? 56 : 0;

constexpr std::array<card_text, deal::max_cards> card_texts = [] {
    std::array<card_text, deal::max_cards> table{};
    for (int value = 0; value < deal::max_cards; ++value) {
        char digits[4];
        int count = 0;
        for (int rest = value; count == 0 || rest > 0; rest /= 10)
            digits[count++] = static_cast<char>('0' + rest % 10);
        std::array<char, sizeof(card_text)> bytes{};
        unsigned at = 0;
        if (count < 2)
            bytes[at++] = ' '; // "%2d" pads to two characters
        while (count > 0)
            bytes[at++] = digits[--count];
        bytes[at++] = ' ';
        bytes[length_byte] = static_cast<char>(at);
        // The builtin, as std::bit_cast is missing from the WebAssembly build's libc++.
        table[static_cast<std::size_t>(value)] = __builtin_bit_cast(card_text, bytes);
    }
    return table;
}();

// The longest text, four digits and a blank, leaves the length byte alone.
static_assert((card_texts[deal::max_cards - 1] >> length_shift & 0xff) <= length_byte);

void put(char*& out, deal::card c) {
    const card_text text = card_texts[static_cast<std::size_t>(c)];
    std::memcpy(out, &text, sizeof text);
    out += (text >> length_shift) & 0xff;
}

} // namespace

char* format_hands(const deal::card* cards, int hands, char* out) {
    // A hand's worth of cards at a time: the loop's own cost is paid once
    // per five copies.
    const deal::card* const end = cards + hands * deal::hand_size;
    for (; cards != end; cards += deal::hand_size) {
        put(out, cards[0]);
        put(out, cards[1]);
        put(out, cards[2]);
        put(out, cards[3]);
        put(out, cards[4]);
    }
    return out;
}

char* format_cards(const deal::card* cards, int count, char* out) {
    const int hands = count / deal::hand_size;
    out = format_hands(cards, hands, out);
    for (int i = hands * deal::hand_size; i < count; ++i)
        put(out, cards[i]);
    return out;
}

} // namespace text
