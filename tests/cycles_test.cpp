#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "deal/cycles.hpp"
#include "deal/description.hpp"
#include "deal/follow.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"
#include "filter/deck.hpp"
#include "filter/round.hpp"
#include "text/routine_words.hpp"

namespace {

using deck = std::vector<deal::card>;

deck starting_order(int size) {
    deck d(static_cast<std::size_t>(size));
    std::iota(d.begin(), d.end(), 0);
    return d;
}

deck applied(const deal::permutation& round, deck d, int rounds) {
    deck next(d.size());
    for (int r = 0; r < rounds; ++r) {
        round.apply(d.data(), next.data());
        d.swap(next);
    }
    return d;
}

// The description of deal's own deal makes, for every count, exactly the
// round that deal plays on its own deck.
TEST(DefaultDeal, IsDealsOwnRoundForEveryCount) {
    static deal::permutation round;
    for (int hands = deal::max_hands; hands >= -3; --hands) {
        const deal::description d = deal::default_deal(hands);
        ASSERT_EQ(deal::check(d), deal::fault::none) << hands << " hands";
        round = deal::permutation(d);
        filter::N = hands;
        filter::set_starting_order();
        filter::simulate_round();
        ASSERT_EQ(round.size(), filter::deck_size());
        ASSERT_EQ(applied(round, starting_order(round.size()), 1),
                  deck(filter::stack, filter::stack + filter::deck_size()))
            << hands << " hands";
    }
}

// Any permutation: the cycles cover it once, each from its lowest position,
// in ascending order of it, each step is where one round takes that card,
// and cycle_of and place_of find every position on its cycle.
// A deal with a chosen pile, its whole deck's order where the followed card
// is at each place: that card goes where following it alone takes it.
TEST(Routine, ChosenPileDeckTakesTheCardWhereFollowingGoes) {
    struct row {
        int cards, hands, packet, pile;
        deal::rest rest;
        deal::first_card first;
    };
    const row rows[] = {
        {21, 3, 1, 1, deal::rest::again, deal::first_card::top},
        {27, 3, 1, 2, deal::rest::again, deal::first_card::top},
        {23, 4, 2, 3, deal::rest::top, deal::first_card::bottom},
        {52, 5, 3, 0, deal::rest::bottom, deal::first_card::top},
    };
    std::int16_t next[deal::max_cards];
    for (const row& r : rows) {
        deal::move m;
        m.kind = deal::move_kind::deal;
        m.deal.hands = r.hands;
        m.deal.cards = r.cards;
        const std::int32_t packet[] = {r.packet};
        m.deal.set_packets(packet);
        m.deal.rest = r.rest;
        m.deal.first_card = r.first;
        m.deal.chosen_pile = r.pile;
        deal::follow_move(m, r.cards, next);
        for (int at = 0; at < r.cards; ++at)
            EXPECT_EQ(deal::move_permutation(m, r.cards, at)[at], next[at])
                << r.cards << " cards, " << r.hands << " hands, pile " << r.pile << ", at " << at;
    }
}

// The whole deck under a routine whose deals gather the followed card's
// pile: a jump to any round is that many rounds played one by one, and the
// card is where following it alone says.
TEST(Routine, FollowedDeckJumpsAsItPlays) {
    struct row {
        const char* routine;
        int cards, card;
    };
    const row rows[] = {
        {"deal 3 --packets 1 --chosen-pile 1", 21, 5},
        {"deal 3 --packets 1 --chosen-pile 2; cut 4; deal 3 --packets 1 --chosen-pile 0", 27, 13},
        {"deal 4 --packets 2,1 --rest top --chosen-pile 3; faro out", 30, 29},
    };
    const auto show = [](std::string_view v, text::shown_length, char*, std::size_t) {
        return v.data();
    };
    static deal::routine r;
    static deal::followed_deck followed;
    for (const row& w : rows) {
        char words[256];
        ASSERT_TRUE(text::read_routine(w.routine, w.cards, r, show, words, sizeof words)) << words;
        followed.learn(r, w.card);
        const std::int64_t rounds = 3 * (followed.card().tail() + followed.card().length()) + 5;
        deck played = starting_order(w.cards), jumped(played.size()), next(played.size());
        deal::round_number n;
        n.learn(followed.card().lengths());
        for (std::int64_t k = 0; k <= rounds; ++k) {
            followed.at(k, jumped.data());
            ASSERT_EQ(jumped, played) << w.routine << ", round " << k;
            n.assign(std::to_string(k));
            EXPECT_EQ(played[static_cast<std::size_t>(followed.card().at(n))], w.card)
                << w.routine << ", round " << k;
            const int p =
                static_cast<int>(std::find(played.begin(), played.end(), w.card) - played.begin());
            followed.round(p).apply(played.data(), next.data());
            played.swap(next);
        }
    }
}

TEST(Cycles, FollowAnyPermutation) {
    std::mt19937 random(5);
    static deal::cycles cycles;
    for (const int size : {0, 1, 2, 3, 52, 1000, deal::max_cards}) {
        std::vector<std::int32_t> goes_to(static_cast<std::size_t>(size));
        std::iota(goes_to.begin(), goes_to.end(), 0);
        std::shuffle(goes_to.begin(), goes_to.end(), random);
        const deal::permutation round(goes_to);
        cycles.learn(round);
        std::vector<bool> seen(goes_to.size());
        int previous_first = -1, covered = 0;
        for (int i = 0; i < cycles.count(); ++i) {
            const auto c = cycles.cycle(i);
            ASSERT_GT(c.front(), previous_first);
            previous_first = c.front();
            for (std::size_t j = 0; j < c.size(); ++j) {
                ASSERT_GE(c[j], c.front());
                ASSERT_FALSE(seen[static_cast<std::size_t>(c[j])]);
                seen[static_cast<std::size_t>(c[j])] = true;
                ASSERT_EQ(round[c[j]], c[(j + 1) % c.size()]);
                ASSERT_EQ(cycles.cycle_of(c[j]), i);
                ASSERT_EQ(cycles.place_of(c[j]), static_cast<int>(j));
                ++covered;
            }
        }
        ASSERT_EQ(covered, size);
    }
}

// A jump, and where one card is, are that many rounds played, for deals of
// every kind; so is a round number moved on by advance().
TEST(Cycles, JumpIsThatManyRounds) {
    const auto described = [](int hands, int cards, std::vector<std::int32_t> packets,
                              deal::rest rest, deal::first_card first, deal::bottom_hand bottom) {
        deal::description d;
        d.hands = hands;
        d.cards = cards;
        d.set_packets(packets);
        d.rest = rest;
        d.first_card = first;
        d.bottom_hand = bottom;
        return d;
    };
    using enum deal::rest;
    const deal::description deals[] = {
        deal::default_deal(4),
        deal::default_deal(1010),
        described(2, 52, {1}, again, deal::first_card::bottom, deal::bottom_hand::last),
        described(4, 52, {1, 1, 1, 1, 1}, bottom, deal::first_card::top, deal::bottom_hand::last),
        described(3, 17, {3, 2}, top, deal::first_card::top, deal::bottom_hand::first),
        described(7, 5, {2}, again, deal::first_card::bottom, deal::bottom_hand::first),
    };
    static deal::cycles cycles;
    static deal::round_number number;
    for (const deal::description& d : deals) {
        ASSERT_EQ(deal::check(d), deal::fault::none);
        const deal::permutation round(d);
        cycles.learn(round);
        number.learn(cycles);
        deck jumped(static_cast<std::size_t>(d.cards));
        for (const int rounds : {0, 1, 2, 3, 17, 100}) {
            const deck want = applied(round, starting_order(d.cards), rounds);
            number.assign(std::to_string(rounds));
            cycles.jump(number, jumped.data());
            EXPECT_EQ(jumped, want) << d.hands << " hands, " << d.cards << " cards, " << rounds;
            for (int card = 0; card < d.cards; ++card)
                ASSERT_EQ(want[static_cast<std::size_t>(
                              cycles.after(card, static_cast<unsigned>(rounds)))],
                          card);
            // From 3 rounds before, moved on.
            number.assign(std::to_string(rounds - 3));
            number.advance(3);
            cycles.jump(number, jumped.data());
            EXPECT_EQ(jumped, want) << "advanced to " << rounds;
        }
    }
}

// The residue of a decimal text, a digit at a time: the slow, plain way.
std::uint64_t digit_by_digit(const std::string& digits, std::uint64_t modulus) {
    std::uint64_t r = 0;
    for (char d : digits)
        r = (r * 10 + static_cast<unsigned>(d - '0')) % modulus;
    return r;
}

// Round numbers of thousands of digits, fed in runs of any length, modulo
// every cycle length of a permutation whose period (lcm of 1 to 100) is far
// past 64 bits, and of a small one; negative ones count back.
TEST(RoundNumber, AgreesWithDigitByDigitForEveryLength) {
    std::vector<std::int32_t> every_length;
    for (int length = 1; length <= 100; ++length)
        for (int j = 0; j < length; ++j)
            every_length.push_back(static_cast<std::int32_t>(every_length.size()) +
                                   (j + 1 < length ? 1 : 1 - length));
    const std::vector<std::int32_t> seven = {1, 2, 3, 4, 5, 6, 0};
    static deal::cycles cycles;
    static deal::round_number number;
    std::mt19937 random(7);
    for (const auto& goes_to : {every_length, seven}) {
        cycles.learn(deal::permutation(goes_to));
        number.learn(cycles);
        if (goes_to.size() > 7) {
            EXPECT_GT(number.group_count(), 1);
        }
        std::string text(5000, '0');
        for (char& d : text)
            d = static_cast<char>('0' + random() % 10);
        for (const bool negative : {false, true}) {
            number.clear();
            if (negative)
                number.sign('-');
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t run = std::min<std::size_t>(random() % 40 + 1, text.size() - at);
                number.digits(text.data() + at, text.data() + at + run);
                at += run;
            }
            for (int i = 0; i < cycles.count(); ++i) {
                const std::size_t length = cycles.cycle(i).size();
                const std::uint64_t residue = digit_by_digit(text, length);
                const std::uint64_t want = negative && residue != 0 ? length - residue : residue;
                ASSERT_EQ(number.modulo(length), want) << length << (negative ? " negative" : "");
            }
        }
    }
    // Small texts and the rounds back to the start: 7 is the period here.
    const struct {
        const char* text;
        std::uint64_t modulo_seven;
        std::int64_t to_start; // within 10 rounds
    } table[] = {{"0", 0, 0},  {"-0", 0, 0},  {"+15", 1, 6},  {"-1", 6, 1},
                 {"-7", 0, 0}, {"-15", 6, 1}, {"00029", 1, 6}};
    cycles.learn(deal::permutation(seven));
    number.learn(cycles);
    for (const auto& [text, modulo_seven, to_start] : table) {
        number.assign(text);
        EXPECT_EQ(number.modulo(7), modulo_seven) << text;
        EXPECT_EQ(number.rounds_to_start(10), to_start) << text;
        EXPECT_EQ(number.rounds_to_start(to_start), -1) << text;
    }
}

} // namespace
