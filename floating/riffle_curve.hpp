// How far a deck riffled k times is from a random one, in floating point,
// for a picture of the drop: the total variation distance under the standard
// model of a riffle, from the rising-sequence law (deal-mix works it out
// exactly, with GMP, for the numbers it prints). Here every chance is carried
// as its logarithm, so that the Eulerian fractions of large decks, near
// 10^-16000, and the ratios beside them, near 10^16000, meet in range.
#pragma once

#include <vector>

namespace floating {

// The page draws the curve for decks of up to this many cards in a step: its
// work grows as the square of the deck.
inline constexpr int max_curve_cards = 1010;

// The distance after 0 to `shuffles` riffles of a deck of `cards` cards.
std::vector<double> riffle_distances(int cards, int shuffles);

} // namespace floating
