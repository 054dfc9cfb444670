// Hand counts and other integers from the command line or standard input,
// checked against the range the program supports, in the same words for
// every program.
#pragma once

#include <cstdint>
#include <optional>

#include "console/integer_text.hpp"
#include "deal/deck.hpp"

namespace console {

// The value of `number`, if it lies in [least, most]; otherwise reports
// "WHAT N is outside the supported range LEAST to MOST".
std::optional<std::int64_t> in_range(const integer_text& number, const char* what,
                                     std::int64_t least, std::int64_t most);

// The integer that a command-line argument names, if it is one and in
// [least, most]; otherwise reports why not ("'TEXT' is not an integer WHAT").
std::optional<std::int64_t> integer_argument(const char* argument, const char* what,
                                             std::int64_t least, std::int64_t most);

// The hand count that `count` names, if the deck supports it; otherwise
// reports it, with the supported range, on standard error.
std::optional<std::int32_t> supported_hand_count(const integer_text& count);

// The hand count that a command-line argument names, if it is an integer from
// `least` (by default the lowest the deck supports, which gives the empty
// deck) to 1010; otherwise reports why not.
std::optional<std::int32_t> hand_count_argument(const char* argument,
                                                std::int64_t least = deal::min_hands);

} // namespace console
