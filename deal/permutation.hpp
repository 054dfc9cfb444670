// The permutation that one round of a deal, or one move of a routine, makes of
// the deck: for every position, where the card there goes, and whether it is
// turned over on the way. Permutations compose, so that a routine of many
// moves is one permutation too. Each holds as many entries as its deck has
// cards.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/description.hpp"
#include "deal/hands.hpp"
#include "deal/limits.hpp"

namespace deal {

class permutation {
public:
    // The identity on no positions.
    permutation() = default;

    // The round that `d` describes; `d` must check without a fault. A chosen
    // pile is not taken into account: the hands keep their order.
    explicit permutation(const description& d);
    // The same from hands already dealt by `d`, with hand `chosen` gathered
    // where d.chosen_pile says, or with every hand in its order for -1.
    permutation(const description& d, const hands& dealt, int chosen = -1);

    // The permutation that moves nothing, on `size` positions.
    static permutation identity(int size);

    // This, then `next`, of the same size, in one permutation.
    permutation then(const permutation& next) const;

    // Any permutation, given as where each position's card goes: `goes_to`
    // must hold every position from 0 to its size - 1 once.
    explicit permutation(std::span<const std::int32_t> goes_to);
    explicit permutation(std::vector<std::int16_t> goes_to) : goes_to_(std::move(goes_to)) {}
    // The same where the card at position p is turned over as it goes
    // wherever turns[p] is set.
    permutation(std::vector<std::int16_t> goes_to, std::vector<char> turns);

    // This, then `next`, in place.
    void follow_by(const permutation& next);

    int size() const { return static_cast<int>(goes_to_.size()); }
    // Where the card at position p goes in one round.
    int operator[](int p) const { return goes_to_[static_cast<std::size_t>(p)]; }
    std::span<const std::int16_t> goes_to() const { return goes_to_; }
    // Whether the card at position p is turned over as it goes; whether any
    // card is.
    bool turns(int p) const { return !turns_.empty() && turns_[static_cast<std::size_t>(p)]; }
    bool turns_any() const { return !turns_.empty(); }

    // The same move of 2 * size() points, each position face down and face
    // up: position p face down is point p, face up point p + size(). Its
    // cycles are those of the cards' places and faces together.
    permutation doubled() const;

    // One round: the deck `before` as it is after it, into `after`; both hold
    // size() cards, bottom first, and must not overlap. A card turned over
    // has its face_up bit flipped.
    void apply(const card* before, card* after) const;

private:
    std::vector<std::int16_t> goes_to_;
    std::vector<char> turns_; // empty where no card is turned
};

// Where a position is after `first` and then `next`, each a map from every
// position to one, into `first`: how permutations compose, and how a
// followed card's steps, which need not be permutations, do too.
void compose(std::span<std::int16_t> first, std::span<const std::int16_t> next);

} // namespace deal
