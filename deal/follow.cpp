#include "deal/follow.hpp"

#include <algorithm>
#include <numeric>

namespace deal {

void follower::learn(const routine& r) {
    const auto size = static_cast<std::size_t>(r.cards);
    next_.resize(size);
    std::iota(next_.begin(), next_.end(), std::int16_t{0});
    std::vector<std::int16_t> step(size);
    const played_round played(r);
    for (int i = 0; i < played.size(); ++i) {
        played.follow(i, step);
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
    played_ = played_round(r);
    card_.learn(r);
    card_.start(from);
    const std::int64_t tail = card_.tail(), length = card_.length();
    permutation cycle = permutation::identity(r.cards);
    for (std::int64_t k = tail; k < tail + length; ++k)
        cycle.follow_by(round(position(k)));
    repeat_.learn(cycle);
    moduli_.assign(1, static_cast<std::uint64_t>(length));
    for (const length_count l : repeat_.return_lengths())
        moduli_.push_back(static_cast<std::uint64_t>(length) *
                          static_cast<std::uint64_t>(l.length));
}

permutation followed_deck::round(int p) const {
    permutation whole = permutation::identity(played_.cards());
    for (int i = 0; i < played_.size(); ++i) {
        const permutation one = played_.permutation_of(i, p);
        p = one[p];
        whole.follow_by(one);
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
        std::vector<deal::card> next(deck.size());
        repeat_.power(static_cast<std::uint64_t>((rounds - tail) / length))
            .apply(deck.data(), next.data());
        deck.swap(next);
        play(tail, (rounds - tail) % length, deck);
    }
    std::copy(deck.begin(), deck.end(), out);
}

void followed_deck::at(const round_number& rounds, deal::card* out) const {
    const auto tail = static_cast<std::uint64_t>(card_.tail());
    const auto length = static_cast<std::uint64_t>(card_.length());
    if (const auto small = rounds.small();
        small && static_cast<std::uint64_t>(*small) < tail + length) {
        at(*small, out);
        return;
    }
    // Past the tail, s = rounds - tail rounds make the cycle's permutation
    // q = s / L times and then s mod L rounds more; q is wanted modulo each
    // return length l of its cycles, which s modulo L l gives.
    const auto since_tail = [&](std::uint64_t modulus) {
        return (rounds.modulo_of(modulus) + modulus - tail % modulus) % modulus;
    };
    const std::uint64_t rest = since_tail(length);
    std::vector<std::uint64_t> times(static_cast<std::size_t>(repeat_.count()));
    for (int i = 0; i < repeat_.count(); ++i) {
        const auto l = static_cast<std::uint64_t>(repeat_.return_length(i));
        times[static_cast<std::size_t>(i)] = (since_tail(length * l) - rest) / length;
    }
    std::vector<deal::card> deck(static_cast<std::size_t>(card_.size()));
    std::iota(deck.begin(), deck.end(), deal::card{0});
    play(0, static_cast<std::int64_t>(tail), deck);
    std::vector<deal::card> next(deck.size());
    repeat_.power(times).apply(deck.data(), next.data());
    deck.swap(next);
    play(static_cast<std::int64_t>(tail), static_cast<std::int64_t>(rest), deck);
    std::copy(deck.begin(), deck.end(), out);
}

} // namespace deal
