#include "deal/follow.hpp"

#include <algorithm>
#include <numeric>

namespace deal {

void follower::learn(const routine& r) {
    const auto size = static_cast<std::size_t>(r.cards);
    next_.resize(size);
    std::iota(next_.begin(), next_.end(), std::int16_t{0});
    std::vector<std::int16_t> step(size);
    for (const move& m : r.moves()) {
        follow_move(m, r.cards, step);
        compose(next_, step);
    }
}

void follower::start(int from) {
    std::vector<std::int32_t> seen_at(next_.size(), -1);
    way_.clear();
    int round = 0;
    int p = from;
    while (seen_at[static_cast<std::size_t>(p)] < 0) {
        seen_at[static_cast<std::size_t>(p)] = round++;
        way_.push_back(static_cast<std::int16_t>(p));
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
    routine_ = r;
    card_.learn(r);
    card_.start(from);
}

permutation followed_deck::round(int p) const {
    permutation whole = permutation::identity(routine_.cards);
    for (const move& m : routine_.moves()) {
        const permutation one = move_permutation(m, routine_.cards, p);
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

void followed_deck::play(std::int64_t from, std::int64_t count,
                         std::vector<deal::card>& deck) const {
    std::vector<deal::card> next(deck.size());
    for (std::int64_t r = from; r < from + count; ++r) {
        round(position(r)).apply(deck.data(), next.data());
        deck.swap(next);
    }
}

void followed_deck::at(std::int64_t rounds, deal::card* out) const {
    const int size = card_.size();
    std::vector<deal::card> deck(static_cast<std::size_t>(size));
    std::iota(deck.begin(), deck.end(), deal::card{0});
    const std::int64_t tail = card_.tail(), length = card_.length();
    if (rounds < tail + length) {
        play(0, rounds, deck);
    } else {
        play(0, tail, deck);
        permutation cycle = permutation::identity(size);
        for (std::int64_t r = tail; r < tail + length; ++r)
            cycle = cycle.then(round(position(r)));
        cycles repeat;
        repeat.learn(cycle);
        const std::int64_t times = (rounds - tail) / length;
        std::vector<deal::card> next(deck.size());
        for (int p = 0; p < size; ++p) {
            const auto cycle_length =
                static_cast<std::uint64_t>(repeat.cycle(repeat.cycle_of(p)).size());
            next[static_cast<std::size_t>(
                repeat.after(p, static_cast<std::uint64_t>(times) % cycle_length))] =
                deck[static_cast<std::size_t>(p)];
        }
        deck.swap(next);
        play(tail + times * length, (rounds - tail) % length, deck);
    }
    std::copy(deck.begin(), deck.end(), out);
}

} // namespace deal
