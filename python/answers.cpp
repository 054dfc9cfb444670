// What a Routine answers about its rounds: its period, cycles, cycle type,
// sign and permutation; the deck and a card's place after any rounds; the
// same permutation as SymPy has it.
#include <pybind11/stl.h>

#include "deal/cycles.hpp"
#include "deal/follow.hpp"
#include "deal/period.hpp"
#include "deal/round_number.hpp"
#include "python/decks.hpp"
#include "python/routines.hpp"
#include "text/cycle_words.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"

namespace python {

namespace {

// The words that refuse a routine with a move by chance, or one that
// follows a card, where `what` asks for a round that is one permutation.
void refuse_inexact(const routine_value& r, const char* what, bool follows_too) {
    char move[text::rules_room + 32];
    if (const int m = r.moves.first_by_chance(); m >= 0) {
        text::move_text(r.moves.moves()[static_cast<std::size_t>(m)], move, sizeof move);
        value_error("move " + std::to_string(m + 1) + " of the routine, " +
                    shown_text(move, text::shown_length::move) + ", is made by chance, and " +
                    what + " answers for exact moves: run(seed) plays it");
    }
    if (follows_too && r.moves.follows_card())
        value_error(std::string("the routine gathers a chosen pile, which follows one card, and ") +
                    what + " answers for the whole deck: where(card, rounds) follows it");
}

// One round of `r`, its power taken: the permutation of its positions,
// turns and all.
deal::permutation round_of(const routine_value& r) {
    const deal::permutation once = deal::round_permutation(r.moves);
    if (!r.raised())
        return once;
    deal::cycles c;
    c.learn(once);
    deal::round_number n;
    n.learn(c);
    n.assign(r.power);
    std::vector<deal::card> deck(static_cast<std::size_t>(r.moves.cards));
    c.jump(n, deck.data());
    std::vector<std::int16_t> goes_to(deck.size());
    std::vector<char> turns(deck.size());
    for (std::size_t q = 0; q < deck.size(); ++q) {
        const auto from = static_cast<std::size_t>(deal::number_of(deck[q]));
        goes_to[from] = static_cast<std::int16_t>(q);
        turns[from] = deal::is_face_up(deck[q]);
    }
    return once.turns_any() ? deal::permutation(std::move(goes_to), std::move(turns))
                            : deal::permutation(std::move(goes_to));
}

deal::cycles cycles_of(const routine_value& r, const char* what) {
    refuse_inexact(r, what, true);
    deal::cycles c;
    py::gil_scoped_release unlocked;
    c.learn(round_of(r));
    return c;
}

py::int_ period(const routine_value& r) {
    const deal::period p(cycles_of(r, "period"));
    std::string hex;
    for (const std::uint32_t limb : p.limbs()) {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", limb);
        hex.insert(0, digits);
    }
    return py::reinterpret_steal<py::int_>(PyLong_FromString(hex.c_str(), nullptr, 16));
}

py::list cycles(const routine_value& r) {
    const deal::cycles c = cycles_of(r, "cycles()");
    const int top = r.moves.cards - 1;
    py::list all;
    for (int i = c.count() - 1; i >= 0; --i) {
        // Counted from the top, each cycle from its topmost position.
        const auto cycle = c.cycle(i);
        std::size_t first = 0;
        for (std::size_t k = 0; k < cycle.size(); ++k)
            if (cycle[k] > cycle[first])
                first = k;
        py::list positions;
        for (std::size_t k = 0; k < cycle.size(); ++k)
            positions.append(top - cycle[(first + k) % cycle.size()]);
        all.append(py::tuple(positions));
    }
    all.attr("sort")();
    return all;
}

py::dict cycle_type(const routine_value& r) {
    const deal::cycles c = cycles_of(r, "cycle_type");
    py::dict type;
    for (const deal::length_count& l : c.lengths())
        type[py::int_(l.length)] = l.count;
    return type;
}

int sign(const routine_value& r) {
    return text::even(cycles_of(r, "sign")) ? 1 : -1;
}

py::tuple permutation(const routine_value& r) {
    refuse_inexact(r, "permutation", true);
    const deal::permutation p = round_of(r);
    const int top = r.moves.cards - 1;
    py::list goes;
    for (int i = 0; i <= top; ++i)
        goes.append(top - p[top - i]);
    return py::tuple(goes);
}

py::object to_sympy(const routine_value& r) {
    refuse_inexact(r, "to_sympy()", true);
    const deal::permutation p = round_of(r);
    const int m = r.moves.cards, top = m - 1;
    // Index i from the top, face down, is point i; face up, i + m.
    py::list image;
    for (int i = 0; i < (p.turns_any() ? 2 * m : m); ++i) {
        const int at = i % m, position = top - at;
        const bool up = (i >= m) != p.turns(position);
        image.append(top - p[position] + (up ? m : 0));
    }
    return py::module_::import("sympy.combinatorics").attr("Permutation")(image);
}

} // namespace

py::object after(const routine_value& r, some_ints rounds, maybe_deck deck);
py::object where(const routine_value& r, a_card card, some_ints rounds, maybe_deck deck);

void bind_answers(py::class_<routine_value>& c) {
    c.def_property_readonly("period", &period,
                            "The rounds until the deck is back, every card in its place and "
                            "facing as it started: an int, exactly.")
        .def("cycles", &cycles,
             "The positions that travel together, each a tuple from its topmost position: the "
             "card at cycle[k] is at cycle[k + 1] one round later. Positions count from the top, "
             "0 the top card; fixed positions are cycles of one.")
        .def_property_readonly("cycle_type", &cycle_type,
                               "How many cycles have each length: {length: count}.")
        .def_property_readonly("sign", &sign, "1 where one round is an even permutation, else -1.")
        .def_property_readonly("permutation", &permutation,
                               "Where one round takes the card at each position: a tuple whose "
                               "entry i is the position, from the top, of the card that was at i.")
        .def("to_sympy", &to_sympy,
             "One round as sympy.combinatorics.Permutation, in its array form: point i goes to "
             "permutation[i], so that (a * b).to_sympy() == a.to_sympy() * b.to_sympy(), a "
             "first, as SymPy composes. Where the routine turns cards, 2M points: index i face "
             "down is i, face up i + M.")
        .def("after", &after, py::arg("rounds"), py::arg("deck") = py::none(),
             "The deck after `rounds` rounds (an int of any size, negative to run back, or a "
             "range or any iterable of them, for a list): from `deck` (a Deck, or what Deck() "
             "takes), a new deck without it.")
        .def("where", &where, py::arg("card"), py::arg("rounds"), py::arg("deck") = py::none(),
             "Where `card` (a Card, a name such as 'AS', or a number) is after `rounds` rounds, "
             "counted from the top, 0 the top card; a list for a range or iterable of rounds.");
}

} // namespace python
