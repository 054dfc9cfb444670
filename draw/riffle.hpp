// The riffle's law, and a riffle drawn from it. A riffle of M cards (the
// Gilbert-Shannon-Reeds model): the deck cut after Binomial(M, 1/2) cards
// from the top, then cards dropped one at a time from the bottoms of the two
// packets onto the table, each packet with chance proportional to the cards
// it still holds. Every interleaving of the two packets is then equally
// likely. Its chances are summed in floating point in floating/ and exactly
// in exact/; here it is drawn.
#pragma once

#include "deal/permutation.hpp"
#include "deal/routine.hpp"
#include "draw/generator.hpp"

namespace draw {

// The permutation a move by chance makes of a deck of `cards` cards, its
// chances drawn from `g`:
//   riffle      as above; into A packets, each card falls into one of A,
//               each equally likely, and the packets are dropped alike;
//   cut random  a cut of K cards, K from 0 to cards - 1 equally likely.
// An exact move makes its own permutation, as move_permutation does.
deal::permutation draw_permutation(const deal::move& m, int cards, generator& g);

} // namespace draw
