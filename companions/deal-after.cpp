// deal-after: the deck after any number of rounds, at once, in deal's own
// listing format.
//
//   deal-after COUNT ROUNDS...   one listing for each ROUNDS argument
//   deal-after COUNT             the round numbers from standard input

#include <cstdlib>
#include <cstring>

#include "console/hand_count.hpp"
#include "console/integer_text.hpp"
#include "console/listing.hpp"
#include "console/options.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "deal/rounds_modulo.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-after COUNT [ROUNDS...]\n"
    "       deal-after --help | --version\n"
    "For each ROUNDS, print the deck of COUNT hands as deal lists it after that\n"
    "many rounds. ROUNDS is an integer of any length; a negative one runs the\n"
    "deal backwards. With COUNT alone, read the round numbers from standard\n"
    "input, as deal reads its input. Counts run from -429496729 to 1010.\n";

deal::round_cycles cycles;

void print_after(const deal::rounds_modulo& rounds) {
    cycles.jump(rounds.rounds());
    console::print_stack();
}

int from_arguments(deal::rounds_modulo& rounds, int count, char** arguments) {
    for (int a = 0; a < count; ++a) {
        const char* argument = arguments[a];
        rounds.clear();
        if (*argument == '+' || *argument == '-')
            rounds.sign(*argument++);
        rounds.digits(argument, argument + std::strlen(argument));
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
    const int first = console::companion_options(argc, argv, usage);
    if (first >= argc)
        console::usage_error(usage);
    const auto hands = console::hand_count_argument(argv[first]);
    if (!hands)
        return EXIT_FAILURE;
    // Every argument is checked before any line is printed.
    for (int a = first + 1; a < argc; ++a) {
        console::integer_text text;
        if (!console::parse_integer(argv[a], text)) {
            console::report_not_integer(argv[a], "number of rounds");
            return EXIT_FAILURE;
        }
    }

    cycles.learn(*hands);
    // Every supported deck's period fits, with room to spare.
    deal::rounds_modulo rounds{*cycles.period()};
    const int status = first + 1 < argc ? from_arguments(rounds, argc - first - 1, argv + first + 1)
                                        : from_input(rounds);
    console::output.close();
    return status;
}
