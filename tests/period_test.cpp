#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "deal/cycles.hpp"
#include "deal/description.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "floating/riffle_curve.hpp"
#include "text/digits.hpp"

namespace {

deal::cycles cycles;

deal::period period_of(const deal::permutation& round) {
    cycles.learn(round);
    return deal::period(cycles);
}

std::string digits(const deal::period& p) {
    char text[text::period_digits];
    char* const end = text + sizeof text;
    return {text::period_text(p, end), end};
}

// A permutation made of one cycle of each length given, in turn.
deal::permutation with_cycles(const std::vector<int>& lengths) {
    std::vector<std::int32_t> goes_to;
    for (const int length : lengths)
        for (int j = 0; j < length; ++j)
            goes_to.push_back(static_cast<std::int32_t>(goes_to.size()) +
                              (j + 1 < length ? 1 : 1 - length));
    return deal::permutation(goes_to);
}

// The product of the lengths in decimal, the schoolbook way.
std::string product(const std::vector<int>& factors) {
    std::vector<int> digits = {1}; // least significant first
    for (const int f : factors) {
        int carry = 0;
        for (int& d : digits) {
            const int v = d * f + carry;
            d = v % 10;
            carry = v / 10;
        }
        for (; carry > 0; carry /= 10)
            digits.push_back(carry % 10);
    }
    std::string text;
    for (auto d = digits.rbegin(); d != digits.rend(); ++d)
        text += static_cast<char>('0' + *d);
    return text;
}

TEST(Period, StatedPeriodsOfDealsOwn) {
    const struct {
        int hands;
        std::uint64_t period;
    } table[] = {{1, 1}, {2, 7}, {3, 9}, {4, 28}, {5, 154}, {6, 88}, {0, 1}, {-3, 1}};
    for (const auto& [hands, want] : table)
        EXPECT_EQ(period_of(deal::permutation(deal::default_deal(hands))).small(), want)
            << hands << " hands";
}

// Past 128 bits, every digit: one cycle of each length from 1 to 100, and
// the largest period of any permutation of 5050 positions, its cycles the
// prime powers whose product is largest among those that sum to 5050.
TEST(Period, EveryDigitOfPeriodsPast128Bits) {
    std::vector<int> one_to_hundred;
    for (int length = 1; length <= 100; ++length)
        one_to_hundred.push_back(length);
    const deal::period hundred = period_of(with_cycles(one_to_hundred));
    EXPECT_EQ(digits(hundred), "69720375229712477164533808935312303556800");
    EXPECT_FALSE(hundred.small());
    EXPECT_NEAR(hundred.log2(), 135.679, 0.001);

    const std::vector<int> largest = {
        11,  13,  17,  19,  23,  25,  27,  29,  31,  37,  41,  43,  47,  49,  53,  59,  61,
        64,  67,  71,  73,  79,  83,  89,  97,  101, 103, 107, 109, 113, 127, 131, 137, 139,
        149, 151, 157, 163, 167, 173, 179, 181, 191, 193, 197, 199, 211, 223, 241};
    std::vector<int> lengths = largest;
    int used = 0;
    for (const int length : largest)
        used += length;
    ASSERT_EQ(used, deal::max_cards);
    const deal::period most = period_of(with_cycles(lengths));
    EXPECT_EQ(digits(most), product(largest));
    EXPECT_NEAR(most.log2(), 308.774, 0.001);

    // Repeated and fixed lengths change nothing; the empty deck's is 1.
    EXPECT_EQ(digits(period_of(with_cycles({4, 6, 4, 1, 1, 6}))), "12");
    EXPECT_EQ(digits(period_of(deal::permutation())), "1");
}

// The page's curve of the drop, in floating point, held to deal-mix's exact
// distances for 52 and 1000 cards (to 12 decimals, as deal-mix prints them).
TEST(RiffleCurve, FollowsTheExactDistances) {
    const struct {
        int cards;
        std::vector<double> exact; // from 1 riffle on
    } table[] = {
        {52,
         {1, 1, 1, 0.999999533431, 0.923732929396, 0.613549596566, 0.334060999468, 0.167158641927,
          0.085420193409, 0.042945548921, 0.021502375949, 0.010754893496}},
        {1000,
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 0.999993854280, 0.974654254843, 0.735664583736, 0.423049653746,
          0.219405114757, 0.110849647212, 0.055539237981}},
    };
    for (const auto& [cards, exact] : table) {
        const std::vector<double> curve =
            floating::riffle_distances(cards, static_cast<int>(exact.size()));
        ASSERT_EQ(curve.size(), exact.size() + 1);
        EXPECT_NEAR(curve[0], 1, 1e-12) << cards;
        for (std::size_t k = 0; k < exact.size(); ++k)
            EXPECT_NEAR(curve[k + 1], exact[k], 1e-9) << cards << " cards, " << k + 1;
    }
}

} // namespace
