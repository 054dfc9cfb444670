// The group of the solver's moves, or the routine's: how many orders of the
// deck they reach, and a routine of them to the Deck field's order, as
// deal-group works them out, within the page's own bounds. Asked on demand,
// never as the deal changes: a large deck's group takes a moment.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <emscripten/emscripten.h>
#include <optional>
#include <string>
#include <vector>

#include "deal/limits.hpp"
#include "deal/routine.hpp"
#include "group/blocks.hpp"
#include "group/deal_moves.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"
#include "web/answer.hpp"
#include "web/fields.hpp"
#include "web/request.hpp"

namespace {

// The page's share of the program's limits: it waits for the answer, and
// its memory is fixed, 4 MiB for the decks the search keeps.
constexpr std::int64_t page_group_steps = deal::max_group_steps / 100;
constexpr std::int64_t page_search_bytes = std::int64_t{1} << 22;

struct moves_read {
    std::vector<deal::move> moves;
    std::vector<std::string> texts;
};

// The moves of "moves", or where it is empty the routine's, each once where
// it is first listed; nothing, the fault in `a` as "moves", where one is
// not a move, or is made by chance or follows a card.
std::optional<moves_read> read_moves(const web::request& r, const web::fields& f, web::answer& a) {
    std::vector<deal::move> given;
    if (r["moves"].find_first_not_of(" \t") == std::string_view::npos) {
        a.key("from").string("routine");
        given.assign(f.round.moves().begin(), f.round.moves().end());
    } else {
        a.key("from").string("solver");
        const auto take = [](void* all, const deal::move& m) {
            static_cast<std::vector<deal::move>*>(all)->push_back(m);
            return true;
        };
        char words[text::words_room];
        if (!text::read_move_list(r["moves"], f.size, take, &given, web::shown_value, words,
                                  sizeof words)) {
            a.key("moves").string(words);
            return std::nullopt;
        }
    }
    moves_read read;
    for (const deal::move& m : given) {
        char written[text::rules_room + 32];
        text::move_text(m, written, sizeof written);
        if (deal::by_chance(m.kind) ||
            (m.kind == deal::move_kind::deal && m.deal.chosen_pile >= 0)) {
            a.key("moves").string(web::shown(written) +
                                  (deal::by_chance(m.kind)
                                       ? " is made by chance, and takes no card to one place"
                                       : " follows one card, and the group moves the whole deck"));
            return std::nullopt;
        }
        if (std::find(read.texts.begin(), read.texts.end(), written) != read.texts.end())
            continue;
        read.texts.emplace_back(written);
        read.moves.push_back(m);
    }
    return read;
}

// The order as its primes and their exponents, what it reaches, how many
// orbits the positions make and the size of the smallest blocks (0 for
// none, where the positions are one orbit).
void describe(const group::generated& g, const group::move_points& points, int cards,
              web::answer& a) {
    std::vector<std::int32_t> primes, exponents;
    const auto e = g.order().exponents();
    for (std::size_t p = 2; p < e.size(); ++p)
        if (e[p] != 0) {
            primes.push_back(static_cast<std::int32_t>(p));
            exponents.push_back(static_cast<std::int32_t>(e[p]));
        }
    a.key("primes").ints(std::move(primes));
    a.key("exponents").ints(std::move(exponents));
    a.key("reaches").string(group::reaches_words(g, cards, points.turns));
    std::vector<group::perm> positions;
    for (const group::perm& p : g.generators()) {
        positions.emplace_back(p.begin(), p.begin() + cards);
        for (group::point& x : positions.back())
            x = static_cast<group::point>(x % cards);
    }
    const group::partition orbits = group::orbits(positions, cards);
    a.key("orbits").integer(static_cast<std::int64_t>(orbits.size()));
    if (orbits.size() == 1) {
        const group::partition blocks = group::smallest_blocks(positions, cards, 1);
        a.key("blocks").integer(blocks.empty() ? 0 : static_cast<std::int64_t>(blocks[0].size()));
    }
}

// A routine of the moves from new deck order to the Deck field's order:
// "never", or the routine and whether it is a shortest one, or "none".
void reach(const group::generated& g, const group::move_points& points, const moves_read& read,
           const web::fields& f, web::answer& a) {
    const std::int64_t states =
        std::min<std::int64_t>(deal::max_narrowing_sets / 10, page_search_bytes / (2 * f.size));
    const group::reached r = group::reach(g, points, deal::start::new_deck(f.size), f.start,
                                          {states, deal::max_narrowing_steps / 10, page_group_steps,
                                           static_cast<std::size_t>(deal::max_moves)});
    a.key("reach").string(r.never ? "never" : r.moves ? "routine" : "none");
    if (!r.moves)
        return;
    std::string routine;
    for (const int m : *r.moves)
        (routine += routine.empty() ? "" : "; ") += read.texts[static_cast<std::size_t>(m)];
    a.key("routine").string(routine);
    a.key("shortest").boolean(r.shortest);
}

} // namespace

extern "C" {

// The group of the moves "moves" (the routine's where it is empty) on the
// deck the fields describe: "order" as "primes" and "exponents", "reaches",
// "orbits" and "blocks"; with "reach", a routine to the Deck field's order.
// "known" is false where the group would take more than "most" steps.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_group(const char* text, int length) {
    const web::request r(text, length);
    auto* a = new web::answer;
    web::fields f;
    if (!web::read_into(r, f, *a))
        return a;
    const auto read = read_moves(r, f, *a);
    if (!read)
        return a;
    const group::move_points points = group::points_of(read->moves, f.size);
    a->key("count").integer(static_cast<std::int64_t>(read->moves.size()));
    a->key("faces").boolean(points.turns);
    const group::generated g(points.generators, points.degree, page_group_steps, points.turns);
    a->key("known").boolean(g.known());
    if (!g.known()) {
        a->key("most").integer(page_group_steps);
        return a;
    }
    describe(g, points, f.size, *a);
    if (r["reach"] == "1")
        reach(g, points, *read, f, *a);
    return a;
}

} // extern "C"
