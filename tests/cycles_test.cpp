#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "deal/cycles.hpp"
#include "deal/deck.hpp"
#include "deal/round.hpp"
#include "deal/rounds_modulo.hpp"

namespace {

using deck = std::vector<deal::card>;

deck played(int hands, int rounds) {
    deal::N = hands;
    deal::set_starting_order();
    for (int r = 0; r < rounds; ++r)
        deal::simulate_round();
    return deck(deal::stack, deal::stack + deal::deck_size());
}

// Every count: the cycles cover the deck once, each from its lowest position,
// in ascending order of it, and each step is where one round takes that card.
TEST(Cycles, EachStepIsOneRoundsMoveForEveryCount) {
    static deal::round_cycles cycles;
    for (int hands = 1; hands <= deal::max_hands; ++hands) {
        cycles.learn(hands);
        const deck once = played(hands, 1);
        std::vector<bool> seen(once.size());
        deal::card previous_first = -1;
        for (int i = 0; i < cycles.count(); ++i) {
            const auto c = cycles.cycle(i);
            ASSERT_GT(c.front(), previous_first) << hands << " hands, cycle " << i;
            previous_first = c.front();
            for (std::size_t j = 0; j < c.size(); ++j) {
                ASSERT_GE(c[j], c.front());
                ASSERT_FALSE(seen[static_cast<std::size_t>(c[j])]);
                seen[static_cast<std::size_t>(c[j])] = true;
                // The card that started at c[j] is at c[j + 1] after one round.
                ASSERT_EQ(once[static_cast<std::size_t>(c[(j + 1) % c.size()])], c[j])
                    << hands << " hands, position " << c[j];
            }
        }
        ASSERT_EQ(std::count(seen.begin(), seen.end(), true), 5 * hands);
    }
}

TEST(Cycles, JumpIsThatManyRounds) {
    static deal::round_cycles cycles;
    for (int hands : {1, 2, 3, 4, 7, 10, 33, deal::max_hands}) {
        cycles.learn(hands);
        const auto period = *cycles.period();
        std::vector<deal::round_count> jumps = {0, 1, 2, 3, 17};
        if (period < 2000)
            jumps.insert(jumps.end(), {period - 1, period, period + 1, 2 * period + 5});
        for (const deal::round_count rounds : jumps) {
            const deck want = played(hands, static_cast<int>(rounds));
            cycles.jump(rounds);
            EXPECT_EQ(deck(deal::stack, deal::stack + deal::deck_size()), want)
                << hands << " hands, " << static_cast<int>(rounds) << " rounds";
        }
    }
}

// The residue of a decimal text, a digit at a time: the slow, plain way.
deal::round_count digit_by_digit(const std::string& digits, deal::round_count period) {
    deal::round_count r = 0;
    for (char d : digits)
        r = (r * 10 + static_cast<unsigned>(d - '0')) % period;
    return r;
}

TEST(RoundsModulo, AgreesWithDigitByDigitWhateverTheRuns) {
    const deal::round_count big = (deal::round_count{1} << 89) + 12345; // as wide as real periods
    const struct {
        std::string text;
        deal::round_count period;
        deal::round_count want;
    } table[] = {
        {"0", 7, 0},   {"-0", 7, 0},     {"+15", 7, 1}, {"-1", 7, 6}, {"-7", 7, 0},
        {"-15", 7, 6}, {"00029", 28, 1}, {"5", 1, 0},   {"-5", 1, 0},
    };
    for (const auto& [text, period, want] : table) {
        deal::rounds_modulo rounds{period};
        const std::size_t digits = text[0] == '+' || text[0] == '-' ? 1 : 0;
        if (digits)
            rounds.sign(text[0]);
        rounds.digits(text.data() + digits, text.data() + text.size());
        EXPECT_TRUE(rounds.rounds() == want) << text;
    }

    std::mt19937 random(7);
    for (const deal::round_count period :
         {deal::round_count{28}, deal::round_count{88} << 60, big}) {
        std::string text(5000, '0');
        for (char& d : text)
            d = static_cast<char>('0' + random() % 10);
        deal::rounds_modulo rounds{period};
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t run = std::min<std::size_t>(random() % 40 + 1, text.size() - at);
            rounds.digits(text.data() + at, text.data() + at + run);
            at += run;
        }
        EXPECT_TRUE(rounds.rounds() == digit_by_digit(text, period));
        rounds.clear();
        rounds.sign('-');
        rounds.digits(text.data(), text.data() + text.size());
        const deal::round_count residue = digit_by_digit(text, period);
        EXPECT_TRUE(rounds.rounds() == (residue == 0 ? 0 : period - residue));
    }
}

} // namespace
