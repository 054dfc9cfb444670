// The one deck that the whole program deals: how many hands, the order of the
// cards and the table of hands that a round fills. It is process-wide and of
// fixed size on purpose, so that no round and no listing ever allocates.
#pragma once

#include <cstdint>

namespace deal {

// A card is named by the deck position it held when the run began.
using card = std::int32_t;

inline constexpr int hand_size = 5;
inline constexpr int max_hands = 1010;
inline constexpr int deck_capacity = hand_size * max_hands;

// Counts of zero and below deal an empty deck. The lowest is the last at which
// five times the count, which the plain way of writing this program works out
// as a 32-bit int, still fits in 32 bits.
inline constexpr std::int64_t min_hands = INT32_MIN / hand_size;

// The hand count, set before the starting order: once by deal, and anew for
// every count by the companions that learn the round of more than one deck.
extern std::int32_t N;

// The deck, bottom (position 0) to top (position 5N-1).
extern card stack[deck_capacity];

// The hands of the latest round; slot 0 is the first card a hand received.
extern card cards[max_hands][hand_size];

constexpr bool hand_count_supported(std::int64_t count) {
    return count >= min_hands && count <= max_hands;
}

// Positions 0 to 5N-1 as used by the current count; zero for an empty deck.
inline int deck_size() {
    return N > 0 ? hand_size * N : 0;
}

// Puts card p at position p for every position in use.
void set_starting_order();

} // namespace deal
