// The core's answers asked from four threads at once, each on its own deck
// and routine, each answer held to the same question asked alone: routine
// permutations, cycles and periods, rounds of a thousand digits, a card
// followed through chosen piles, a search for one card and for any, and the
// group the search's moves generate: its order, its smallest blocks, whether
// it holds the round, and a routine to an order. The sanitize workflow runs
// it under ThreadSanitizer too, which finds any state the threads share.
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "deal/cycles.hpp"
#include "deal/follow.hpp"
#include "deal/narrowing.hpp"
#include "deal/period.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"
#include "deal/search.hpp"
#include "group/blocks.hpp"
#include "group/generated.hpp"
#include "group/routes.hpp"
#include "text/digits.hpp"
#include "text/routine_words.hpp"

namespace {

const char* as_is(std::string_view value, text::shown_length, char*, std::size_t) {
    return value.data();
}

deal::routine read(const char* text, int cards) {
    deal::routine r;
    char words[512];
    EXPECT_TRUE(text::read_routine(text, cards, r, as_is, words, sizeof words)) << words;
    return r;
}

struct question {
    const char* routine;
    int cards;
    const char* follows; // a routine with a chosen pile, for the followed card
    const char* moves;   // for the search, from the top card to the bottom
};

// Everything asked of one deck, written out so that two answers compare.
std::string answers(const question& q) {
    std::string out;
    const deal::routine r = read(q.routine, q.cards);
    deal::cycles cycles;
    cycles.learn(deal::round_permutation(r));
    char digits[text::period_digits];
    out.append(text::period_text(deal::period(cycles), digits + sizeof digits),
               digits + sizeof digits);
    deal::round_number rounds;
    rounds.learn(cycles);
    rounds.assign(std::string(1000, '7') + "3");
    std::vector<deal::card> deck(static_cast<std::size_t>(q.cards));
    cycles.jump(rounds, deck.data());
    for (const deal::card c : deck)
        out += ' ' + std::to_string(c);

    deal::followed_deck followed;
    followed.learn(read(q.follows, q.cards), q.cards / 3);
    followed.at(1000, deck.data());
    out += " |";
    for (const deal::card c : deck)
        out += ' ' + std::to_string(c);

    std::vector<deal::move> moves;
    char words[512];
    const auto take = [](void* all, const deal::move& m) {
        static_cast<std::vector<deal::move>*>(all)->push_back(m);
        return true;
    };
    EXPECT_TRUE(text::read_move_list(q.moves, q.cards, take, &moves, as_is, words, sizeof words));
    std::vector<std::int16_t> table(moves.size() * static_cast<std::size_t>(q.cards));
    std::vector<std::int16_t> branches(1 << 12);
    deal::search search(table, branches);
    search.reset(q.cards);
    for (const deal::move& m : moves)
        search.add(m);
    const int length = search.solve(q.cards - 1, 0);
    std::vector<int> path(static_cast<std::size_t>(std::max(length, 0)));
    search.first(path);
    out += " | " + std::to_string(length) + ":";
    for (const int m : path)
        out += ' ' + std::to_string(m);

    // Whichever card: narrowed as far as the same moves go.
    deal::narrowing narrowing(search, deal::narrowing_sets(q.cards), deal::max_narrowing_steps);
    narrowing.closest();
    out += " |";
    for (const int p : narrowing.places())
        out += ' ' + std::to_string(p);

    // The group of the same moves, each gathering its hands in their order.
    std::vector<group::perm> generators;
    for (const deal::move& m : moves) {
        const deal::permutation p = deal::move_permutation(m, q.cards);
        generators.emplace_back(p.goes_to().begin(), p.goes_to().end());
    }
    const group::generated g(generators, q.cards, deal::max_group_steps);
    out += " | order";
    for (std::size_t p = 0; p < g.order().exponents().size(); ++p)
        if (g.order().exponents()[p] != 0)
            out += ' ' + std::to_string(p) + '^' + std::to_string(g.order().exponents()[p]);
    const deal::permutation round = deal::round_permutation(r);
    out +=
        g.contains(group::perm(round.goes_to().begin(), round.goes_to().end())) ? " holds" : " not";
    for (const auto& block : group::smallest_blocks(g.generators(), q.cards, 1))
        out += ' ' + std::to_string(block.size());
    group::routes routes(generators, q.cards);
    const group::perm target = group::then(generators[0], generators.back());
    const auto found = routes.search(target, 20000, deal::max_narrowing_steps);
    out += " |";
    for (const int m : found.moves)
        out += ' ' + std::to_string(m);
    return out;
}

TEST(Threads, FourAtOnceAnswerAsOneAlone) {
    const question questions[] = {
        {"faro out; cut 26; monge", 52, "deal 3 --packets 1 --chosen-pile 1", "faro in | faro out"},
        {"deal 4 --packets 1; down-under", 500, "deal 5 --packets 2,1 --chosen-pile 4; cut 7",
         "cut 1..20 | reverse"},
        {"deal 7 --packets 13,2 --rest top; faro in", 5050,
         "deal 3 --packets 1 --chosen-pile 0; faro out", "faro out | cut 100"},
        {"under-down; deal 3 --gather 2,0,1; reverse", 27, "deal 3 --packets 1 --chosen-pile 2",
         "deal 3 --packets 1 --chosen-pile 0..2"},
    };
    std::vector<std::string> alone;
    for (const question& q : questions)
        alone.push_back(answers(q));
    std::vector<int> wrong(std::size(questions));
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < std::size(questions); ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 3; ++i)
                if (answers(questions[t]) != alone[t])
                    ++wrong[t];
        });
    for (std::thread& t : threads)
        t.join();
    for (std::size_t t = 0; t < std::size(questions); ++t)
        EXPECT_EQ(wrong[t], 0) << questions[t].routine;
}

} // namespace
