// What the pictures and the page lay out alike: where a deck stops being
// drawn as dots with each card's way, where a followed cycle stops being drawn
// as a cobweb on the map, and how many rounds a picture shows; and what the
// page alone shows at most.
#pragma once

#include <cstdint>

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

// The rows the page asks for at once: more than any window has room for.
inline constexpr int max_page_rows = 512;

// A round number is typed, kept in the page's address and shown whole;
// beyond this many digits it stops being something a person reads or
// shares.
inline constexpr int max_round_digits = 1000;

// Up to this many cards the page deals a round before the eyes, card by
// card, as many as a row shows as dots.
inline constexpr int max_dealt_cards = max_line_cards;

// Following a card through chosen piles, the page's rounds run from 0 to
// this, a power of ten, which the page writes as one: its rows are worked
// out in 64-bit rounds.
inline constexpr std::int64_t max_trick_round = 1'000'000'000'000'000'000;

} // namespace views
