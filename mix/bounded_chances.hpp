// Where a card may be after rounds of a routine, and with what chance, in
// floating point with a proven bound on each chance's error: for decks and
// rounds past what exact integers can afford.
//
// A riffle of M cards sends the card i-th from the top to the j-th with chance
//   pmf(j-1, i-1) / 2 + pmf(M-j, M-i) / 2,   pmf(n, k) = C(n, k) / 2^n,
// the first term where it lies in the top packet, the second in the lower
// (the exact form in chances.hpp, whose sum over the top packet is 2^(j-1)
// once i >= j). Read from the bottom of the deck, the second term is the
// first, so one row of the binomial law, grown by a row for each place,
// serves both: 3M^2/2 operations a riffle, and memory in proportion to M.
//
// The bound. Every chance is a sum of products of nonnegative numbers, so the
// one worked out is the exact sum with each term off by a factor within
// (1 +- u)^K, u the arithmetic's unit roundoff and K the most roundings a
// term went through, counted as the card is played: off by at most 2Ku/(1-Ku)
// of the chance. Doubles also lose what falls below their smallest number, at
// most 2^-1074 an operation, and each loss is carried on weighted by a chance
// of at most 1: under 2^-1000 in all, for the work deal::limits allows.
//
// While no riffle has met an uneven spread (the start, a random cut, exact
// moves after it), every chance is a whole number of M-ths, and those are kept
// exactly besides.
#pragma once

#include <cstdint>
#include <gmpxx.h>
#include <optional>
#include <vector>

#include "deal/routine.hpp"

namespace mix {

template <class Real>
class bounded_chances {
public:
    // The card that starts at position `from` of the deck of `r`, worked out
    // with `bits` bits (the precision of an mpf_class; a double has its own).
    bounded_chances(const deal::routine& r, int from, unsigned long bits = 53);

    // Plays on to round `round`, from round 0 again where it is past that.
    void play_to(std::int64_t round);

    // Whether the card may be at position p: kept exactly.
    bool possible(int p) const { return possible_[static_cast<std::size_t>(p)] != 0; }
    // The chance that it is there, off from the exact one by at most
    // error_bound(chance(p)).
    const Real& chance(int p) const { return chances_[static_cast<std::size_t>(p)]; }
    // The chance as a whole number of M-ths, where it is known so.
    std::optional<std::int64_t> whole(int p) const {
        if (!whole_valid_)
            return std::nullopt;
        return whole_[static_cast<std::size_t>(p)];
    }
    // A whole number that turns every exact chance into a whole number: 2 to
    // the deck's size for each riffle, and the size after a random cut.
    mpz_class denominator() const;
    // How far a chance worked out as `value` may be from the exact one, or
    // nothing where the roundings are too many to say.
    std::optional<mpq_class> error_bound(const Real& value) const;

private:
    void play_round();
    void riffle();

    deal::routine routine_;
    int from_;
    unsigned long bits_;
    std::int64_t played_ = 0;
    // The roundings any chance has gone through, at most.
    std::int64_t roundings_ = 0;
    // The denominator: 2^twos_, times the deck's size after a random cut.
    std::int64_t twos_ = 0;
    bool cut_ = false;
    std::vector<Real> chances_, top_, row_, upper_, lower_;
    std::vector<char> possible_, reached_;
    std::vector<std::int64_t> whole_, whole_next_;
    bool whole_valid_ = true;
    // Each exact move's step from every position, and whether it brings two
    // positions to one.
    std::vector<std::vector<std::int16_t>> steps_;
    std::vector<char> merges_;
};

extern template class bounded_chances<double>;
extern template class bounded_chances<mpf_class>;

} // namespace mix
