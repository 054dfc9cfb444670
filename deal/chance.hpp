// Moves by chance, drawn from a seed the user can give, the same on every
// machine, in every build and on the page: a generator and ways of drawing
// of the project's own, not a standard library's distributions, which
// differ from one library to the next.
//
// The generator is SplitMix64 (Steele, Lea and Flood, 2014): a 64-bit state
// advanced by a constant and mixed into each output. A count below n is
// drawn by rejection, so that every value is exactly as likely; a coin by
// one bit.
#pragma once

#include <cstdint>

#include "deal/permutation.hpp"
#include "deal/routine.hpp"

namespace deal {

class generator {
public:
    explicit generator(std::uint64_t seed) : state_(seed) {}
    // The generator of round `round` of a run drawn from `seed`: its state
    // the seed exclusive-or the round mixed as an output is, so that each
    // round has a stream of its own and any round can be played again alone.
    static generator for_round(std::uint64_t seed, std::uint64_t round);
    // The next 64 random bits.
    std::uint64_t next();
    // A count from 0 to n - 1, each equally likely; n at least 1.
    std::uint64_t below(std::uint64_t n);
    // How many of n fair coins fall heads: Binomial(n, 1/2).
    int heads(int n);

private:
    std::uint64_t state_;
};

// The permutation a move by chance makes of a deck of `cards` cards, its
// chances drawn from `g`:
//   riffle      the deck cut after Binomial(cards, 1/2) cards from the top,
//               then cards dropped one at a time from the bottoms of the two
//               packets onto the table, each packet with chance proportional
//               to the cards it still holds;
//   cut random  a cut of K cards, K from 0 to cards - 1 equally likely.
// An exact move makes its own permutation, as move_permutation does.
permutation draw_permutation(const move& m, int cards, generator& g);

} // namespace deal
