// deal-solve: the fewest moves that bring a card where the magician wants
// it. Prints a shortest routine, among the moves allowed, that takes the card
// at one position to another; "never" where none does; with --all, every
// shortest routine, one a line. With --any-card, the routine brings the
// spectator's card there whichever it is, or with --closest narrows it to the
// fewest places these moves can.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "console/arguments.hpp"
#include "console/deal_options.hpp"
#include "console/decks.hpp"
#include "console/numbers.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/limits.hpp"
#include "deal/narrowing.hpp"
#include "deal/routine.hpp"
#include "deal/search.hpp"
#include "deal/start.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"
#include "text/routine_words.hpp"
#include "text/search_words.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-solve --moves MOVES [--all] CARDS FROM TO\n"
    "       deal-solve --any-card --moves MOVES [--all] CARDS TO\n"
    "       deal-solve --any-card --closest --moves MOVES CARDS\n"
    "       deal-solve --help | --version\n"
    "Print a shortest routine, in the words --routine takes, that brings the card\n"
    "at position FROM to position TO in a deck of CARDS cards, from 1 to {max_cards},\n"
    "using only the moves MOVES allows; among shortest routines, the one that\n"
    "prefers, move by move, the move listed first. FROM and TO count from 0 at\n"
    "the bottom, or name a card, such as AS, on a deck of at most {max_playing_cards}: the\n"
    "position that card starts at. Prints \"never\" where no routine does, and an\n"
    "empty line where FROM is TO. A deal with --chosen-pile follows the card.\n"
    "      --moves MOVES   the moves allowed, separated by '|', each as a routine\n"
    "                      writes it, or moves in brackets, perhaps repeated, one\n"
    "                      step: 'faro out x2 | (cut 26; faro in)'; one integer\n"
    "                      of a move may be a range A..B, such as 'cut 1..51' or\n"
    "                      '--chosen-pile 0..2', for every value from A to B; at\n"
    "                      most {max_search_moves} moves in all\n"
    "      --all           print every shortest routine, one a line, in that\n"
    "                      order; where there would be more than {max_search_answers}, say so\n"
    "                      and print none\n"
    "      --any-card      bring the spectator's card to TO whichever card it is:\n"
    "                      its deals gather the chosen pile where they say, so\n"
    "                      that places of different piles fall together; the\n"
    "                      search keeps at most {max_narrowing_sets} sets of places the card\n"
    "                      may be in, fewer on decks over 2112 cards ({max_narrowing_mib} MiB),\n"
    "                      and takes at most {max_narrowing_steps} steps, a step a place\n"
    "                      moved by a move\n"
    "      --closest       with --any-card and no TO: the fewest places these\n"
    "                      moves narrow the card to, a shortest routine that does\n"
    "                      it on one line and the places, increasing, on the next;\n"
    "                      \"never\" where they narrow it not at all\n"
    "      --from-top      count FROM and TO from the top, 1 the top card\n"
    "      --deck ORDER    the deck starts as ORDER, as deal-after --help tells, a\n"
    "                      card named in FROM or TO being found where it starts\n"
    "      --deck-file FILE the same, read from FILE\n"
    "A deal move takes --packets, --rest, --first-card, --bottom-hand, --gather\n"
    "and --chosen-pile, as deal-after --help tells.\n";

enum own_option {
    moves_option,
    all_option,
    any_card_option,
    closest_option,
    from_top_option,
    deck_option,
    deck_file_option
};
constexpr console::option options[] = {{"moves", 0, "MOVES"},    {"all", 0, nullptr},
                                       {"any-card", 0, nullptr}, {"closest", 0, nullptr},
                                       {"from-top", 0, nullptr}, {"deck", 0, "ORDER"},
                                       {"deck-file", 0, "FILE"}};
constexpr console::command_line command{usage,        options, 0,       3,
                                        "card count", -1,      nullptr, console::moves_help};

// The position `argument` names in the deck `start` starts as: a number,
// counted from the bottom or, `from_top`, as a place from the top; or a
// card's name, where that card starts.
std::optional<int> position_argument(const char* argument, const deal::start& start,
                                     bool from_top) {
    const int cards = start.size();
    text::integer_text number;
    if (text::parse_integer(argument, number)) {
        const auto p = from_top
                           ? console::integer_argument(argument, "place from the top", 1, cards)
                           : console::integer_argument(argument, "position", 0, cards - 1);
        return p ? std::optional<int>{static_cast<int>(from_top ? cards - *p : *p)} : std::nullopt;
    }
    // Past a pack's cards, no name is a card: a card's name is told so, any
    // other text is no position.
    if (cards > deal::max_playing_cards && !text::card_named(argument)) {
        console::report_not_integer(argument, from_top ? "place from the top" : "position");
        return std::nullopt;
    }
    const auto card = console::card_argument(argument, start);
    return card ? std::optional<int>{start.position_of(*card)} : std::nullopt;
}

