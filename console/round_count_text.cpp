#include "console/round_count_text.hpp"

namespace console {

char* round_count_text(deal::round_count n, char* end) {
    // Nineteen digits at a time in 64 bits, where division is cheap; 128-bit
    // division is a library call per digit.
    constexpr std::uint64_t nineteen_digits = 10'000'000'000'000'000'000u;
    char* at = end;
    while (n >= nineteen_digits) {
        std::uint64_t part = static_cast<std::uint64_t>(n % nineteen_digits);
        n /= nineteen_digits;
        for (int i = 0; i < 19; ++i, part /= 10)
            *--at = static_cast<char>('0' + part % 10);
    }
    auto rest = static_cast<std::uint64_t>(n);
    do {
        *--at = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    return at;
}

} // namespace console
