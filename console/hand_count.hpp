#pragma once

#include <cstdint>
#include <optional>

#include "console/integer_text.hpp"

namespace console {

// The hand count that `count` names, if the deck supports it; otherwise
// reports it, with the supported range, on standard error.
std::optional<std::int32_t> supported_hand_count(const integer_text& count);

// The hand count that a command-line argument names, if it is an integer and
// the deck supports it; otherwise reports why not.
std::optional<std::int32_t> hand_count_argument(const char* argument);

} // namespace console
