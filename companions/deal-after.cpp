// deal-after: the deck after any number of rounds, at once, in deal's own
// listing format.
//
//   deal-after COUNT ROUNDS...   one listing for each ROUNDS argument
//   deal-after COUNT             the round numbers from standard input

#include <cstdlib>

#include "console/arguments.hpp"
#include "console/hand_count.hpp"
#include "console/integer_text.hpp"
#include "console/listing.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "deal/rounds_modulo.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-after COUNT [ROUNDS...]\n"
    "       deal-after --help | --version\n"
    "For each ROUNDS, print the deck of COUNT hands, from 1 to 1010, as deal lists\n"
    "it after that many rounds. ROUNDS is an integer of any length; a negative one\n"
    "runs the deal backwards. With COUNT alone, read the round numbers from\n"
    "standard input, as deal reads its input. Counts of 0 and below give the empty\n"
    "deck, whose listing is an empty line.\n";

constexpr console::command_line command{usage, {}, 1, -1, "hand count"};

deal::round_cycles cycles;

void print_after(const deal::rounds_modulo& rounds) {
    cycles.jump(rounds.rounds());
    console::print_stack();
}

int from_arguments(deal::rounds_modulo& rounds, std::span<char* const> arguments) {
    for (const char* argument : arguments) {
        rounds.assign(argument);
        print_after(rounds);
    }
    return EXIT_SUCCESS;
}

int from_input(deal::rounds_modulo& rounds) {
    console::read_status status;
    while ((status = console::input.read(rounds)) == console::read_status::integer) {
        // A round number that a read error cut short is not the number that
        // was given: it gets no listing, only the error.
        if (console::input.error() != 0) {
            status = console::read_status::error;
            break;
        }
        print_after(rounds);
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
    const auto operands = arguments.operands();
    const auto hands = console::hand_count_argument(operands[0]);
    if (!hands)
        return EXIT_FAILURE;
    const auto round_numbers = operands.subspan(1);
    // Every argument is checked before any line is printed.
    for (const char* argument : round_numbers) {
        console::integer_text text;
        if (!console::parse_integer(argument, text)) {
            console::report_not_integer(argument, "number of rounds");
            return EXIT_FAILURE;
        }
    }

    cycles.learn(*hands);
    // Every supported deck's period fits, with room to spare.
    deal::rounds_modulo rounds{*cycles.period()};
    const int status =
        round_numbers.empty() ? from_input(rounds) : from_arguments(rounds, round_numbers);
    console::output.close();
    return status;
}
