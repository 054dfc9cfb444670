#include "deal/permutation.hpp"

namespace deal {

permutation::permutation(const description& d) {
    static hands dealt; // 40 KB: kept off the stack, which is small on the page
    dealt.deal(d);
    *this = permutation(d, dealt);
}

permutation::permutation(const description& d, const hands& dealt) : size_(d.cards) {
    // The gathered deck from the bottom up: the stock first if it goes under
    // the hands, then the hands in turn, then the stock if it goes on top.
    const int stock = dealt.stock_size();
    int next = 0;
    const auto gather_stock = [&] {
        for (int p = 0; p < stock; ++p)
            goes_to_[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(next++);
    };
    if (d.rest == rest::bottom)
        gather_stock();
    const int count = dealt.count();
    for (int i = count - 1; i >= 0; --i) {
        const auto hand = dealt.hand(d.gathered(i));
        // With the first card on top, the hand is turned over as it is
        // picked up: its last card lowest.
        const auto size = static_cast<int>(hand.size());
        for (int j = 0; j < size; ++j) {
            const int slot = d.first_card == first_card::top ? size - 1 - j : j;
            goes_to_[static_cast<std::size_t>(hand[static_cast<std::size_t>(slot)])] =
                static_cast<std::int16_t>(next++);
        }
    }
    if (d.rest == rest::top)
        gather_stock();
}

permutation::permutation(std::span<const std::int32_t> goes_to)
    : size_(static_cast<int>(goes_to.size())) {
    for (std::size_t p = 0; p < goes_to.size(); ++p)
        goes_to_[p] = static_cast<std::int16_t>(goes_to[p]);
}

permutation permutation::identity(int size) {
    permutation p;
    p.size_ = size;
    for (int i = 0; i < size; ++i)
        p.goes_to_[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
    return p;
}

permutation permutation::then(const permutation& next) const {
    permutation both;
    both.size_ = size_;
    for (std::size_t p = 0; p < static_cast<std::size_t>(size_); ++p)
        both.goes_to_[p] = next.goes_to_[static_cast<std::size_t>(goes_to_[p])];
    return both;
}

permutation permutation::inverse() const {
    permutation back;
    back.size_ = size_;
    for (std::size_t p = 0; p < static_cast<std::size_t>(size_); ++p)
        back.goes_to_[static_cast<std::size_t>(goes_to_[p])] = static_cast<std::int16_t>(p);
    return back;
}

void permutation::apply(const card* before, card* after) const {
    for (int p = 0; p < size_; ++p)
        after[goes_to_[static_cast<std::size_t>(p)]] = before[p];
}

} // namespace deal
