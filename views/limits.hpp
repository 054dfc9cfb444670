// What the pictures and the page lay out alike: where a deck stops being
// drawn as dots with each card's way, where a followed cycle stops being drawn
// as a cobweb on the map, and how many rounds a picture shows.
#pragma once

namespace views {

// The lines of a round cross from every position to every other; measured
// with bench/picture_lines, up to this many cards at least a fifth of the
// band between two rows stays blank (24 % at 60 cards, 15 % at 80, 4 % at
// 240), and each line can be followed. Larger decks show rows of cells.
inline constexpr int max_line_cards = 60;

// A followed cycle longer than this would cover the map with its cobweb:
// its dots are marked instead.
inline constexpr int max_cobweb_length = 64;

// The most cards the page follows at once, each in a color of its own: more
// ways than this tangle into one another across the rows.
inline constexpr int most_followed = 4;

// The most rounds a picture shows, after the first.
inline constexpr int max_rounds = 2000;

} // namespace views
