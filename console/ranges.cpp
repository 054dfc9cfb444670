#include "console/ranges.hpp"

#include <algorithm>

#include "console/numbers.hpp"
#include "console/quote.hpp"
#include "console/report.hpp"

namespace console {

namespace {

constexpr std::int64_t clamp = std::int64_t{1} << 62;
// Digits that an int64 always holds.
constexpr std::size_t exact_digits = 18;

struct integer {
    bool negative;
    std::string_view digits; // no leading zeros; empty for zero
};

integer split(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    while (!text.empty() && text[0] == '0')
        text.remove_prefix(1);
    return {negative && !text.empty(), text};
}

std::int64_t value_of(std::string_view digits) {
    std::int64_t v = 0;
    for (const char d : digits)
        v = v * 10 + (d - '0');
    return v;
}

// |x| - |y| for |x| >= |y|, clamped.
std::int64_t magnitude_difference(std::string_view x, std::string_view y) {
    std::int64_t low = 0, scale = 1;
    int borrow = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const int xd = x[x.size() - 1 - i] - '0';
        const int yd = i < y.size() ? y[y.size() - 1 - i] - '0' : 0;
        int d = xd - yd - borrow;
        borrow = d < 0;
        if (borrow)
            d += 10;
        if (i >= exact_digits && d != 0)
            return clamp;
        if (i < exact_digits) {
            low += d * scale;
            scale *= 10;
        }
    }
    return low;
}

bool magnitude_less(std::string_view x, std::string_view y) {
    return x.size() != y.size() ? x.size() < y.size() : x < y;
}

} // namespace

std::optional<range_text> split_range(std::string_view argument) {
    const std::size_t dots = argument.find("..");
    if (dots == std::string_view::npos)
        return std::nullopt;
    return range_text{argument.substr(0, dots), argument.substr(dots + 2)};
}

std::int64_t difference(std::string_view b, std::string_view a) {
    const integer x = split(b), y = split(a);
    if (x.negative != y.negative) {
        // b - a = +-(|b| + |a|).
        if (x.digits.size() > exact_digits || y.digits.size() > exact_digits)
            return x.negative ? -clamp : clamp;
        const std::int64_t sum = std::min(value_of(x.digits) + value_of(y.digits), clamp);
        return x.negative ? -sum : sum;
    }
    // Same signs: b - a = +-(|b| - |a|).
    const bool flip = x.negative;
    if (magnitude_less(x.digits, y.digits)) {
        const std::int64_t d = magnitude_difference(y.digits, x.digits);
        return flip ? d : -d;
    }
    const std::int64_t d = magnitude_difference(x.digits, y.digits);
    return flip ? -d : d;
}

std::optional<std::int64_t> range_size(std::string_view argument, const range_text& range) {
    const std::int64_t span = difference(range.last, range.first);
    if (span < 0) {
        report("range %s runs backwards: its first end must be the lower",
               quoted(argument).c_str());
        return std::nullopt;
    }
    if (span >= deal::max_range_values) {
        report("range %s holds more than %lld values", quoted(argument).c_str(),
               static_cast<long long>(deal::max_range_values));
        return std::nullopt;
    }
    return span + 1;
}

std::optional<std::vector<count_range>> read_count_list(std::string_view argument, const char* what,
                                                        std::int64_t least, std::int64_t most) {
    std::vector<count_range> list;
    for (;;) {
        const std::size_t comma = argument.find(',');
        const auto counts = read_counts(argument.substr(0, comma), true, what,
                                        [&](const text::integer_text& count) {
                                            return in_range(count, what, least, most).has_value();
                                        });
        if (!counts)
            return std::nullopt;
        list.push_back(*counts);
        if (comma == std::string_view::npos)
            return list;
        argument.remove_prefix(comma + 1);
    }
}

} // namespace console
