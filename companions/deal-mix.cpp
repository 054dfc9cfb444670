// deal-mix: how many riffle shuffles mix a deck. For each number of riffles
// from 1 to K (or A to B), the total variation distance between the deck
// after them and a uniformly random deck, and the separation distance,
// exactly rounded; or, with --cutoff, the fewest riffles that bring the
// first, or with --separation the second, under one half. A riffle may cut
// the deck into more packets than two.

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/arguments.hpp"
#include "console/numbers.hpp"
#include "console/ranges.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/limits.hpp"
#include "exact/mixing.hpp"
#include "text/integer_text.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-mix [--shuffles K|A..B] [--digits D] [--riffle A] CARDS\n"
    "       deal-mix --cutoff [--separation] [--riffle A] CARDS\n"
    "       deal-mix --help | --version\n"
    "For a deck of CARDS cards, from 1 to {max_cards}, riffled K times, print for each\n"
    "number of riffles k from 1 to K one line: k, the total variation distance\n"
    "between the deck and a uniformly random one, and the separation distance,\n"
    "each with D decimals, exactly rounded. A riffle cuts the deck after a\n"
    "binomial count of cards and drops cards from the bottoms of the two\n"
    "packets, each with chance proportional to the cards it still holds. CARDS\n"
    "may be a range A..B, or sizes and ranges separated by commas, such as\n"
    "52,104 or 50..53,104; every line then starts with the deck's size.\n"
    "      --shuffles K    the most riffles, 1 to {max_shuffles}; 10 without it; or a\n"
    "                      range A..B from 0, a line for each k from A to B\n"
    "      --digits D      the decimals, 0 to {max_chance_digits}; 3 without it\n"
    "      --riffle A      each riffle cuts the deck into A packets, 2 to\n"
    "                      {max_riffle_packets}, as the move riffle A: each card falls into one "
    "of\n"
    "                      them, each equally likely, and the cards are dropped\n"
    "                      from all A alike; 2 without it\n"
    "      --cutoff        print instead the fewest riffles that bring the total\n"
    "                      variation distance under 1/2\n"
    "      --separation    with --cutoff, the fewest that bring the separation\n"
    "                      distance under 1/2\n";

enum own_option { shuffles_option, digits_option, cutoff_option, riffle_option, separation_option };
constexpr console::option options[] = {{"shuffles", 0, "K"},
                                       {"digits", 0, "D"},
                                       {"cutoff", 0, nullptr},
                                       {"riffle", 0, "A"},
                                       {"separation", 0, nullptr}};
constexpr console::command_line command{usage, options, 1, 1, "card count"};

// What the command line asks, read and checked.
struct request {
    bool cutoff = false, separation = false;
    int first_shuffles = 1, shuffles = 10, digits = 3, packets = 2;
    std::vector<console::count_range> sizes;
    // One size alone is written bare; several, each line led by its size.
    bool one = false;
};

// --cutoff, --shuffles, --digits and CARDS; nothing after a report.
std::optional<request> read_request(const console::arguments& arguments) {
    request r;
    r.cutoff = arguments.has(cutoff_option);
    if (r.cutoff && (arguments.has(shuffles_option) || arguments.has(digits_option))) {
        console::report("--cutoff prints a number of riffles: it takes no --shuffles or --digits");
        return std::nullopt;
    }
    r.separation = arguments.has(separation_option);
    if (r.separation && !r.cutoff) {
        console::report("--separation chooses the distance of --cutoff: give --cutoff too");
        return std::nullopt;
    }
    if (const char* shuffles = arguments.value(shuffles_option)) {
        // K alone is 1 to K, as ever; a range may start at no riffle at all.
        const bool range = console::split_range(shuffles).has_value();
        const std::int64_t least = range ? 0 : 1;
        const auto given = console::read_counts(
            shuffles, true, "riffle count", [least](const text::integer_text& count) {
                return console::in_range(count, "riffle count", least, deal::max_shuffles)
                    .has_value();
            });
        if (!given)
            return std::nullopt;
        r.first_shuffles = range ? static_cast<int>(given->first) : 1;
        r.shuffles = static_cast<int>(given->last);
    }
    if (const char* packets = arguments.value(riffle_option)) {
        const auto given =
            console::integer_argument(packets, "packet count", 2, deal::max_riffle_packets);
        if (!given)
            return std::nullopt;
        r.packets = static_cast<int>(*given);
    }
    if (const char* digits = arguments.value(digits_option)) {
        const auto given =
            console::integer_argument(digits, "decimal count", 0, deal::max_chance_digits);
        if (!given)
            return std::nullopt;
        r.digits = static_cast<int>(*given);
    }
    const char* const operand = arguments.operands()[0];
    auto sizes = console::read_count_list(operand, "card count", 1, deal::max_cards);
    if (!sizes)
        return std::nullopt;
    r.sizes = std::move(*sizes);
    r.one = r.sizes.size() == 1 && !console::split_range(operand);
    return r;
}

// The fewest riffles that bring the total variation distance under one
// half, sought from `known`, the last deck's cutoff: the distance falls with
// every riffle, and the cutoff moves little from one deck size to the next.
int cutoff(const exact::riffles& law, int known, bool separation) {
    const auto under = [&](int k) {
        return separation ? law.separation_under_half(k) : law.under_half(k);
    };
    int k = known;
    if (under(k))
        while (k > 0 && under(k - 1))
            --k;
    else
        while (!under(++k)) {
        }
    return k;
}

// A line for each deck size asked, or for each riffle of each.
int run(const request& r) {
    int known = 0; // the last deck's cutoff, where the next one's is sought
    for (const auto [first, last] : r.sizes) {
        exact::riffles law(static_cast<int>(first), r.packets);
        for (auto cards = static_cast<int>(first);; law.grow(), ++cards) {
            const std::string size = r.one ? std::string() : std::to_string(cards) + ' ';
            if (r.cutoff) {
                known = cutoff(law, known, r.separation);
                console::output.write(size + std::to_string(known) + '\n');
            } else {
                for (int k = r.first_shuffles; k <= r.shuffles; ++k)
                    console::output.write(size + std::to_string(k) + ' ' +
                                          law.total_variation(k, r.digits) + ' ' +
                                          law.separation(k, r.digits) + '\n');
            }
            if (cards == last)
                break;
        }
    }
    console::output.close();
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-mix";
    const console::arguments arguments(argc, argv, command);
    const std::optional<request> r = read_request(arguments);
    if (!r)
        return EXIT_FAILURE;
    return run(*r);
}
