// deal-cycles: which positions travel together. Prints the cycles of one
// round, one line each: its length, a colon, then the positions that a card
// passes through one round apart, from the cycle's lowest position.

#include <charconv>
#include <cstdlib>

#include "console/arguments.hpp"
#include "console/hand_count.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-cycles COUNT\n"
    "       deal-cycles --help | --version\n"
    "Print the cycles of one round of deal for a deck of COUNT hands, from 1 to\n"
    "1010, one line each: the cycle's length, a colon, then the positions that a\n"
    "card passes through one round apart, from the cycle's lowest position. The\n"
    "least common multiple of the lengths is the period. Counts of 0 and below\n"
    "give the empty deck, which has no cycle: nothing is printed.\n";

constexpr console::command_line command{usage, {}, 1, 1, "hand count"};

deal::round_cycles cycles;

// The longest line: a length and a colon, then up to every position of the
// largest deck, each a blank and at most four digits, then the newline.
constexpr std::size_t line_room = 8 + 5 * deal::deck_capacity + 1;
static_assert(line_room <= console::writer::capacity);

void print_cycle(std::span<const deal::card> cycle) {
    char* out = console::output.reserve(line_room);
    out = std::to_chars(out, out + 8, cycle.size()).ptr;
    *out++ = ':';
    for (const deal::card p : cycle) {
        *out++ = ' ';
        out = std::to_chars(out, out + 4, p).ptr;
    }
    *out++ = '\n';
    console::output.end_line(out);
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-cycles";
    const console::arguments arguments(argc, argv, command);
    const auto hands = console::hand_count_argument(arguments.operands()[0]);
    if (!hands)
        return EXIT_FAILURE;
    cycles.learn(*hands);
    for (int i = 0; i < cycles.count(); ++i)
        print_cycle(cycles.cycle(i));
    console::output.close();
    return EXIT_SUCCESS;
}
