// Where a card may be after rounds of a routine that mixes exact moves,
// moves by chance and a chosen pile, and with what chance, exactly: every
// chance a whole number over one common denominator, in GMP's integers.
//
// An exact move carries each place's chance to where the card goes from
// there (a chosen pile's deal may bring two places to one). A random cut
// sends a card from any place to every place with chance 1/M. A riffle of M
// cards sends the card i-th from the top to the j-th with chance
//   C(j-1, i-1) / 2^j + C(M-j, M-i) * (C(j-1, 0) + ... + C(j-1, i-1)) / 2^M,
// the first term where it lies in the top packet, the second in the lower:
// summed over the cut's binomial count, each packet's interleavings being
// equally likely. A riffle into A packets sends it there with chance
//   (1/A^M) sum over t < A of the coefficient of x^(i-1) in
//   ((t+1) x + A-t-1)^(j-1) (t x + A-t)^(M-j):
// the card from packet t lands below j - 1 cards, each of packets up to t
// with chance (t+1)/A, and above M - j, each of packets below t with chance
// t/A, those below t or above it being the cards that were above it.
#pragma once

#include <cstdint>
#include <gmpxx.h>
#include <vector>

#include "deal/played.hpp"
#include "deal/routine.hpp"

namespace exact {

class card_chances {
public:
    // The card that starts at position `from` (from the bottom) of the deck
    // of `r`, which has at most deal::max_chance_cards cards.
    card_chances(const deal::routine& r, int from);

    // Plays on to round `round`, from round 0 again where it is past that.
    void play_to(std::int64_t round);
    // The chance that the card is at position p now: numerator(p) /
    // denominator().
    const mpz_class& numerator(int p) const { return chances_[static_cast<std::size_t>(p)]; }
    const mpz_class& denominator() const { return denominator_; }

private:
    void play_round();
    void riffle(int packets);
    // The numerators over A^M of a riffle into A packets, as riffle_ holds
    // them: for two, from the binomial law; for more, the polynomials above.
    std::vector<mpz_class> learn_riffle(int packets) const;

    deal::routine routine_;
    // The round's steps, a repeat of exact moves one step.
    deal::played_round round_steps_;
    int from_;
    std::int64_t played_ = 0;
    std::vector<mpz_class> chances_, next_;
    mpz_class denominator_;
    // A riffle's numerators over A^M, from place i to place j counted from
    // the top, row by row, for each A; each learnt at its first riffle.
    std::vector<std::vector<mpz_class>> riffle_ =
        std::vector<std::vector<mpz_class>>(deal::max_riffle_packets + 1);
    // Each exact move's step, from every position.
    std::vector<std::vector<std::int16_t>> steps_;
};

} // namespace exact