bool take(void* steps, const deal::routine& step) {
    static_cast<std::vector<deal::routine>*>(steps)->push_back(step);
    return true;
}

// One routine, its steps collapsed where they repeat, and a newline.
void print_routine(std::span<const deal::routine> steps, std::span<const int> path) {
    console::output.write(text::collapsed_text(steps, path) + '\n');
}

// The answer for whichever card the spectator chose: a shortest routine that
// brings it to `to`, or, where there is no `to`, narrows it to the fewest
// places; printed by `print`.
template <class Print>
int narrow(const deal::search& search, std::optional<int> to, bool all, bool from_top,
           Print print) {
    const std::int64_t most = deal::narrowing_sets(search.cards());
    deal::narrowing narrowing(search, most, deal::max_narrowing_steps);
    const auto outcome = to ? narrowing.solve(*to) : narrowing.closest();
    if (outcome == deal::narrowing::outcome::too_long) {
        char words[text::words_room];
        text::search_too_long(words, sizeof words);
        console::report("%s", words);
        return EXIT_FAILURE;
    }
    if (outcome == deal::narrowing::outcome::too_many) {
        char words[text::words_room];
        text::search_too_wide(words, sizeof words, most, search.cards());
        console::report("%s", words);
        return EXIT_FAILURE;
    }
    // Moves that narrow the card to no fewer places than the deck has never
    // narrow it: said as a search that finds nothing says it.
    if (outcome == deal::narrowing::outcome::never ||
        (!to && search.cards() > 1 &&
         static_cast<int>(narrowing.places().size()) == search.cards())) {
        console::output.write("never\n");
        console::output.close();
        return EXIT_SUCCESS;
    }
    std::vector<int> path(static_cast<std::size_t>(narrowing.length()));
    if (!all) {
        narrowing.first(path);
        print(path);
    } else {
        if (narrowing.count(deal::max_search_answers) > deal::max_search_answers) {
            char words[text::words_room];
            text::too_many_routines(words, sizeof words, narrowing.length(), -1, *to, "--all");
            console::report("%s", words);
            return EXIT_FAILURE;
        }
        narrowing.each(path, print);
    }
    if (!to) {
        // Counted from the top, the places run the other way.
        std::vector<int> places = narrowing.places();
        if (from_top) {
            for (int& p : places)
                p = search.cards() - p;
            std::reverse(places.begin(), places.end());
        }
        std::string line;
        for (const int p : places)
            (line += line.empty() ? "" : " ") += std::to_string(p);
        console::output.write(line + '\n');
    }
    console::output.close();
    return EXIT_SUCCESS;
}

// What the command line asks, read and checked: the deck and where it
// starts, the positions FROM and TO, and the moves allowed.
struct request {
    explicit request(const console::arguments& given) : arguments(given) {}
    const console::arguments& arguments;
    bool any_card = false, closest = false, all = false, from_top = false;
    int size = 0;
    std::optional<deal::start> start;
    std::optional<int> from, to;
    std::vector<deal::routine> moves;
};

// The options that say which operands are given, against the operands;
// false after a report.
bool check_operands(request& r) {
    const auto operands = r.arguments.operands();
    r.any_card = r.arguments.has(any_card_option);
    r.closest = r.arguments.has(closest_option);
    r.all = r.arguments.has(all_option);
    // The operands after CARDS: FROM and TO, TO alone for any card, none to
    // narrow it as far as it goes.
    const std::size_t wanted = r.closest ? 1 : r.any_card ? 2 : 3;
    const char* fault = nullptr;
    if (r.closest && !r.any_card)
        fault = "--closest needs --any-card: it narrows a card that may be any of the deck's";
    else if (r.closest && r.all)
        fault = "--all lists the routines to TO: with --closest, one routine is given";
    else if (r.closest && operands.size() > 1)
        fault = "--closest takes no TO: give CARDS alone, and the fewest places are found";
    else if (r.any_card && operands.size() > 2)
        fault = "--any-card takes no FROM: give CARDS TO, the card being whichever the "
                "spectator chose";
    if (fault) {
        console::report("%s", fault);
        return false;
    }
    if (operands.size() < wanted) {
        constexpr const char* missing[] = {"the card count CARDS", "the position FROM",
                                           "the position TO"};
        const std::size_t next = operands.size() == 0 ? 0 : operands.size() + 3 - wanted;
        console::report("missing %s: give %s", missing[next],
                        r.closest    ? "CARDS"
                        : r.any_card ? "CARDS TO"
                                     : "CARDS FROM TO");
        return false;
    }
    return true;
}

