#include "deal/gathering.hpp"

namespace deal {

gathering::gathering(const description& d, const hands& dealt)
    : d_(d), dealt_(dealt), place_(static_cast<std::size_t>(dealt.count())),
      above_(static_cast<std::size_t>(dealt.count()) + 1),
      stock_above_(d.rest == rest::top ? dealt.stock_size() : 0) {
    for (int i = 0; i < dealt.count(); ++i) {
        const int h = d.gathered(i);
        place_[static_cast<std::size_t>(h)] = i;
        above_[static_cast<std::size_t>(i) + 1] = above_[static_cast<std::size_t>(i)] + size_of(h);
    }
}

int gathering::above(int g, int c) const {
    const int t = d_.chosen_pile;
    const auto at = [this](int i) { return above_[static_cast<std::size_t>(i)]; };
    const int pg = place_[static_cast<std::size_t>(g)];
    if (c < 0 || t < 0)
        return stock_above_ + at(pg);
    const int pc = place_[static_cast<std::size_t>(c)];
    // The chosen hand lies under the first t hands of the order without it.
    if (g == c)
        return stock_above_ + (pc >= t ? at(t) : at(t + 1) - size_of(c));
    // Any other hand under those of the order without the chosen one that
    // come before it, and under the chosen hand too where that comes first.
    const bool chosen_before = pc < pg;
    const int index = pg - (chosen_before ? 1 : 0);
    return stock_above_ + at(pg) - (chosen_before ? size_of(c) : 0) + (index >= t ? size_of(c) : 0);
}

void gathering::lay(int g, int c, std::span<std::int16_t> out) const {
    // With the first card on top, the hand is turned over as it is picked
    // up: its first card highest.
    const auto hand = dealt_.hand(g);
    const int top = d_.cards - 1 - above(g, c);
    const bool first_on_top = d_.first_card == first_card::top;
    auto at =
        static_cast<std::int16_t>(first_on_top ? top : top - static_cast<int>(hand.size()) + 1);
    const std::int16_t step = first_on_top ? -1 : 1;
    std::int16_t* const deck = out.data();
    for (const std::int16_t p : hand) {
        deck[p] = at;
        at = static_cast<std::int16_t>(at + step);
    }
}

void gathering::lay_stock(std::span<std::int16_t> out) const {
    // The stock keeps its order, under the hands or on top of them.
    const int stock = dealt_.stock_size();
    const int lowest = d_.rest == rest::top ? d_.cards - stock : 0;
    for (int p = 0; p < stock; ++p)
        out[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(lowest + p);
}

void gathering::goes_to(int chosen, std::span<std::int16_t> out) const {
    lay_stock(out);
    for (int h = 0; h < dealt_.count(); ++h)
        lay(h, chosen, out);
}

void gathering::followed_steps(std::span<std::int16_t> out) const {
    lay_stock(out);
    for (int h = 0; h < dealt_.count(); ++h)
        lay(h, d_.chosen_pile >= 0 ? h : -1, out);
}

} // namespace deal
