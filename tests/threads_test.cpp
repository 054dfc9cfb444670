// The core's answers asked from four threads at once, each on its own deck
// and routine, each answer held to the same question asked alone: routine
// permutations, cycles and periods, rounds of a thousand digits, a card
// followed through chosen piles, a search for one card and for any, and the
// group the search's moves generate: its order, its smallest blocks, whether
// it holds the round, and a routine to an order; rounds drawn by chance, a
// card's chances and a deck's mixing, exactly; a deck read from its list,
// listings, colors and pictures. The sanitize workflow runs it under
// ThreadSanitizer too, which finds any state the threads share.
#include <algorithm>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "colors/colormap.hpp"
#include "deal/cycles.hpp"
#include "deal/follow.hpp"
#include "deal/narrowing.hpp"
#include "deal/period.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"
#include "deal/search.hpp"
#include "deal/start.hpp"
#include "draw/run.hpp"
#include "exact/mixing.hpp"
#include "exact/place_chances.hpp"
#include "group/blocks.hpp"
#include "group/generated.hpp"
#include "group/routes.hpp"
#include "text/cards.hpp"
#include "text/deck_words.hpp"
#include "text/digits.hpp"
#include "text/listing.hpp"
#include "text/routine_words.hpp"
#ifdef DEAL_THREADS_PICTURE
#include "picture/surface.hpp"
#endif

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
    const char* chance;  // a routine with moves by chance, on `chance_cards` cards
    int chance_cards;
    const char* deck; // a deck's list, for a deck of `chance_cards` cards
};

// A deck written as deal lists it, as playing cards where it is a pack's.
std::string listed(std::span<const deal::card> deck) {
    const int count = static_cast<int>(deck.size());
    std::string line(std::max(text::marked_listing_room(count), text::faces_room(count)), ' ');
    char* const at = line.data();
    line.resize(static_cast<std::size_t>((count == deal::max_playing_cards
                                              ? text::format_faces(deck.data(), count, at, true)
                                              : text::format_marked_cards(deck.data(), count, at)) -
                                         at));
    return " | " + line;
}

// What chance makes of the deck: rounds drawn from a seed, a card's chances
// and the deck's mixing worked out exactly; the deck's list read, and each
// card's colors.
std::string chance_answers(const question& q) {
    const deal::routine r = read(q.chance, q.chance_cards);
    draw::drawn_run run(r, 7, 0);
    run.play_to(20);
    std::string out = listed(run.deck());
    exact::place_chances chances(r, 0, 8);
    for (const auto& chance : chances.after(3).chances)
        out += ' ' + chance.value_or("-");
    const exact::riffles law(q.chance_cards);
    for (int k = 1; k <= 4; ++k)
        out += ' ' + law.total_variation(k, 12) + ' ' + law.separation(k, 12);
    std::vector<deal::card> deck;
    char words[512];
    EXPECT_TRUE(text::read_deck(q.deck, q.chance_cards, deck, as_is, words, sizeof words)) << words;
    out += listed(deck);
    for (int c = 0; c < q.chance_cards; ++c)
        out += ' ' + std::to_string(colors::rgb(colors::card_color(c, q.chance_cards))) + ',' +
               std::to_string(colors::rgb(colors::moving_cycle_color(c))) + ',' +
               std::to_string(colors::rgb(colors::followed_color(c % colors::followed_colors)));
    return out;
}

#ifdef DEAL_THREADS_PICTURE
// The rows of a few rounds of the routine, drawn as PNG.
std::string picture_bytes(const question& q) {
    const deal::routine r = read(q.routine, q.chance_cards);
    const deal::permutation round = deal::round_permutation(r);
    deal::cycles cycles;
    cycles.learn(round);
    const deal::period period(cycles);
    deal::round_number first;
    first.learn(cycles);
    first.assign("0");
    const deal::start start = deal::start::new_deck(r.cards);
    const int followed[] = {1};
    const picture::scene scene{nullptr,  q.routine, &round, &cycles,
                               &period,  &first,    "0",    picture::coloring::cycle,
                               followed, &start,    false};
    const picture::layout layout = picture::make_layout(r.cards, 6);
    std::string bytes;
    const auto add = [](void* to, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(to)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    };
    EXPECT_EQ(picture::render(picture::format::png, layout, scene, add, &bytes),
              CAIRO_STATUS_SUCCESS);
    return bytes;
}
#endif

// The group of the search's moves, each gathering its hands in their order.
std::string group_answers(const question& q, const deal::routine& r,
                          const std::vector<deal::routine>& moves) {
    std::string out;
    std::vector<group::perm> generators;
    for (const deal::routine& m : moves) {
        const deal::permutation p = deal::round_permutation(m);
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
    out += listed(deck);

    deal::followed_deck followed;
    followed.learn(read(q.follows, q.cards), q.cards / 3);
    followed.at(1000, deck.data());
    out += " |";
    for (const deal::card c : deck)
        out += ' ' + std::to_string(c);

    std::vector<deal::routine> moves;
    char words[512];
    const auto take = [](void* all, const deal::routine& m) {
        static_cast<std::vector<deal::routine>*>(all)->push_back(m);
        return true;
    };
    EXPECT_TRUE(text::read_move_list(q.moves, q.cards, take, &moves, as_is, words, sizeof words));
    std::vector<std::int16_t> table(moves.size() * static_cast<std::size_t>(q.cards));
    std::vector<std::int16_t> branches(1 << 12);
    deal::search search(table, branches);
    search.reset(q.cards);
    for (const deal::routine& m : moves)
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
    out += group_answers(q, r, moves);
    out += chance_answers(q);
#ifdef DEAL_THREADS_PICTURE
    out += picture_bytes(q);
#endif
    return out;
}

TEST(Threads, FourAtOnceAnswerAsOneAlone) {
    const question questions[] = {
        {"faro out; (cut 26; monge) x1000000; count 9", 52,
         "deal 3 --packets 1 --chosen-pile 1,2 x2", "faro in | faro out x2", "riffle x2; turn 5",
         52, "si-stebbins"},
        {"deal 4 --packets 1; down-under", 500, "deal 5 --packets 2,1 --chosen-pile 4; cut 7",
         "cut 1..20 | reverse", "cut random; riffle; deal 2 --packets 1", 20,
         "19 18 17 16 15 14 13 12 11 10 9 8 7 6 5 4 3 2 1^ 0"},
        {"deal 7 --packets 13,2 --rest top; faro in", 5050,
         "deal 3 --packets 1 --chosen-pile 0; faro out", "faro out | cut 100", "riffle 3; riffle",
         30, "new"},
        {"under-down; deal 3 --gather 2,0,1; reverse", 27, "deal 3 --packets 1 --chosen-pile 2",
         "deal 3 --packets 1 --chosen-pile 0..2", "faro in; riffle 4", 52,
         "KH..AH AC..KC AD..KD AS..KS"},
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
