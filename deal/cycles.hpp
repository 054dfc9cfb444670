// The cycles of one round: the positions that a card passes through, one
// round apart, until it is back where it started. Everything else that is
// asked of many rounds stands on them: the period is the least common
// multiple of their lengths, and the deck after any number of rounds is a
// shift along each cycle.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "deal/deck.hpp"
#include "deal/period.hpp"

namespace deal {

class round_cycles {
public:
    // Learns the cycles of a deck of `hands` hands, which must be supported,
    // by playing one round with simulate_round on the process-wide deck from
    // its starting order. Sets N to `hands` and leaves the deck one round on.
    void learn(std::int32_t hands);

    // Cycle i, 0 <= i < count(): its first position is its lowest, the card
    // at position cycle(i)[j] is at cycle(i)[j + 1] one round later, and the
    // cycles come in ascending order of their first positions.
    int count() const { return count_; }
    std::span<const card> cycle(int i) const {
        return {positions_.data() + begin_[static_cast<std::size_t>(i)],
                positions_.data() + begin_[static_cast<std::size_t>(i) + 1]};
    }

    // The least common multiple of the cycle lengths; empty if it does not
    // fit in 128 bits, which no supported deck comes near.
    std::optional<round_count> period() const;

    // Puts the process-wide deck, of the hands learnt, in the order that
    // `rounds` rounds make of the starting order; `rounds` is taken modulo
    // each cycle's length, so any multiple of the period may be added to it.
    void jump(round_count rounds) const;

private:
    int count_ = 0;
    std::array<card, deck_capacity> positions_{};
    std::array<int, deck_capacity + 1> begin_{};
};

} // namespace deal
