// An argument as an error line shows it: between single quotes, at most its
// first 40 bytes (text::shown_most, or as many as asked, up to 256) and "..."
// after them (inside the quotes), and never a byte that a terminal would act on. Control
// characters, DEL, the C1 controls, bytes that are not UTF-8, a backslash and the quote itself are
// written as C escapes (\n, \t, \x1b, \\, \'), so that a message is always one line of plain text.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/shown.hpp"

namespace console {

class quoted {
public:
    // Enough for a number or a name; a file's name may show more.
    static constexpr std::size_t shown_max = text::shown_most(text::shown_length::value);
    static constexpr std::size_t shown_most = 256;

    explicit quoted(std::string_view argument, std::size_t most = shown_max);

    // The quoted text, quotes included, NUL-terminated.
    const char* c_str() const { return text_; }

private:
    // Every shown byte may take four ("\xff"), then the quotes and "...".
    char text_[4 * shown_most + 8];
};

} // namespace console
