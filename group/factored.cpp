#include "group/factored.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace group {

void factored::add(std::int64_t n, std::int64_t by) {
    assert(n >= 1);
    for (std::int64_t p = 2; p * p <= n; ++p) {
        while (n % p == 0) {
            if (static_cast<std::int64_t>(exponent_.size()) <= p)
                exponent_.resize(static_cast<std::size_t>(p) + 1);
            exponent_[static_cast<std::size_t>(p)] += by;
            n /= p;
        }
    }
    if (n > 1) {
        if (static_cast<std::int64_t>(exponent_.size()) <= n)
            exponent_.resize(static_cast<std::size_t>(n) + 1);
        exponent_[static_cast<std::size_t>(n)] += by;
    }
    assert(std::all_of(exponent_.begin(), exponent_.end(), [](std::int64_t e) { return e >= 0; }));
}

void factored::times(std::int64_t n) {
    add(n, 1);
}

void factored::over(std::int64_t n) {
    add(n, -1);
}

void factored::times_factorial(int n) {
    for (int k = 2; k <= n; ++k)
        add(k, 1);
}

void factored::times(const factored& other) {
    if (exponent_.size() < other.exponent_.size())
        exponent_.resize(other.exponent_.size());
    for (std::size_t p = 0; p < other.exponent_.size(); ++p)
        exponent_[p] += other.exponent_[p];
}

void factored::lcm_with(std::int64_t n) {
    factored f;
    f.add(n, 1);
    if (exponent_.size() < f.exponent_.size())
        exponent_.resize(f.exponent_.size());
    for (std::size_t p = 0; p < f.exponent_.size(); ++p)
        exponent_[p] = std::max(exponent_[p], f.exponent_[p]);
}

std::int64_t factored::at_most(std::int64_t most) const {
    std::int64_t value = 1;
    for (std::size_t p = 0; p < exponent_.size(); ++p)
        for (std::int64_t e = 0; e < exponent_[p]; ++e) {
            if (value > most / static_cast<std::int64_t>(p))
                return -1;
            value *= static_cast<std::int64_t>(p);
        }
    return value <= most ? value : -1;
}

std::int64_t factored::modulo(std::int64_t m) const {
    std::int64_t r = 1 % m;
    for (std::size_t p = 0; p < exponent_.size(); ++p)
        for (std::int64_t e = 0; e < exponent_[p] && r != 0; ++e)
            r = static_cast<std::int64_t>(static_cast<std::uint64_t>(r) * p %
                                          static_cast<std::uint64_t>(m));
    return r;
}

double factored::log2() const {
    double sum = 0;
    for (std::size_t p = 0; p < exponent_.size(); ++p)
        if (exponent_[p] != 0)
            sum += static_cast<double>(exponent_[p]) * std::log2(static_cast<double>(p));
    return sum;
}

bool operator==(const factored& a, const factored& b) {
    const std::size_t n = std::max(a.exponent_.size(), b.exponent_.size());
    for (std::size_t p = 0; p < n; ++p)
        if (a.exponent(static_cast<std::int64_t>(p)) != b.exponent(static_cast<std::int64_t>(p)))
            return false;
    return true;
}

} // namespace group
