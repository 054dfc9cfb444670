// The one deck that deal deals: how many hands, the order of the cards and
// the table of hands that a round fills. It is process-wide and of fixed
// size on purpose, so that no round and no listing ever allocates; only deal
// reaches it; every other program sizes its decks to the deal it is given.
#pragma once

#include <cstdint>

#include "deal/limits.hpp"

namespace filter {

using deal::card;
using deal::hand_size;
using deal::max_hands;

inline constexpr int deck_capacity = deal::max_cards;

// The hand count, set once, before the starting order.
extern std::int32_t N;

// The deck, bottom (position 0) to top (position 5N-1).
extern card stack[deck_capacity];

// The hands of the latest round; slot 0 is the first card a hand received.
extern card cards[max_hands][hand_size];

// Positions 0 to 5N-1 as used by the current count; zero for an empty deck.
inline int deck_size() {
    return N > 0 ? hand_size * N : 0;
}

// Puts card p at position p for every position in use.
void set_starting_order();

} // namespace filter
