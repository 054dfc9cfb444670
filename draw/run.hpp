// A run of a routine with moves by chance, drawn from a seed, as deal-after
// --seed plays it and the page shows it: round k's chances drawn from
// generator::for_round(seed, k), move by move, and a card followed through
// deals with a chosen pile.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/limits.hpp"
#include "deal/permutation.hpp"
#include "deal/played.hpp"
#include "deal/routine.hpp"
#include "draw/generator.hpp"

namespace draw {

class drawn_run {
public:
    // The run of `r` from `seed`, following the card that starts at position
    // `followed`, -1 for none.
    drawn_run(const deal::routine& r, std::uint64_t seed, int followed);

    // Plays on to round `round`, from round 0 again where it is past that.
    void play_to(std::int64_t round);
    std::int64_t played() const { return played_; }
    // The deck now, from the bottom: each card the position it started at.
    std::span<const deal::card> deck() const { return deck_; }
    // Where the followed card is now, -1 for none.
    int followed_at() const { return at_; }
    // The permutation each step of the next round makes, as drawn: a move,
    // or a repeat of exact moves (deal/played.hpp).
    std::vector<deal::permutation> next_moves() const;
    // The round's steps.
    const deal::played_round& steps() const { return steps_; }

private:
    // Round 0: the deck in its starting order.
    void restart();
    deal::permutation made(int step, int at, generator& g) const;

    deal::played_round steps_;
    std::uint64_t seed_;
    int followed_;
    bool follows_;
    // Each exact step's permutation where no card is followed.
    std::vector<deal::permutation> exact_;
    std::int64_t played_ = 0;
    int at_ = -1;
    std::vector<deal::card> deck_, next_;
};

} // namespace draw
