// Random elements of a group given by generators, by product replacement: a
// few slots start as the generators and each step multiplies one slot by
// another, the running product by the new slot. The numbers come from a
// generator seeded by its caller, so that a run gives the same elements on
// every machine and every time; and nothing that rests on them is taken on
// trust: they find certificates (a cycle of prime length, an element of a
// kernel, a strong generator) that are checked exactly.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "group/perm.hpp"

namespace group {

// SplitMix64: small, fast and the same everywhere.
class random_numbers {
public:
    explicit random_numbers(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // A number from 0 to n - 1, n >= 1.
    std::uint64_t below(std::uint64_t n) { return next() % n; }

private:
    std::uint64_t state_;
};

class random_elements {
public:
    // The generators, which must not be empty, each of `degree` points.
    random_elements(std::span<const perm> generators, int degree, std::uint64_t seed);

    // The next random element, valid until the next call.
    const perm& next();

private:
    void step();

    random_numbers numbers_;
    std::vector<perm> slots_;
    perm product_, scratch_;
};

} // namespace group
