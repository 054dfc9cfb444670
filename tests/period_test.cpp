#include <gtest/gtest.h>
#include <string>

#include "console/round_count_text.hpp"
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

namespace {

// No supported deck comes near 128 bits, so the overflow check is held in
// place here, with values that pass the limit.
TEST(Period, CheckedLcmRefusesWhatDoesNotFitIn128Bits) {
    using deal::round_count;
    const round_count top = ~round_count{0};
    const round_count p61 = (round_count{1} << 61) - 1, p89 = (round_count{1} << 89) - 1;
    const struct {
        round_count a, b;
        std::optional<round_count> want;
    } table[] = {
        {4, 6, 12},
        {top, 1, top},
        {top, top, top},
        {round_count{1} << 127, 2, round_count{1} << 127},
        {round_count{1} << 127, 3, std::nullopt},
        {p61, p89, std::nullopt},     // 150 bits
        {p61 * 3, p61 * 5, p61 * 15}, // a common factor keeps it small
        {round_count{1} << 64, (round_count{1} << 64) + 1, std::nullopt},
    };
    for (const auto& [a, b, want] : table)
        EXPECT_TRUE(deal::checked_lcm(a, b) == want)
            << static_cast<double>(a) << ", " << static_cast<double>(b);
}

} // namespace

namespace {

// Every digit of a period, across the 19-digit steps the conversion takes.
TEST(Period, TextHasEveryDigit) {
    using deal::round_count;
    const round_count e19 = 10'000'000'000'000'000'000u;
    const struct {
        round_count n;
        const char* want;
    } table[] = {
        {0, "0"},
        {7, "7"},
        {e19 - 1, "9999999999999999999"},
        {e19, "10000000000000000000"},
        {e19 * e19 + 5, "100000000000000000000000000000000000005"},
        {~round_count{0}, "340282366920938463463374607431768211455"},
    };
    for (const auto& [n, want] : table) {
        char text[console::round_count_digits];
        char* const end = text + sizeof text;
        EXPECT_EQ(std::string(console::round_count_text(n, end), end), want);
    }
}

} // namespace
