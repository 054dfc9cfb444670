// deal: shows how one fixed way of dealing a deck into hands of five, and
// gathering it up again, reorders the deck round after round.
//
// Standard input holds the hand count N and then one integer per round, whose
// value does not matter. Before every round the deck of 5N cards is listed,
// bottom to top, each card named by its starting position.

#include <cstdlib>

#include "console/arguments.hpp"
#include "console/listing.hpp"
#include "console/numbers.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "filter/deck.hpp"
#include "filter/round.hpp"
#include "text/listing.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal < INPUT\n"
    "       deal --help | --version\n"
    "Read a hand count N, from 1 to {max_hands}, and then any number of integers from\n"
    "standard input. For each of those integers, whatever its value, print the\n"
    "deck of 5N cards from the bottom up, each card named by the position it\n"
    "started in, and deal it once: from the top into N hands, two cards to every\n"
    "hand, two more, then one, and the hands stacked back, the last at the bottom.\n"
    "Counts of 0 and below give the empty deck, whose listing is an empty line.\n";

// The deck as it stands, one line: only deal reaches its process-wide deck,
// always whole hands of five.
void print_stack() {
    char* out = console::output.reserve(text::listing_room(filter::deck_size()));
    out = text::format_hands(filter::stack, filter::deck_size() / deal::hand_size, out);
    *out++ = '\n';
    console::output.end_line(out);
}

} // namespace

int main(int argc, char** argv) {
    using console::read_status;
    console::program_name = "deal";
    console::no_arguments(argc, argv, usage);

    // As with "%d", a count that cannot be read leaves N at 0, the empty deck.
    text::integer_text count;
    read_status status = console::input.read_integer(count);
    if (status == read_status::integer) {
        const auto hands = console::supported_hand_count(count);
        if (!hands)
            return EXIT_FAILURE;
        filter::N = *hands;
    }
    filter::set_starting_order();

    if (status != read_status::error) {
        while ((status = console::input.skip_integer()) == read_status::integer) {
            print_stack();
            filter::simulate_round();
        }
    }

    if (status == read_status::error)
        console::fail_reading();
    console::output.close();
    return EXIT_SUCCESS;
}
