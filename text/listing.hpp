// The deck listing: every card from the bottom of the deck up, each in the
// form printf's "%2d " gives it, then a newline. A hand's cards are written
// the same way.
#pragma once

#include <cstddef>

#include "deal/description.hpp"
#include "deal/limits.hpp"

namespace text {

// Room enough for the listing of `size` cards: up to four digits and a blank
// a card, the newline, and the slack of the last card's eight-byte copy.
constexpr std::size_t listing_room(int size) {
    return static_cast<std::size_t>(size) * 5 + 1 + 8;
}
inline constexpr std::size_t listing_room_max = listing_room(deal::max_cards);

// Writes `count` cards at `out`, which must have listing_room(count) bytes,
// with no newline, and returns the end of what it wrote.
char* format_cards(const deal::card* cards, int count, char* out);

// The same for `hands` groups of five cards, as deal's own deck always is:
// the path that deal takes for every round.
char* format_hands(const deal::card* cards, int hands, char* out);

// The same where a card may lie face up: each card's number, then "^" after
// a face-up card and a blank after a face-down one, so that the columns stay
// aligned, then a blank as ever. Room: listing_room(count) and a byte a card.
char* format_marked_cards(const deal::card* cards, int count, char* out);
constexpr std::size_t marked_listing_room(int size) {
    return listing_room(size) + static_cast<std::size_t>(size);
}

// The same, and the newline: one line of a listing.
inline char* format_listing(const deal::card* cards, int count, char* out) {
    out = format_cards(cards, count, out);
    *out++ = '\n';
    return out;
}

} // namespace text
