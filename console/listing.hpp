// Deck listings on standard output.
#pragma once

#include "deal/deck.hpp"

namespace console {

// Writes the listing of `count` cards, bottom first, as one line.
void print_listing(const deal::card* cards, int count);

// Writes the listing of deal's own deck, as it stands.
void print_stack();

} // namespace console
