// deal-period: for each hand count, how many rounds of deal bring the deck
// back to its starting order.
//
//   deal-period COUNT...     the counts from the arguments
//   deal-period              the counts from standard input, read as deal reads

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "console/arguments.hpp"
#include "console/hand_count.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/round_count_text.hpp"
#include "console/writer.hpp"
#include "deal/period.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-period [COUNT...]\n"
    "       deal-period --help | --version\n"
    "For each hand count COUNT, from 1 to 1010, print the count and the number of\n"
    "rounds of deal after which a deck of that many hands is first back in its\n"
    "starting order. Counts of 0 and below give the empty deck, whose period is 1.\n"
    "With no COUNT, read the counts from standard input, as deal reads its input.\n";

constexpr console::command_line command{usage, {}, 0, -1, "hand count"};

// Writes one line, "COUNT PERIOD", or reports why it cannot.
bool print_period(std::int32_t hands) {
    const std::optional<deal::round_count> rounds = deal::period(hands);
    if (!rounds) {
        console::report("the period of %d hands does not fit in 128 bits", hands);
        return false;
    }
    char digits[console::round_count_digits];
    char* const end = digits + sizeof digits;
    const char* const first = console::round_count_text(*rounds, end);
    const auto length = static_cast<std::size_t>(end - first);
    // The hand count takes at most 11 bytes.
    char* out = console::output.reserve(16 + sizeof digits);
    out = std::to_chars(out, out + 16, hands).ptr;
    *out++ = ' ';
    std::memcpy(out, first, length);
    out[length] = '\n';
    console::output.end_line(out + length + 1);
    return true;
}

int from_arguments(std::span<char* const> counts) {
    // Every argument is checked before any line is printed.
    for (const char* count : counts)
        if (!console::hand_count_argument(count))
            return EXIT_FAILURE;
    for (const char* count : counts)
        if (!print_period(*console::hand_count_argument(count)))
            return EXIT_FAILURE;
    return EXIT_SUCCESS;
}

int from_input() {
    console::integer_text text;
    console::read_status status;
    while ((status = console::input.read_integer(text)) == console::read_status::integer) {
        const auto supported = console::supported_hand_count(text);
        if (!supported || !print_period(*supported))
            return EXIT_FAILURE;
    }
    if (status == console::read_status::error)
        console::fail_reading();
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-period";
    const console::arguments arguments(argc, argv, command);
    const auto counts = arguments.operands();
    const int status = counts.empty() ? from_input() : from_arguments(counts);
    // Lines already made go out, even when a later count was bad.
    console::output.close();
    return status;
}
