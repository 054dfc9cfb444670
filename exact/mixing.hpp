// How many riffle shuffles mix a deck. One riffle cuts the deck after a
// binomial count of cards and drops cards from the bottoms of the two
// packets, each with chance proportional to the cards it still holds; k of
// them in a row deal an arrangement with r rising sequences with chance
// C(2^k + n - r, n) / 2^(kn), which depends on r alone, and the Eulerian
// number A(n, r) counts the arrangements with r rising sequences. From these
// come the total variation distance to a uniformly random deck and the
// separation distance, each written to a number of decimals exactly rounded.
//
// A riffle into A packets (an A-shuffle) has the same law with A^k for 2^k.
//
// Each distance is first worked out in 256-bit floating point, whose error
// is proven far below 2^-200; only where that bound leaves the last decimal
// in doubt is it worked out again exactly, in integers.
#pragma once

#include <gmpxx.h>
#include <optional>
#include <string>
#include <vector>

namespace exact {

class riffles {
public:
    // The law for a deck of `cards` cards, 1 or more, riffled into
    // `packets` packets, 2 to deal::max_riffle_packets.
    explicit riffles(int cards, int packets = 2);
    int cards() const { return cards_; }
    int packets() const { return packets_; }
    // The law for one card more, as a range of deck sizes is walked.
    void grow();

    // The distances after `shuffles` riffles, 0 to deal::max_shuffles, written
    // with `digits` decimals, exactly rounded, a tie to the even digit.
    std::string total_variation(int shuffles, int digits) const;
    std::string separation(int shuffles, int digits) const;
    // Whether the total variation distance after `shuffles` riffles is under
    // one half; whether the separation distance is.
    bool under_half(int shuffles) const;
    bool separation_under_half(int shuffles) const;

    // The total variation distance as a double, for drawing: within a unit
    // in its last place.
    double total_variation_value(int shuffles) const {
        return approximate_total_variation(shuffles).get_d();
    }

    // The distances exactly.
    mpq_class exact_total_variation(int shuffles) const;
    mpq_class exact_separation(int shuffles) const;

private:
    mpf_class approximate_total_variation(int shuffles) const;
    mpf_class approximate_separation(int shuffles) const;
    // A^shuffles in floating point.
    mpf_class packets_power(int shuffles) const;
    // `x` divided by (A^shuffles)^n.
    void divide_by_power(mpf_class& x, int shuffles, long n) const;

    int cards_;
    int packets_;
    // A(n, r) / n! for r = 1 to n, the chance that a uniformly random deck
    // has r rising sequences.
    std::vector<mpf_class> eulerian_;
};

// The same distances exactly, for a deck of `cards` cards riffled
// `shuffles` times into `packets` packets, without the floating-point law:
// the total variation from the Eulerian numbers A(n, r), r from 0 to n.
std::vector<mpz_class> eulerian_numbers(int cards);
mpq_class exact_total_variation(int cards, int packets, int shuffles,
                                const std::vector<mpz_class>& eulerian);
mpq_class exact_separation(int cards, int packets, int shuffles);

// `x`, 0 or more, with `digits` decimals, exactly rounded, a tie to the even
// digit.
std::string decimals(const mpq_class& x, int digits);
// What a value worked out as `value`, off by at most `bound`, is written as
// with `digits` decimals, exactly rounded: where every number within the
// bound is written alike, or where the exact value is a whole number over
// `denominator` and the one halfway point within the bound must be it (then
// a tie to the even digit); otherwise nothing.
std::optional<std::string> proven_decimals(const mpq_class& value, const mpq_class& bound,
                                           int digits, const mpz_class* denominator = nullptr);

} // namespace exact
