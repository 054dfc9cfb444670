// deal-after: the deck after any number of rounds, at once, in deal's own
// listing format; or the hands that dealing it then gives; or where one card
// is.
//
//   deal-after [OPTION...] COUNT ROUNDS...   one answer for each ROUNDS (or range A..B)
//   deal-after [OPTION...] COUNT             the round numbers from standard input

#include <algorithm>
#include <charconv>
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
#include "deal/hands.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "text/listing.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-after [OPTION...] COUNT [ROUNDS...]\n"
    "       deal-after --help | --version\n"
    "For each ROUNDS, print the deck of COUNT hands, from 1 to 1010 for deal's own\n"
    "deal, as deal lists it after that many rounds. ROUNDS is an integer of any\n"
    "length, or a range A..B of them; a negative one runs the deal backwards. With\n"
    "COUNT alone, read the round numbers from standard input, as deal reads its\n"
    "input. Counts of 0 and below give the empty deck, whose listing is an empty\n"
    "line.\n"
    "      --hands         print instead the hands that dealing that deck gives: a\n"
    "                      line per hand, hand 0 first, its cards in the order it\n"
    "                      receives them; an empty line between two rounds' hands\n"
    "      --where C       print instead the position of card C; with --hands, the\n"
    "                      hand it is dealt to and its place there, from 0, or\n"
    "                      \"stock\" where it is not dealt\n" DEAL_OPTIONS_HELP;

enum own_option { hands_option = console::deal_option_count, where_option };
constexpr console::option own[] = {{"hands", 0, nullptr}, {"where", 0, "C"}};
constexpr auto options = console::with_deal_options(own);
constexpr console::command_line command{usage, options, 1, -1, "hand count"};

deal::description described;
deal::hands dealt;
deal::cycles cycles;
deal::round_number rounds;
deal::card deck[deal::max_cards];

struct answer {
    bool hands = false;
    std::optional<int> where;
};
answer asked;
bool first_round = true;

// The hand each position is dealt to and its place there, or -1 for the stock.
std::int16_t hand_at[deal::max_cards];
std::int16_t place_at[deal::max_cards];

void print_number(int n) {
    char* out = console::output.reserve(16);
    out = std::to_chars(out, out + 12, n).ptr;
    *out++ = '\n';
    console::output.end_line(out);
}

void print_hands() {
    if (!std::exchange(first_round, false)) {
        char* out = console::output.reserve(1);
        *out++ = '\n';
        console::output.end_line(out);
    }
    deal::card hand[deal::max_cards];
    for (int h = 0; h < dealt.count(); ++h) {
        const auto positions = dealt.hand(h);
        for (std::size_t i = 0; i < positions.size(); ++i)
            hand[i] = deck[positions[i]];
        console::print_listing(hand, static_cast<int>(positions.size()));
    }
}

void print_after() {
    if (asked.where) {
        const std::size_t length = cycles.cycle(cycles.cycle_of(*asked.where)).size();
        const int p = cycles.after(*asked.where, rounds.modulo(length));
        if (!asked.hands) {
            print_number(p);
        } else if (hand_at[p] < 0) {
            char* out = console::output.reserve(8);
            out = std::copy_n("stock\n", 6, out);
            console::output.end_line(out);
        } else {
            char* out = console::output.reserve(32);
            out = std::to_chars(out, out + 12, hand_at[p]).ptr;
            *out++ = ' ';
            out = std::to_chars(out, out + 12, place_at[p]).ptr;
            *out++ = '\n';
            console::output.end_line(out);
        }
        return;
    }
    cycles.jump(rounds, deck);
    if (asked.hands)
        print_hands();
    else
        console::print_listing(deck, described.cards);
}

// A round number, or a range of them; false, after a report, if it is neither.
bool check_rounds(const char* argument) {
    const auto range = console::split_range(argument);
    text::integer_text checked;
    const bool integers = range ? text::parse_integer(range->first, checked) &&
                                      text::parse_integer(range->last, checked)
                                : text::parse_integer(argument, checked);
    if (!integers) {
        console::report_not_integer(argument, "number of rounds");
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
        print_after();
        rounds.clear();
    }
    if (status == console::read_status::error)
        console::fail_reading();
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-after";
    const console::arguments arguments(argc, argv, command);
    const console::deal_options deal(arguments);
    const auto operands = arguments.operands();
    const auto hands = deal.hand_counts(operands[0]);
    if (!hands)
        return EXIT_FAILURE;
    described = deal.describe(hands->first, deal.cards().first);
    asked.hands = arguments.has(hands_option);
    const char* const where = arguments.value(where_option);
    if (where) {
        if (described.cards == 0) {
            console::report("the empty deck holds no card %s", console::quoted(where).c_str());
            return EXIT_FAILURE;
        }
        const auto card = console::integer_argument(where, "card", 0, described.cards - 1);
        if (!card)
            return EXIT_FAILURE;
        asked.where = static_cast<int>(*card);
    }
    const auto round_numbers = operands.subspan(1);
    // Every argument is checked before anything is printed.
    for (const char* argument : round_numbers)
        if (!check_rounds(argument))
            return EXIT_FAILURE;

    dealt.deal(described);
    cycles.learn(deal::permutation(described, dealt));
    rounds.learn(cycles);
    std::fill_n(hand_at, described.cards, std::int16_t{-1});
    for (int h = 0; h < dealt.count(); ++h) {
        const auto positions = dealt.hand(h);
        for (std::size_t i = 0; i < positions.size(); ++i) {
            hand_at[positions[i]] = static_cast<std::int16_t>(h);
            place_at[positions[i]] = static_cast<std::int16_t>(i);
        }
    }
    const int status = round_numbers.empty() ? from_input() : from_arguments(round_numbers);
    console::output.close();
    return status;
}
