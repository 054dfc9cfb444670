// The permutation that one round of a deal, or one move of a routine, makes of
// the deck: for every position, where the card there goes. Permutations
// compose and invert, so that a routine of many moves is one permutation too.
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

    // The round that `d` describes; `d` must check without a fault. A chosen
    // pile is not taken into account: the hands keep their order.
    explicit permutation(const description& d);
    // The same, from hands already dealt by `d`.
    permutation(const description& d, const hands& dealt);

    // The permutation that moves nothing, on `size` positions.
    static permutation identity(int size);

    // This, then `next`, of the same size, in one permutation.
    permutation then(const permutation& next) const;
    // The permutation that undoes this one.
    permutation inverse() const;

    // Any permutation, given as where each position's card goes: `goes_to`
    // must hold every position from 0 to its size - 1 once.
    explicit permutation(std::span<const std::int32_t> goes_to);

    int size() const { return size_; }
    // Where the card at position p goes in one round.
    int operator[](int p) const { return goes_to_[static_cast<std::size_t>(p)]; }
    std::span<const std::int16_t> goes_to() const {
        return {goes_to_.data(), static_cast<std::size_t>(size_)};
    }

    // One round: the deck `before` as it is after it, into `after`; both hold
    // size() cards, bottom first, and must not overlap.
    void apply(const card* before, card* after) const;

private:
    int size_ = 0;
    std::array<std::int16_t, max_cards> goes_to_{};
};

} // namespace deal
