#include "deal/follow.hpp"

#include <algorithm>

namespace deal {

void follower::learn(const routine& r) {
    size_ = r.cards;
    for (int p = 0; p < size_; ++p)
        next_[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(p);
    static std::array<std::int16_t, max_cards> step;
    for (const move& m : r.moves()) {
        follow_move(m, size_, step.data());
        for (int p = 0; p < size_; ++p)
            next_[static_cast<std::size_t>(p)] =
                step[static_cast<std::size_t>(next_[static_cast<std::size_t>(p)])];
    }
}

void follower::start(int from) {
    static std::array<std::int32_t, max_cards> seen_at;
    std::fill_n(seen_at.begin(), size_, -1);
    int round = 0;
    int p = from;
    while (seen_at[static_cast<std::size_t>(p)] < 0) {
        seen_at[static_cast<std::size_t>(p)] = round;
        way_[static_cast<std::size_t>(round++)] = static_cast<std::int16_t>(p);
        p = next(p);
    }
    tail_ = seen_at[static_cast<std::size_t>(p)];
    length_ = round - tail_;
    cycle_ = {static_cast<std::int16_t>(length_), 1};
}

int follower::at(const round_number& rounds) const {
    if (const auto small = rounds.small(); small && *small < tail_)
        return way_[static_cast<std::size_t>(*small)];
    const auto length = static_cast<std::size_t>(length_);
    const auto along = static_cast<std::size_t>(
        (rounds.modulo(length) + length - static_cast<std::size_t>(tail_) % length) % length);
    return way_[static_cast<std::size_t>(tail_) + along];
}

} // namespace deal
