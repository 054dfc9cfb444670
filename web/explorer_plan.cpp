// A round played move by move, as the page deals it on screen.

#include <algorithm>
#include <cstdint>
#include <emscripten/emscripten.h>
#include <vector>

#include "deal/follow.hpp"
#include "deal/hands.hpp"
#include "deal/permutation.hpp"
#include "deal/routine.hpp"
#include "draw/run.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"
#include "web/dealt.hpp"
#include "web/request.hpp"

namespace {

// The deck at the round shown, as the rows start from it, into `deck`; for a
// round with moves by chance, each move as drawn for the round after it.
std::vector<deal::permutation> deck_at(const web::deal_answer& deal, const web::request& r,
                                       int followed, std::vector<std::int32_t>& deck) {
    const web::fields& f = deal.f;
    if (f.chance) {
        char words[text::words_room];
        const auto shown_round = web::chance_round(r, words, sizeof words);
        draw::drawn_run run(f.round, f.seed, followed);
        run.play_to(shown_round.value_or(0));
        std::copy(run.deck().begin(), run.deck().end(), deck.begin());
        return run.next_moves();
    }
    const web::round_reading round = web::read_round(r["round"], f.round, followed);
    if (round.trick) {
        deal::followed_deck followed_deck;
        followed_deck.learn(f.round, followed);
        followed_deck.at(round.trick_round, deck.data());
    } else {
        deal::round_number shown_round = deal.rounds;
        shown_round.assign(r["round"]);
        deal.cycles.jump(shown_round, deck.data());
    }
    return {};
}

// What the page needs of move `m`, which makes `p` of a deck of `size`, to
// show it: a deal's hands and the hand and the pass of each card dealt from
// the top, a cut's K, a faro's lower half and a down-under deal's steps.
void write_move(web::answer& a, const deal::move& m, const deal::permutation& p, int size) {
    switch (m.kind) {
    case deal::move_kind::deal: {
        const deal::hands dealt(m.deal);
        a.key("hands").integer(m.deal.hands);
        a.key("chooses").boolean(m.deal.chosen_pile >= 0);
        a.key("order").ints(dealt.order());
        a.key("passes").ints(dealt.passes());
        break;
    }
    case deal::move_kind::cut:
        a.key("cut").integer(m.cut);
        break;
    case deal::move_kind::random_cut:
        // The depth drawn: the bottom card goes up by as many places.
        a.key("cut").integer(p[0]);
        break;
    case deal::move_kind::turn:
        a.key("turned").integer(m.cut == 0 ? size : m.cut);
        break;
    case deal::move_kind::faro_out:
    case deal::move_kind::faro_in:
        a.key("lower").integer(deal::faro_lower_half(m.kind, size));
        break;
    case deal::move_kind::down_under:
    case deal::move_kind::under_down: {
        // Each step as the position taken, and 1 where it goes down.
        std::vector<std::int32_t> steps;
        for (const deal::down_under_step& s : deal::down_under_steps(m.kind, size)) {
            steps.push_back(s.position);
            steps.push_back(s.down ? 1 : 0);
        }
        a.key("steps").ints(std::move(steps));
        break;
    }
    default:
        break;
    }
}

} // namespace

extern "C" {

// The round of the deal that explorer_deal answered for, at the round asked
// and with the card followed, played move by move as the page deals it on
// screen: its deck, and for each move, where the followed card is before it
// (-1 for none), its name and text, where each position's card goes, and
// what write_move says of it.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_plan(const web::deal_answer* deal, const char* text,
                                                int length) {
    const web::request r(text, length);
    auto* a = new web::answer;
    const web::fields& f = deal->f;
    const int followed = web::position_in(r["followed"], f.size);
    std::vector<std::int32_t> deck(static_cast<std::size_t>(f.size));
    const std::vector<deal::permutation> drawn = deck_at(*deal, r, followed, deck);
    int at = followed < 0 ? -1
                          : static_cast<int>(std::find_if(deck.begin(), deck.end(),
                                                          [followed](deal::card c) {
                                                              return deal::number_of(c) == followed;
                                                          }) -
                                             deck.begin());
    a->key("deck").ints(deck);
    a->key("moves").open_array();
    for (std::size_t i = 0; i < f.round.moves().size(); ++i) {
        const deal::move& m = f.round.moves()[i];
        const deal::permutation p = f.chance ? drawn[i] : deal::move_permutation(m, f.size, at);
        a->open_object();
        a->key("at").integer(at);
        a->key("kind").string(text::words_of(m.kind).name);
        char words[text::rules_room + 32];
        a->key("text").string(words, text::move_text(m, words, sizeof words));
        a->key("goesTo").ints(p.goes_to());
        write_move(*a, m, p, f.size);
        a->close_object();
        if (at >= 0)
            at = p[at];
    }
    a->close_array();
    return a;
}

} // extern "C"
