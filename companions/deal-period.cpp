// deal-period: for each hand count, how many rounds of a deal bring the deck
// back to its starting order.
//
//   deal-period [OPTION...] COUNT...   the counts (or ranges A..B) from the arguments
//   deal-period [OPTION...]            the counts from standard input, read as deal reads

#include <charconv>
#include <cstdlib>

#include "console/arguments.hpp"
#include "console/deal_options.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/routine.hpp"
#include "text/digits.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-period [OPTION...] [COUNT...]\n"
    "       deal-period --help | --version\n"
    "For each hand count COUNT, from 1 to {max_hands} for deal's own deal, print the count\n"
    "and the number of rounds after which a deck dealt into that many hands is\n"
    "first back in its starting order; with --cards, the count, the number of\n"
    "cards and the number of rounds. COUNT and M may be ranges, A..B. Counts of 0\n"
    "and below give the empty deck, whose period is 1. With no COUNT, read the\n"
    "counts from standard input, as deal reads its input. With --routine, COUNT\n"
    "is the number of cards, and each line is the number and the period.\n" DEAL_EXACT_OPTIONS_HELP;

constexpr auto options = console::with_round_options();
constexpr console::command_line command = console::round_command(usage, options, 0, -1);

// Writes one line: "COUNT PERIOD", or "COUNT CARDS PERIOD" with --cards.
void print_period(const console::deal_options& deal, std::int64_t count, std::int64_t cards) {
    const deal::routine round = deal.routine_for(count, cards);
    deal::cycles cycles;
    cycles.learn(deal::round_permutation(round));
    // Each count takes at most 11 bytes.
    char* out = console::output.reserve(32 + text::period_digits);
    out = std::to_chars(out, out + 16, count).ptr;
    *out++ = ' ';
    if (deal.cards_given()) {
        out = std::to_chars(out, out + 16, round.cards).ptr;
        *out++ = ' ';
    }
    out = text::append_period(deal::period(cycles), out);
    *out++ = '\n';
    console::output.end_line(out);
}

void print_periods(const console::deal_options& deal, std::int64_t hands) {
    const auto [first, last] = deal.cards();
    for (std::int64_t cards = first; cards <= last; ++cards)
        print_period(deal, hands, cards);
}

int from_arguments(const console::deal_options& deal, std::span<char* const> counts) {
    // Every argument is checked before any line is printed.
    for (const char* count : counts)
        if (!deal.hand_counts(count, true))
            return EXIT_FAILURE;
    for (const char* count : counts) {
        const auto [first, last] = *deal.hand_counts(count, true);
        for (std::int64_t hands = first; hands <= last; ++hands)
            print_periods(deal, hands);
    }
    return EXIT_SUCCESS;
}

int from_input(const console::deal_options& deal) {
    text::integer_text count;
    console::read_status status;
    while ((status = console::input.read_integer(count)) == console::read_status::integer) {
        const auto hands = deal.hand_count(count);
        if (!hands)
            return EXIT_FAILURE;
        print_periods(deal, *hands);
    }
    if (status == console::read_status::error)
        console::fail_reading();
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-period";
    const console::arguments arguments(argc, argv, command);
    const console::deal_options deal(arguments, true);
    const auto counts = arguments.operands();
    const int status = counts.empty() ? from_input(deal) : from_arguments(deal, counts);
    // Lines already made go out, even when a later count was bad.
    console::output.close();
    return status;
}
