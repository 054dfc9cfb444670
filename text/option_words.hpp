// A deal's options, --packets to --chosen-pile, as every program takes them
// beside --cards and a deal move takes them in a routine: their names, the
// names of their values, and the reader of each, with its faults in the
// family's words.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "deal/description.hpp"
#include "text/shown.hpp"

namespace text {

// The options, in the order the help lists them; the table below follows it.
enum class deal_option : unsigned char {
    packets,
    rest,
    first_card,
    bottom_hand,
    gather,
    chosen_pile,
};
inline constexpr int deal_option_count = 6;
struct option_words {
    deal_option option;
    const char* name;  // without "--"
    const char* value; // the value's name in the help
};
inline constexpr option_words deal_options[deal_option_count] = {
    {deal_option::packets, "packets", "LIST"},
    {deal_option::rest, "rest", "again|top|bottom"},
    {deal_option::first_card, "first-card", "top|bottom"},
    {deal_option::bottom_hand, "bottom-hand", "last|first"},
    {deal_option::gather, "gather", "LIST"},
    {deal_option::chosen_pile, "chosen-pile", "T"},
};
constexpr bool follows_options() {
    for (int i = 0; i < deal_option_count; ++i)
        if (static_cast<int>(deal_options[i].option) != i)
            return false;
    return true;
}
static_assert(follows_options(), "the table of a deal's options follows their enum");

// The options' names for a sentence: "--packets, --rest, ... and --chosen-pile".
// Writes into `out`, of `room` bytes, and returns it.
const char* option_names(char* out, std::size_t room);

// Both --gather and --bottom-hand given, in a deal move or on a command line.
inline constexpr const char* gather_and_bottom_hand =
    "--gather and --bottom-hand both say how the hands are gathered: give one";

// Reads one option's value into `d`; false with the fault in `words`, of
// `room` bytes. Whether a gather order or a chosen pile fits the hand count
// is check_gathering's to say, once the count is known.
bool read_deal_option(deal_option o, std::string_view value, deal::description& d, show_value show,
                      char* words, std::size_t room);

// The one reader of a deal's options, for a program's command line and the
// page's fields alike: each value given (nothing where the option is not),
// in the order of the table, read into `d` in that order, and then --gather
// and --bottom-hand held apart. The option at fault, its fault in `words`,
// or nothing where all read.
using option_values = std::optional<std::string_view>[deal_option_count];
std::optional<deal_option> read_deal_options(const option_values& values, deal::description& d,
                                             show_value show, char* words, std::size_t room);

// The cards of a round whose deck is `deck`, as --deck and the page's Deck
// field give it: a deck that says its size (deck_size) sets the card
// count, where the count is not given. Nothing where the deck does not say
// or the count is given.
std::optional<int> cards_of_deck(std::string_view deck, bool cards_given);

// What deal::check finds wrong with the gathering of `d`, in words; false if
// anything is. The hand count and the deck are checked by their readers.
bool check_gathering(const deal::description& d, show_value show, char* words, std::size_t room);

} // namespace text
