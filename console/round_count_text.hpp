// A number of rounds, up to 128 bits, as decimal text: every digit, as the
// period of a wide deck needs.
#pragma once

#include <cstddef>

#include "deal/period.hpp"

namespace console {

// The most digits a 128-bit count has.
inline constexpr std::size_t round_count_digits = 39;

// Writes the digits of `n` ending just before `end` and returns where they
// begin; the room before `end` must hold round_count_digits bytes.
char* round_count_text(deal::round_count n, char* end);

} // namespace console
