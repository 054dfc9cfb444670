// Ranges on the command line: "A..B", both ends included, A <= B, at most a
// million values, where a program takes a range; any integer text for each
// end, so that round numbers far past 64 bits make ranges too.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace console {

inline constexpr std::int64_t max_range_values = 1'000'000;

// "A..B" split at its first "..", or nothing if `argument` holds none.
struct range_text {
    std::string_view first, last;
};
std::optional<range_text> split_range(std::string_view argument);

// b - a, for integers written as an optional sign and digits, of any length;
// clamped to plus or minus 2^62 where it is larger than that.
std::int64_t difference(std::string_view b, std::string_view a);

// How many values the range holds, checked: between 1 and
// max_range_values, or a report naming the range and nothing.
std::optional<std::int64_t> range_size(std::string_view argument, const range_text& range);

} // namespace console
