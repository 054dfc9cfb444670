// A routine as Python sees it: its moves, read by the routine reader or
// composed, on a deck of a number of cards, and how many rounds of those
// moves one round of it is (`r ** k`), an integer of any size.
#pragma once

#include <string>
#include <type_traits>

#include "deal/routine.hpp"
#include "python/words.hpp"

namespace python {

struct routine_value {
    deal::routine moves;
    // One round of this routine is this many rounds of the moves; only an
    // exact routine is raised to a power its moves cannot be repeated to.
    std::string power = "1";
    bool raised() const { return power != "1"; }
};

// The routine that `text` reads as on a deck of `cards` cards.
routine_value routine_of(const std::string& text, int cards);
// The routine's moves as the routine reader writes them.
std::string moves_text(const deal::routine& r);

// Any answer as a Python object.
template <class T>
py::object as_object(T&& value) {
    if constexpr (std::is_base_of_v<py::handle, std::decay_t<T>>)
        return std::forward<T>(value);
    else
        return py::cast(std::forward<T>(value));
}

// Each of `rounds` (an integer, or any iterable of them) as decimal text,
// times the routine's power: an answer from `each` for an integer, a list of
// them for the others.
template <class Each>
py::object for_rounds(py::handle rounds, const routine_value& r, Each each) {
    const auto one = [&](py::handle round) {
        std::string text = integer_text(round, "round number");
        if (r.raised())
            text = py::str(py::int_(py::str(text)) * py::int_(py::str(r.power)));
        return each(text);
    };
    if (py::isinstance<py::str>(rounds) || py::isinstance<py::bytes>(rounds) ||
        !py::isinstance<py::iterable>(rounds))
        return as_object(one(rounds));
    py::list answers;
    for (const py::handle round : rounds)
        answers.append(one(round));
    return answers;
}

void bind_routines(py::module_& m);

} // namespace python
