// How many rounds it takes for a deck to come back to its starting order.
#pragma once

#include <cstdint>
#include <optional>

namespace deal {

// Up to 90 bits are needed for decks of up to 1010 hands.
__extension__ using round_count = unsigned __int128;

// The least common multiple of a and b, both above 0; empty if it would not
// fit in 128 bits.
std::optional<round_count> checked_lcm(round_count a, round_count b);

// The least number of rounds, at least one, after which a deck of `hands`
// hands is in its starting order again: the least common multiple of the
// cycle lengths of one round. Needs a supported hand count; learns the round
// on the process-wide deck, which it leaves one round on. Empty if the count
// would not fit in 128 bits, which no deck of up to 1010 hands comes near.
std::optional<round_count> period(std::int32_t hands);

} // namespace deal
