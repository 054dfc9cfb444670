// The five options that describe a deal, read the same way by every
// companion: --cards, --packets, --rest, --first-card and --bottom-hand, each
// with deal's own as its default; and the hand count, whose range depends on
// them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "console/arguments.hpp"
#include "deal/description.hpp"
#include "text/integer_text.hpp"

namespace console {

// The deal's options come first in a program's table, at these indices.
enum deal_option_index {
    cards_option,
    packets_option,
    rest_option,
    first_card_option,
    bottom_hand_option,
    deal_option_count
};
inline constexpr option deal_option_table[deal_option_count] = {
    {"cards", 0, "M"},
    {"packets", 0, "LIST"},
    {"rest", 0, "again|top|bottom"},
    {"first-card", 0, "top|bottom"},
    {"bottom-hand", 0, "last|first"},
};

// The deal's options followed by a program's own, whose indices then start
// at deal_option_count.
template <std::size_t N = 0>
constexpr std::array<option, deal_option_count + N> with_deal_options(const option (&own)[N]) {
    std::array<option, deal_option_count + N> all{};
    for (std::size_t i = 0; i < deal_option_count; ++i)
        all[i] = deal_option_table[i];
    for (std::size_t i = 0; i < N; ++i)
        all[deal_option_count + i] = own[i];
    return all;
}
constexpr std::array<option, deal_option_count> with_deal_options() {
    return std::to_array(deal_option_table);
}

// A count or a range of counts, both ends included.
struct count_range {
    std::int64_t first, last;
};

class deal_options {
public:
    // Reads the deal's options among those given. A bad one is reported,
    // and the process ends with status 1. With `cards_ranges`, --cards may
    // be a range.
    deal_options(const arguments& given, bool cards_ranges = false);

    // Whether none of the five was given: deal's own deal, in its own words.
    bool default_deal() const { return !any_given_; }
    bool cards_given() const { return cards_given_; }
    count_range cards() const { return cards_; }

    // The hand count or counts that an operand names, checked: a range only
    // with `ranges`, and no count below `least` (for a program that draws no
    // empty deck). A bad one is reported, and nothing returned.
    std::optional<count_range> hand_counts(const char* argument, bool ranges = false,
                                           std::int64_t least = deal::min_hands) const;
    // The same for a count read from standard input.
    std::optional<std::int32_t> hand_count(const text::integer_text& count) const;

    // The deal of `hands` hands, checked by hand_counts or hand_count, and
    // `cards` cards, one of cards() where --cards was given.
    deal::description describe(std::int64_t hands, std::int64_t cards = 0) const;

private:
    bool check_hands(const text::integer_text& count, std::int64_t least) const;

    deal::description rules_;
    bool any_given_ = false;
    bool cards_given_ = false;
    count_range cards_{0, 0};
};

} // namespace console

// The deal's options in a program's --help, after its own lines.
#define DEAL_OPTIONS_HELP                                                                          \
    "The deal is deal's own (packets 2,2,1) unless these say otherwise:\n"                         \
    "      --cards M       a deck of the cards 0 to M-1, M from 1 to 5050 (default:\n"             \
    "                      every hand's packets, 5 a hand for deal's own)\n"                       \
    "      --packets LIST  the cards each pass gives every hand, one at a time, such\n"            \
    "                      as 1 (a card at a time) or 3,2\n"                                       \
    "      --rest WHAT     again (the passes go round until no card is left), top or\n"            \
    "                      bottom (the cards the passes leave go on top of or under\n"             \
    "                      the gathered hands)\n"                                                  \
    "      --first-card WHERE  top (each hand picked up with its first card on top)\n"             \
    "                      or bottom (dealt face down, the first card at the bottom)\n"            \
    "      --bottom-hand WHICH last (the last hand at the bottom of the deck) or first\n"
