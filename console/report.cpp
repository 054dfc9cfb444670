#include "console/report.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/quote.hpp"
#include "text/deal_words.hpp"

namespace console {

const char* program_name = "deal";

void report(const char* format, ...) {
    // Built whole and written at once, so that another writer to the same
    // stream cannot tear the line.
    char line[512];
    std::size_t length = 0;
    const int head = std::snprintf(line, sizeof line, "%s: ", program_name);
    if (head > 0)
        length = static_cast<std::size_t>(head);
    if (length < sizeof line - 1) {
        std::va_list args;
        va_start(args, format);
        const int body = std::vsnprintf(line + length, sizeof line - 1 - length, format, args);
        va_end(args);
        if (body > 0)
            length += static_cast<std::size_t>(body);
    }
    if (length > sizeof line - 2)
        length = sizeof line - 2; // cut short, but still one whole line
    line[length++] = '\n';
    std::fwrite(line, 1, length, stderr);
}

void report_not_integer(std::string_view argument, const char* what) {
    char words[text::words_room];
    text::not_integer_words(words, sizeof words, quoted(argument).c_str(), what);
    report("%s", words);
}

void fail(const char* what, int err) {
    report("%s: %s", what, std::strerror(err));
    std::exit(EXIT_FAILURE);
}

} // namespace console