// CARDS, the deck they start as, and the positions FROM and TO in it.
bool read_positions(request& r) {
    const auto operands = r.arguments.operands();
    const auto cards = console::integer_argument(operands[0], "card count", 1, deal::max_cards);
    if (!cards)
        return false;
    r.size = static_cast<int>(*cards);
    const auto order =
        console::deck_order(r.arguments.value(deck_option), r.arguments.value(deck_file_option));
    if (!order)
        return false;
    r.start = r.arguments.has(deck_option) || r.arguments.has(deck_file_option)
                  ? console::start_of(*order, r.size)
                  : deal::start::new_deck(r.size);
    if (!r.start)
        return false;
    r.from_top = r.arguments.has(from_top_option);
    if (!r.any_card && !(r.from = position_argument(operands[1], *r.start, r.from_top)))
        return false;
    return r.closest || (r.to = position_argument(operands.back(), *r.start, r.from_top));
}

// The moves of --moves, ranges expanded.
bool read_moves(request& r) {
    const char* const allowed = r.arguments.value(moves_option);
    if (!allowed) {
        console::report("--moves MOVES is needed: the moves allowed, such as 'faro in | faro out'");
        return false;
    }
    char words[text::words_room];
    if (!text::read_move_list(allowed, r.size, take, &r.moves, console::shown_quoted, words,
                              sizeof words)) {
        console::report("%s", words);
        return false;
    }
    return true;
}

// A shortest routine from FROM to TO, or every one, printed by `print`.
template <class Print>
int solve(deal::search& search, const request& r, Print print) {
    const int length = search.solve(*r.from, *r.to);
    std::vector<int> path(static_cast<std::size_t>(std::max(length, 0)));
    if (length < 0) {
        console::output.write("never\n");
    } else if (!r.all) {
        search.first(path);
        print(path);
    } else {
        if (search.count(deal::max_search_answers) > deal::max_search_answers) {
            char words[text::words_room];
            text::too_many_routines(words, sizeof words, length, *r.from, *r.to, "--all");
            console::report("%s", words);
            return EXIT_FAILURE;
        }
        search.each(path, print);
    }
    console::output.close();
    return EXIT_SUCCESS;
}

// The search among the moves, and its answer.
int run(const request& r) {
    // Each move's effect on every position, a deck's worth a move: 101 MB
    // for the most moves on the largest deck. And room for the moves that
    // lead on from each position of a shortest routine, for listing them
    // all, of which a search touches what it needs.
    std::vector<std::int16_t> table(r.moves.size() * static_cast<std::size_t>(r.size));
    constexpr std::size_t branch_room = std::size_t{1} << 22;
    const auto branches = std::make_unique_for_overwrite<std::int16_t[]>(branch_room);
    deal::search search(table, {branches.get(), branch_room});
    search.reset(r.size);
    // A move listed twice, as 'cut 1..51 | cut 1..51' lists each cut, is
    // kept once, where it is first listed: each routine is then written once.
    std::vector<std::string> texts;
    std::vector<deal::routine> steps;
    for (const deal::routine& step : r.moves) {
        char text[text::words_room];
        text::routine_text(step, text, sizeof text);
        if (std::find(texts.begin(), texts.end(), text) != texts.end())
            continue;
        search.add(step);
        texts.emplace_back(text);
        steps.push_back(step);
    }
    const auto print = [&steps](std::span<const int> routine) {
        print_routine(steps, routine);
        return true;
    };
    if (r.any_card)
        return narrow(search, r.to, r.all, r.from_top, print);
    return solve(search, r, print);
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-solve";
    const console::arguments arguments(argc, argv, command);
    request r(arguments);
    if (!check_operands(r) || !read_positions(r) || !read_moves(r))
        return EXIT_FAILURE;
    return run(r);
}
