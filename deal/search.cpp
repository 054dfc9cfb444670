#include "deal/search.hpp"

#include <algorithm>

#include "deal/follow.hpp"

namespace deal {

namespace {

constexpr std::size_t ix(int i) {
    return static_cast<std::size_t>(i);
}

} // namespace

void search::reset(int cards) {
    cards_ = cards;
    count_ = 0;
    length_ = -1;
    const auto size = static_cast<std::size_t>(cards);
    dist_.resize(size);
    useful_.resize(size);
    order_.resize(size);
    branch_start_.resize(size);
    branch_count_.resize(size);
}

bool search::add(const move& m) {
    const auto cards = static_cast<std::size_t>(cards_);
    if (count_ == max_search_moves ||
        (static_cast<std::size_t>(count_) + 1) * cards > table_.size())
        return false;
    follow_move(m, cards_, table_.subspan(static_cast<std::size_t>(count_) * cards, cards));
    ++count_;
    return true;
}

bool search::add(const routine& step) {
    if (step.moves().size() == 1 && step.repeats().empty())
        return add(step.moves()[0]);
    const auto cards = static_cast<std::size_t>(cards_);
    if (count_ == max_search_moves ||
        (static_cast<std::size_t>(count_) + 1) * cards > table_.size())
        return false;
    follower round;
    round.learn(step);
    for (int p = 0; p < cards_; ++p)
        table_[static_cast<std::size_t>(count_) * cards + static_cast<std::size_t>(p)] =
            static_cast<std::int16_t>(round.next(p));
    ++count_;
    return true;
}

int search::solve(int from, int to) {
    from_ = from;
    to_ = to;
    const auto cards = static_cast<std::size_t>(cards_);
    std::fill_n(dist_.begin(), cards, std::int16_t{-1});
    std::fill_n(useful_.begin(), cards, false);
    std::fill_n(branch_count_.begin(), cards, -1);
    dist_[ix(from)] = 0;
    order_[ix(0)] = static_cast<std::int16_t>(from);
    reached_ = 1;
    length_ = from == to ? 0 : -1;
    // Breadth first, until `to` is reached: every position nearer than it has
    // then been reached, and only they and `to` can be on a shortest routine.
    for (int head = 0; head < reached_ && length_ < 0; ++head) {
        const int p = order_[ix(head)];
        for (int m = 0; m < count_ && length_ < 0; ++m) {
            const int q = next(m, p);
            if (dist_[ix(q)] >= 0)
                continue;
            dist_[ix(q)] = static_cast<std::int16_t>(dist_[ix(p)] + 1);
            order_[ix(reached_++)] = static_cast<std::int16_t>(q);
            if (q == to)
                length_ = dist_[ix(q)];
        }
    }
    if (length_ < 0)
        return -1;
    useful_[ix(to)] = true;
    // Backwards from the farthest: a position is on a shortest routine where
    // a move leads on from it; those moves are kept, while there is room, so
    // that listing every routine need not look through every move again.
    std::size_t kept = 0;
    for (int i = reached_ - 1; i >= 0; --i) {
        const int p = order_[ix(i)];
        if (p == to || dist_[ix(p)] >= length_)
            continue;
        const std::size_t start = kept;
        for (int m = 0; m < count_; ++m) {
            if (!leads(m, p))
                continue;
            useful_[ix(p)] = true;
            if (kept < branches_.size())
                branches_[kept] = static_cast<std::int16_t>(m);
            ++kept;
        }
        if (kept <= branches_.size()) {
            branch_start_[ix(p)] = static_cast<std::int32_t>(start);
            branch_count_[ix(p)] = static_cast<std::int32_t>(kept - start);
        } else {
            kept = start;
        }
    }
    return length_;
}

void search::first(std::span<int> out) const {
    int p = from_;
    for (int depth = 0; depth < length_; ++depth) {
        int m = 0;
        while (!leads(m, p))
            ++m;
        out[static_cast<std::size_t>(depth)] = m;
        p = next(m, p);
    }
}

std::int64_t search::count(std::int64_t most) const {
    if (length_ < 0)
        return 0;
    // The routines from each position on, farthest first, no more than
    // most + 1 counted.
    std::vector<std::int64_t> from_here(static_cast<std::size_t>(cards_));
    from_here[static_cast<std::size_t>(to_)] = 1;
    for (int i = reached_ - 1; i >= 0; --i) {
        const int p = order_[ix(i)];
        if (p == to_ || !useful_[ix(p)] || dist_[ix(p)] >= length_)
            continue;
        std::int64_t n = 0;
        for (int m = 0; m < count_ && n <= most; ++m)
            if (leads(m, p))
                n = std::min(most + 1, n + from_here[static_cast<std::size_t>(next(m, p))]);
        from_here[static_cast<std::size_t>(p)] = n;
    }
    return length_ == 0 ? 1 : from_here[static_cast<std::size_t>(from_)];
}

} // namespace deal
