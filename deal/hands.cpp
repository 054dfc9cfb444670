#include "deal/hands.hpp"

#include <algorithm>

namespace deal {

hands::hands(const description& d) : count_(std::max(d.hands, 0)) {
    const auto packets = d.packets();

    // The passes, from the top of the deck down: pass j gives every hand, in
    // order, packets[j] cards one at a time, and with the rest dealt again the
    // passes go round until the deck is gone. Each card's hand is noted in
    // dealing order; the hands' positions are laid out from it after.
    std::vector<std::int32_t> sizes(static_cast<std::size_t>(count_));
    const auto cards = static_cast<std::size_t>(std::max(d.cards, 0));
    order_.resize(cards);
    pass_.resize(cards);
    int top = d.cards - 1;
    std::size_t dealt = 0;
    int passes = 0;
    for (std::size_t pass = 0; top >= 0 && count_ > 0; ++passes) {
        for (int h = 0; h < count_ && top >= 0; ++h) {
            const int take = std::min(packets[pass], top + 1);
            // A card at a time, the pile shuffle's way, is the common case.
            if (take == 1) {
                order_[dealt] = static_cast<std::int16_t>(h);
                pass_[dealt] = static_cast<std::int16_t>(passes);
            } else {
                std::fill_n(order_.begin() + static_cast<std::ptrdiff_t>(dealt), take,
                            static_cast<std::int16_t>(h));
                std::fill_n(pass_.begin() + static_cast<std::ptrdiff_t>(dealt), take,
                            static_cast<std::int16_t>(passes));
            }
            sizes[static_cast<std::size_t>(h)] += take;
            dealt += static_cast<std::size_t>(take);
            top -= take;
        }
        if (++pass == packets.size()) {
            if (d.rest != rest::again)
                break;
            pass = 0;
        }
    }

    stock_size_ = top + 1;
    order_.resize(dealt);
    pass_.resize(dealt);

    begin_.resize(static_cast<std::size_t>(count_) + 1);
    positions_.resize(dealt);
    for (int h = 0; h < count_; ++h)
        begin_[static_cast<std::size_t>(h) + 1] =
            begin_[static_cast<std::size_t>(h)] + sizes[static_cast<std::size_t>(h)];
    // Each hand's next free slot, reusing the sizes.
    for (int h = 0; h < count_; ++h)
        sizes[static_cast<std::size_t>(h)] = begin_[static_cast<std::size_t>(h)];
    for (std::size_t i = 0; i < dealt; ++i) {
        auto& next = sizes[static_cast<std::size_t>(order_[i])];
        positions_[static_cast<std::size_t>(next++)] =
            static_cast<std::int16_t>(d.cards - 1 - static_cast<int>(i));
    }
}

} // namespace deal
