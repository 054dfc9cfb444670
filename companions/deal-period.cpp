// deal-period: for each hand count, how many rounds of deal bring the deck
// back to its starting order.
//
//   deal-period COUNT...     the counts from the arguments
//   deal-period              the counts from standard input, read as deal reads

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "console/hand_count.hpp"
#include "console/options.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/round_count_text.hpp"
#include "console/writer.hpp"
#include "deal/period.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-period [COUNT...]\n"
    "       deal-period --help | --version\n"
    "For each hand count, print the count and the number of rounds of deal\n"
    "after which the deck is first back in its starting order. With no COUNT,\n"
    "read the counts from standard input. Counts run from -429496729 to 1010;\n"
    "a count of 0 or below is the empty deck, whose period is 1.\n";

// Writes one line, "COUNT PERIOD", or reports why it cannot.
bool print_period(std::int32_t hands) {
    const std::optional<deal::round_count> rounds = deal::period(hands);
    if (!rounds) {
        console::report("the period of %d hands does not fit in 128 bits", hands);
        return false;
    }
    char digits[console::round_count_digits];
    const char* const end = digits + sizeof digits;
    const char* const first = console::round_count_text(*rounds, digits + sizeof digits);
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

int from_arguments(int count, char** arguments) {
    // Every argument is checked before any line is printed.
    for (int a = 0; a < count; ++a)
        if (!console::hand_count_argument(arguments[a]))
            return EXIT_FAILURE;
    for (int a = 0; a < count; ++a)
        if (!print_period(*console::hand_count_argument(arguments[a])))
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
    const int first = console::companion_options(argc, argv, usage);
    const int status = first < argc ? from_arguments(argc - first, argv + first) : from_input();
    // Lines already made go out, even when a later count was bad.
    console::output.close();
    return status;
}
