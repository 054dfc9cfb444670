// Where a card may be after rounds of a routine, and with what chance, in
// floating point with a proven bound on each chance's error: for decks and
// rounds past what exact integers can afford. The chances are worked out as
// floating/spread.hpp does, in doubles or in GMP's floats of any precision.
//
// The bound. Every chance is a sum of products of nonnegative numbers, so the
// one worked out is the exact sum with each term off by a factor within
// (1 +- u)^K, u the arithmetic's unit roundoff and K the most roundings a
// term went through, counted as the card is played: off by at most 2Ku/(1-Ku)
// of the chance. Doubles also lose what falls below their smallest number, at
// most 2^-1074 an operation, and each loss is carried on weighted by a chance
// of at most 1: under 2^-1000 in all, for the work deal::limits allows.
#pragma once

#include <gmpxx.h>
#include <optional>

#include "floating/spread.hpp"

namespace floating {

// GMP's floats, through its own functions, so that no step makes a
// temporary.
template <>
struct spread_arithmetic<mpf_class> {
    static mpf_class zero(unsigned long bits) { return mpf_class(0, bits); }
    static bool is_zero(const mpf_class& x) { return sgn(x) == 0; }
    static void set_share(mpf_class& x, unsigned long parts) {
        mpf_set_ui(x.get_mpf_t(), 1);
        mpf_div_ui(x.get_mpf_t(), x.get_mpf_t(), parts);
    }
    static void set_ratio(mpf_class& x, unsigned long part, unsigned long whole) {
        mpf_set_ui(x.get_mpf_t(), part);
        mpf_div_ui(x.get_mpf_t(), x.get_mpf_t(), whole);
    }
    static void halve(mpf_class& x) { mpf_div_2exp(x.get_mpf_t(), x.get_mpf_t(), 1); }
    static void add(mpf_class& sum, const mpf_class& x) {
        mpf_add(sum.get_mpf_t(), sum.get_mpf_t(), x.get_mpf_t());
    }
    static void add_product(mpf_class& sum, const mpf_class& x, const mpf_class& y,
                            mpf_class& product) {
        mpf_mul(product.get_mpf_t(), x.get_mpf_t(), y.get_mpf_t());
        mpf_add(sum.get_mpf_t(), sum.get_mpf_t(), product.get_mpf_t());
    }
};

} // namespace floating

namespace exact {

template <class Real>
class bounded_chances : public floating::spread<Real> {
public:
    using floating::spread<Real>::spread;

    // A whole number that turns every exact chance into a whole number: 2 to
    // the deck's size for each riffle, A to it for each riffle into A
    // packets, and the size after a random cut.
    mpz_class denominator() const;
    // How far a chance worked out as `value` may be from the exact one, or
    // nothing where the roundings are too many to say.
    std::optional<mpq_class> error_bound(const Real& value) const;
};

// A double or a GMP float, exactly, as a fraction.
mpq_class exactly(double x);
mpq_class exactly(const mpf_class& x);

extern template class bounded_chances<double>;
extern template class bounded_chances<mpf_class>;

} // namespace exact
