// Integers from the command line or standard input, checked against the
// range a program supports, in the same words for every program.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "deal/limits.hpp"
#include "deal/start.hpp"
#include "text/integer_text.hpp"

namespace console {

// The value of `number`, if it lies in [least, most]; otherwise reports
// "WHAT N is outside the supported range LEAST to MOST".
std::optional<std::int64_t> in_range(const text::integer_text& number, const char* what,
                                     std::int64_t least, std::int64_t most);

// The integer that a command-line argument names, if it is one and in
// [least, most]; otherwise reports why not ("'TEXT' is not an integer WHAT").
std::optional<std::int64_t> integer_argument(const char* argument, const char* what,
                                             std::int64_t least, std::int64_t most);

// A card, given as its number or, on a deck of at most 52 cards, the name
// of the card it shows (AS, 10d, Q♥), in the deck `start`; otherwise
// reports why not.
std::optional<int> card_argument(const char* argument, const deal::start& start);
// Cards separated by commas, each as card_argument takes it.
std::optional<std::vector<int>> card_list_argument(const char* argument, const deal::start& start);

// The hand count that `count` names, if deal's own deck supports it;
// otherwise reports it, with the supported range, on standard error.
std::optional<std::int32_t> supported_hand_count(const text::integer_text& count);

} // namespace console
