// deal-after: the deck after any number of rounds, at once, in deal's own
// listing format; or the hands that dealing it then gives; or where one card
// is.
//
//   deal-after [OPTION...] COUNT ROUNDS...   one answer for each ROUNDS (or range A..B)
//   deal-after [OPTION...] COUNT             the round numbers from standard input

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "console/arguments.hpp"
#include "console/deal_options.hpp"
#include "console/listing.hpp"
#include "console/numbers.hpp"
#include "console/quote.hpp"
#include "console/ranges.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "deal/follow.hpp"
#include "deal/hands.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"
#include "text/listing.hpp"
#include "text/routine_words.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-after [OPTION...] COUNT [ROUNDS...]\n"
    "       deal-after --help | --version\n"
    "For each ROUNDS, print the deck of COUNT hands, from 1 to 1010 for deal's own\n"
    "deal, as deal lists it after that many rounds. ROUNDS is an integer of any\n"
    "length, or a range A..B of them; a negative one runs the deal backwards. With\n"
    "COUNT alone, read the round numbers from standard input, as deal reads its\n"
    "input. Counts of 0 and below give the empty deck, whose listing is an empty\n"
    "line. With --routine, COUNT is the number of cards.\n"
    "      --hands         print instead the hands that dealing that deck gives: a\n"
    "                      line per hand, hand 0 first, its cards in the order it\n"
    "                      receives them; an empty line between two rounds' hands;\n"
    "                      with --routine, each deal move's hands, after a line\n"
    "                      \"move N: MOVE\" where the round deals more than once\n"
    "      --where C       print instead the position of card C, a number or, on a\n"
    "                      deck of at most 52, a name such as AS, 10d or Q\u2665; with\n"
    "                      --hands, the hand it is dealt to and its place there,\n"
    "                      from 0, or \"stock\" where it is not dealt\n"
    "      --faces         write the cards as the playing cards of a new deck, A\u2660\n"
    "                      at the bottom to A\u2665 on top, for decks of at most "
    "52\n" DEAL_OPTIONS_HELP;

enum own_option { hands_option = console::deal_option_count, where_option, faces_option };
constexpr console::option own[] = {{"hands", 0, nullptr}, {"where", 0, "C"}, {"faces", 0, nullptr}};
constexpr auto options = console::with_deal_options(own);
constexpr console::command_line command{usage, options, 1, -1, "hand count"};

const deal::routine* round = nullptr;
int size = 0;
deal::cycles cycles;
deal::follower follower;
bool follows = false;
// Whether each deal move's answer follows a line that names it: where the
// round deals more than once.
bool name_moves = false;
deal::round_number rounds;
deal::card deck[deal::max_cards];
deal::card next_deck[deal::max_cards];

// Each move's effect on a position, as a followed card meets it; and each
// deal move's hands, and the hand and place each position is dealt to, or -1
// for the stock.
std::int16_t step[deal::max_moves][deal::max_cards];
deal::hands dealt[deal::max_moves];
std::int16_t hand_at[deal::max_moves][deal::max_cards];
std::int16_t place_at[deal::max_moves][deal::max_cards];

struct answer {
    bool hands = false;
    bool faces = false;
    std::optional<int> where;
};
answer asked;
bool first_round = true;

void print_number(int n) {
    char* out = console::output.reserve(16);
    out = std::to_chars(out, out + 12, n).ptr;
    *out++ = '\n';
    console::output.end_line(out);
}

void print_cards(const deal::card* cards, int count) {
    if (!asked.faces) {
        console::print_listing(cards, count);
        return;
    }
    char* out = console::output.reserve(text::faces_room(count));
    out = text::format_faces(cards, count, out);
    *out++ = '\n';
    console::output.end_line(out);
}

// "move N: MOVE", before each deal move's answer where the round deals more
// than once.
void print_move(std::size_t i) {
    if (!name_moves)
        return;
    constexpr std::size_t room = text::rules_room + 32;
    static_assert(room <= console::writer::capacity);
    char* const line = console::output.reserve(room);
    char* out = line + std::snprintf(line, 24, "move %zu: ", i + 1);
    out = text::move_text(round->moves()[i], out, room - static_cast<std::size_t>(out - line));
    *out++ = '\n';
    console::output.end_line(out);
}

void print_hands() {
    if (!std::exchange(first_round, false)) {
        char* out = console::output.reserve(1);
        *out++ = '\n';
        console::output.end_line(out);
    }
    const auto moves = round->moves();
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (moves[i].kind == deal::move_kind::deal) {
            print_move(i);
            deal::card hand[deal::max_cards];
            for (int h = 0; h < dealt[i].count(); ++h) {
                const auto positions = dealt[i].hand(h);
                for (std::size_t j = 0; j < positions.size(); ++j)
                    hand[j] = deck[positions[j]];
                print_cards(hand, static_cast<int>(positions.size()));
            }
        }
        if (moves.size() > 1) {
            for (int p = 0; p < size; ++p)
                next_deck[step[i][p]] = deck[p];
            std::copy_n(next_deck, size, deck);
        }
    }
}

// Where the card asked for is dealt in each deal move of the round that
// starts with it at position p.
void print_dealt_at(int p) {
    const auto moves = round->moves();
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (moves[i].kind == deal::move_kind::deal) {
            print_move(i);
            char* out = console::output.reserve(32);
            if (hand_at[i][p] < 0) {
                out = std::copy_n("stock", 5, out);
            } else {
                out = std::to_chars(out, out + 12, hand_at[i][p]).ptr;
                *out++ = ' ';
                out = std::to_chars(out, out + 12, place_at[i][p]).ptr;
            }
            *out++ = '\n';
            console::output.end_line(out);
        }
        p = step[i][p];
    }
}

