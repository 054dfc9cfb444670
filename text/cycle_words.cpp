#include "text/cycle_words.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace text {

namespace {

char* put(char* out, int n) {
    return std::to_chars(out, out + 12, n).ptr;
}

} // namespace

char* gap_text(const deal::cycles& round, char* out) {
    char* const start = out;
    for (int i = 0; i < round.count(); ++i) {
        const auto cycle = round.cycle(i);
        if (cycle.size() == 1)
            continue;
        for (std::size_t j = 0; j < cycle.size(); ++j) {
            *out++ = j == 0 ? '(' : ',';
            out = put(out, cycle[j] + 1);
        }
        *out++ = ')';
    }
    if (out == start) {
        *out++ = '(';
        *out++ = ')';
    }
    return out;
}

char* cycle_type_text(const deal::cycles& round, char* out) {
    const char* gap = "";
    for (const auto [length, count] : round.lengths()) {
        for (; *gap; ++gap)
            *out++ = *gap;
        gap = " ";
        out = put(out, length);
        if (count > 1) {
            *out++ = '^';
            out = put(out, count);
        }
    }
    return out;
}

char* faced_cycle_type_text(const deal::cycles& round, char* out) {
    // Each cycle as twice its length, one more where it is turned: sorted,
    // the lengths ascend, the plain before the turned.
    std::vector<int> keys(static_cast<std::size_t>(round.count()));
    for (int i = 0; i < round.count(); ++i)
        keys[static_cast<std::size_t>(i)] =
            2 * static_cast<int>(round.cycle(i).size()) + (round.turned(i) ? 1 : 0);
    std::sort(keys.begin(), keys.end());
    const char* gap = "";
    for (const int key : keys) {
        for (; *gap; ++gap)
            *out++ = *gap;
        gap = " ";
        out = put(out, key / 2);
        if (key % 2)
            *out++ = '^';
    }
    return out;
}

bool even(const deal::cycles& round) {
    return (round.size() - round.count()) % 2 == 0;
}

char* fixed_text(const deal::cycles& round, char* out, int first, bool turned) {
    const char* gap = "";
    for (int i = 0; i < round.count(); ++i) {
        if (round.cycle(i).size() != 1 || round.turned(i) != turned)
            continue;
        for (; *gap; ++gap)
            *out++ = *gap;
        gap = " ";
        out = put(out, round.cycle(i)[0] + first);
    }
    return out;
}

} // namespace text
