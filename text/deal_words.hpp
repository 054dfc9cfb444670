// The words of a deal: the values its options take, as the command line and
// the page both read and write them, and the faults they find in the same
// words wherever they are shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "deal/description.hpp"

namespace text {

// One of the options whose value is one of a few names.
struct choice {
    const char* option; // the long option's name, without "--"
    // What a bad value is not, for "'VALUE' is not WHAT: NAMES"
    const char* what;
    std::span<const char* const> names; // the default first
};

inline constexpr const char* rest_names[] = {"again", "top", "bottom"};
inline constexpr const char* first_card_names[] = {"top", "bottom"};
inline constexpr const char* bottom_hand_names[] = {"last", "first"};
inline constexpr choice rest_choice{"rest", "a way to deal the rest", rest_names};
inline constexpr choice first_card_choice{"first-card", "where a hand's first card lies",
                                          first_card_names};
inline constexpr choice bottom_hand_choice{"bottom-hand", "the hand to put at the bottom",
                                           bottom_hand_names};

// The index of `name` among the choice's names, if it is one.
std::optional<int> named(const choice& c, std::string_view name);

// A list of integers separated by commas, such as packets or a gathering
// order, read into `values`: each from `least` to `most` (leading zeros
// allowed), at most `most_count` of them. On a fault, the first one met:
// an empty list or item, or anything but digits and commas; a value, kept in
// `value`, out of range; one item too many.
struct list_reading {
    enum fault_kind : unsigned char { none, syntax, out_of_range, too_many } fault = none;
    std::int64_t value = 0;
};
list_reading read_list(std::string_view list, std::int64_t least, std::int64_t most,
                       std::size_t most_count, std::vector<std::int32_t>& values);

// What a packet list reads as, if anything is wrong with it.
struct packets_reading {
    enum fault_kind : unsigned char {
        none,
        syntax,       // empty, or not positive integers separated by commas
        out_of_range, // a packet, `packet`, below 1 or above max_packet
        too_many,     // more than max_packets
    } fault = none;
    std::int64_t packet = 0;
};

// Reads "2,2,1" into `d`'s packets, which stay as they were on a fault.
packets_reading read_packets(std::string_view list, deal::description& d);

// The messages that a deal's faults give, the same from a program and on the
// page: each writes into `out`, of `room` bytes, and returns its end. `shown`
// is the value as the caller shows it, quotes and all.

// "WHAT N is outside the supported range LEAST to MOST"
char* range_words(char* out, std::size_t room, const char* what, const char* shown,
                  std::int64_t least, std::int64_t most);
// "SHOWN is not an integer WHAT"
char* not_integer_words(char* out, std::size_t room, const char* shown, const char* what);
// "SHOWN is not WHAT: NAMES"
char* choice_words(char* out, std::size_t room, const choice& c, const char* shown);
// What read_packets found wrong with the list `shown`.
char* packets_words(char* out, std::size_t room, const packets_reading& reading, const char* shown);
// "H hands of packets LIST take N cards, more than the 5050 a deck can hold"
char* too_many_cards_words(char* out, std::size_t room, std::int64_t hands,
                           const deal::description& rules);
// Room for any of them, with a shown value of up to 1100 bytes.
inline constexpr std::size_t words_room = 1400;

// The options that set `d` apart from deal's own, as a command line gives
// them ("--packets 1 --first-card bottom"), with --cards if `with_cards`;
// empty for deal's own. Returns the end of what it wrote, at most `room`
// bytes less the NUL it puts there.
char* options_text(const deal::description& d, bool with_cards, char* out, std::size_t room);

// The same in words, for a caption ("packets 1, each hand's first card at its
// bottom"); empty for deal's own rules.
char* rules_text(const deal::description& d, char* out, std::size_t room);

// The most bytes either text takes: every packet of the longest list, and
// every hand of the longest gathering order.
inline constexpr std::size_t rules_room = 200 + 5 * deal::max_packets + 5 * deal::max_deal_hands;

} // namespace text
