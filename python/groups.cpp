// The group a set of moves generates, as deal-group works it out: its order,
// what it reaches, its orbits and smallest blocks, and a routine of the moves
// that brings the deck to an order it holds.
#include <algorithm>
#include <memory>
#include <optional>
#include <pybind11/stl.h>

#include "deal/limits.hpp"
#include "group/blocks.hpp"
#include "group/chain.hpp"
#include "group/generated.hpp"
#include "group/routes.hpp"
#include "python/decks.hpp"
#include "python/routines.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"

namespace python {

namespace {

// The moves, each once where first listed, as deal-group keeps them, and the
// group they generate: on the positions, or, where a move turns cards, on
// each position face down and face up.
struct group_value {
    int cards = 0;
    std::vector<deal::move> moves;
    std::vector<std::string> texts;
    std::vector<group::perm> generators;
    bool turns = false;
    std::shared_ptr<const group::generated> generated;
    int degree() const { return turns ? 2 * cards : cards; }
};

bool take(void* into, const deal::move& m) {
    static_cast<std::vector<deal::move>*>(into)->push_back(m);
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
    std::vector<deal::move> listed;
    words w;
    if (!text::read_move_list(text, g.cards, take, &listed, shown, w.text, sizeof w.text))
        w.raise();
    std::vector<deal::permutation> made;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        char move[text::rules_room + 32];
        text::move_text(listed[i], move, sizeof move);
        if (listed[i].kind == deal::move_kind::deal && listed[i].deal.chosen_pile >= 0)
            value_error("move " + std::to_string(i + 1) + " of the moves allowed, " +
                        shown_text(move, text::shown_length::move) +
                        ": a chosen pile follows one card, and the group moves the whole deck: "
                        "leave --chosen-pile out");
        if (std::find(g.texts.begin(), g.texts.end(), move) != g.texts.end())
            continue;
        g.texts.emplace_back(move);
        g.moves.push_back(listed[i]);
        made.push_back(deal::move_permutation(listed[i], g.cards));
        g.turns = g.turns || made.back().turns_any();
    }
    for (deal::permutation& p : made) {
        if (g.turns)
            p = p.doubled();
        g.generators.emplace_back(p.goes_to().begin(), p.goes_to().end());
    }
}

group_value make_group(some_moves moves, an_int cards) {
    group_value g;
    g.cards = static_cast<int>(bounded_integer(cards, "card count", 1, deal::max_cards));
    read_moves(moves, g);
    {
        py::gil_scoped_release unlocked;
        g.generated = std::make_shared<const group::generated>(g.generators, g.degree(),
                                                               deal::max_group_steps, g.turns);
    }
    if (!g.generated->known())
        value_error("the group of these moves would take more than " +
                    std::to_string(deal::max_group_steps) +
                    " steps to work out: allow fewer moves or a smaller deck");
    return g;
}

mpz_class whole(const group::factored& order) {
    mpz_class n = 1, power;
    const auto exponents = order.exponents();
    for (std::size_t p = 2; p < exponents.size(); ++p)
        if (exponents[p] != 0) {
            mpz_ui_pow_ui(power.get_mpz_t(), p, static_cast<unsigned long>(exponents[p]));
            n *= power;
        }
    return n;
}

std::string reaches(const group_value& g) {
    group::factored every;
    every.times_factorial(g.cards);
    const group::factored& order = g.generated->order();
    if (g.turns) {
        for (int i = 0; i < g.cards; ++i)
            every.times(2);
        return order == every ? "every order and facing" : "some orders and facings";
    }
    group::factored even = every;
    if (g.cards >= 2)
        even.over(2);
    return order == every ? "every order" : order == even ? "every even order" : "some orders";
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

// Where each position's card goes from `from` to `to`, turned over where its
// face differs; nothing where the moves turn no card and a face differs.
std::optional<group::perm> taking(const deal::start& from, const deal::start& to, int degree) {
    const int cards = from.size();
    group::perm p(static_cast<std::size_t>(degree));
    for (int x = 0; x < cards; ++x) {
        const deal::card c = from[x];
        const int there = to.position_of(deal::number_of(c));
        const bool turned = deal::is_face_up(c) != deal::is_face_up(to[there]);
        if (turned && degree == cards)
            return std::nullopt;
        p[static_cast<std::size_t>(x)] = static_cast<group::point>(there + (turned ? cards : 0));
        if (degree > cards)
            p[static_cast<std::size_t>(x + cards)] =
                static_cast<group::point>(there + (turned ? 0 : cards));
    }
    return p;
}

std::optional<group::perm> target_of(const group_value& g, py::handle order, py::handle deck) {
    const deal::start from = start_of(deck, g.cards);
    const deal::start to = start_of(order, g.cards);
    auto target = taking(from, to, g.degree());
    if (target && !g.generated->contains(*target))
        target.reset();
    return target;
}

// A word for `target` as deal-group --reach finds it: the search's shortest
// where it gets there, else one built from the stabilizer chain.
std::optional<group::word> word_for(const group_value& g, const group::perm& target,
                                    std::int64_t& reached, bool& chained) {
    group::routes routes(g.generators, g.cards);
    const std::int64_t most_states = std::min<std::int64_t>(
        deal::max_narrowing_sets, deal::max_narrowing_bytes / (2 * std::int64_t{g.cards}));
    group::routes::found found = routes.search(target, most_states, deal::max_narrowing_steps);
    reached = routes.reached();
    chained = true;
    if (!found.shortest) {
        group::chain c(g.degree());
        std::int64_t budget = deal::max_group_steps / 10;
        const group::factored order = g.generated->order();
        chained = c.build(g.generated->generators(), 1, &order, budget);
        std::optional<group::word> built;
        if (chained)
            built = routes.build(target, c, deal::max_group_steps / 50, 10 * deal::max_moves);
        if (built && (!found.any || built->size() < found.moves.size())) {
            found.any = true;
            found.moves = std::move(*built);
        }
    }
    if (!found.any || found.moves.size() > static_cast<std::size_t>(deal::max_moves))
        return std::nullopt;
    return found.moves;
}

py::object reach(const group_value& g, a_deck order, maybe_deck deck) {
    const auto target = target_of(g, order, deck);
    if (!target)
        return py::none();
    std::int64_t reached = 0;
    bool chained = true;
    std::optional<group::word> word;
    {
        py::gil_scoped_release unlocked;
        word = word_for(g, *target, reached, chained);
    }
    if (!word)
        value_error("no routine of at most " + std::to_string(deal::max_moves) +
                    " moves to that order was found: the search reached " +
                    std::to_string(reached) + " decks, and " +
                    (chained ? "the words built from the group's stabilizer chain came to more"
                             : "the group is too large to build words from its stabilizer "
                               "chain"));
    routine_value r;
    r.moves.cards = g.cards;
    for (const int m : *word)
        r.moves.add(g.moves[static_cast<std::size_t>(m)]);
    return py::cast(r);
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
            "order", [](const group_value& g) { return to_int(whole(g.generated->order())); },
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
            "__contains__",
            [](const group_value& g, py::object order) {
                return target_of(g, order, py::none()).has_value();
            },
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
