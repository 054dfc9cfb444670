#include "console/listing.hpp"

#include <array>
#include <cstring>

#include "console/writer.hpp"

namespace console {

namespace {

// The text of every card, made at compile time so that a listing is one
// eight-byte copy per card; {fmt} formats integers from a table in the same
// spirit. The length lives in the last byte, which the next copy overwrites.
struct card_text {
    char bytes[7];
    unsigned char length;
};
static_assert(sizeof(card_text) == 8);

constexpr std::array<card_text, deal::deck_capacity> card_texts = [] {
    std::array<card_text, deal::deck_capacity> table{};
    for (int value = 0; value < deal::deck_capacity; ++value) {
        char digits[4];
        int count = 0;
        for (int rest = value; count == 0 || rest > 0; rest /= 10)
            digits[count++] = static_cast<char>('0' + rest % 10);
        card_text& text = table[static_cast<std::size_t>(value)];
        int at = 0;
        if (count < 2)
            text.bytes[at++] = ' '; // "%2d" pads to two characters
        while (count > 0)
            text.bytes[at++] = digits[--count];
        text.bytes[at++] = ' ';
        text.length = static_cast<unsigned char>(at);
    }
    return table;
}();

} // namespace

char* format_stack(char* out) {
    const int size = deal::deck_size();
    for (int p = 0; p < size; ++p) {
        const card_text& text = card_texts[static_cast<std::size_t>(deal::stack[p])];
        std::memcpy(out, &text, sizeof text);
        out += text.length;
    }
    *out++ = '\n';
    return out;
}

void print_stack() {
    char* out = output.reserve(listing_room());
    output.end_line(format_stack(out));
}

} // namespace console
