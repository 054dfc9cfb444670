// The explorer page's view of the core: the same deck, round, cycles, period
// and listing as the command-line programs, behind a C interface that the
// page's script calls. Everything lives in fixed storage, as in the programs;
// the script reads the results straight out of the module's memory.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <emscripten/emscripten.h>
#include <limits>
#include <optional>

#include "colors/colormap.hpp"
#include "deal/cycles.hpp"
#include "deal/description.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "text/digits.hpp"
#include "text/integer_text.hpp"
#include "text/listing.hpp"
#include "web/cells.hpp"

namespace {

// A round number is typed, kept in the address bar and shown whole; beyond
// this many digits it stops being something a person reads or shares.
constexpr std::size_t max_round_digits = 1000;
// Rows the page may ask for at once: more than any window has room for.
constexpr int max_rows = 512;

// What the script writes its text into: a hand count or a round number.
char typed[max_round_digits + 8];

deal::description described;
deal::permutation round;
deal::cycles cycles;
deal::period period;
char period_digits[text::period_digits + 1];
const char* period_text = "1";

// For every position: its cycle, the length of that cycle, and where its card
// goes in one round.
std::int32_t cycle_of[deal::max_cards];
std::int32_t cycle_length[deal::max_cards];
std::int32_t goes_to[deal::max_cards];
// How many cycles there are of each length, as (length, count) pairs in
// ascending order of length.
std::int32_t census[2 * deal::max_cards];
int census_pairs = 0;

// Colors as the canvas stores them, RGBA bytes in memory order: each card by
// its starting position, as deal-picture colors it, and by its cycle.
std::uint32_t by_position[deal::max_cards];
std::uint32_t by_cycle[deal::max_cards];

deal::round_number shown; // the round shown
deal::card rows[max_rows][deal::max_cards];
char listing[text::listing_room_max];

// The colors the cells are drawn in, which the script sets (faded where a
// cycle is picked out), and a line of pixels for every row.
std::uint32_t palette[deal::max_cards];
web::cell_lines cells;
std::uint32_t cell_pixels[max_rows * web::cell_lines::max_width];

// A color as the canvas stores it: RGBA bytes in memory order.
std::uint32_t rgba(colors::color c) {
    const std::uint32_t rgb = colors::rgb(c);
    return (rgb >> 16 & 0xff) | (rgb & 0xff00) | (rgb & 0xff) << 16 | 0xffu << 24;
}

void learn_colors(int size) {
    for (int c = 0; c < size; ++c)
        by_position[c] = rgba(colors::card_color(c, size));
    int moving = 0;
    std::uint32_t color_of_cycle[deal::max_cards];
    for (int i = 0; i < cycles.count(); ++i)
        color_of_cycle[i] =
            rgba(cycles.cycle(i).size() == 1 ? colors::fixed_card_color
                                             : colors::moving_cycle_color(moving++));
    for (int c = 0; c < size; ++c)
        by_cycle[c] = color_of_cycle[cycle_of[c]];
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE char* explorer_text() {
    return typed;
}
EMSCRIPTEN_KEEPALIVE int explorer_text_capacity() {
    return static_cast<int>(sizeof typed);
}
EMSCRIPTEN_KEEPALIVE int explorer_max_hands() {
    return deal::max_hands;
}
// Rows are this many cards apart in memory.
EMSCRIPTEN_KEEPALIVE int explorer_row_stride() {
    return deal::max_cards;
}
EMSCRIPTEN_KEEPALIVE int explorer_max_round_digits() {
    return static_cast<int>(max_round_digits);
}
EMSCRIPTEN_KEEPALIVE int explorer_max_rows() {
    return max_rows;
}

// The hand count in the text (`length` bytes written, which may be more than
// the text holds): the count, from 1 to 1010; -1 if it is no integer, -2 if it
// is out of that range. The page draws no empty deck.
EMSCRIPTEN_KEEPALIVE int explorer_parse_hands(int length) {
    const std::size_t size =
        std::min(static_cast<std::size_t>(std::max(length, 0)), sizeof typed - 1);
    text::integer_text count;
    if (!text::parse_integer({typed, size}, count))
        return -1;
    return count.value() >= 1 && count.value() <= deal::max_hands &&
                   static_cast<std::size_t>(length) == size
               ? static_cast<int>(count.value())
               : -2;
}

// Learns the round of `hands` hands: its cycles, period and colors.
EMSCRIPTEN_KEEPALIVE void explorer_learn(int hands) {
    described = deal::default_deal(hands);
    round = deal::permutation(described);
    cycles.learn(round);
    period = deal::period(cycles);
    shown.learn(cycles);
    period_digits[text::period_digits] = '\0';
    period_text = text::period_text(period, period_digits + text::period_digits);

    const int size = described.cards;
    int lengths[deal::max_cards + 1] = {};
    for (int i = 0; i < cycles.count(); ++i) {
        const auto cycle = cycles.cycle(i);
        const auto length = static_cast<std::int32_t>(cycle.size());
        ++lengths[length];
        for (std::size_t j = 0; j < cycle.size(); ++j) {
            cycle_of[cycle[j]] = i;
            cycle_length[cycle[j]] = length;
            goes_to[cycle[j]] = cycle[(j + 1) % cycle.size()];
        }
    }
    census_pairs = 0;
    for (int length = 1; length <= size; ++length) {
        if (lengths[length] != 0) {
            census[2 * census_pairs] = length;
            census[2 * census_pairs + 1] = lengths[length];
            ++census_pairs;
        }
    }
    learn_colors(size);
}

EMSCRIPTEN_KEEPALIVE const char* explorer_period() {
    return period_text;
}
// The period, where it is below 2^31; else 0.
EMSCRIPTEN_KEEPALIVE int explorer_small_period() {
    const auto small = period.small();
    return small && *small <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
               ? static_cast<int>(*small)
               : 0;
}
EMSCRIPTEN_KEEPALIVE int explorer_census_pairs() {
    return census_pairs;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_census() {
    return census;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_cycle_of() {
    return cycle_of;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_cycle_length() {
    return cycle_length;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_goes_to() {
    return goes_to;
}
EMSCRIPTEN_KEEPALIVE const std::uint32_t* explorer_colors(int by_cycles) {
    return by_cycles ? by_cycle : by_position;
}

// Takes the round number in the text, as deal-after takes it: an optional
// sign, then digits, at most max_round_digits of them. 0 if taken; -1 if it is
// no integer; -2 if it has too many digits.
EMSCRIPTEN_KEEPALIVE int explorer_parse_round(int length) {
    if (length < 0)
        return -1;
    const std::size_t size = static_cast<std::size_t>(length);
    const std::size_t signed_ = size > 0 && (typed[0] == '+' || typed[0] == '-');
    if (size - signed_ > max_round_digits)
        return -2;
    const std::string_view number{typed, size};
    text::integer_text checked;
    if (!text::parse_integer(number, checked))
        return -1;
    shown.assign(number);
    return 0;
}

// The deck at the round taken and `count` rounds after it, one row each, from
// the bottom of the deck; the first row's listing in explorer_listing().
// Returns the first row that is the starting order, or -1 if none is.
EMSCRIPTEN_KEEPALIVE int explorer_rows(int count) {
    count = std::clamp(count, 1, max_rows);
    cycles.jump(shown, rows[0]);
    const int size = described.cards;
    text::format_listing(rows[0], size, listing)[-1] = '\0'; // the newline
    for (int row = 1; row < count; ++row)
        round.apply(rows[row - 1], rows[row]);
    return static_cast<int>(shown.rounds_to_start(count));
}

EMSCRIPTEN_KEEPALIVE const deal::card* explorer_row(int row) {
    return rows[row];
}

// The first row's listing, as deal-after prints it, less the newline.
EMSCRIPTEN_KEEPALIVE const char* explorer_listing() {
    return listing;
}

EMSCRIPTEN_KEEPALIVE std::uint32_t* explorer_palette() {
    return palette;
}

// A line of `width` pixels for each of the first `count` rows made by
// explorer_rows, in the palette's colors; what the rows look like at `width`.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* explorer_cell_lines(int count, int width) {
    count = std::clamp(count, 1, max_rows);
    width = std::clamp(width, 1, web::cell_lines::max_width);
    cells.fit(described.cards, width);
    for (int row = 0; row < count; ++row)
        cells.draw(rows[row], palette, cell_pixels + row * width);
    return cell_pixels;
}

} // extern "C"
