// The cycles of a permutation: the positions that a card passes through, one
// round apart, until it is back where it started. Everything else that is
// asked of many rounds stands on them: the period is the least common
// multiple of their lengths, and the deck after any number of rounds is a
// shift along each cycle.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/description.hpp"
#include "deal/limits.hpp"
#include "deal/permutation.hpp"

namespace deal {

class round_number;

// How many cycles have a length.
struct length_count {
    std::int16_t length, count;
};

class cycles {
public:
    void learn(const permutation& round);

    // The positions in use, 0 to size() - 1.
    int size() const { return size_; }

    // Cycle i, 0 <= i < count(): its first position is its lowest, the card
    // at position cycle(i)[j] is at cycle(i)[j + 1] one round later, and the
    // cycles come in ascending order of their first positions.
    int count() const { return count_; }
    std::span<const std::int16_t> cycle(int i) const {
        return {positions_.data() + begin_[static_cast<std::size_t>(i)],
                positions_.data() + begin_[static_cast<std::size_t>(i) + 1]};
    }

    // The distinct lengths of the cycles, ascending, and how many cycles have
    // each: the cycle type.
    std::span<const length_count> lengths() const { return lengths_; }

    // Whether cycle i brings its cards back turned over, as an odd number of
    // turns along it does: they are then back as they started after twice
    // its length, its return length.
    bool turned(int i) const { return !turned_.empty() && turned_[static_cast<std::size_t>(i)]; }
    int return_length(int i) const {
        return static_cast<int>(cycle(i).size()) * (turned(i) ? 2 : 1);
    }
    // The distinct return lengths, as lengths() has the lengths: what the
    // period and round numbers stand on. The lengths themselves where no
    // card is turned.
    std::span<const length_count> return_lengths() const {
        return turned_.empty() ? lengths() : return_lengths_;
    }

    // The cycle that position p lies on, and p's place along it.
    int cycle_of(int p) const { return cycle_of_[static_cast<std::size_t>(p)]; }
    int place_of(int p) const { return place_[static_cast<std::size_t>(p)]; }

    // Where the card that starts at position `from` is after `rounds`
    // rounds, `rounds` already reduced below the cycle's length or not.
    int after(int from, std::uint64_t rounds) const;

    // The round learnt, done `rounds` times: each card moved `rounds`
    // places along its cycle, turned over as often as the way turns it.
    permutation power(std::uint64_t rounds) const;
    // The same with each cycle i moved its own rounds[i] places.
    permutation power(std::span<const std::uint64_t> rounds) const;

    // The deck after `rounds` rounds from the starting order, into `deck`,
    // which holds size() cards, bottom first: card p started at position p,
    // face down, and a card turned over carries the face_up bit.
    void jump(const round_number& rounds, card* deck) const;

private:
    int size_ = 0;
    int count_ = 0;
    std::vector<std::int16_t> positions_;
    std::vector<std::int32_t> begin_{0};
    std::vector<std::int16_t> cycle_of_;
    std::vector<std::int16_t> place_;
    std::vector<length_count> lengths_;
    // Where cards are turned: each cycle's parity of turns, and each
    // position's parity of the turns from its cycle's first position to it.
    std::vector<char> turned_, parity_;
    std::vector<length_count> return_lengths_;

    // Whether the card at place k of cycle i is turned over an odd number of
    // times in `steps` further steps, fewer than twice the cycle's length.
    bool turned_along(int i, std::size_t k, std::size_t steps) const;
};

} // namespace deal
