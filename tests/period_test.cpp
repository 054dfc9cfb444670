#include <gtest/gtest.h>

#include "deal/deck.hpp"
#include "deal/period.hpp"

namespace {

TEST(Period, StatedPeriods) {
    const struct {
        int hands;
        unsigned period;
    } table[] = {
        {1, 1}, {2, 7}, {3, 9}, {4, 28}, {5, 154}, {6, 88}, {0, 1}, {-3, 1}, {deal::min_hands, 1}};
    for (const auto& [hands, period] : table)
        EXPECT_TRUE(deal::period(hands) == period) << hands << " hands";
}

// Decks of more hands need more than 64 bits, and none may overflow 128.
TEST(Period, EveryFullSizeCountFitsAndNeedsUpTo90Bits) {
    int widest = 0;
    for (int hands = 1; hands <= deal::max_hands; ++hands) {
        const auto rounds = deal::period(hands);
        ASSERT_TRUE(rounds.has_value()) << hands << " hands";
        int bits = 0;
        for (deal::round_count r = *rounds; r != 0; r >>= 1)
            ++bits;
        widest = std::max(widest, bits);
    }
    EXPECT_GT(widest, 64);
    EXPECT_LE(widest, 90);
}

} // namespace
