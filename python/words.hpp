// What every part of the module shares: faults raised as Python's errors in
// the programs' own words, values shown in them as the programs quote them,
// and the numbers that cross between Python and the core: integers of any
// size as round numbers, GMP's fractions as Python's Fraction.
#pragma once

#include <cstdint>
#include <gmpxx.h>
#include <pybind11/pybind11.h>
#include <string>
#include <string_view>

#include "text/shown.hpp"

namespace python {

namespace py = pybind11;

// Raises ValueError with `words`, the programs' message without their name.
[[noreturn]] void value_error(const std::string& words);
// A value in a message, as the programs show it: quoted, with escapes.
const char* shown(std::string_view value, text::shown_length length, char* out, std::size_t room);
// The same as a string.
std::string shown_text(std::string_view value, text::shown_length length);
// A reader's words, of text::words_room bytes.
struct words {
    char text[1400];
    [[noreturn]] void raise() const { value_error(text); }
};

// The integer `value` as decimal text, sign and all: a round number of any
// size. TypeError where it is no integer (bool is refused too).
std::string integer_text(py::handle value, const char* what);
// The same, held to [least, most], in the programs' words where it is not.
std::int64_t bounded_integer(py::handle value, const char* what, std::int64_t least,
                             std::int64_t most);

// Python's int of an mpz, and Fraction of an mpq.
py::int_ to_int(const mpz_class& z);
py::object to_fraction(const mpq_class& q);

// An argument taken as Python hands it over and read where it is used,
// named in the signatures help() shows by what it may be, as the stubs name
// it, rather than as pybind11's "handle".
template <class Name>
struct given : py::object {
    using py::object::object;
    static bool check_(py::handle h) { return h.ptr() != nullptr; }
};
#define DEAL_PYTHON_GIVEN(alias, text)                                                             \
    struct alias##_name {                                                                          \
        static constexpr auto name = py::detail::const_name(text);                                 \
    };                                                                                             \
    using alias = given<alias##_name>
DEAL_PYTHON_GIVEN(an_int, "int");
DEAL_PYTHON_GIVEN(maybe_int, "int | None");
DEAL_PYTHON_GIVEN(some_ints, "int | Iterable[int]");
DEAL_PYTHON_GIVEN(a_card, "Card | str | int");
DEAL_PYTHON_GIVEN(maybe_card, "Card | str | int | None");
DEAL_PYTHON_GIVEN(some_cards, "Iterable[Card | str | int]");
DEAL_PYTHON_GIVEN(a_deck, "Deck | int | str | Iterable[Card | str | int]");
DEAL_PYTHON_GIVEN(maybe_deck, "Deck | int | str | Iterable[Card | str | int] | None");
DEAL_PYTHON_GIVEN(some_moves, "str | Iterable[str]");
DEAL_PYTHON_GIVEN(a_path, "str | os.PathLike");
DEAL_PYTHON_GIVEN(maybe_str, "str | None");
#undef DEAL_PYTHON_GIVEN

} // namespace python

namespace pybind11::detail {
template <class Name>
struct handle_type_name<python::given<Name>> {
    static constexpr auto name = Name::name;
};
} // namespace pybind11::detail
