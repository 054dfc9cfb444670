#include "python/words.hpp"

#include <cstdio>

#include "console/deal_options.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"

namespace python {

void value_error(const std::string& words) {
    throw py::value_error(words);
}

const char* shown(std::string_view value, text::shown_length length, char* out, std::size_t room) {
    return console::shown_quoted(value, length, out, room);
}

std::string shown_text(std::string_view value, text::shown_length length) {
    char out[1200];
    return shown(value, length, out, sizeof out);
}

std::string integer_text(py::handle value, const char* what) {
    if (py::isinstance<py::bool_>(value) || !PyIndex_Check(value.ptr()))
        throw py::type_error(std::string(what) + " must be an integer, not " +
                             std::string(py::str(py::type::handle_of(value).attr("__name__"))));
    return py::str(py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr())));
}

std::int64_t bounded_integer(py::handle value, const char* what, std::int64_t least,
                             std::int64_t most) {
    const std::string written = integer_text(value, what);
    text::integer_text n;
    text::parse_integer(written, n);
    if (n.value() < least || n.value() > most) {
        char shown_value[64];
        char out[text::words_room];
        text::range_words(out, sizeof out, what, text::written(n, shown_value, sizeof shown_value),
                          least, most);
        value_error(out);
    }
    return n.value();
}

py::int_ to_int(const mpz_class& z) {
    const std::string hex = z.get_str(16);
    return py::reinterpret_steal<py::int_>(PyLong_FromString(hex.c_str(), nullptr, 16));
}

py::object to_fraction(const mpq_class& q) {
    return py::module_::import("fractions")
        .attr("Fraction")(to_int(q.get_num()), to_int(q.get_den()));
}

} // namespace python