void print_after() {
    if (asked.where) {
        int p;
        if (follows) {
            p = follower.at(rounds);
        } else {
            const std::size_t length = cycles.cycle(cycles.cycle_of(*asked.where)).size();
            p = cycles.after(*asked.where, rounds.modulo(length));
        }
        if (asked.hands)
            print_dealt_at(p);
        else
            print_number(p);
        return;
    }
    cycles.jump(rounds, deck);
    if (asked.hands)
        print_hands();
    else
        print_cards(deck, size);
}

// A round number, or a range of them; false, after a report, if it is neither,
// or if it runs backwards where a chosen pile allows no going back.
bool check_rounds(const char* argument) {
    const auto range = console::split_range(argument);
    text::integer_text checked;
    const bool integers =
        range ? text::parse_integer(range->first, checked) : text::parse_integer(argument, checked);
    text::integer_text last;
    if (!integers || (range && !text::parse_integer(range->last, last))) {
        console::report_not_integer(argument, "number of rounds");
        return false;
    }
    if (follows && checked.value() < 0) {
        console::report("%s runs backwards, and a deal with a chosen pile cannot be undone: "
                        "give rounds from 0",
                        console::quoted(argument).c_str());
        return false;
    }
    return !range || console::range_size(argument, *range).has_value();
}

int from_arguments(std::span<char* const> arguments) {
    for (const char* argument : arguments) {
        const auto range = console::split_range(argument);
        rounds.assign(range ? range->first : argument);
        const std::int64_t count = range ? *console::range_size(argument, *range) : 1;
        for (std::int64_t i = 0; i < count; ++i) {
            if (i > 0)
                rounds.advance(1);
            print_after();
        }
    }
    return EXIT_SUCCESS;
}

int from_input() {
    console::read_status status;
    while ((status = console::input.read(rounds)) == console::read_status::integer) {
        // A round number that a read error cut short is not the number that
        // was given: it gets no answer, only the error.
        if (console::input.error() != 0) {
            status = console::read_status::error;
            break;
        }
        if (follows && rounds.negative()) {
            console::report("a negative number of rounds runs backwards, and a deal with a "
                            "chosen pile cannot be undone");
            console::output.close();
            return EXIT_FAILURE;
        }
        print_after();
        rounds.clear();
    }
    if (status == console::read_status::error)
        console::fail_reading();
    return EXIT_SUCCESS;
}

// Learns each move's effect on a position, and each deal move's hands.
void learn_moves() {
    const auto moves = round->moves();
    for (std::size_t i = 0; i < moves.size(); ++i) {
        deal::follow_move(moves[i], size, step[i]);
        if (moves[i].kind != deal::move_kind::deal)
            continue;
        dealt[i].deal(moves[i].deal);
        std::fill_n(hand_at[i], size, std::int16_t{-1});
        for (int h = 0; h < dealt[i].count(); ++h) {
            const auto positions = dealt[i].hand(h);
            for (std::size_t j = 0; j < positions.size(); ++j) {
                hand_at[i][positions[j]] = static_cast<std::int16_t>(h);
                place_at[i][positions[j]] = static_cast<std::int16_t>(j);
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-after";
    const console::arguments arguments(argc, argv, command);
    const char* const where = arguments.value(where_option);
    const console::deal_options deal(arguments, false, where != nullptr);
    const auto operands = arguments.operands();
    const auto counts = deal.hand_counts(operands[0]);
    if (!counts)
        return EXIT_FAILURE;
    round = &deal.round(counts->first, deal.cards().first);
    size = round->cards;
    follows = round->follows_card();
    name_moves = round->deal_count() > 1;
    asked.hands = arguments.has(hands_option);
    asked.faces = arguments.has(faces_option);
    if (asked.hands && round->deal_count() == 0) {
        console::report("--hands shows the hands of a deal, and the routine %s deals none",
                        console::quoted(deal.routine_text()).c_str());
        return EXIT_FAILURE;
    }
    if (asked.faces && (where || size > deal::max_playing_cards)) {
        if (where)
            console::report("--faces writes cards as playing cards, and --where C prints a "
                            "position: give one");
        else
            console::report("--faces names the cards of a pack of %d, and the deck holds %d",
                            deal::max_playing_cards, size);
        return EXIT_FAILURE;
    }
    if (where) {
        if (size == 0) {
            console::report("the empty deck holds no card %s", console::quoted(where).c_str());
            return EXIT_FAILURE;
        }
        const auto card = console::card_argument(where, size);
        if (!card)
            return EXIT_FAILURE;
        asked.where = *card;
    }
    const auto round_numbers = operands.subspan(1);
    // Every argument is checked before anything is printed.
    for (const char* argument : round_numbers)
        if (!check_rounds(argument))
            return EXIT_FAILURE;

    learn_moves();
    if (follows) {
        follower.learn(*round);
        follower.start(*asked.where);
        rounds.learn(follower.lengths());
    } else {
        cycles.learn(deal::round_permutation(*round));
        rounds.learn(cycles);
    }
    const int status = round_numbers.empty() ? from_input() : from_arguments(round_numbers);
    console::output.close();
    return status;
}
