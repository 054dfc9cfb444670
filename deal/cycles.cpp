#include "deal/cycles.hpp"

#include "deal/round.hpp"

namespace deal {

void round_cycles::learn(std::int32_t hands) {
    N = hands;
    set_starting_order();
    simulate_round();

    // After one round, position p holds the card that came from position
    // stack[p]; turned around, that says where each card goes.
    std::array<card, deck_capacity> goes_to;
    const int size = deck_size();
    for (int p = 0; p < size; ++p)
        goes_to[static_cast<std::size_t>(stack[p])] = p;

    std::array<bool, deck_capacity> seen{};
    int filled = 0;
    count_ = 0;
    for (int start = 0; start < size; ++start) {
        if (seen[static_cast<std::size_t>(start)])
            continue;
        begin_[static_cast<std::size_t>(count_++)] = filled;
        for (card p = start; !seen[static_cast<std::size_t>(p)];
             p = goes_to[static_cast<std::size_t>(p)]) {
            seen[static_cast<std::size_t>(p)] = true;
            positions_[static_cast<std::size_t>(filled++)] = p;
        }
    }
    begin_[static_cast<std::size_t>(count_)] = filled;
}

std::optional<round_count> round_cycles::period() const {
    round_count rounds = 1;
    for (int i = 0; i < count_; ++i) {
        const auto next = checked_lcm(rounds, cycle(i).size());
        if (!next)
            return std::nullopt;
        rounds = *next;
    }
    return rounds;
}

void round_cycles::jump(round_count rounds) const {
    // The card at position c[j] after r rounds started at c[j - r], so the
    // cycle's cards read as the cycle itself turned back by r mod length.
    for (int i = 0; i < count_; ++i) {
        const std::span<const card> c = cycle(i);
        const std::size_t length = c.size();
        const std::size_t back = static_cast<std::size_t>(rounds % length);
        for (std::size_t j = 0; j < length; ++j)
            stack[c[j]] = c[j >= back ? j - back : j + length - back];
    }
}

} // namespace deal
