#include "exact/mixing.hpp"

namespace exact {

namespace {

// Enough bits that every term carries a relative error under 2^-230: each
// term takes at most 8n + 16 operations, each off by at most a few units in
// the last of 256 places, and n is at most 2^13. The sum of the terms' errors
// is then under 2^-228 (the terms' weights add to at most 3), well inside the
// bound the rounding allows for.
constexpr mp_bitcnt_t precision = 256;
constexpr long bound_exponent = -200;

mpf_class number(unsigned long value) {
    return mpf_class(value, precision);
}

// 2^k, and k times n halvings, exactly.
mpf_class power_of_two(long k) {
    mpf_class x = number(1);
    if (k >= 0)
        mpf_mul_2exp(x.get_mpf_t(), x.get_mpf_t(), static_cast<mp_bitcnt_t>(k));
    else
        mpf_div_2exp(x.get_mpf_t(), x.get_mpf_t(), static_cast<mp_bitcnt_t>(-k));
    return x;
}

mpz_class ten_to(int digits) {
    mpz_class x;
    mpz_ui_pow_ui(x.get_mpz_t(), 10, static_cast<unsigned long>(digits));
    return x;
}

// `q` as a decimal with `digits` places: q / 10^digits.
std::string written(const mpz_class& q, int digits) {
    std::string text = q.get_str();
    const auto places = static_cast<std::size_t>(digits);
    if (text.size() <= places)
        text.insert(0, places + 1 - text.size(), '0');
    text.insert(text.size() - places, 1, '.');
    if (digits == 0)
        text.pop_back();
    return text;
}

// `v`, a value off by at most 2^bound_exponent, rounded to `digits` places,
// where the bound leaves no doubt; otherwise nothing.
std::optional<mpz_class> rounded(const mpf_class& v, int digits) {
    const mpf_class scale(ten_to(digits), precision);
    mpf_class error = power_of_two(bound_exponent);
    error *= scale;
    mpf_class middle(v, precision);
    middle *= scale;
    middle += 0.5;
    mpf_class low(middle - error, precision), high(middle + error, precision);
    mpf_floor(low.get_mpf_t(), low.get_mpf_t());
    mpf_floor(high.get_mpf_t(), high.get_mpf_t());
    if (low != high)
        return std::nullopt;
    return mpz_class(low);
}

mpz_class packets_power_exactly(int packets, int shuffles) {
    mpz_class a;
    mpz_ui_pow_ui(a.get_mpz_t(), static_cast<unsigned long>(packets),
                  static_cast<unsigned long>(shuffles));
    return a;
}

} // namespace

std::string decimals(const mpq_class& x, int digits) {
    const mpq_class scaled = x * mpq_class(ten_to(digits));
    mpz_class q;
    mpz_fdiv_q(q.get_mpz_t(), scaled.get_num_mpz_t(), scaled.get_den_mpz_t());
    const mpq_class rest = scaled - mpq_class(q);
    const int half = cmp(rest, mpq_class(1, 2));
    if (half > 0 || (half == 0 && mpz_odd_p(q.get_mpz_t())))
        ++q;
    return written(q, digits);
}

std::optional<std::string> proven_decimals(const mpq_class& value, const mpq_class& bound,
                                           int digits, const mpz_class* denominator) {
    // x is written as floor(x 10^d + 1/2): alike for all within the bound
    // where no whole number lies between the ends shifted so.
    const mpq_class scale(ten_to(digits));
    mpq_class low = value - bound;
    if (sgn(low) < 0)
        low = 0;
    const mpq_class from = low * scale + mpq_class(1, 2);
    const mpq_class to = (value + bound) * scale + mpq_class(1, 2);
    mpz_class first, last;
    mpz_cdiv_q(first.get_mpz_t(), from.get_num_mpz_t(), from.get_den_mpz_t());
    mpz_fdiv_q(last.get_mpz_t(), to.get_num_mpz_t(), to.get_den_mpz_t());
    if (first > last)
        return written(last, digits);
    // One boundary, (first - 1/2) / 10^d, a whole number over 2 10^d: a
    // value over the denominator that is not it lies at least
    // 1 / (2 10^d denominator) from it, farther than the bound allows.
    if (denominator && first == last && 4 * bound * scale * *denominator < 1)
        return decimals((mpq_class(first) - mpq_class(1, 2)) / scale, digits);
    return std::nullopt;
}

riffles::riffles(int cards, int packets) : cards_(1), packets_(packets), eulerian_{number(1)} {
    while (cards_ < cards)
        grow();
}

void riffles::grow() {
    // A(n, r) = r A(n-1, r) + (n-r+1) A(n-1, r-1), divided through by n:
    // every term positive, so that each fraction's relative error grows by a
    // few units in the last place a row. From the top down, so that the row
    // before is read before it is overwritten.
    const auto n = static_cast<unsigned long>(++cards_);
    eulerian_.push_back(number(0));
    mpf_class part = number(0);
    for (unsigned long r = n; r >= 1; --r) {
        mpf_class& e = eulerian_[r - 1];
        mpf_mul_ui(e.get_mpf_t(), e.get_mpf_t(), r);
        if (r >= 2) {
            mpf_mul_ui(part.get_mpf_t(), eulerian_[r - 2].get_mpf_t(), n - r + 1);
            mpf_add(e.get_mpf_t(), e.get_mpf_t(), part.get_mpf_t());
        }
        mpf_div_ui(e.get_mpf_t(), e.get_mpf_t(), n);
    }
}

mpf_class riffles::packets_power(int shuffles) const {
    // Exact for two packets; for more, within a unit in the last of 256
    // places, a relative error the bound takes in its stride.
    if (packets_ == 2)
        return power_of_two(shuffles);
    return mpf_class(packets_power_exactly(packets_, shuffles), precision);
}

void riffles::divide_by_power(mpf_class& x, int shuffles, long n) const {
    if (packets_ == 2) {
        mpf_div_2exp(x.get_mpf_t(), x.get_mpf_t(), static_cast<mp_bitcnt_t>(shuffles * n));
        return;
    }
    mpf_class whole = packets_power(shuffles);
    mpf_pow_ui(whole.get_mpf_t(), whole.get_mpf_t(), static_cast<unsigned long>(n));
    x /= whole;
}

mpf_class riffles::approximate_total_variation(int shuffles) const {
    // R_r = n! C(a + n - r, n) / a^n, the chance of a deck with r rising
    // sequences against the uniform one, a = 2^k: the product of
    // (a - r + i) / a for i from 1 to n, and each next one from the last.
    const long n = cards_;
    const mpf_class a = packets_power(shuffles);
    mpf_class ratio = number(1), factor = number(0), sum = number(0), term = number(0);
    for (long i = 1; i <= n; ++i) {
        factor = a;
        factor += static_cast<unsigned long>(i - 1);
        ratio *= factor;
    }
    divide_by_power(ratio, shuffles, n);
    for (long r = 1; r <= n; ++r) {
        term = ratio - 1;
        mpf_abs(term.get_mpf_t(), term.get_mpf_t());
        term *= eulerian_[static_cast<std::size_t>(r - 1)];
        sum += term;
        // R_{r+1} = R_r (a - r) / (a + n - r): none left once a - r is 0.
        factor = a;
        factor -= static_cast<unsigned long>(r);
        if (sgn(factor) <= 0) {
            // Every deck of more rising sequences has no chance: each adds
            // its whole weight.
            for (long s = r + 1; s <= n; ++s)
                sum += eulerian_[static_cast<std::size_t>(s - 1)];
            break;
        }
        ratio *= factor;
        factor += static_cast<unsigned long>(n);
        ratio /= factor;
    }
    mpf_div_2exp(sum.get_mpf_t(), sum.get_mpf_t(), 1);
    return sum;
}

mpf_class riffles::approximate_separation(int shuffles) const {
    // 1 - n! C(a, n) / a^n: the least likely deck, the one of n rising
    // sequences, against the uniform one.
    const mpf_class a = packets_power(shuffles);
    mpf_class product = number(1), factor = number(0);
    for (long i = 0; i < cards_; ++i) {
        factor = a;
        factor -= static_cast<unsigned long>(i);
        if (sgn(factor) <= 0)
            return number(1);
        product *= factor;
    }
    divide_by_power(product, shuffles, cards_);
    return number(1) - product;
}

std::vector<mpz_class> eulerian_numbers(int cards) {
    // Row by row.
    const auto n = static_cast<unsigned long>(cards);
    std::vector<mpz_class> counts(n + 1);
    counts[1] = 1;
    for (unsigned long m = 2; m <= n; ++m)
        for (unsigned long r = m; r >= 1; --r)
            counts[r] = r * counts[r] + (m - r + 1) * counts[r - 1];
    return counts;
}

mpq_class exact_total_variation(int cards, int packets, int shuffles,
                                const std::vector<mpz_class>& counts) {
    const auto n = static_cast<unsigned long>(cards);
    const mpz_class a = packets_power_exactly(packets, shuffles);
    mpz_class power, product = 1, sum = 0, step;
    mpz_pow_ui(power.get_mpz_t(), a.get_mpz_t(), n);
    // P_r = n! C(a + n - r, n), the product of a - r + i for i from 1 to n;
    // each step in place, as a notebook asks for many of these at once.
    for (unsigned long i = 1; i <= n; ++i) {
        mpz_add_ui(step.get_mpz_t(), a.get_mpz_t(), i - 1);
        mpz_mul(product.get_mpz_t(), product.get_mpz_t(), step.get_mpz_t());
    }
    for (unsigned long r = 1; r <= n; ++r) {
        mpz_sub(step.get_mpz_t(), product.get_mpz_t(), power.get_mpz_t());
        mpz_abs(step.get_mpz_t(), step.get_mpz_t());
        mpz_addmul(sum.get_mpz_t(), counts[r].get_mpz_t(), step.get_mpz_t());
        if (a <= r) {
            product = 0;
            continue;
        }
        mpz_sub_ui(step.get_mpz_t(), a.get_mpz_t(), r);
        mpz_mul(product.get_mpz_t(), product.get_mpz_t(), step.get_mpz_t());
        mpz_add_ui(step.get_mpz_t(), a.get_mpz_t(), n - r);
        mpz_divexact(product.get_mpz_t(), product.get_mpz_t(), step.get_mpz_t());
    }
    mpz_class factorial;
    mpz_fac_ui(factorial.get_mpz_t(), n);
    mpq_class tv(sum, 2 * factorial * power);
    tv.canonicalize();
    return tv;
}

mpq_class exact_separation(int cards, int packets, int shuffles) {
    const mpz_class a = packets_power_exactly(packets, shuffles);
    mpz_class power, product = 1;
    mpz_pow_ui(power.get_mpz_t(), a.get_mpz_t(), static_cast<unsigned long>(cards));
    for (long i = 0; i < cards; ++i)
        product *= a - static_cast<unsigned long>(i);
    mpq_class separation(power - product, power);
    separation.canonicalize();
    return separation;
}

mpq_class riffles::exact_total_variation(int shuffles) const {
    return exact::exact_total_variation(cards_, packets_, shuffles, eulerian_numbers(cards_));
}

mpq_class riffles::exact_separation(int shuffles) const {
    return exact::exact_separation(cards_, packets_, shuffles);
}

std::string riffles::total_variation(int shuffles, int digits) const {
    if (const auto q = rounded(approximate_total_variation(shuffles), digits))
        return written(*q, digits);
    return decimals(exact_total_variation(shuffles), digits);
}

std::string riffles::separation(int shuffles, int digits) const {
    if (const auto q = rounded(approximate_separation(shuffles), digits))
        return written(*q, digits);
    return decimals(exact_separation(shuffles), digits);
}

namespace {

// Whether `v`, off by at most 2^bound_exponent, lies under one half; nothing
// where the bound leaves it in doubt.
std::optional<bool> proven_under_half(const mpf_class& v) {
    const mpf_class error = power_of_two(bound_exponent);
    mpf_class low(v, precision), high(v, precision);
    low -= error;
    high += error;
    if (high < 0.5)
        return true;
    if (low >= 0.5)
        return false;
    return std::nullopt;
}

} // namespace

bool riffles::separation_under_half(int shuffles) const {
    if (const auto under = proven_under_half(approximate_separation(shuffles)))
        return *under;
    return exact_separation(shuffles) < mpq_class(1, 2);
}

bool riffles::under_half(int shuffles) const {
    if (const auto under = proven_under_half(approximate_total_variation(shuffles)))
        return *under;
    return exact_total_variation(shuffles) < mpq_class(1, 2);
}

} // namespace exact
