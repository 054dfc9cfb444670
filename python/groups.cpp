// The group a set of moves generates, as deal-group works it out: its order,
// what it reaches, its orbits and smallest blocks, and a routine of the moves
// that brings the deck to an order it holds.
#include <algorithm>
#include <memory>
#include <optional>
#include <pybind11/stl.h>

#include "deal/limits.hpp"
#include "group/blocks.hpp"
#include "group/deal_moves.hpp"
#include "group/generated.hpp"
#include "group/routes.hpp"
#include "python/decks.hpp"
#include "python/routines.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"
#include "text/search_words.hpp"

namespace python {

namespace {

// The moves, each once where first listed, as deal-group keeps them, and the
// group they generate: on the positions, or, where a move turns cards, on
// each position face down and face up.
struct group_value {
    int cards = 0;
    std::vector<deal::routine> steps; // a move, or moves repeated
    std::vector<std::string> texts;
    group::move_points points;
    std::shared_ptr<const group::generated> generated;
};

bool take(void* into, const deal::routine& step) {
    static_cast<std::vector<deal::routine>*>(into)->push_back(step);
    return true;
}

void read_moves(py::handle given, group_value& g) {
    std::string text;
    if (py::isinstance<py::str>(given)) {
        text = given.cast<std::string>();
    } else {
        for (const py::handle move : given)
            (text += text.empty() ? "" : " | ") += py::str(move).cast<std::string>();
    }
    std::vector<deal::routine> listed;
    words w;
    if (!text::read_move_list(text, g.cards, take, &listed, shown, w.text, sizeof w.text))
        w.raise();
    for (std::size_t i = 0; i < listed.size(); ++i) {
        char move[text::words_room];
        text::routine_text(listed[i], move, sizeof move);
        if (listed[i].follows_card()) {
            text::group_chosen_pile(w.text, sizeof w.text, i + 1,
                                    shown_text(move, text::shown_length::move).c_str());
            w.raise();
        }
        if (std::find(g.texts.begin(), g.texts.end(), move) != g.texts.end())
            continue;
        g.texts.emplace_back(move);
        g.steps.push_back(listed[i]);
    }
    g.points = group::points_of(std::span<const deal::routine>(g.steps), g.cards);
}

group_value make_group(some_moves moves, an_int cards) {
    group_value g;
    g.cards = static_cast<int>(bounded_integer(cards, "card count", 1, deal::max_cards));
    read_moves(moves, g);
    {
        py::gil_scoped_release unlocked;
        g.generated = std::make_shared<const group::generated>(
            g.points.generators, g.points.degree, deal::max_group_steps, g.points.turns);
    }
    if (!g.generated->known()) {
        words w;
        text::group_too_long(w.text, sizeof w.text);
        w.raise();
    }
    return g;
}

// The order multiplied out by Python's own integers, as the module hands
// it over.
py::object whole(const group::factored& order) {
    py::list powers;
    const auto exponents = order.exponents();
    for (std::size_t p = 2; p < exponents.size(); ++p)
        if (exponents[p] != 0)
            powers.append(py::int_(p).attr("__pow__")(py::int_(exponents[p])));
    return py::module_::import("math").attr("prod")(powers);
}

std::string reaches(const group_value& g) {
    return group::reaches_words(*g.generated, g.cards, g.points.turns);
}

// The positions' generators: where each position's card goes, face or not.
std::vector<group::perm> positions(const group_value& g) {
    std::vector<group::perm> out;
    for (const group::perm& p : g.generated->generators()) {
        out.emplace_back(p.begin(), p.begin() + g.cards);
        for (group::point& x : out.back())
            x = static_cast<group::point>(x % g.cards);
    }
    return out;
}

// Classes of positions from the top, each increasing, by their lowest.
py::list from_top(group::partition classes, int cards) {
    for (auto& c : classes) {
        for (group::point& p : c)
            p = static_cast<group::point>(cards - 1 - p);
        std::sort(c.begin(), c.end());
    }
    std::sort(classes.begin(), classes.end());
    py::list out;
    for (const auto& c : classes)
        out.append(py::tuple(py::cast(c)));
    return out;
}

py::object blocks(const group_value& g) {
    const auto moved = positions(g);
    group::partition orbits, smallest;
    {
        py::gil_scoped_release unlocked;
        orbits = group::orbits(moved, g.cards);
        if (orbits.size() == 1)
            smallest = group::smallest_blocks(moved, g.cards, 1);
    }
    if (orbits.size() > 1)
        return py::none();
    return from_top(std::move(smallest), g.cards);
}

bool holds(const group_value& g, py::handle order) {
    const auto target =
        group::taking(deal::start::new_deck(g.cards), start_of(order, g.cards), g.points.degree);
    return target && g.generated->contains(*target);
}

// A routine to `order` as deal-group --reach finds it, within its limits.
py::object reach(const group_value& g, a_deck order, maybe_deck deck) {
    const deal::start from = start_of(deck, g.cards), to = start_of(order, g.cards);
    // The search keeps each deck it reaches, two bytes a card.
    const std::int64_t most_states = std::min<std::int64_t>(
        deal::max_narrowing_sets, deal::max_narrowing_bytes / (2 * std::int64_t{g.cards}));
    group::reached r;
    {
        py::gil_scoped_release unlocked;
        r = group::reach(*g.generated, g.points, from, to,
                         {most_states, deal::max_narrowing_steps, deal::max_group_steps / 10,
                          static_cast<std::size_t>(deal::max_moves)});
    }
    if (r.never)
        return py::none();
    if (!r.moves) {
        words w;
        text::no_group_routine(w.text, sizeof w.text, r.searched, r.chained);
        w.raise();
    }
    return py::cast(routine_of(text::collapsed_text(g.steps, *r.moves), g.cards));
}

std::string moves_words(const group_value& g) {
    std::string text;
    for (const std::string& move : g.texts)
        (text += text.empty() ? "" : " | ") += move;
    return text;
}

} // namespace

void bind_groups(py::module_& m) {
    py::class_<group_value>(m, "Group",
                            R"(The group a set of moves generates, as deal-group works it out.

Group(moves, cards=52): the moves as text ('faro in | faro out', ranges as
'cut 1..51') or a list of moves, each kept once; every order of the deck
that some routine of them brings it to. Where a move turns cards, orders
and facings are counted together. Positions count from the top, 0 the top
card.)")
        .def(py::init(&make_group), py::arg("moves"), py::arg("cards") = 52)
        .def_property_readonly(
            "cards", [](const group_value& g) { return g.cards; }, "The deck's size.")
        .def_property_readonly(
            "moves", [](const group_value& g) { return py::tuple(py::cast(g.texts)); },
            "The moves, each once, as the routine reader writes them.")
        .def_property_readonly(
            "order", [](const group_value& g) { return whole(g.generated->order()); },
            "How many orders of the deck the moves can bring it to, an int: deal-group.")
        .def_property_readonly("reaches", &reaches,
                               "What the moves reach: 'every order', 'every even order' or "
                               "'some orders'; with cards turned, 'every order and facing' or "
                               "'some orders and facings'.")
        .def_property_readonly(
            "orbits",
            [](const group_value& g) {
                return from_top(group::orbits(positions(g), g.cards), g.cards);
            },
            "The orbits: the sets of positions a card can be taken among, a tuple each.")
        .def_property_readonly("blocks", &blocks,
                               "A system of the smallest blocks of positions the moves keep "
                               "together, a tuple each; [] where there is none; None where "
                               "there is more than one orbit.")
        .def("reach", &reach, py::arg("order"), py::kw_only(), py::arg("deck") = py::none(),
             "A Routine of the moves that brings `deck` (a new deck without it) to `order` "
             "(a Deck, a stack's name or the cards from the top), as deal-group --reach finds "
             "it: a shortest one where the search finds it; None where no routine does.")
        .def(
            "__contains__", [](const group_value& g, py::object order) { return holds(g, order); },
            py::arg("order"), "Whether some routine of the moves brings a new deck to `order`.")
        // Pickled as its moves and deck, worked out again when unpickled.
        .def("__reduce__",
             [](const group_value& g) {
                 return py::make_tuple(py::type::of<group_value>(),
                                       py::make_tuple(moves_words(g), g.cards));
             })
        .def("__repr__", [](const group_value& g) {
            return "Group(" + std::string(py::repr(py::str(moves_words(g)))) +
                   ", cards=" + std::to_string(g.cards) + ")";
        });
}

} // namespace python
