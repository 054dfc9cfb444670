#include "deal/cycles.hpp"

#include <algorithm>

#include "deal/round_number.hpp"

namespace deal {

void cycles::learn(const permutation& round) {
    size_ = round.size();
    const auto size = static_cast<std::size_t>(size_);
    // A position not yet on a cycle has none: cycle_of_ marks what is seen.
    // Plain pointers into the room kept from the last round learnt: a
    // landscape learns thousands.
    cycle_of_.assign(size, -1);
    positions_.resize(size);
    begin_.resize(size + 1);
    place_.resize(size);
    std::int16_t* const cycle_of = cycle_of_.data();
    std::int16_t* const place_of = place_.data();
    std::int16_t* const positions = positions_.data();
    const std::int16_t* const goes_to = round.goes_to().data();
    int filled = 0;
    count_ = 0;
    for (int start = 0; start < size_; ++start) {
        if (cycle_of[start] >= 0)
            continue;
        begin_[static_cast<std::size_t>(count_)] = filled;
        int place = 0;
        for (int p = start; cycle_of[p] < 0; p = goes_to[p]) {
            cycle_of[p] = static_cast<std::int16_t>(count_);
            place_of[p] = static_cast<std::int16_t>(place++);
            positions[filled++] = static_cast<std::int16_t>(p);
        }
        ++count_;
    }
    begin_[static_cast<std::size_t>(count_)] = filled;
    begin_.resize(static_cast<std::size_t>(count_) + 1);

    // The lengths in ascending order, with how many cycles have each: the
    // lengths sorted, then counted off.
    std::vector<std::int16_t> all(static_cast<std::size_t>(count_));
    for (int i = 0; i < count_; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(cycle(i).size());
    std::sort(all.begin(), all.end());
    lengths_.clear();
    for (const std::int16_t length : all) {
        if (lengths_.empty() || lengths_.back().length != length)
            lengths_.push_back({length, 0});
        ++lengths_.back().count;
    }
}

int cycles::after(int from, std::uint64_t rounds) const {
    const auto c = cycle(cycle_of(from));
    const std::uint64_t at =
        (static_cast<std::uint64_t>(place_of(from)) + rounds % c.size()) % c.size();
    return c[static_cast<std::size_t>(at)];
}

void cycles::jump(const round_number& rounds, card* deck) const {
    // The card at position c[j] after r rounds started at c[j - r], so the
    // cycle's cards read as the cycle itself turned back by r mod length.
    for (int i = 0; i < count_; ++i) {
        const auto c = cycle(i);
        const std::size_t length = c.size();
        const auto back = static_cast<std::size_t>(rounds.modulo(length));
        for (std::size_t j = 0; j < length; ++j)
            deck[c[j]] = c[j >= back ? j - back : j + length - back];
    }
}

} // namespace deal
