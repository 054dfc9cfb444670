// The one deck that the whole program deals: how many hands, the order of the
// cards and the table of hands that a round fills. It is process-wide and of
// fixed size on purpose, so that no round and no listing ever allocates.
#pragma once

#include <cstdint>

#include "deal/limits.hpp"

namespace deal {

inline constexpr int deck_capacity = max_cards;

// The hand count, set before the starting order: once by deal, and anew for
// every count by the companions that learn the round of more than one deck.
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

} // namespace deal
