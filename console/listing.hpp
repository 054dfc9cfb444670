// The deck listing: every card from the bottom of the deck up, each in the
// form printf's "%2d " gives it, then a newline.
#pragma once

#include <cstddef>

#include "deal/deck.hpp"

namespace console {

// Room enough for the listing of `size` cards: up to four digits and a blank
// a card, the newline, and the slack of the last card's eight-byte copy.
constexpr std::size_t listing_room(int size) {
    return static_cast<std::size_t>(size) * 5 + 1 + 8;
}
inline constexpr std::size_t listing_room_max = listing_room(deal::deck_capacity);

// Writes the listing of the current deck at `out`, which must have
// listing_room(deal::deck_size()) bytes, and returns the end of what it wrote.
char* format_stack(char* out);

// Writes the listing of the current deck to standard output.
void print_stack();

} // namespace console
