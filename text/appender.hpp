// Text written piece by piece into a buffer of fixed size, never past it and
// always NUL-terminated: what every message and every option text is built
// with, so that a long value is cut short rather than overrun.
#pragma once

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <span>

namespace text {

struct appender {
    char* at;
    char* end; // the last byte, kept for the NUL

    appender(char* out, std::size_t room) : at(out), end(out + (room > 0 ? room - 1 : 0)) {
        if (room > 0)
            *out = '\0';
    }

    [[gnu::format(printf, 2, 3)]] void add(const char* format, ...) {
        if (at >= end)
            return;
        std::va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(at, static_cast<std::size_t>(end - at) + 1, format, args);
        va_end(args);
        if (n > 0)
            at = std::min(at + n, end);
    }
    // Integers separated by commas, as packet and hand lists are written.
    template <class Int>
    void list(std::span<const Int> values) {
        for (std::size_t i = 0; i < values.size(); ++i)
            add("%s%d", i == 0 ? "" : ",", static_cast<int>(values[i]));
    }
};

} // namespace text
