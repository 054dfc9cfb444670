#include "console/listing.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "console/writer.hpp"

namespace console {

namespace {

// The text of every card, made at compile time so that a listing costs one
// eight-byte copy per card; {fmt} formats integers from a table in the same
// spirit. Each entry holds the text in its first bytes and the text's length
// in its last byte, which the copy of the next card overwrites.
using card_text = std::uint64_t;
constexpr unsigned length_byte = 7;
constexpr unsigned length_shift = std::endian::native == std::endian::little ? 56 : 0;

constexpr std::array<card_text, deal::deck_capacity> card_texts = [] {
    std::array<card_text, deal::deck_capacity> table{};
    for (int value = 0; value < deal::deck_capacity; ++value) {
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

// Every card the deck can hold has its text, and the longest text, four
// digits and a blank, leaves the length byte alone.
static_assert(card_texts.size() >= static_cast<std::size_t>(deal::deck_capacity));
static_assert((card_texts[deal::deck_capacity - 1] >> length_shift & 0xff) <= length_byte);
// The listing of the largest deck goes into the writer's buffer in one piece.
static_assert(listing_room_max <= writer::capacity);

} // namespace

char* format_stack(char* out) {
    // A hand's worth of cards at a time: every deck is a whole number of
    // hands, and the loop's own cost is paid once per five copies.
    const auto put = [&out](deal::card c) {
        const card_text text = card_texts[static_cast<std::size_t>(c)];
        std::memcpy(out, &text, sizeof text);
        out += (text >> length_shift) & 0xff;
    };
    const deal::card* const end = deal::stack + deal::deck_size();
    for (const deal::card* group = deal::stack; group != end; group += deal::hand_size) {
        put(group[0]);
        put(group[1]);
        put(group[2]);
        put(group[3]);
        put(group[4]);
    }
    *out++ = '\n';
    return out;
}

void print_stack() {
    char* out = output.reserve(listing_room(deal::deck_size()));
    output.end_line(format_stack(out));
}

} // namespace console
