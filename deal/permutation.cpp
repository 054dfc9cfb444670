#include "deal/permutation.hpp"

#include <algorithm>
#include <numeric>

#include "deal/gathering.hpp"

namespace deal {

permutation::permutation(const description& d) : permutation(d, hands(d)) {}

permutation::permutation(const description& d, const hands& dealt, int chosen)
    : goes_to_(static_cast<std::size_t>(std::max(d.cards, 0))) {
    gathering(d, dealt).goes_to(chosen, goes_to_);
}

permutation::permutation(std::span<const std::int32_t> goes_to)
    : goes_to_(goes_to.begin(), goes_to.end()) {}

permutation permutation::identity(int size) {
    std::vector<std::int16_t> goes_to(static_cast<std::size_t>(size));
    std::iota(goes_to.begin(), goes_to.end(), std::int16_t{0});
    return permutation(std::move(goes_to));
}

permutation permutation::then(const permutation& next) const {
    permutation both = *this;
    compose(both.goes_to_, next.goes_to_);
    return both;
}

void compose(std::span<std::int16_t> first, std::span<const std::int16_t> next) {
    for (std::int16_t& p : first)
        p = next[static_cast<std::size_t>(p)];
}

void permutation::apply(const card* before, card* after) const {
    // Through a plain pointer, which the compiler keeps in a register
    // whatever the stores to `after` might alias.
    const std::int16_t* const goes_to = goes_to_.data();
    const std::size_t size = goes_to_.size();
    for (std::size_t p = 0; p < size; ++p)
        after[goes_to[p]] = before[p];
}

} // namespace deal
