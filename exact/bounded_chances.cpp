#include "exact/bounded_chances.hpp"

namespace exact {

namespace {

mpq_class power_of_half(unsigned long k) {
    mpq_class q = 1;
    mpq_div_2exp(q.get_mpq_t(), q.get_mpq_t(), k);
    return q;
}

// A step's relative error, at most (a double rounds to 53 bits; GMP cuts
// its floats off below at least `bits` bits, within a unit of the last); and
// what may fall below the smallest number, in all.
mpq_class unit_roundoff(double, unsigned long) {
    return power_of_half(53);
}
mpq_class unit_roundoff(const mpf_class&, unsigned long bits) {
    return power_of_half(bits - 1);
}
mpq_class lost_below(double) {
    return power_of_half(1000);
}
mpq_class lost_below(const mpf_class&) {
    return 0;
}

} // namespace

mpq_class exactly(double x) {
    return mpq_class(x);
}
mpq_class exactly(const mpf_class& x) {
    mpq_class q;
    mpq_set_f(q.get_mpq_t(), x.get_mpf_t());
    return q;
}

template <class Real>
mpz_class bounded_chances<Real>::denominator() const {
    mpz_class d = this->cut() ? this->cards() : 1;
    mpz_mul_2exp(d.get_mpz_t(), d.get_mpz_t(), static_cast<mp_bitcnt_t>(this->twos()));
    for (int a = 3; a <= deal::max_riffle_packets; ++a)
        if (const std::int64_t n = this->powers(a); n > 0) {
            mpz_class power;
            mpz_ui_pow_ui(power.get_mpz_t(), static_cast<unsigned long>(a),
                          static_cast<unsigned long>(n * this->cards()));
            d *= power;
        }
    return d;
}

template <class Real>
std::optional<mpq_class> bounded_chances<Real>::error_bound(const Real& value) const {
    const mpq_class ku = unit_roundoff(value, this->bits()) * static_cast<long>(this->roundings());
    if (ku > mpq_class(1, 4))
        return std::nullopt;
    // Off by at most g c + e, g = Ku/(1-Ku) <= 4Ku/3, c the exact chance and
    // e what was lost below; and c <= (value + e)/(1 - g) <= 3(value + e)/2,
    // so by at most 2Ku value + 3e/2.
    return 4 * ku * exactly(value) + 2 * lost_below(value);
}

template class bounded_chances<double>;
template class bounded_chances<mpf_class>;

} // namespace exact
