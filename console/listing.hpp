// Deck listings on standard output.
#pragma once

#include "deal/limits.hpp"

namespace console {

// Writes the listing of `count` cards, bottom first, as one line.
void print_listing(const deal::card* cards, int count);

} // namespace console
