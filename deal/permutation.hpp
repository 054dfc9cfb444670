// The permutation that one round of a deal makes of the deck: for every
// position, where the card there goes once the hands are dealt and gathered.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "deal/description.hpp"
#include "deal/hands.hpp"

namespace deal {

class permutation {
public:
    // The identity on no positions.
    permutation() = default;

    // The round that `d` describes; `d` must check without a fault.
    explicit permutation(const description& d);
    // The same, from hands already dealt by `d`.
    permutation(const description& d, const hands& dealt);

    // Any permutation, given as where each position's card goes: `goes_to`
    // must hold every position from 0 to its size - 1 once.
    explicit permutation(std::span<const std::int32_t> goes_to);

    int size() const { return size_; }
    // Where the card at position p goes in one round.
    int operator[](int p) const { return goes_to_[static_cast<std::size_t>(p)]; }

    // One round: the deck `before` as it is after it, into `after`; both hold
    // size() cards, bottom first, and must not overlap.
    void apply(const card* before, card* after) const;

private:
    int size_ = 0;
    std::array<std::int16_t, max_cards> goes_to_{};
};

} // namespace deal
