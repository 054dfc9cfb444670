#include "deal/period.hpp"

#include <utility>

#include "deal/cycles.hpp"

namespace deal {

std::optional<round_count> checked_lcm(round_count a, round_count b) {
    round_count x = a, y = b;
    while (y != 0)
        x = std::exchange(y, x % y);
    round_count product;
    if (__builtin_mul_overflow(a / x, b, &product))
        return std::nullopt;
    return product;
}

std::optional<round_count> period(std::int32_t hands) {
    static round_cycles cycles;
    cycles.learn(hands);
    return cycles.period();
}

} // namespace deal
