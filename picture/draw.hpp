// One drawing routine for every kind of surface: the deck over the rounds,
// one row each, or one round as a map, every card colored by its starting
// position or by its cycle, and chosen cards drawn boldly over the rest.
#pragma once

#include <cairo.h>
#include <span>

#include "deal/cycles.hpp"
#include "deal/period.hpp"
#include "picture/layout.hpp"

namespace picture {

enum class coloring { start, cycle };

// What a picture shows, besides where things go.
struct scene {
    int hands;
    const deal::round_cycles* cycles; // learnt for `hands`
    deal::round_count period;
    deal::round_count first; // the first row's round, modulo the period
    const char* first_text;  // that round as the user gave it: an integer of any length
    picture::coloring coloring;
    std::span<const int> followed; // cards drawn boldly, the others faded
    // Cells drawn a pixel of the image per pixel of the picture, rather than
    // a pixel per cell enlarged: for formats whose viewers smooth an
    // enlarged image.
    bool full_size_cells;
};

// Draws the picture laid out by `l` onto `cr`; plays the rounds on the
// process-wide deck. Returns Cairo's status: anything but success means the
// picture is not whole.
cairo_status_t draw(cairo_t* cr, const layout& l, const scene& s);

} // namespace picture
