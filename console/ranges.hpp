// Ranges on the command line: "A..B", both ends included, A <= B, at most a
// million values, where a program takes a range; any integer text for each
// end, so that round numbers far past 64 bits make ranges too.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "console/report.hpp"
#include "deal/limits.hpp"
#include "text/integer_text.hpp"

namespace console {

// "A..B" split at its first "..", or nothing if `argument` holds none.
struct range_text {
    std::string_view first, last;
};
std::optional<range_text> split_range(std::string_view argument);

// b - a, for integers written as an optional sign and digits, of any length;
// clamped to plus or minus 2^62 where it is larger than that.
std::int64_t difference(std::string_view b, std::string_view a);

// How many values the range holds, checked: between 1 and
// deal::max_range_values, or a report naming the range and nothing.
std::optional<std::int64_t> range_size(std::string_view argument, const range_text& range);

// A count or a range of counts, both ends included.
struct count_range {
    std::int64_t first, last;
};

// The count or range of counts that `argument` names (a range only with
// `ranges`): each end read as an integer and held to `check`, which reports
// what is wrong with it, then the range's size; "'ARGUMENT' is not an
// integer WHAT" where an end is no integer. Nothing after a report.
template <class Check>
std::optional<count_range> read_counts(std::string_view argument, bool ranges, const char* what,
                                       Check check) {
    const auto range = ranges ? split_range(argument) : std::nullopt;
    const std::string_view ends[] = {range ? range->first : argument,
                                     range ? range->last : argument};
    count_range counts{};
    for (int i = 0; i < (range ? 2 : 1); ++i) {
        text::integer_text count;
        if (!text::parse_integer(ends[i], count)) {
            report_not_integer(argument, what);
            return std::nullopt;
        }
        if (!check(count))
            return std::nullopt;
        (i == 0 ? counts.first : counts.last) = count.value();
    }
    if (!range)
        counts.last = counts.first;
    else if (!range_size(argument, *range))
        return std::nullopt;
    return counts;
}

// Counts and ranges of counts separated by commas ("52,104", "50..53"), each
// read as read_counts reads a range, each count a WHAT from `least` to
// `most`. Nothing after a report.
std::optional<std::vector<count_range>> read_count_list(std::string_view argument, const char* what,
                                                        std::int64_t least, std::int64_t most);

} // namespace console
