// One card followed through a routine whose deals gather the pile that holds
// it where the magician says. Such a round is no permutation: where the other
// cards go depends on where the followed one is. The card's own way is fixed,
// though: from every position it goes to one next position, so that from its
// start it runs through a few positions and then round a cycle, together at
// most a deck's worth of rounds.
//
// Such a round cannot be played backwards: two positions of the card may lead
// to the same one, and which it came from is lost.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/cycles.hpp"
#include "deal/limits.hpp"
#include "deal/permutation.hpp"
#include "deal/played.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"

namespace deal {

// Whether rounds of `r` can be counted back from 0: not where a deal
// gathers a followed card's pile.
inline bool runs_backwards(const routine& r) {
    return !r.follows_card();
}

class follower {
public:
    // Learns where the followed card goes in one round of `r`, from every
    // position: `r` must play at most max_played_moves moves one by one.
    void learn(const routine& r);
    int size() const { return static_cast<int>(next_.size()); }
    int next(int p) const { return next_[static_cast<std::size_t>(p)]; }

    // Follows the card that starts at position `from`: its positions round
    // after round until they repeat.
    void start(int from);
    // The rounds before the card's positions repeat, and how many repeat.
    int tail() const { return tail_; }
    int length() const { return length_; }
    // The positions from round 0, tail() + length() of them.
    std::span<const std::int16_t> way() const { return way_; }
    // The cycle's length, for round numbers to be learnt with.
    std::span<const length_count> lengths() const { return {&cycle_, 1}; }

    // Where the card is after `rounds` rounds, 0 or more, a number learnt
    // for lengths().
    int at(const round_number& rounds) const;

private:
    std::vector<std::int16_t> next_;
    std::vector<std::int16_t> way_;
    int tail_ = 0, length_ = 1;
    length_count cycle_{1, 1};
};

// The whole deck round after round under such a routine: each round is the
// permutation that the followed card's position at its start makes. The
// card's way runs a tail and then a cycle of L rounds; those L rounds, made
// one permutation, repeat, so that any round costs at most a deck's worth of
// rounds played and one jump.
class followed_deck {
public:
    // Learns the routine and the card followed, which starts at position
    // `from`.
    void learn(const routine& r, int from);
    const follower& card() const { return card_; }

    // The permutation that the rounds of the card's cycle make together,
    // from the end of its tail: its cycles are those the deck repeats.
    const cycles& repeating() const { return repeat_; }

    // The round's permutation where the followed card starts it at `p`.
    permutation round(int p) const;
    // Where the followed card is at the start of round `r`, 0 or more.
    int position(std::int64_t r) const;
    // The deck after `rounds` rounds, 0 or more, from the starting order,
    // into `deck`, from the bottom.
    void at(std::int64_t rounds, deal::card* deck) const;

    // The moduli a round number of any length is learnt for
    // (round_number::learn_moduli), for the deck after it: the rounds the
    // card's cycle takes, L, and L times each return length of the
    // permutation those L rounds make.
    std::span<const std::uint64_t> moduli() const { return moduli_; }
    // The deck after `rounds` rounds, 0 or more, a number learnt for
    // moduli(), into `deck`.
    void at(const round_number& rounds, deal::card* deck) const;

private:
    // Plays `count` rounds on `deck` from round `from` on.
    void play(std::int64_t from, std::int64_t count, std::vector<deal::card>& deck) const;

    played_round played_;
    follower card_;
    // The L rounds of the card's cycle, made one permutation, and its cycles.
    cycles repeat_;
    std::vector<std::uint64_t> moduli_;
};

} // namespace deal
