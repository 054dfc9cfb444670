// What the round is, whatever round is shown: the call the page makes once
// for each deal it shows, and keeps the answer of.

#include <cstdint>
#include <emscripten/emscripten.h>
#include <limits>
#include <string>
#include <vector>

#include "colors/colormap.hpp"
#include "deal/limits.hpp"
#include "text/cards.hpp"
#include "text/cycle_words.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"
#include "web/cells.hpp"
#include "web/dealt.hpp"
#include "web/request.hpp"

namespace {

// The round's permutation, the hands and permutation of each move, the
// cycles and the round numbers, kept with the answer for the rows.
void learn(web::deal_answer& a) {
    const web::fields& f = a.f;
    // A round with moves by chance is drawn afresh each time: it has no
    // permutation of its own, and the facts of one that moves nothing.
    a.round = f.chance ? deal::permutation::identity(f.size) : deal::round_permutation(f.round);
    for (const deal::move& m : f.round.moves()) {
        a.dealt.push_back(m.kind == deal::move_kind::deal ? deal::hands(m.deal) : deal::hands());
        a.moves.push_back(deal::move_permutation(m, f.size));
    }
    a.cycles.learn(a.round);
    a.rounds.learn(a.cycles);
}

// The period, every digit, and as a number where it is small enough for the
// rows to show it whole; how many cycles of each length.
void write_period(web::deal_answer& a) {
    const deal::period period(a.cycles);
    a.key("period").string(web::period_string(period));
    const auto small = period.small();
    const bool fits =
        small && *small <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    a.key("smallPeriod").integer(!a.f.chance && fits ? static_cast<std::int64_t>(*small) : 0);
    a.key("census").open_array();
    for (const auto [length, count] : a.cycles.lengths()) {
        a.open_array();
        a.integer(length).integer(count);
        a.close_array();
    }
    a.close_array();
    a.key("cycles").integer(a.cycles.count());
}

// Each position's cycle and its length, where it goes, and each card's
// colors, by where it starts and by its cycle.
void write_cycles(web::deal_answer& a) {
    const deal::cycles& cycles = a.cycles;
    const int size = a.f.size;
    std::vector<std::int32_t> cycle_of(static_cast<std::size_t>(size)),
        cycle_length(cycle_of.size());
    std::vector<std::uint32_t> by_position(cycle_of.size()), by_cycle(cycle_of.size());
    std::vector<std::uint32_t> cycle_colors;
    int moving = 0;
    for (int i = 0; i < cycles.count(); ++i)
        cycle_colors.push_back(web::rgba(cycles.cycle(i).size() == 1
                                             ? colors::fixed_card_color
                                             : colors::moving_cycle_color(moving++)));
    for (int p = 0; p < size; ++p) {
        const auto at = static_cast<std::size_t>(p);
        cycle_of[at] = cycles.cycle_of(p);
        cycle_length[at] = static_cast<std::int32_t>(cycles.cycle(cycle_of[at]).size());
        by_position[at] = web::rgba(colors::card_color(p, size));
        by_cycle[at] = cycle_colors[static_cast<std::size_t>(cycle_of[at])];
    }
    a.key("cycleOf").ints(std::move(cycle_of));
    a.key("cycleLength").ints(std::move(cycle_length));
    a.key("goesTo").ints(a.round.goes_to());
    a.key("colors").open_object();
    a.key("start").pixels(std::move(by_position));
    a.key("cycle").pixels(std::move(by_cycle));
    a.close_object();
}

// The words the programs print of the round: in GAP's notation, its cycle
// type, sign and fixed positions; the options as a command line gives them
// and the rules in words, for captions: with a routine, "--routine 'MOVES'"
// and "routine: MOVES", as deal-picture's caption has it.
void write_words(web::deal_answer& a) {
    const web::fields& f = a.f;
    char words[text::cycle_words_room];
    a.key("gap").string(words, text::gap_text(a.cycles, words));
    a.key("cycleType").string(words, text::cycle_type_text(a.cycles, words));
    a.key("even").boolean(text::even(a.cycles));
    a.key("fixed").string(words, text::fixed_text(a.cycles, words));
    char rules[text::rules_room];
    if (f.routine_given) {
        text::routine_text(f.round, rules, sizeof rules);
        a.key("options").string(std::string("--routine '") + rules + "'");
        a.key("rules").string(std::string("routine: ") + rules);
    } else {
        a.key("options").string(
            rules, text::options_text(f.described, f.cards_given, rules, sizeof rules));
        a.key("rules").string(rules, text::rules_text(f.described, rules, sizeof rules));
    }
}

// The card that starts at each position, face up or down, and its name on
// a pack: what the page calls the cards it draws by where they start; and
// the hands and passes of the deal dealt on screen.
void write_cards(web::deal_answer& a) {
    const web::fields& f = a.f;
    a.key("numbers").ints({f.start.cards().begin(), f.start.cards().end()});
    a.key("names").open_array();
    for (int p = 0; p < f.size && f.size <= deal::max_playing_cards; ++p) {
        char name[text::card_name_room];
        a.string(text::card_name(deal::number_of(f.start[p]), name));
    }
    a.close_array();
    const deal::hands none;
    const deal::hands& dealt = f.dealt_hands > 0 ? a.dealt.front() : none;
    a.key("order").ints(dealt.order());
    a.key("passes").ints(dealt.passes());
}

} // namespace

extern "C" {

// What the round is, whatever round is shown: its deck, hands, period,
// cycles and colors, the words the programs print of it, and the cards the
// deal on screen gives each hand. A routine whose deals gather a chosen pile
// is described as if they followed no card. The page keeps the answer while
// the deal is shown, to ask for its rows.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_deal(const char* text, int length) {
    const web::request r(text, length);
    auto* a = new web::deal_answer;
    const web::fields& f = a->f;
    if (!web::read_into(r, a->f, *a))
        return a;
    learn(*a);
    a->key("size").integer(f.size);
    a->key("hands").integer(f.dealt_hands);
    a->key("routine").boolean(f.routine_given);
    a->key("deals").integer(f.round.deal_count());
    a->key("follows").boolean(f.round.follows_card());
    a->key("chance").boolean(f.chance);
    a->key("seed").string(std::to_string(f.seed));
    write_period(*a);
    write_cycles(*a);
    write_words(*a);
    a->key("ownDeal").boolean(f.own_deal);
    write_cards(*a);
    a->key("mostHands").integer(f.most_hands());
    return a;
}

} // extern "C"
