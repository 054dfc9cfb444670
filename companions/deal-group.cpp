// deal-group: which orders a set of moves can bring a deck to. Prints the
// order of the group the moves generate, every digit; with --summary, what
// it reaches, its orbits and its smallest blocks; with --reach, a routine of
// the moves that brings the deck to a given order, or "never".

#include <algorithm>
#include <cstdlib>
#include <gmpxx.h>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "console/arguments.hpp"
#include "console/deal_options.hpp"
#include "console/decks.hpp"
#include "console/numbers.hpp"
#include "console/quote.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/limits.hpp"
#include "deal/routine.hpp"
#include "deal/start.hpp"
#include "group/blocks.hpp"
#include "group/deal_moves.hpp"
#include "group/generated.hpp"
#include "text/deal_words.hpp"
#include "text/deck_words.hpp"
#include "text/routine_words.hpp"
#include "text/search_words.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-group --moves MOVES [--summary] [--from-top] CARDS\n"
    "       deal-group --moves MOVES --reach ORDER CARDS\n"
    "       deal-group --help | --version\n"
    "Print the order of the group that the moves MOVES generate on a deck of CARDS\n"
    "cards, from 1 to {max_cards}: how many orders of the deck the moves can bring it to,\n"
    "every digit. Where a move turns cards over, orders and facings are counted\n"
    "together, each card's position and face.\n"
    "      --moves MOVES   the moves, separated by '|', each as a routine writes it,\n"
    "                      or moves in brackets, perhaps repeated, one move:\n"
    "                      'faro out x2 | (cut 26; faro in)'; one integer of a\n"
    "                      move may be a range A..B, such as 'cut 1..51', for\n"
    "                      every value from A to B; at most {max_search_moves} moves in all\n"
    "      --summary       print instead, a line each, the order; what the moves\n"
    "                      reach (every order, every even order or some orders;\n"
    "                      with cards turned, every order and facing or some);\n"
    "                      the orbits, the positions a card can be taken to; and\n"
    "                      the blocks, a system of the smallest blocks of positions\n"
    "                      that the moves keep together, 'none' where there is no\n"
    "                      such system, '-' where there is more than one orbit\n"
    "      --from-top      count the positions of --summary from the top, 1 the top\n"
    "                      card\n"
    "      --reach ORDER   print instead a routine of the moves that brings the\n"
    "                      deck to ORDER, a stack's name or the cards from the top\n"
    "                      as --deck takes them; \"never\" where no routine does,\n"
    "                      an empty line where ORDER is the deck; a shortest one\n"
    "                      where the search finds it, as the manual tells\n"
    "      --deck ORDER    the deck starts as ORDER, as deal-after --help tells\n"
    "      --deck-file FILE the same, read from FILE\n"
    "The group is worked out in at most {max_group_steps} steps; a deal move takes\n"
    "--packets, --rest, --first-card, --bottom-hand and --gather, as deal-after\n"
    "--help tells.\n";

enum own_option {
    moves_option,
    summary_option,
    from_top_option,
    reach_option,
    deck_option,
    deck_file_option
};
constexpr console::option options[] = {{"moves", 0, "MOVES"},    {"summary", 0, nullptr},
                                       {"from-top", 0, nullptr}, {"reach", 0, "ORDER"},
                                       {"deck", 0, "ORDER"},     {"deck-file", 0, "FILE"}};
constexpr console::command_line command{usage,        options, 1,       1,
                                        "card count", -1,      nullptr, console::moves_help};

bool take(void* moves, const deal::routine& step) {
    static_cast<std::vector<deal::routine>*>(moves)->push_back(step);
    return true;
}

std::string digits(const group::factored& order) {
    mpz_class n = 1, power;
    const auto exponents = order.exponents();
    for (std::size_t p = 2; p < exponents.size(); ++p)
        if (exponents[p] != 0) {
            mpz_ui_pow_ui(power.get_mpz_t(), p, static_cast<unsigned long>(exponents[p]));
            n *= power;
        }
    return n.get_str();
}

// Classes of positions as --summary writes them: each increasing, from the
// top where asked, the classes by their lowest, separated by " | ".
std::string classes_text(group::partition classes, int cards, bool from_top) {
    if (from_top) {
        for (auto& c : classes) {
            for (group::point& p : c)
                p = static_cast<group::point>(cards - p);
            std::sort(c.begin(), c.end());
        }
        std::sort(classes.begin(), classes.end());
    }
    std::string line;
    for (const auto& c : classes) {
        if (!line.empty())
            line += " |";
        for (const group::point p : c)
            (line += line.empty() ? "" : " ") += std::to_string(p);
    }
    return line;
}

