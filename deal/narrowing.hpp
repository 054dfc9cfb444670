// The fewest moves that bring the spectator's card to one place whichever
// card it is, as a magician planning a trick asks: the places the card may
// be in start as the whole deck; a move that only rearranges the deck maps
// them to as many places, while a deal that gathers the chosen pile where
// the magician says sends places of different piles to one. A breadth-first
// search over these sets of places, each kept once as a bit a place and
// found again by its hash, ends where a single place is reached, or finds
// the fewest places the moves can narrow the card to.
//
// The moves and their effect on each place are a search's (deal/search.hpp).
// Among shortest routines the answer prefers, move by move, the move listed
// first, as the search's does, and every shortest routine can be listed in
// that order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/search.hpp"

namespace deal {

class narrowing {
public:
    enum class outcome { found, never, too_many, too_long };

    // A search over the moves of `moves`, which must outlive it, keeping at
    // most `most_sets` sets of places and taking at most `most_steps` steps,
    // a step a place moved by a move.
    narrowing(const search& moves, std::int64_t most_sets, std::int64_t most_steps);

    // Searches from the whole deck to the one place `to`.
    outcome solve(int to);
    // Searches every set the moves reach, for the fewest places: the first
    // shortest routine to a set that small is the answer.
    outcome closest();

    // The answer's length in moves, 0 where the deck already is the set.
    int length() const { return depth_[ix(target_)]; }
    // The answer's places, in increasing order.
    std::vector<int> places() const;
    // The first shortest routine, the moves by their index, into `out`, which
    // has room for length() of them.
    void first(std::span<int> out) const;
    // How many shortest routines reach the answer's set, or `most` + 1 where
    // there are more than `most`. Learns which sets lie on them, for each().
    std::int64_t count(std::int64_t most);
    // Hands every shortest routine, in order, to `visit` as the indices of
    // its moves; `path` has room for length(). Stops where `visit` says
    // false. count() must have been asked first.
    template <class Visit>
    void each(std::span<int> path, Visit visit) const {
        std::vector<std::uint64_t> room(words_ * (path.size() + 1));
        each_from(0, path, room, visit);
    }

private:
    static constexpr std::size_t ix(std::int32_t i) { return static_cast<std::size_t>(i); }
    std::span<const std::uint64_t> set(std::int32_t s) const {
        return {sets_.data() + ix(s) * words_, words_};
    }
    // The places of set `s` after move `m`, into `out`.
    // Returns the places moved.
    int apply(int m, std::int32_t s, std::span<std::uint64_t> out) const;
    // The index of the set `bits`, or -1 where it has not been kept.
    std::int32_t find(std::span<const std::uint64_t> bits) const;
    // Puts kept set `s` in a free slot.
    void slot(std::int32_t s);
    // Keeps `bits`, reached from `parent` by `m`: false where there is no room.
    bool keep(std::span<const std::uint64_t> bits, std::int32_t parent, int m);
    // The search from the whole deck, breadth first, until `done` says a set
    // just kept ends it; the set's index, or -1.
    template <class Done>
    std::int32_t run(Done done);
    // The set that move `m` leads to from `s`, where it lies on a shortest
    // routine to the answer: its index, or -1.
    std::int32_t leads(int m, std::int32_t s, std::span<std::uint64_t> room) const;

    // `room` holds a set for each move still to go.
    template <class Visit>
    bool each_from(std::int32_t s, std::span<int> path, std::span<std::uint64_t> room,
                   Visit& visit) const {
        const int depth = depth_[ix(s)];
        if (s == target_)
            return visit(std::span<const int>(path.data(), ix(depth)));
        for (int m = 0; m < moves_.moves(); ++m) {
            const std::int32_t next = leads(m, s, room.first(words_));
            if (next < 0)
                continue;
            path[ix(depth)] = m;
            if (!each_from(next, path, room.subspan(words_), visit))
                return false;
        }
        return true;
    }

    const search& moves_;
    std::int64_t most_, most_steps_;
    std::size_t words_;
    // Each set's bits, one after another; the set it was first reached from
    // and by which move; its distance from the whole deck; and, once counted,
    // how many shortest routines lead from it to the answer.
    std::vector<std::uint64_t> sets_;
    std::vector<std::int32_t> parent_;
    std::vector<std::int16_t> move_;
    std::vector<std::int32_t> depth_;
    std::vector<std::int64_t> routes_;
    // Open addressing on the sets' hashes: a set's index, -1 where empty.
    std::vector<std::int32_t> slots_;
    std::int32_t target_ = 0;
};

} // namespace deal
