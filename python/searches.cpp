// The fewest moves that bring a card where a magician wants it, as
// deal-solve finds them: from one position to another, or for whichever
// card the spectator chose, or narrowing it to the fewest places.
#include <memory>
#include <pybind11/stl.h>

#include "deal/narrowing.hpp"
#include "deal/search.hpp"
#include "python/decks.hpp"
#include "python/routines.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"
#include "text/search_words.hpp"

namespace python {

namespace {

// The moves allowed, each once, as deal-solve keeps them, and the search's
// storage.
struct allowed {
    int cards = 0;
    std::vector<deal::routine> steps; // a move, or moves repeated
    std::vector<std::int16_t> table;
    std::unique_ptr<std::int16_t[]> branches;
    static constexpr std::size_t branch_room = std::size_t{1} << 22;
    std::optional<deal::search> search;
};

bool take(void* into, const deal::routine& step) {
    static_cast<std::vector<deal::routine>*>(into)->push_back(step);
    return true;
}

void read_moves(py::handle given, allowed& a) {
    std::string text;
    if (py::isinstance<py::str>(given)) {
        text = given.cast<std::string>();
    } else {
        for (const py::handle move : given) {
            if (!text.empty())
                text += " | ";
            text += py::str(move).cast<std::string>();
        }
    }
    std::vector<deal::routine> listed;
    words w;
    if (!text::read_move_list(text, a.cards, take, &listed, shown, w.text, sizeof w.text))
        w.raise();
    a.table.resize(listed.size() * static_cast<std::size_t>(a.cards));
    a.branches = std::make_unique_for_overwrite<std::int16_t[]>(allowed::branch_room);
    a.search.emplace(std::span(a.table), std::span(a.branches.get(), allowed::branch_room));
    a.search->reset(a.cards);
    // A move listed twice is kept once, where it is first listed.
    std::vector<std::string> texts;
    for (const deal::routine& step : listed) {
        char move[text::words_room];
        text::routine_text(step, move, sizeof move);
        if (std::find(texts.begin(), texts.end(), move) != texts.end())
            continue;
        texts.emplace_back(move);
        a.search->add(step);
        a.steps.push_back(step);
    }
}

// A position from the top, or where a named card starts, as a position
// from the bottom.
int position_of(py::handle given, const deal::start& s, const char* what) {
    if (PyIndex_Check(given.ptr()) && !py::isinstance<py::bool_>(given))
        return s.size() - 1 - static_cast<int>(bounded_integer(given, what, 0, s.size() - 1));
    return s.position_of(card_number(given, s.size()));
}

// The routine a search found, its repeats collapsed as deal-solve writes it.
routine_value routine_of_path(const allowed& a, std::span<const int> path) {
    return routine_of(text::collapsed_text(a.steps, path), a.cards);
}

// The first routine found, or with `all` a list of every one.
py::object routines_of(const allowed& a, const std::vector<std::vector<int>>& found, bool all) {
    if (!all)
        return py::cast(routine_of_path(a, found.front()));
    py::list routines;
    for (const auto& path : found)
        routines.append(routine_of_path(a, path));
    return routines;
}

py::object solve(some_moves moves, an_int cards, a_card from, a_card to, bool all,
                 maybe_deck deck) {
    allowed a;
    a.cards = static_cast<int>(bounded_integer(cards, "card count", 1, deal::max_cards));
    const deal::start s = start_of(deck, a.cards);
    const int start = position_of(from, s, "position"), end = position_of(to, s, "position");
    read_moves(moves, a);
    int length = 0;
    std::vector<std::vector<int>> found;
    {
        py::gil_scoped_release unlocked;
        length = a.search->solve(start, end);
        std::vector<int> path(static_cast<std::size_t>(std::max(length, 0)));
        if (length >= 0 && !all) {
            a.search->first(path);
            found.push_back(path);
        } else if (length >= 0 &&
                   a.search->count(deal::max_search_answers) <= deal::max_search_answers) {
            a.search->each(path, [&](std::span<const int> p) {
                found.emplace_back(p.begin(), p.end());
                return true;
            });
        }
    }
    if (length < 0)
        return all ? py::object(py::list()) : py::object(py::none());
    if (found.empty()) {
        words w;
        text::too_many_routines(w.text, sizeof w.text, length, a.cards - 1 - start,
                                a.cards - 1 - end, "all=True");
        w.raise();
    }
    return routines_of(a, found, all);
}

} // namespace

py::object narrow(py::handle moves, py::handle cards, py::handle to, bool all, bool closest);

void bind_searches(py::module_& m) {
    m.def("solve", &solve, py::arg("moves"), py::arg("cards"), py::arg("start"), py::arg("to"),
          py::kw_only(), py::arg("all") = false, py::arg("deck") = py::none(),
          "A shortest Routine of the moves allowed (text such as 'faro in | faro out', ranges "
          "as 'cut 1..51', or a list of moves) that brings the card at `start` to `to`, as "
          "deal-solve finds it: each a position from the top (0 the top card) or a card, where "
          "it starts in `deck`. None where no routine does; an empty Routine where start is to. "
          "With all=True, a list of every shortest routine.");
    m.def(
        "solve_any",
        [](some_moves moves, an_int cards, an_int to, bool all) {
            return narrow(moves, cards, to, all, false);
        },
        py::arg("moves"), py::arg("cards"), py::arg("to"), py::kw_only(), py::arg("all") = false,
        "A shortest Routine that brings the spectator's card to `to` (a position from the "
        "top) whichever card it is, as deal-solve --any-card finds it; None where none does; "
        "with all=True, a list of every one.");
    m.def(
        "closest",
        [](some_moves moves, an_int cards) {
            return narrow(moves, cards, py::none(), false, true);
        },
        py::arg("moves"), py::arg("cards"),
        "The fewest places the moves narrow the spectator's card to, whichever it is, as "
        "deal-solve --any-card --closest finds them: (routine, places), the places from the "
        "top, increasing; None where the moves narrow it not at all.");
}

py::object narrow(py::handle moves, py::handle cards, py::handle to, bool all, bool closest) {
    allowed a;
    a.cards = static_cast<int>(bounded_integer(cards, "card count", 1, deal::max_cards));
    const int end =
        closest ? -1
                : a.cards - 1 - static_cast<int>(bounded_integer(to, "position", 0, a.cards - 1));
    read_moves(moves, a);
    const std::int64_t most = deal::narrowing_sets(a.cards);
    deal::narrowing n(*a.search, most, deal::max_narrowing_steps);
    std::vector<std::vector<int>> found;
    deal::narrowing::outcome outcome;
    bool too_many_routines = false;
    {
        py::gil_scoped_release unlocked;
        outcome = closest ? n.closest() : n.solve(end);
        std::vector<int> path(
            static_cast<std::size_t>(outcome == deal::narrowing::outcome::found ? n.length() : 0));
        if (outcome == deal::narrowing::outcome::found && !all) {
            n.first(path);
            found.push_back(path);
        } else if (outcome == deal::narrowing::outcome::found) {
            too_many_routines = n.count(deal::max_search_answers) > deal::max_search_answers;
            if (!too_many_routines)
                n.each(path, [&](std::span<const int> p) {
                    found.emplace_back(p.begin(), p.end());
                    return true;
                });
        }
    }
    words w;
    if (outcome == deal::narrowing::outcome::too_long) {
        text::search_too_long(w.text, sizeof w.text);
        w.raise();
    }
    if (outcome == deal::narrowing::outcome::too_many) {
        text::search_too_wide(w.text, sizeof w.text, most, a.cards);
        w.raise();
    }
    const bool never = outcome == deal::narrowing::outcome::never ||
                       (closest && a.cards > 1 && static_cast<int>(n.places().size()) == a.cards);
    if (never)
        return closest || !all ? py::object(py::none()) : py::object(py::list());
    if (too_many_routines) {
        text::too_many_routines(w.text, sizeof w.text, n.length(), -1, a.cards - 1 - end,
                                "all=True");
        w.raise();
    }
    if (closest) {
        py::list places;
        for (const int p : n.places())
            places.insert(0, a.cards - 1 - p);
        return py::make_tuple(routine_of_path(a, found.front()), py::tuple(places));
    }
    return routines_of(a, found, all);
}

} // namespace python
