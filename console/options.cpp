#include "console/options.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "console/report.hpp"
#include "console/writer.hpp"

namespace console {

namespace {

[[noreturn]] void print_and_exit(std::string_view text) {
    char* out = output.reserve(text.size());
    std::memcpy(out, text.data(), text.size());
    output.commit(out + text.size());
    output.close();
    std::exit(EXIT_SUCCESS);
}

} // namespace

int companion_options(int argc, char** argv, const char* usage) {
    if (argc < 2)
        return 1;
    const std::string_view first = argv[1];
    if (first == "--help")
        print_and_exit(usage);
    if (first == "--version") {
        char line[128];
        const int length =
            std::snprintf(line, sizeof line, "%s (deal) %s\n", program_name, DEAL_VERSION);
        print_and_exit({line, static_cast<std::size_t>(length)});
    }
    return first == "--" ? 2 : 1;
}

void usage_error(const char* usage) {
    std::fputs(usage, stderr);
    std::exit(EXIT_FAILURE);
}

} // namespace console
