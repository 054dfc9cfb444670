// Fills a manual page in: the moves of a routine, from the routine reader's
// own table, where the page says @DEAL_MAN_MOVES@, and every fact it names as
// {name}, from the one table of facts, so that the manual names the same
// moves, limits and defaults as the programs take and --help shows.
//
//   deal-man-fill PAGE.in > PAGE
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "facts/facts.hpp"
#include "text/routine_words.hpp"

namespace {

// Text as groff reads it: a hyphen is a minus sign unless escaped.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string moves() {
    std::string out;
    for (const text::move_words& m : text::moves()) {
        out += ".TP\n";
        if (m.arguments[0] == '\0') {
            out += ".B \"" + escaped(m.name) + "\"\n";
        } else {
            out += ".BI \"" + escaped(m.name) + " \" \"" + escaped(m.arguments) + "\"\n";
        }
        out += escaped(m.help) + ".\n";
    }
    out.pop_back(); // the page's own line ends it
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deal-man-fill PAGE.in > PAGE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) {
        std::fprintf(stderr, "deal-man-fill: cannot read %s\n", argv[1]);
        return 1;
    }
    constexpr std::string_view marker = "@DEAL_MAN_MOVES@";
    for (std::size_t at; (at = page.find(marker)) != std::string::npos;)
        page.replace(at, marker.size(), moves());
    std::string filled;
    facts::with_facts(
        page,
        [](void* out, std::string_view piece, bool is_fact) {
            *static_cast<std::string*>(out) += is_fact ? escaped(piece) : std::string(piece);
        },
        &filled);
    std::fwrite(filled.data(), 1, filled.size(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
