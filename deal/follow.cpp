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

void followed_deck::learn(const routine& r, int from) {
    routine_ = &r;
    card_.learn(r);
    card_.start(from);
}

permutation followed_deck::round(int p) const {
    const int cards = routine_->cards;
    permutation whole = permutation::identity(cards);
    for (const move& m : routine_->moves()) {
        const permutation one = move_permutation(m, cards, p);
        p = one[p];
        whole = whole.then(one);
    }
    return whole;
}

int followed_deck::position(std::int64_t r) const {
    const std::int64_t tail = card_.tail();
    const auto way = card_.way();
    if (r < tail)
        return way[static_cast<std::size_t>(r)];
    return way[static_cast<std::size_t>(tail + (r - tail) % card_.length())];
}

void followed_deck::play(std::int64_t from, std::int64_t count) {
    const auto size = static_cast<std::size_t>(card_.size());
    for (std::int64_t r = from; r < from + count; ++r) {
        round(position(r)).apply(deck_.data(), next_.data());
        std::copy_n(next_.begin(), size, deck_.begin());
    }
}

void followed_deck::at(std::int64_t rounds, deal::card* deck) {
    const int size = card_.size();
    for (int p = 0; p < size; ++p)
        deck_[static_cast<std::size_t>(p)] = static_cast<deal::card>(p);
    const std::int64_t tail = card_.tail(), length = card_.length();
    if (rounds < tail + length) {
        play(0, rounds);
    } else {
        play(0, tail);
        permutation cycle = permutation::identity(size);
        for (std::int64_t r = tail; r < tail + length; ++r)
            cycle = cycle.then(round(position(r)));
        repeat_.learn(cycle);
        const std::int64_t times = (rounds - tail) / length;
        for (int p = 0; p < size; ++p) {
            const auto cycle_length =
                static_cast<std::uint64_t>(repeat_.cycle(repeat_.cycle_of(p)).size());
            next_[static_cast<std::size_t>(
                repeat_.after(p, static_cast<std::uint64_t>(times) % cycle_length))] =
                deck_[static_cast<std::size_t>(p)];
        }
        std::copy_n(next_.begin(), size, deck_.begin());
        play(tail + times * length, (rounds - tail) % length);
    }
    std::copy_n(deck_.begin(), size, deck);
}

} // namespace deal
