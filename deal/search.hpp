// The fewest moves that bring a card from one position of the deck to
// another, as a magician planning a trick asks: a breadth-first search over
// the card's positions, of which there are at most a deck's worth, each
// allowed move's effect on every position worked out once. A deal that
// gathers a chosen pile follows the card being brought.
//
// Among shortest routines the one that prefers, move by move, the move
// listed first is the answer, so that it is the same every time; every
// shortest routine can be listed in that order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/limits.hpp"
#include "deal/routine.hpp"

namespace deal {

class search {
public:
    // A search whose moves' effects live in `table`, a deck's worth of
    // entries a move, and whose shortest routines' branches live in
    // `branches`: storage its owner gives, fixed whatever the moves.
    search(std::span<std::int16_t> table, std::span<std::int16_t> branches)
        : table_(table), branches_(branches) {}

    // Forgets the moves, for a deck of `cards` cards.
    void reset(int cards);
    // Adds a move: where it takes the card from every position. False, the
    // search left as it was, where the table has no room for it or it would
    // be move number max_search_moves + 1.
    bool add(const move& m);
    // The same for a step of several moves, or a move repeated: a round of
    // `step`, on this search's deck.
    bool add(const routine& step);
    int moves() const { return count_; }
    int cards() const { return cards_; }
    // Where move `m` takes the card at position `p`.
    int where(int m, int p) const { return next(m, p); }

    // Searches from position `from` to `to`: the length of a shortest
    // routine, 0 where they are the same, or -1 where none reaches `to`.
    int solve(int from, int to);

    // The first shortest routine, the moves by their index, into `out`,
    // which has room for the length solve() found.
    void first(std::span<int> out) const;
    // How many shortest routines there are, or `most` + 1 where there are
    // more than `most`.
    std::int64_t count(std::int64_t most) const;
    // Hands every shortest routine, in order, to `visit` as the indices of its
    // moves; `path` has room for the length. Stops where `visit` says false.
    template <class Visit>
    void each(std::span<int> path, Visit visit) const {
        if (length_ < 0)
            return;
        each_from(from_, 0, path, visit);
    }

private:
    int next(int m, int p) const {
        return table_[static_cast<std::size_t>(m) * static_cast<std::size_t>(cards_) +
                      static_cast<std::size_t>(p)];
    }
    // Whether the card at `p`, `depth` moves along, goes by move `m` to a
    // position from which the rest of a shortest routine reaches `to`.
    bool leads(int m, int p) const {
        const int q = next(m, p);
        return q == to_ ||
               (dist_[static_cast<std::size_t>(q)] == dist_[static_cast<std::size_t>(p)] + 1 &&
                useful_[static_cast<std::size_t>(q)]);
    }
    // The moves that lead on from `p`, from the branches where they were
    // kept, or found again.
    template <class Visit>
    bool each_from(int p, int depth, std::span<int> path, Visit& visit) const {
        if (depth == length_)
            return visit(std::span<const int>(path.data(), static_cast<std::size_t>(depth)));
        const auto at = static_cast<std::size_t>(p);
        const bool kept = branch_count_[at] >= 0;
        const int n = kept ? branch_count_[at] : count_;
        for (int i = 0; i < n; ++i) {
            const int m = kept ? branches_[static_cast<std::size_t>(branch_start_[at] + i)] : i;
            if (!kept && !leads(m, p))
                continue;
            path[static_cast<std::size_t>(depth)] = m;
            if (!each_from(next(m, p), depth + 1, path, visit))
                return false;
        }
        return true;
    }

    std::span<std::int16_t> table_, branches_;
    int cards_ = 0, count_ = 0;
    int from_ = 0, to_ = 0, length_ = -1;
    // From the search, for each position of the deck: its distance from
    // `from` (-1 unreached), whether a shortest routine passes through it,
    // the positions in the order they were reached, and the moves that lead
    // on from each.
    std::vector<std::int16_t> dist_;
    std::vector<char> useful_;
    std::vector<std::int16_t> order_;
    int reached_ = 0;
    std::vector<std::int32_t> branch_start_;
    std::vector<std::int32_t> branch_count_;
};

} // namespace deal
