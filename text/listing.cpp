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

// The text of one card, "%2d " as eight bytes: the text first, its length
// in the last byte.
constexpr card_text text_of(int value) {
    char digits[4] = {};
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
    return __builtin_bit_cast(card_text, bytes);
}

// The longest text, four digits and a blank, leaves the length byte alone.
static_assert((text_of(deal::max_cards - 1) >> length_shift & 0xff) <= length_byte);

#ifdef DEAL_COMPACT_LISTING
// Where the program's size counts more than a listing's speed (the page,
// whose every byte is loaded), each card's text is made as it is written,
// two digits at a time from a table of the hundred pairs, as {fmt} does.
constexpr std::array<char, 200> digit_pairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();
card_text lookup(deal::card c) {
    std::array<char, sizeof(card_text)> bytes{};
    const auto pair = [](int n) { return &digit_pairs[static_cast<std::size_t>(2 * n)]; };
    unsigned at = 0;
    if (c < 10) {
        bytes[at++] = ' ';
        bytes[at++] = static_cast<char>('0' + c);
    } else if (c < 100) {
        std::memcpy(&bytes[at], pair(c), 2);
        at += 2;
    } else {
        const int high = c / 100;
        if (high < 10)
            bytes[at++] = static_cast<char>('0' + high);
        else {
            std::memcpy(&bytes[at], pair(high), 2);
            at += 2;
        }
        std::memcpy(&bytes[at], pair(c % 100), 2);
        at += 2;
    }
    bytes[at++] = ' ';
    bytes[length_byte] = static_cast<char>(at);
    return __builtin_bit_cast(card_text, bytes);
}
#else
constexpr std::array<card_text, deal::max_cards> card_texts = [] {
    std::array<card_text, deal::max_cards> table{};
    for (int value = 0; value < deal::max_cards; ++value)
        table[static_cast<std::size_t>(value)] = text_of(value);
    return table;
}();
card_text lookup(deal::card c) {
    return card_texts[static_cast<std::size_t>(c)];
}
#endif

void put(char*& out, deal::card c) {
    const card_text text = lookup(c);
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

namespace text {

char* format_marked_cards(const deal::card* cards, int count, char* out) {
    for (int i = 0; i < count; ++i) {
        put(out, deal::number_of(cards[i]));
        out[-1] = deal::is_face_up(cards[i]) ? '^' : ' ';
        *out++ = ' ';
    }
    return out;
}

} // namespace text
