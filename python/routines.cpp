#include "python/routines.hpp"

#include <pybind11/stl.h>

#include "deal/follow.hpp"
#include "python/decks.hpp"
#include "text/count_words.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"

namespace python {

routine_value routine_of(const std::string& text, int cards) {
    routine_value r;
    words w;
    if (text::read_routine(text, cards, r.moves, shown, w.text, sizeof w.text))
        return r;
    // A routine that the largest deck takes is too big for this one: said
    // with its size, as the programs say it.
    deal::routine largest;
    words ignored;
    if (cards < deal::max_cards && text::read_routine(text, deal::max_cards, largest, shown,
                                                      ignored.text, sizeof ignored.text))
        value_error("deck of " + std::to_string(cards) + (cards == 1 ? " card: " : " cards: ") +
                    w.text);
    w.raise();
}

std::string moves_text(const deal::routine& r) {
    std::string out(static_cast<std::size_t>(r.moves().size() + 1) * (text::rules_room + 32), '\0');
    out.resize(
        static_cast<std::size_t>(text::routine_text(r, out.data(), out.size()) - out.data()));
    return out;
}

namespace {

routine_value make(some_moves moves, an_int cards) {
    const int size = static_cast<int>(bounded_integer(cards, "card count", 1, deal::max_cards));
    if (py::isinstance<py::str>(moves))
        return routine_of(moves.cast<std::string>(), size);
    if (!py::isinstance<py::iterable>(moves))
        throw py::type_error("a routine is its moves, as text such as 'faro out; cut 26' or a "
                             "list of moves");
    std::string text;
    for (const py::handle move : moves) {
        if (!text.empty())
            text += "; ";
        text += py::str(move).cast<std::string>();
    }
    return routine_of(text, size);
}

// Whole rounds of `r`, as its moves repeated where they fit in a routine.
routine_value raised(const routine_value& r, py::handle power) {
    const std::string k = integer_text(power, "power");
    const auto moves = static_cast<long long>(r.moves.moves().size());
    const py::int_ whole = py::int_(py::str(k)) * py::int_(py::str(r.power));
    const bool small = !r.raised() && whole >= py::int_(1) &&
                       whole <= py::int_(deal::max_moves / std::max(moves, 1LL));
    if (small) {
        routine_value repeated{r.moves, "1"};
        repeated.moves.clear();
        for (long long i = 0, n = whole.cast<long long>(); i < n; ++i)
            for (const deal::move& m : r.moves.moves())
                repeated.moves.add(m);
        return repeated;
    }
    if (const int m = r.moves.first_by_chance(); m >= 0) {
        char move[text::rules_room + 32];
        text::move_text(r.moves.moves()[static_cast<std::size_t>(m)], move, sizeof move);
        value_error("the routine holds more than " + std::to_string(deal::max_moves) +
                    " moves: a routine with a move by chance, such as " +
                    shown_text(move, text::shown_length::move) +
                    ", is raised to a power by "
                    "repeating its moves");
    }
    if (whole < py::int_(0) && !deal::runs_backwards(r.moves)) {
        char out[text::words_room];
        text::backwards_words(
            out, sizeof out,
            shown_text(std::string(py::repr(whole)), text::shown_length::value).c_str());
        value_error(out);
    }
    return {r.moves, std::string(py::repr(whole))};
}

routine_value then(const routine_value& a, const routine_value& b) {
    if (a.moves.cards != b.moves.cards)
        value_error("the routines deal decks of " + std::to_string(a.moves.cards) + " and " +
                    std::to_string(b.moves.cards) + " cards: compose routines of one deck");
    routine_value first = a.raised() ? raised(a, py::int_(1)) : a;
    const routine_value second = b.raised() ? raised(b, py::int_(1)) : b;
    if (first.raised() || second.raised())
        value_error("a routine raised to a power past " + std::to_string(deal::max_moves) +
                    " moves is composed with nothing: compose first, then raise");
    for (const deal::move& m : second.moves.moves())
        if (!first.moves.add(m))
            value_error("the routine holds more than " + std::to_string(deal::max_moves) +
                        " moves");
    return first;
}

std::string text_of(const routine_value& r) {
    return moves_text(r.moves);
}

std::string repr_of(const routine_value& r) {
    std::string text = "Routine(" + std::string(py::repr(py::str(text_of(r)))) +
                       ", cards=" + std::to_string(r.moves.cards) + ")";
    return r.raised() ? text + " ** " + r.power : text;
}

py::tuple moves_of(const routine_value& r) {
    py::list moves;
    for (const deal::move& m : r.moves.moves()) {
        char move[text::rules_room + 32];
        text::move_text(m, move, sizeof move);
        moves.append(py::str(move));
    }
    return py::tuple(moves);
}

} // namespace

void bind_answers(py::class_<routine_value>& c);
void bind_runs(py::module_& m, py::class_<routine_value>& c);

void bind_routines(py::module_& m) {
    py::class_<routine_value> c(m, "Routine", R"(A round of moves done in turn on a deck.

Routine(moves, cards=52): the moves as --routine takes them ('faro out;
cut 26', 'deal 3 --packets 1 --chosen-pile 1', 'riffle 3; cut random') or a
list of moves. a * b is a, then b; r ** k is k rounds of r, k any integer
(negative for a routine that can be undone). Positions count from the top,
0 the top card, as a Deck's indices do.)");
    c.def(py::init(&make), py::arg("moves"), py::arg("cards") = 52)
        .def_property_readonly(
            "cards", [](const routine_value& r) { return r.moves.cards; }, "The deck's size.")
        .def_property_readonly("moves", &moves_of, "Each move as a routine writes it.")
        .def_property_readonly(
            "by_chance", [](const routine_value& r) { return r.moves.first_by_chance() >= 0; },
            "Whether a move is made by chance (riffle, cut random).")
        .def("__mul__", &then, py::is_operator())
        .def(
            "__pow__", [](const routine_value& r, an_int k) { return raised(r, k); },
            py::is_operator())
        .def("__str__", &text_of)
        .def("__repr__", &repr_of)
        .def("__eq__",
             [](const routine_value& a, py::object b) {
                 if (!py::isinstance<routine_value>(b))
                     return false;
                 const auto& other = b.cast<const routine_value&>();
                 return a.moves.cards == other.moves.cards && a.power == other.power &&
                        text_of(a) == text_of(other);
             })
        .def("__hash__",
             [](const routine_value& r) {
                 return py::hash(py::make_tuple(text_of(r), r.moves.cards, r.power));
             })
        // Pickled, and so copied or sent to another process, as its moves
        // and deck, raised again where it was.
        .def("__reduce__", [](const routine_value& r) {
            const py::tuple moves = py::make_tuple(text_of(r), r.moves.cards);
            if (!r.raised())
                return py::make_tuple(py::type::of<routine_value>(), moves);
            routine_value base = r;
            base.power = "1";
            return py::make_tuple(py::module_::import("operator").attr("pow"),
                                  py::make_tuple(base, py::int_(py::str(r.power))));
        });
    bind_answers(c);
    bind_runs(m, c);
}

} // namespace python
