#include "text/digits.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace text {

static_assert(deal::period::max_limbs * 32 * 30103 / 100000 + 1 <= period_digits);

char* period_text(const deal::period& p, char* end) {
    // Nine digits at a time: a limb's remainder times 2^32 stays in 64 bits.
    constexpr std::uint32_t nine_digits = 1'000'000'000;
    std::array<std::uint32_t, deal::period::max_limbs> limbs{};
    const auto given = p.limbs();
    std::size_t used = given.size();
    std::copy(given.begin(), given.end(), limbs.begin());
    char* at = end;
    for (;;) {
        std::uint64_t rest = 0;
        for (std::size_t i = used; i-- > 0;) {
            const std::uint64_t part = rest << 32 | limbs[i];
            limbs[i] = static_cast<std::uint32_t>(part / nine_digits);
            rest = part % nine_digits;
        }
        while (used > 0 && limbs[used - 1] == 0)
            --used;
        auto chunk = static_cast<std::uint32_t>(rest);
        if (used == 0) {
            // The leading chunk, without its leading zeros.
            do {
                *--at = static_cast<char>('0' + chunk % 10);
                chunk /= 10;
            } while (chunk != 0);
            return at;
        }
        for (int i = 0; i < 9; ++i, chunk /= 10)
            *--at = static_cast<char>('0' + chunk % 10);
    }
}

char* append_period(const deal::period& p, char* out) {
    char digits[period_digits];
    char* const end = digits + sizeof digits;
    const char* const first = period_text(p, end);
    const auto length = static_cast<std::size_t>(end - first);
    std::memcpy(out, first, length);
    return out + length;
}

} // namespace text
