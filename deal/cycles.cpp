#include "deal/cycles.hpp"

#include <algorithm>

#include "deal/round_number.hpp"

namespace deal {

void cycles::learn(const permutation& round) {
    size_ = round.size();
    const auto size = static_cast<std::size_t>(size_);
    std::vector<bool> seen(size);
    positions_.resize(size);
    begin_.resize(size + 1);
    cycle_of_.resize(size);
    place_.resize(size);
    int filled = 0;
    count_ = 0;
    for (int start = 0; start < size_; ++start) {
        if (seen[static_cast<std::size_t>(start)])
            continue;
        begin_[static_cast<std::size_t>(count_)] = filled;
        int place = 0;
        for (int p = start; !seen[static_cast<std::size_t>(p)]; p = round[p]) {
            seen[static_cast<std::size_t>(p)] = true;
            cycle_of_[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(count_);
            place_[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(place++);
            positions_[static_cast<std::size_t>(filled++)] = static_cast<std::int16_t>(p);
        }
        ++count_;
    }
    begin_[static_cast<std::size_t>(count_)] = filled;

    begin_.resize(static_cast<std::size_t>(count_) + 1);
    std::vector<std::int16_t> of_length(size + 1);
    for (int i = 0; i < count_; ++i)
        ++of_length[cycle(i).size()];
    lengths_.clear();
    for (int length = 1; length <= size_; ++length)
        if (const std::int16_t n = of_length[static_cast<std::size_t>(length)]; n != 0)
            lengths_.push_back({static_cast<std::int16_t>(length), n});
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
