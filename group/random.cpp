#include "group/random.hpp"

#include <algorithm>

namespace group {

std::uint64_t random_numbers::next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
}

random_elements::random_elements(std::span<const perm> generators, int degree, std::uint64_t seed)
    : numbers_(seed), product_(identity(degree)) {
    // Ten slots at least, the generators repeated to fill them; then enough
    // steps that the first elements no longer look like the generators.
    constexpr std::size_t least = 10;
    const std::size_t count = std::max(least, generators.size() + 1);
    for (std::size_t i = 0; i < count; ++i)
        slots_.push_back(generators[i % generators.size()]);
    for (int i = 0; i < 60; ++i)
        step();
}

void random_elements::step() {
    const std::size_t n = slots_.size();
    const auto i = static_cast<std::size_t>(numbers_.below(n));
    auto j = static_cast<std::size_t>(numbers_.below(n - 1));
    if (j >= i)
        ++j;
    if (numbers_.below(2) == 0)
        then_into(slots_[i], slots_[j], scratch_);
    else
        then_into(slots_[j], slots_[i], scratch_);
    slots_[i].swap(scratch_);
    then_into(product_, slots_[i], scratch_);
    product_.swap(scratch_);
}

const perm& random_elements::next() {
    step();
    return product_;
}

} // namespace group
