// How many rounds it takes for a deck to come back to its starting order:
// the least common multiple of the cycle lengths, exactly. For deal's own
// decks it needs up to 90 bits; a permutation of 5050 positions can need up
// to 309 (the largest least common multiple of numbers that sum to 5050), so
// it is kept in fixed storage of 384.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace deal {

class cycles;

class period {
public:
    static constexpr std::size_t max_limbs = 12;

    // One round: the period of the empty deck, and of any deck that never
    // moves.
    period() = default;
    explicit period(const cycles& round);

    // The period, if it is below 2^64.
    std::optional<std::uint64_t> small() const;

    // Its base-2 logarithm, close enough to plot: 0 for 1.
    double log2() const;

    // Its value in 32-bit limbs, least significant first, the last nonzero.
    std::span<const std::uint32_t> limbs() const { return {limbs_.data(), used_}; }

private:
    // Multiplies by n, at least 1; returns the remainder of a division.
    void times(std::uint32_t n);
    std::uint32_t modulo(std::uint32_t n) const;

    std::array<std::uint32_t, max_limbs> limbs_{1};
    std::size_t used_ = 1;
};

} // namespace deal
