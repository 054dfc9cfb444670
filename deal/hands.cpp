#include "deal/hands.hpp"

#include <algorithm>

namespace deal {

void hands::deal(const description& d) {
    count_ = std::max(d.hands, 0);
    const auto packets = d.packets();

    // The passes, from the top of the deck down: pass j gives every hand, in
    // order, packets[j] cards one at a time, and with the rest dealt again the
    // passes go round until the deck is gone. Each card's hand is noted in
    // dealing order; the hands' positions are laid out from it after.
    std::vector<std::int32_t> next(static_cast<std::size_t>(count_) + 1);
    const auto cards = static_cast<std::size_t>(std::max(d.cards, 0));
    order_.resize(cards);
    pass_.resize(cards);
    // Written through plain pointers: the compiler then need not fetch the
    // vectors' storage again after every card.
    std::int16_t* const order = order_.data();
    std::int16_t* const pass_of = pass_.data();
    std::int32_t* const sizes = next.data() + 1;
    int top = d.cards - 1;
    std::size_t dealt = 0;
    int passes = 0;
    for (std::size_t pass = 0; top >= 0 && count_ > 0; ++passes) {
        for (int h = 0; h < count_ && top >= 0; ++h) {
            const int take = std::min(packets[pass], top + 1);
            // A card at a time, the pile shuffle's way, is the common case.
            if (take == 1) {
                order[dealt] = static_cast<std::int16_t>(h);
                pass_of[dealt] = static_cast<std::int16_t>(passes);
            } else {
                std::fill_n(order + dealt, take, static_cast<std::int16_t>(h));
                std::fill_n(pass_of + dealt, take, static_cast<std::int16_t>(passes));
            }
            sizes[h] += take;
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

    // Each hand's first slot: the sizes of the hands before it, summed in
    // place; then, card by card, each hand's next free slot.
    for (int h = 1; h <= count_; ++h)
        next[static_cast<std::size_t>(h)] += next[static_cast<std::size_t>(h) - 1];
    begin_.assign(next.begin(), next.end());
    positions_.resize(dealt);
    std::int16_t* const positions = positions_.data();
    std::int32_t* const free_slot = next.data();
    for (std::size_t i = 0; i < dealt; ++i)
        positions[free_slot[order[i]]++] =
            static_cast<std::int16_t>(d.cards - 1 - static_cast<int>(i));
}

} // namespace deal
