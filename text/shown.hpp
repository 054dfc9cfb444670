// How a value given by the user is shown in a message, quotes and all: the
// programs quote it with escapes, the page in quotation marks; a value is cut
// after a few bytes, a whole move after more. Every reader of text takes the
// caller's way of showing values, and writes its faults through it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "text/integer_text.hpp"

namespace text {

enum class shown_length : unsigned char { value, move };
// How many bytes of a value a message shows before it is cut: of a value, and
// of a whole move of a routine.
constexpr std::size_t shown_most(shown_length length) {
    return length == shown_length::move ? 120 : 40;
}
// Writes `value` as shown into `out`, of `room` bytes, and returns it.
using show_value = const char* (*)(std::string_view value, shown_length length, char* out,
                                   std::size_t room);

// Where a reader's words go, and how values are shown in them.
struct fault_out {
    show_value show;
    char* words;
    std::size_t room;

    const char* shown(std::string_view value, char* buffer, std::size_t size) const {
        return show(value, shown_length::value, buffer, size);
    }
    // "SHOWN TEXT", as `format` puts them; false, for the reader to return.
    bool say(const char* format, std::string_view value) const {
        char buffer[300];
        std::snprintf(words, room, format, shown(value, buffer, sizeof buffer));
        return false;
    }
};

// An integer as it was written, which holds nothing but a sign and digits:
// shown as it is, as the programs show a number out of range.
inline const char* written(const integer_text& n, char* out, std::size_t room) {
    std::snprintf(out, room, "%s%s", n.shown(), n.cut() ? "..." : "");
    return out;
}

} // namespace text
