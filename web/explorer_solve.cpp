// The solver: the fewest moves that bring a card to a place, or whichever
// card the spectator chose, as deal-solve finds them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <emscripten/emscripten.h>
#include <optional>
#include <string>
#include <vector>

#include "deal/limits.hpp"
#include "deal/narrowing.hpp"
#include "deal/routine.hpp"
#include "deal/search.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"
#include "web/answer.hpp"
#include "web/fields.hpp"
#include "web/request.hpp"

namespace {

// The room a search's table of moves may take on the page: a deck of 52
// takes the most moves a search allows, a larger deck proportionally fewer.
constexpr std::size_t solve_room = std::size_t{1} << 22;

std::string move_string(const deal::move& m) {
    char move[text::rules_room + 32];
    return {move, text::move_text(m, move, sizeof move)};
}

// The moves of "moves" for a deck of `size`, each listed twice kept once, as
// deal-solve keeps them; or nothing, the fault in `a`.
std::optional<std::vector<deal::move>> read_moves(const web::request& r, int size, web::answer& a) {
    struct taken {
        std::vector<deal::move> moves;
        int size;
    } all{{}, size};
    const auto take = [](void* context, const deal::move& m) {
        auto& t = *static_cast<taken*>(context);
        if ((t.moves.size() + 1) * static_cast<std::size_t>(t.size) > solve_room)
            return false;
        t.moves.push_back(m);
        return true;
    };
    char words[text::words_room];
    if (!text::read_move_list(r["moves"], size, take, &all, web::shown_value, words,
                              sizeof words)) {
        a.key("moves").string(words);
        return std::nullopt;
    }
    std::vector<deal::move> kept;
    std::vector<std::string> texts;
    for (const deal::move& m : all.moves) {
        std::string written = move_string(m);
        if (std::find(texts.begin(), texts.end(), written) != texts.end())
            continue;
        kept.push_back(m);
        texts.push_back(std::move(written));
    }
    return kept;
}

// Whichever card was chosen, as deal-solve --any-card finds it (with no
// "to", the fewest places it narrows the card to, as "places"): the length
// found, -2 where the search would keep too many sets, -3 where it would
// take too many steps ("most" the limit), its moves in `path`, and "ends",
// where each position's card ends when followed alone through them.
int solve_any(const web::request& r, int size, deal::search& search, std::vector<int>& path,
              web::answer& a) {
    // A tenth of the steps the program takes: the page waits for it.
    const std::int64_t most_steps = deal::max_narrowing_steps / 10;
    deal::narrowing narrowing(search, deal::narrowing_sets(size), most_steps);
    const bool closest = r["to"].empty();
    const auto outcome =
        closest ? narrowing.closest() : narrowing.solve(web::clamped(r, "to", 0, size - 1));
    using outcomes = deal::narrowing::outcome;
    const int found = outcome == outcomes::too_long   ? -3
                      : outcome == outcomes::too_many ? -2
                      : outcome == outcomes::never    ? -1
                                                      : narrowing.length();
    if (found == -2)
        a.key("most").integer(deal::narrowing_sets(size));
    if (found == -3)
        a.key("most").integer(most_steps);
    if (found < 0)
        return found;
    path.resize(static_cast<std::size_t>(found));
    narrowing.first(path);
    if (closest) {
        const std::vector<int> places = narrowing.places();
        a.key("places").ints({places.begin(), places.end()});
    }
    // Each card followed alone, move by move, as the deck is dealt with its
    // pile chosen.
    std::vector<std::int32_t> ends(static_cast<std::size_t>(size));
    for (int p = 0; p < size; ++p) {
        int at = p;
        for (const int m : path)
            at = search.where(m, at);
        ends[static_cast<std::size_t>(p)] = at;
    }
    a.key("ends").ints(std::move(ends));
    return found;
}

} // namespace

extern "C" {

// The fewest moves, among "moves", that bring the card at position "from"
// to position "to" of the deck the fields describe, as deal-solve finds
// them: the routine and its length, -1 where none does, or the moves' fault.
// With "any", whichever card was chosen, as solve_any says.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_solve(const char* text, int length) {
    const web::request r(text, length);
    auto* a = new web::answer;
    web::fields f;
    if (!web::read_into(r, f, *a))
        return a;
    const auto moves = read_moves(r, f.size, *a);
    if (!moves)
        return a;
    std::vector<std::int16_t> table(moves->size() * static_cast<std::size_t>(f.size));
    std::vector<std::int16_t> branches(std::size_t{1} << 16);
    deal::search search(table, branches);
    search.reset(f.size);
    for (const deal::move& m : *moves)
        search.add(m);
    std::vector<int> path;
    int found = -1;
    if (r["any"] == "1") {
        found = solve_any(r, f.size, search, path, *a);
    } else {
        const auto position = [&](const char* field) {
            return web::clamped(r, field, 0, f.size - 1);
        };
        found = search.solve(position("from"), position("to"));
        if (found > 0) {
            path.resize(static_cast<std::size_t>(found));
            search.first(path);
        }
    }
    a->key("length").integer(found);
    if (found > 0) {
        std::string routine;
        for (const int m : path) {
            if (!routine.empty())
                routine += "; ";
            routine += move_string((*moves)[static_cast<std::size_t>(m)]);
        }
        a->key("routine").string(routine);
    }
    return a;
}

} // extern "C"
