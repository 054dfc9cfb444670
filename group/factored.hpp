// A group's order kept as the exponents of its primes: every order here is a
// product of orbit lengths, factorials and powers of two, whose primes are
// below the number of points, so that the order is exact without big
// numbers, and whoever prints it multiplies it out (with GMP on the command
// line).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace group {

class factored {
public:
    // 1.
    factored() = default;

    // Multiplies by n >= 1; by n!; by another order. Divides by n >= 1, which
    // must divide it.
    void times(std::int64_t n);
    void times_factorial(int n);
    void times(const factored& other);
    void over(std::int64_t n);
    // The least common multiple of this and n >= 1.
    void lcm_with(std::int64_t n);

    // The exponent of every integer from 0 up, nonzero only at primes.
    std::span<const std::int64_t> exponents() const { return exponent_; }
    std::int64_t exponent(std::int64_t p) const {
        return p < static_cast<std::int64_t>(exponent_.size())
                   ? exponent_[static_cast<std::size_t>(p)]
                   : 0;
    }
    // The order itself where it is at most `most`, or -1 where it is more.
    std::int64_t at_most(std::int64_t most) const;
    // The remainder of the order divided by m >= 1.
    std::int64_t modulo(std::int64_t m) const;
    double log2() const;

    friend bool operator==(const factored& a, const factored& b);

private:
    void add(std::int64_t n, std::int64_t by);
    std::vector<std::int64_t> exponent_;
};

} // namespace group
