// Where everything goes in a picture of the deal: one row per deck order,
// from the top down, and in each row the positions from the bottom of the
// deck on the left. Sizes are whole pixels, so that cells stay crisp.
#pragma once

namespace picture {

// The most rounds a picture shows, after the starting order.
inline constexpr int max_rounds = 2000;
// No side of a picture is longer.
inline constexpr int max_side = 8192;
// The lines of a round cross from every position to every other; measured
// with bench/picture_lines, up to this many cards at least a fifth of the
// band between two rows stays blank (24 % at 60 cards, 15 % at 80, 4 % at
// 240), and each line can be followed. Larger decks show rows of cells alone.
inline constexpr int max_line_cards = 60;
// Nor are lines drawn where the rows are closer than this.
inline constexpr int min_line_row_pitch = 8;

struct layout {
    int cards; // positions in a row
    int rows;  // deck orders shown: rounds 0 to rows - 1
    bool lines;
    int pitch;     // pixels from one position to the next
    int row_pitch; // pixels from one row to the next
    double radius; // of a dot, where lines are drawn
    int left, top;
    int width, height;

    // The center of the dot or cell at `position` in `row`.
    double x(int position) const { return left + (position + 0.5) * pitch; }
    double y(int row) const { return top + (row + 0.5) * row_pitch; }
};

// The layout for a deck of `hands` hands, 1 to 1010, over `rounds` rounds, 0
// to 2000.
layout make_layout(int hands, int rounds);

} // namespace picture
