#include "deal/period.hpp"

#include <cmath>
#include <cstdlib>
#include <numeric>

#include "deal/cycles.hpp"

namespace deal {

period::period(const cycles& round) {
    for (const auto [length, count] : round.return_lengths()) {
        const auto n = static_cast<std::uint32_t>(length);
        times(n / std::gcd(modulo(n), n));
    }
}

void period::times(std::uint32_t n) {
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < used_; ++i) {
        const std::uint64_t product = std::uint64_t{limbs_[i]} * n + carry;
        limbs_[i] = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0) {
        // No set of cycle lengths summing to max_cards comes near the room.
        if (used_ == max_limbs)
            std::abort();
        limbs_[used_++] = static_cast<std::uint32_t>(carry);
    }
}

std::uint32_t period::modulo(std::uint32_t n) const {
    std::uint64_t rest = 0;
    for (std::size_t i = used_; i-- > 0;)
        rest = ((rest << 32) | limbs_[i]) % n;
    return static_cast<std::uint32_t>(rest);
}

std::optional<std::uint64_t> period::small() const {
    if (used_ > 2)
        return std::nullopt;
    return used_ == 2 ? std::uint64_t{limbs_[1]} << 32 | limbs_[0] : limbs_[0];
}

double period::log2() const {
    // The top two limbs carry 64 bits of precision, far more than a plot needs.
    const std::size_t top = used_ - 1;
    double lead = limbs_[top];
    if (top > 0)
        lead += limbs_[top - 1] / 4294967296.0;
    return std::log2(lead) + 32.0 * static_cast<double>(top);
}

} // namespace deal
