// deal: shows how one fixed way of dealing a deck into hands of five, and
// gathering it up again, reorders the deck round after round.
//
// Standard input holds the hand count N and then one integer per round, whose
// value does not matter. Before every round the deck of 5N cards is listed,
// bottom to top, each card named by its starting position.

#include <cstdlib>

#include "console/hand_count.hpp"
#include "console/listing.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/deck.hpp"
#include "deal/round.hpp"

int main() {
    using console::read_status;
    console::program_name = "deal";

    // As with "%d", a count that cannot be read leaves N at 0, the empty deck.
    console::integer_text count;
    read_status status = console::input.read_integer(count);
    if (status == read_status::integer) {
        const auto hands = console::supported_hand_count(count);
        if (!hands)
            return EXIT_FAILURE;
        deal::N = *hands;
    }
    deal::set_starting_order();

    if (status != read_status::error) {
        while ((status = console::input.skip_integer()) == read_status::integer) {
            console::print_stack();
            deal::simulate_round();
        }
    }

    if (status == read_status::error)
        console::fail_reading();
    console::output.close();
    return EXIT_SUCCESS;
}
