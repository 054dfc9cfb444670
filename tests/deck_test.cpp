#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

#include "filter/deck.hpp"
#include "filter/round.hpp"

namespace {

using deck = std::vector<deal::card>;

// Starts a fresh run with `hands` hands and plays `rounds` rounds.
deck after_rounds(int hands, int rounds) {
    std::fill(std::begin(filter::stack), std::end(filter::stack), 0);
    filter::N = hands;
    filter::set_starting_order();
    for (int r = 0; r < rounds; ++r)
        filter::simulate_round();
    return deck(filter::stack, filter::stack + filter::deck_size());
}

bool in_starting_order() {
    for (int p = 0; p < filter::deck_size(); ++p)
        if (filter::stack[p] != p)
            return false;
    return true;
}

struct stated_deck {
    int hands;
    int rounds;
    deck cards;
};

TEST(Round, GivesTheStatedDecks) {
    const stated_deck table[] = {
        {1, 1, {0, 1, 2, 3, 4}},
        {1, 5, {0, 1, 2, 3, 4}},
        {2, 1, {0, 2, 3, 6, 7, 1, 4, 5, 8, 9}},
        {2, 2, {0, 3, 6, 4, 5, 2, 7, 1, 8, 9}},
        {2, 3, {0, 6, 4, 7, 1, 3, 5, 2, 8, 9}},
        {2, 4, {0, 4, 7, 5, 2, 6, 1, 3, 8, 9}},
        {2, 5, {0, 7, 5, 1, 3, 4, 2, 6, 8, 9}},
        {2, 6, {0, 5, 1, 2, 6, 7, 3, 4, 8, 9}},
        {2, 7, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {3, 1, {0, 3, 4, 9, 10, 1, 5, 6, 11, 12, 2, 7, 8, 13, 14}},
        {3, 2, {0, 9, 10, 12, 2, 3, 1, 5, 7, 8, 4, 6, 11, 13, 14}},
        {4, 1, {0, 4, 5, 12, 13, 1, 6, 7, 14, 15, 2, 8, 9, 16, 17, 3, 10, 11, 18, 19}},
        {0, 3, {}},
        {-3, 3, {}},
    };
    for (const auto& [hands, rounds, cards] : table)
        EXPECT_EQ(after_rounds(hands, rounds), cards) << hands << " hands, " << rounds << " rounds";
}

TEST(Round, FillsTheHandsInDealingOrder) {
    after_rounds(2, 1);
    const deal::card hand0[] = {9, 8, 5, 4, 1};
    const deal::card hand1[] = {7, 6, 3, 2, 0};
    EXPECT_TRUE(std::equal(std::begin(hand0), std::end(hand0), filter::cards[0]));
    EXPECT_TRUE(std::equal(std::begin(hand1), std::end(hand1), filter::cards[1]));
}

TEST(Round, ReturnsToTheStartAfterItsPeriod) {
    const int periods[] = {1, 7, 9, 28, 154, 88};
    for (int hands = 1; hands <= 6; ++hands) {
        after_rounds(hands, 0);
        int rounds = 0;
        do {
            filter::simulate_round();
            ++rounds;
        } while (!in_starting_order() && rounds <= 1000);
        EXPECT_EQ(rounds, periods[hands - 1]) << hands << " hands";
    }
}

// From the starting order, group k of five holds k, N+2k, N+2k+1, 3N+2k, 3N+2k+1.
TEST(Round, FirstRoundGroupsFollowTheDeal) {
    for (int hands : {1, 2, 7, 100, 1009, deal::max_hands}) {
        const deck d = after_rounds(hands, 1);
        for (int k = 0; k < hands; ++k) {
            const deck group(d.begin() + 5 * k, d.begin() + 5 * k + 5);
            const deck want = {k, hands + 2 * k, hands + 2 * k + 1, 3 * hands + 2 * k,
                               3 * hands + 2 * k + 1};
            ASSERT_EQ(group, want) << hands << " hands, group " << k;
        }
    }
}

TEST(Round, FullDeckStaysInsideItsStorage) {
    std::fill(std::begin(filter::cards[0]), std::end(filter::cards[deal::max_hands - 1]), -1);
    const deck d = after_rounds(deal::max_hands, 1);
    ASSERT_EQ(d.size(), std::size_t{filter::deck_capacity});
    EXPECT_EQ(deck(d.begin(), d.begin() + 3), (deck{0, 1010, 1011}));
    EXPECT_EQ(deck(d.end() - 5, d.end()), (deck{1009, 3028, 3029, 5048, 5049}));
    // Every hand was dealt a card into every slot.
    for (const auto& hand : filter::cards)
        for (deal::card c : hand)
            ASSERT_GE(c, 0);
}

TEST(Round, UnusedPositionsKeepTheirStartValue) {
    after_rounds(7, 3);
    for (int p = filter::deck_size(); p < filter::deck_capacity; ++p)
        ASSERT_EQ(filter::stack[p], 0) << "position " << p;
}

TEST(Round, EveryRoundIsAPermutation) {
    for (int hands : {1, 2, 5, 33, 517, deal::max_hands}) {
        after_rounds(hands, 0);
        for (int round = 0; round < 40; ++round) {
            filter::simulate_round();
            deck sorted(filter::stack, filter::stack + filter::deck_size());
            std::sort(sorted.begin(), sorted.end());
            deck want(sorted.size());
            std::iota(want.begin(), want.end(), 0);
            ASSERT_EQ(sorted, want) << hands << " hands, round " << round + 1;
        }
    }
}

TEST(HandCount, SupportedRangeIsExact) {
    EXPECT_TRUE(deal::hand_count_supported(-429496729));
    EXPECT_FALSE(deal::hand_count_supported(-429496730));
    EXPECT_TRUE(deal::hand_count_supported(1010));
    EXPECT_FALSE(deal::hand_count_supported(1011));
}

} // namespace
