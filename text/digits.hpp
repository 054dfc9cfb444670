// A period as decimal text: every digit, however many the deal needs.
#pragma once

#include <cstddef>

#include "deal/period.hpp"

namespace text {

// The most digits a period has: 384 bits, times log10(2), rounded up.
inline constexpr std::size_t period_digits = 116;

// Writes the digits of `p` ending just before `end` and returns where they
// begin; the room before `end` must hold period_digits bytes.
char* period_text(const deal::period& p, char* end);

// The same digits written at `out`, which must have period_digits bytes;
// returns their end.
char* append_period(const deal::period& p, char* out);

} // namespace text
