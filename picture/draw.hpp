// One drawing routine for every kind of surface: the deck over the rounds,
// one row each, or one round as a map, every card colored by its starting
// position or by its cycle, and chosen cards drawn boldly over the rest.
#pragma once

#include <cairo.h>
#include <span>

#include "deal/cycles.hpp"
#include "deal/description.hpp"
#include "deal/follow.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "deal/start.hpp"
#include "picture/layout.hpp"

namespace picture {

enum class coloring { start, cycle };

// What a picture shows, besides where things go.
struct scene {
    const deal::description* deal;  // for a deal; nullptr for a routine
    const char* routine;            // for a routine: its moves as it writes them
    const deal::permutation* round; // the deal's
    const deal::cycles* cycles;     // the round's
    const deal::period* period;
    const deal::round_number* first; // the first row's round, learnt for the cycles
    const char* first_text;          // that round as the user gave it: an integer of any length
    picture::coloring coloring;
    std::span<const int> followed; // cards drawn boldly, the others faded, by where they start
    const deal::start* start;      // which card starts where, for the legend's names
    // Cells drawn a pixel of the image per pixel of the picture, rather than
    // a pixel per cell enlarged: for formats whose viewers smooth an
    // enlarged image.
    bool full_size_cells;
    // The deck's name for the caption: a stack, a packet, a file; nullptr
    // or empty for new deck order.
    const char* deck = nullptr;
    // Whether a card may lie face up, so that the legend tells how face-up
    // cards are drawn.
    bool faces = false;
    // The trick for the card the spectator chose, where chosen piles follow
    // it, and where that card starts: each row then the deck as that trick
    // leaves it, `first` learnt for trick->moduli(), `cycles` those of the
    // rounds that repeat; nullptr for a round that follows no card.
    const deal::followed_deck* trick = nullptr;
    int chosen = -1;
};

// Draws the picture laid out by `l` onto `cr`. Returns Cairo's status:
// anything but success means the picture is not whole.
cairo_status_t draw(cairo_t* cr, const layout& l, const scene& s);

} // namespace picture
