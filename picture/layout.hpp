// Where everything goes in a picture of the deal. The rows view: one row per
// deck order, from the top down, and in each row the positions from the bottom
// of the deck on the left. The map view: one round as a plot, each position
// across against where its card goes, up. Sizes are whole pixels, so that
// cells stay crisp; text grows with the picture, so that it can be read
// however far a wide picture is scaled down to be seen whole.
#pragma once

#include <cstddef>
#include <optional>

#include "views/limits.hpp"

namespace picture {

// The most rounds a picture shows, after the first.
inline constexpr int max_rounds = views::max_rounds;
// No side of a picture is longer.
inline constexpr int max_side = 8192;
// Up to this many cards, dots and each card's way; beyond, cells alone.
inline constexpr int max_line_cards = views::max_line_cards;
// Nor are lines drawn where the rows are closer than this.
inline constexpr int min_line_row_pitch = 8;
// A first round too long for the first line of the caption is written whole
// on lines of its own, up to this many; a longer one by its first and last
// digits and how many there are.
inline constexpr int max_round_lines = 8;

enum class view { rows, map };

struct layout {
    picture::view view;
    int cards; // positions in a row, or along each axis of the map
    int rows;  // deck orders shown: the first round and `rows - 1` more
    bool lines;
    int pitch;     // pixels from one position to the next
    int row_pitch; // pixels from one row to the next
    double radius; // of a dot, where lines are drawn
    int font;      // the size of the caption's text; labels are a little smaller
    int left, top;
    int width, height;
    // The first round's own lines in the caption, none where it fits on the
    // first, and the digits each holds.
    int round_lines;
    int round_line_digits;
    // Positions laid out from the top card, on the left and at the foot of
    // the map, as a magician counts them, rather than from the bottom card.
    bool from_top = false;

    // Rows view: the center of the dot or cell at `position` in `row`.
    double x(int position) const { return left + (placed(position) + 0.5) * pitch; }
    double y(int row) const { return top + (row + 0.5) * row_pitch; }

    // Map view: the plot's side, and where a position lies along each axis.
    int side() const { return cards * pitch; }
    double across(int position) const { return left + (placed(position) + 0.5) * pitch; }
    double up(int position) const { return top + side() - (placed(position) + 0.5) * pitch; }
    // Where along its axis a position is laid out.
    int placed(int position) const { return from_top ? cards - 1 - position : position; }

    // The caption's lines: the first, and the legend below it.
    double first_line() const { return 1.6 * font; }
    double round_line(int i) const { return first_line() + 1.3 * font * (i + 1); }
    double legend_line() const { return 2.9 * font + 1.3 * font * round_lines; }
};

// The first round as a number where it is small enough to be added to and
// shown whole in the margin; larger rounds are labelled by their distance
// from the first, and written whole in the caption.
std::optional<long long> small_round(const char* text);

// The rows view of a deck of `cards` cards, 1 to 5050, over `rounds` rounds
// after the first, 0 to 2000, from the round written `first` (an integer of
// any length).
layout make_layout(int cards, int rounds, const char* first = "0");

// The map view of one round of a deck of `cards` cards.
layout make_map_layout(int cards);

} // namespace picture
