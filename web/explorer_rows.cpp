// The rows the page draws: the deck at the round shown and the rounds after
// it, of the deal that explorer_deal answered for.

#include <algorithm>
#include <cstdint>
#include <emscripten/emscripten.h>
#include <vector>

#include "deal/follow.hpp"
#include "deal/limits.hpp"
#include "draw/run.hpp"
#include "floating/spread.hpp"
#include "text/deal_words.hpp"
#include "web/dealt.hpp"
#include "web/request.hpp"

namespace {

// The followed card's chances beside the rows of a routine with moves by
// chance are worked out up to this many steps, rounds times riffles times
// the deck's size squared: a tenth of a second or so.
constexpr std::int64_t max_drawn_chances_work = 20'000'000;

// With a card followed, its chance of being at each position, row by row,
// the rows from round `first` on ("chances"), where the work is small enough
// for a click.
void write_chances(web::answer& a, const web::fields& f, std::int64_t first, int count,
                   int followed) {
    const std::int64_t riffles = f.round.count_of(deal::move_kind::riffle);
    if (followed < 0 || (first + count) * std::max<std::int64_t>(riffles, 1) * f.size * f.size >
                            max_drawn_chances_work)
        return;
    floating::spread<double> spread(f.round, followed);
    std::vector<float> chances;
    chances.reserve(static_cast<std::size_t>(count) * static_cast<std::size_t>(f.size));
    for (int i = 0; i < count; ++i) {
        spread.play_to(first + i);
        for (const double c : spread.chances())
            chances.push_back(static_cast<float>(c));
    }
    a.key("chances").floats(std::move(chances));
}

// The rows of a routine with moves by chance, as deal-after --seed plays it:
// the decks of the rounds asked, drawn from the seed; the first row's
// listing and the hands the next round deals from it; and the followed
// card's chances.
web::answer* chance_rows(const web::deal_answer& deal, const web::request& r, int followed) {
    auto* a = new web::answer;
    const web::fields& f = deal.f;
    char words[text::words_room];
    const auto first = web::chance_round(r, words, sizeof words);
    a->key("round").string(first ? "" : words);
    if (!first)
        return a;
    const auto stride = static_cast<std::size_t>(f.size);
    // The rows end where deal-after ends such a routine.
    const std::span<std::int32_t> rows =
        web::rows_room(*a, r, f.size, deal::max_chance_rounds - *first + 1);
    const int count = static_cast<int>(rows.size() / stride);
    a->key("trick").boolean(false);
    draw::drawn_run run(f.round, f.seed, followed);
    for (int i = 0; i < count; ++i) {
        run.play_to(*first + i);
        const auto deck = run.deck();
        std::copy(deck.begin(), deck.end(), rows.data() + static_cast<std::size_t>(i) * stride);
    }
    std::vector<std::int32_t> returns = web::starting_rows(rows, f.size);
    a->key("firstReturn").integer(returns.empty() ? -1 : returns.front());
    a->key("returns").ints(std::move(returns));
    write_chances(*a, f, *first, count, followed);
    run.play_to(*first);
    const std::vector<deal::permutation> drawn = run.next_moves();
    finish_rows(*a, deal, r, rows, run.followed_at(), &drawn);
    return a;
}

// The rows of the trick, a card followed through chosen piles from round
// `from`: every row in the starting order, as the deck need not come back
// at the routine's own period, its way's tail and the length of its cycle;
// the first row in the starting order.
int trick_rows(web::answer& a, const web::fields& f, std::int64_t from, int followed,
               std::span<std::int32_t> rows) {
    const auto stride = static_cast<std::size_t>(f.size);
    const int count = static_cast<int>(rows.size() / stride);
    const auto row = [&](int i) { return rows.data() + static_cast<std::size_t>(i) * stride; };
    deal::followed_deck deck;
    deck.learn(f.round, followed);
    deck.at(from, row(0));
    for (int i = 1; i < count; ++i)
        deck.round(deck.position(from + i - 1)).apply(row(i - 1), row(i));
    std::vector<std::int32_t> returns = web::starting_rows(rows, f.size);
    const int first_return = returns.empty() ? -1 : returns.front();
    a.key("returns").ints(std::move(returns));
    a.key("tail").integer(deck.card().tail());
    a.key("length").integer(deck.card().length());
    return first_return;
}

// The rows of the round itself from the round asked, any number of digits
// long; the first row in the starting order.
int round_rows(const web::deal_answer& deal, std::string_view round, std::span<std::int32_t> rows) {
    const auto stride = static_cast<std::size_t>(deal.f.size);
    const int count = static_cast<int>(rows.size() / stride);
    const auto row = [&](int i) { return rows.data() + static_cast<std::size_t>(i) * stride; };
    deal::round_number shown_round = deal.rounds;
    shown_round.assign(round);
    deal.cycles.jump(shown_round, row(0));
    for (int i = 1; i < count; ++i)
        deal.round.apply(row(i - 1), row(i));
    return static_cast<int>(shown_round.rounds_to_start(count));
}

} // namespace

extern "C" {

// The deck of the deal that explorer_deal answered for, at the round asked
// ("round") and the rounds after it ("count" in all), each from the bottom
// of the deck, with the card starting at "followed" followed and faces where
// "faces" is 1; the first row's listing and hands as deal-after prints them,
// and the first row that is the starting order (-1 for none). With a card
// followed through chosen piles, the trick: its way's tail and the length of
// its cycle.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_rows(const web::deal_answer* deal, const char* text,
                                                int length) {
    const web::request r(text, length);
    const web::fields& f = deal->f;
    const int followed = web::position_in(r["followed"], f.size);
    if (f.chance)
        return chance_rows(*deal, r, followed);
    auto* a = new web::answer;
    const web::round_reading round = web::read_round(r["round"], f.round, followed);
    a->key("round").string(round.fault);
    if (!round.fault.empty())
        return a;
    const std::span<std::int32_t> rows = web::rows_room(*a, r, f.size);
    a->key("trick").boolean(round.trick);
    const int first_return = round.trick ? trick_rows(*a, f, round.trick_round, followed, rows)
                                         : round_rows(*deal, r["round"], rows);
    a->key("firstReturn").integer(first_return);
    const auto top = rows.begin() + f.size;
    const int at = round.trick
                       ? static_cast<int>(std::find_if(rows.begin(), top,
                                                       [followed](deal::card c) {
                                                           return deal::number_of(c) == followed;
                                                       }) -
                                          rows.begin())
                       : -1;
    web::finish_rows(*a, *deal, r, rows, at);
    return a;
}

} // extern "C"
