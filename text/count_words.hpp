// Integers and counts as the programs and the page read them, with their
// faults in the family's words: any integer within a range, and a hand
// count, whose range depends on the deal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "deal/description.hpp"
#include "text/integer_text.hpp"
#include "text/shown.hpp"

namespace text {

// An integer `what` from `least` to `most`: true if `n` is one, else false
// with "WHAT N is outside the supported range LEAST to MOST" in `words`.
bool check_integer(const integer_text& n, const char* what, std::int64_t least, std::int64_t most,
                   char* words, std::size_t room);
// The same from text, which must be an integer: "SHOWN is not an integer WHAT"
// if it is not.
std::optional<std::int64_t> read_integer(std::string_view given, const char* what,
                                         std::int64_t least, std::int64_t most, show_value show,
                                         char* words, std::size_t room);
// A seed, 0 to 2^64 - 1: "SHOWN is not an integer seed" or "seed N is
// outside the supported range 0 to 18446744073709551615" where it is not one.
std::optional<std::uint64_t> read_seed(std::string_view given, show_value show, char* words,
                                       std::size_t room);
// A hand count that the deal `rules` takes (deal's own if `own_deal`, with a
// given deck if `cards_given`), at least `least`: within the deal's limits
// and, without a given deck, with cards enough for every hand.
bool check_hand_count(const integer_text& count, const deal::description& rules, bool own_deal,
                      bool cards_given, std::int64_t least, char* words, std::size_t room);

} // namespace text
