// deal-solve: the fewest moves that bring a card where the magician wants
// it. Prints a shortest routine, among the moves allowed, that takes the card
// at one position to another; "never" where none does; with --all, every
// shortest routine, one a line.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "console/arguments.hpp"
#include "console/deal_options.hpp"
#include "console/numbers.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/limits.hpp"
#include "deal/routine.hpp"
#include "deal/search.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"
#include "text/routine_words.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-solve --moves MOVES [--all] CARDS FROM TO\n"
    "       deal-solve --help | --version\n"
    "Print a shortest routine, in the words --routine takes, that brings the card\n"
    "at position FROM to position TO in a deck of CARDS cards, from 1 to 5050,\n"
    "using only the moves MOVES allows; among shortest routines, the one that\n"
    "prefers, move by move, the move listed first. FROM and TO count from 0 at\n"
    "the bottom, or name a card, such as AS, on a deck of at most 52: the\n"
    "position that card starts at. Prints \"never\" where no routine does, and an\n"
    "empty line where FROM is TO. A deal with --chosen-pile follows the card.\n"
    "      --moves MOVES   the moves allowed, separated by '|', each as a routine\n"
    "                      writes it; one integer of a move may be a range A..B,\n"
    "                      such as 'cut 1..51' or '--chosen-pile 0..2', for every\n"
    "                      value from A to B; at most 10000 moves in all\n"
    "      --all           print every shortest routine, one a line, in that\n"
    "                      order; where there would be more than 1000000, say so\n"
    "                      and print none\n"
    "A deal move takes --packets, --rest, --first-card, --bottom-hand, --gather\n"
    "and --chosen-pile, as deal-after --help tells.\n";

enum own_option { moves_option, all_option };
constexpr console::option options[] = {{"moves", 0, "MOVES"}, {"all", 0, nullptr}};
constexpr console::command_line command{usage, options, 0, 3, "card count"};

// Each move's effect on every position, a deck's worth a move: the largest
// deck times the most moves, 101 MB of address space, of which a search
// touches what its moves and deck need. And the moves that lead on from each
// position of a shortest routine, for listing them all.
std::int16_t table[static_cast<std::size_t>(deal::max_search_moves) * deal::max_cards];
std::int16_t branches[std::size_t{1} << 22];
deal::search search(table, branches);
// The moves as a routine writes them, for writing the routines found.
char move_texts[std::size_t{4} << 20];
std::size_t move_begins[deal::max_search_moves + 1];
text::move_book book(move_texts, move_begins);

// The card or position `argument` names, as a position of a deck of `cards`.
std::optional<int> position_argument(const char* argument, int cards, const char* what) {
    text::integer_text number;
    if (text::parse_integer(argument, number)) {
        const auto p = console::integer_argument(argument, what, 0, cards - 1);
        return p ? std::optional<int>{static_cast<int>(*p)} : std::nullopt;
    }
    return console::card_argument(argument, cards);
}

bool take(void*, const deal::move& m) {
    return book.add(m) && search.add(m);
}

void put(std::string_view text) {
    while (!text.empty()) {
        const std::size_t n = std::min(text.size(), console::writer::capacity);
        char* const out = console::output.reserve(n);
        std::memcpy(out, text.data(), n);
        console::output.commit(out + n);
        text.remove_prefix(n);
    }
}

// One routine, its moves separated by "; ", and a newline.
bool print_routine(std::span<const int> path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0)
            put("; ");
        put(book[path[i]]);
    }
    char* out = console::output.reserve(1);
    *out++ = '\n';
    console::output.end_line(out);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-solve";
    const console::arguments arguments(argc, argv, command);
    const auto operands = arguments.operands();
    if (operands.size() < 3) {
        constexpr const char* missing[] = {"the card count CARDS", "the position FROM",
                                           "the position TO"};
        console::report("missing %s: give CARDS FROM TO", missing[operands.size()]);
        return EXIT_FAILURE;
    }
    const auto cards = console::integer_argument(operands[0], "card count", 1, deal::max_cards);
    if (!cards)
        return EXIT_FAILURE;
    const int size = static_cast<int>(*cards);
    const auto from = position_argument(operands[1], size, "position");
    if (!from)
        return EXIT_FAILURE;
    const auto to = position_argument(operands[2], size, "position");
    if (!to)
        return EXIT_FAILURE;
    const char* const allowed = arguments.value(moves_option);
    if (!allowed) {
        console::report("--moves MOVES is needed: the moves allowed, such as 'faro in | faro out'");
        return EXIT_FAILURE;
    }
    search.reset(size);
    char words[text::words_room];
    if (!text::read_move_list(allowed, size, take, nullptr, console::shown_quoted, words,
                              sizeof words)) {
        console::report("%s", words);
        return EXIT_FAILURE;
    }

    const int length = search.solve(*from, *to);
    static int path[deal::max_cards];
    if (length < 0) {
        char* out = console::output.reserve(8);
        out = std::strcpy(out, "never\n") + 6;
        console::output.end_line(out);
    } else if (!arguments.has(all_option)) {
        search.first({path, static_cast<std::size_t>(length)});
        print_routine({path, static_cast<std::size_t>(length)});
    } else {
        if (search.count(deal::max_search_answers) > deal::max_search_answers) {
            console::report("more than %lld routines of %d moves bring position %d to %d: "
                            "allow fewer moves, or ask for one routine without --all",
                            static_cast<long long>(deal::max_search_answers), length, *from, *to);
            return EXIT_FAILURE;
        }
        search.each({path, static_cast<std::size_t>(length)}, print_routine);
    }
    console::output.close();
    return EXIT_SUCCESS;
}
