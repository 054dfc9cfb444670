// One card followed through a routine whose deals gather the pile that holds
// it where the magician says. Such a round is no permutation: where the other
// cards go depends on where the followed one is. The card's own way is fixed,
// though: from every position it goes to one next position, so that from its
// start it runs through a few positions and then round a cycle, together at
// most a deck's worth of rounds.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "deal/limits.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"

namespace deal {

class follower {
public:
    // Learns where the followed card goes in one round of `r`, from every
    // position.
    void learn(const routine& r);
    int size() const { return size_; }
    int next(int p) const { return next_[static_cast<std::size_t>(p)]; }

    // Follows the card that starts at position `from`: its positions round
    // after round until they repeat.
    void start(int from);
    // The rounds before the card's positions repeat, and how many repeat.
    int tail() const { return tail_; }
    int length() const { return length_; }
    // The positions from round 0, tail() + length() of them.
    std::span<const std::int16_t> way() const {
        return {way_.data(), static_cast<std::size_t>(tail_ + length_)};
    }
    // The cycle's length, for round numbers to be learnt with.
    std::span<const length_count> lengths() const { return {&cycle_, 1}; }

    // Where the card is after `rounds` rounds, 0 or more, a number learnt
    // for lengths().
    int at(const round_number& rounds) const;

private:
    int size_ = 0;
    std::array<std::int16_t, max_cards> next_{};
    std::array<std::int16_t, max_cards + 1> way_{};
    int tail_ = 0, length_ = 1;
    length_count cycle_{1, 1};
};

} // namespace deal
