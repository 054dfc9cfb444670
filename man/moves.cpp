// Writes the moves of a routine as a manual page lists them, from the
// routine reader's own table, so that the manual names the same moves, with
// the same arguments and words, as the reader takes and --help shows.
#include <cstdio>
#include <string_view>

#include "text/routine_words.hpp"

namespace {

// Text as groff reads it: a hyphen is a minus sign unless escaped.
void put(std::string_view text) {
    for (const char c : text) {
        if (c == '-')
            std::fputs("\\-", stdout);
        else
            std::fputc(c, stdout);
    }
}

} // namespace

int main() {
    for (const text::move_words& m : text::moves()) {
        std::fputs(".TP\n", stdout);
        if (m.arguments[0] == '\0') {
            std::fputs(".B \"", stdout);
            put(m.name);
            std::fputs("\"\n", stdout);
        } else {
            std::fputs(".BI \"", stdout);
            put(m.name);
            std::fputs(" \" \"", stdout);
            put(m.arguments);
            std::fputs("\"\n", stdout);
        }
        put(m.help);
        std::fputs(".\n", stdout);
    }
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
