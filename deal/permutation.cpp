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

permutation::permutation(std::vector<std::int16_t> goes_to, std::vector<char> turns)
    : goes_to_(std::move(goes_to)), turns_(std::move(turns)) {
    if (std::none_of(turns_.begin(), turns_.end(), [](char t) { return t != 0; }))
        turns_.clear();
}

permutation permutation::identity(int size) {
    std::vector<std::int16_t> goes_to(static_cast<std::size_t>(size));
    std::iota(goes_to.begin(), goes_to.end(), std::int16_t{0});
    return permutation(std::move(goes_to));
}

permutation permutation::then(const permutation& next) const {
    permutation both = *this;
    both.follow_by(next);
    return both;
}

void permutation::follow_by(const permutation& next) {
    // A card is turned over by the two where either turns it, but not both.
    if (turns_any() || next.turns_any()) {
        turns_.resize(goes_to_.size());
        for (std::size_t p = 0; p < goes_to_.size(); ++p)
            turns_[p] = static_cast<char>(turns_[p] ^ next.turns(goes_to_[p]));
        if (std::none_of(turns_.begin(), turns_.end(), [](char t) { return t != 0; }))
            turns_.clear();
    }
    compose(goes_to_, next.goes_to_);
}

permutation permutation::doubled() const {
    const std::size_t size = goes_to_.size();
    std::vector<std::int16_t> points(2 * size);
    for (std::size_t p = 0; p < size; ++p) {
        const auto there = static_cast<std::size_t>(goes_to_[p]);
        const std::size_t turned = turns(static_cast<int>(p)) ? size : 0;
        points[p] = static_cast<std::int16_t>(there + turned);
        points[p + size] = static_cast<std::int16_t>(there + size - turned);
    }
    return permutation(std::move(points));
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
    if (turns_.empty()) {
        for (std::size_t p = 0; p < size; ++p)
            after[goes_to[p]] = before[p];
        return;
    }
    for (std::size_t p = 0; p < size; ++p)
        after[goes_to[p]] = before[p] ^ (turns_[p] ? face_up : 0);
}

} // namespace deal
