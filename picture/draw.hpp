// One drawing routine for every kind of surface: the deck after 0, 1, ...
// rounds, one row each, every card colored by its starting position.
#pragma once

#include <cairo.h>

#include "deal/period.hpp"
#include "picture/layout.hpp"

namespace picture {

// Draws the picture laid out by `l` for a deck of `hands` hands, whose period
// is `period`, onto `cr`. Plays the rounds on the process-wide deck.
void draw(cairo_t* cr, const layout& l, int hands, deal::round_count period);

} // namespace picture