void print_summary(const group::generated& g, int cards, bool turns, bool from_top) {
    // The positions' group: where each position's card goes, face or not.
    std::vector<group::perm> positions;
    for (const group::perm& p : g.generators()) {
        positions.emplace_back(p.begin(), p.begin() + cards);
        for (group::point& x : positions.back())
            x = static_cast<group::point>(x % cards);
    }
    std::string out = "order: " + digits(g.order()) + "\nreaches: ";
    out += group::reaches_words(g, cards, turns);
    const group::partition orbits = group::orbits(positions, cards);
    out += "\norbits: " + classes_text(orbits, cards, from_top) + "\nblocks: ";
    if (orbits.size() > 1) {
        out += "-";
    } else {
        const group::partition blocks = group::smallest_blocks(positions, cards, 1);
        out += blocks.empty() ? "none" : classes_text(blocks, cards, from_top);
    }
    console::output.write(out + '\n');
}

// The moves, each once where it is first listed, as deal-solve keeps them:
// each a move or moves in brackets, perhaps repeated, one generator; their
// words, and where each takes each point.
struct moves_read {
    std::vector<std::string> texts;
    std::vector<deal::routine> steps;
    group::move_points points;
};

// The moves that --moves `allowed` gives on a deck of `cards` cards; nothing
// after a report.
std::optional<moves_read> read_moves(const char* allowed, int cards) {
    if (!allowed) {
        console::report("--moves MOVES is needed: the moves, such as 'faro in | faro out'");
        return std::nullopt;
    }
    std::vector<deal::routine> moves;
    char words[text::words_room];
    if (!text::read_move_list(allowed, cards, take, &moves, console::shown_quoted, words,
                              sizeof words)) {
        console::report("%s", words);
        return std::nullopt;
    }
    moves_read read;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        char text[text::words_room];
        text::routine_text(moves[i], text, sizeof text);
        if (moves[i].follows_card()) {
            text::group_chosen_pile(words, sizeof words, i + 1, console::quoted(text).c_str());
            console::report("%s", words);
            return std::nullopt;
        }
        if (std::find(read.texts.begin(), read.texts.end(), text) != read.texts.end())
            continue;
        read.texts.emplace_back(text);
        read.steps.push_back(std::move(moves[i]));
    }
    read.points = group::points_of(std::span<const deal::routine>(read.steps), cards);
    return read;
}

// A routine to the deck `to`, on one line; "never"; or nothing after a
// report where none was found within the limits.
bool print_reach(const group::generated& g, const moves_read& moves, const deal::start& from,
                 const deal::start& to) {
    // The search keeps each deck it reaches, two bytes a card; past it, the
    // chain's words take a second or two.
    const std::int64_t most_states = std::min<std::int64_t>(
        deal::max_narrowing_sets, deal::max_narrowing_bytes / (2 * std::int64_t{from.size()}));
    const group::reached r =
        group::reach(g, moves.points, from, to,
                     {most_states, deal::max_narrowing_steps, deal::max_group_steps / 10,
                      static_cast<std::size_t>(deal::max_moves)});
    if (r.never) {
        console::output.write("never\n");
        return true;
    }
    if (!r.moves) {
        char words[text::words_room];
        text::no_group_routine(words, sizeof words, r.searched, r.chained);
        console::report("%s", words);
        return false;
    }
    // Written as deal-solve writes a routine, with what repeats collapsed.
    console::output.write(text::collapsed_text(moves.steps, *r.moves) + '\n');
    return true;
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-group";
    const console::arguments arguments(argc, argv, command);
    const auto cards_given =
        console::integer_argument(arguments.operands()[0], "card count", 1, deal::max_cards);
    if (!cards_given)
        return EXIT_FAILURE;
    const int cards = static_cast<int>(*cards_given);
    const char* const reach = arguments.value(reach_option);
    if (reach && arguments.has(summary_option)) {
        console::report("--summary and --reach each ask for something else: give one");
        return EXIT_FAILURE;
    }
    const auto order =
        console::deck_order(arguments.value(deck_option), arguments.value(deck_file_option));
    if (!order)
        return EXIT_FAILURE;
    const auto start = arguments.has(deck_option) || arguments.has(deck_file_option)
                           ? console::start_of(*order, cards)
                           : deal::start::new_deck(cards);
    if (!start)
        return EXIT_FAILURE;
    const auto moves = read_moves(arguments.value(moves_option), cards);
    if (!moves)
        return EXIT_FAILURE;
    const group::generated g(moves->points.generators, moves->points.degree, deal::max_group_steps,
                             moves->points.turns);
    if (!g.known()) {
        char words[text::words_room];
        text::group_too_long(words, sizeof words);
        console::report("%s", words);
        return EXIT_FAILURE;
    }
    if (reach) {
        std::vector<deal::card> bottom_first;
        char words[text::words_room];
        if (!text::read_deck(reach, cards, bottom_first, console::shown_quoted, words,
                             sizeof words)) {
            console::report("the order to reach: %s", words);
            return EXIT_FAILURE;
        }
        if (!print_reach(g, *moves, *start, deal::start(std::move(bottom_first))))
            return EXIT_FAILURE;
    } else if (arguments.has(summary_option)) {
        print_summary(g, cards, moves->points.turns, arguments.has(from_top_option));
    } else {
        console::output.write(digits(g.order()) + '\n');
    }
    console::output.close();
    return EXIT_SUCCESS;
}
