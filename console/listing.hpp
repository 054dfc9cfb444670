// The deck listing: every card from the bottom of the deck up, each in the
// form printf's "%2d " gives it, then a newline.
#pragma once

#include <cstddef>

#include "deal/deck.hpp"

namespace console {

// Room enough for the listing of the current deck: up to four digits and a
// blank a card, the newline, and the slack of the last card's eight-byte copy.
inline std::size_t listing_room() {
    return static_cast<std::size_t>(deal::deck_size()) * 5 + 1 + 8;
}

// Writes the listing of the current deck at `out`, which must have
// listing_room() bytes, and returns the end of what it wrote.
char* format_stack(char* out);

// Writes the listing of the current deck to standard output.
void print_stack();

} // namespace console
