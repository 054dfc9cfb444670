// Where a deal's hands lie once they are gathered: the stock on top or under
// them where it goes there, and the hands in their order from the top, one of
// them, where a pile is chosen, moved to have chosen_pile hands above it. The
// round's permutation and a followed card's step through a chosen pile both
// come from here, so that the gathering is written once.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/description.hpp"
#include "deal/hands.hpp"

namespace deal {

class gathering {
public:
    // For hands that `d` dealt; both must outlive this.
    gathering(const description& d, const hands& dealt);

    // Where the card at every position goes, into `out` (d.cards entries),
    // with hand `chosen` gathered where the chosen pile says; -1, or a deal
    // with no chosen pile, gathers every hand in its order.
    void goes_to(int chosen, std::span<std::int16_t> out) const;

    // Where a followed card goes from every position, into `out`: its hand
    // is the chosen one, wherever it is. Not a permutation: cards of
    // different hands land at the same place.
    void followed_steps(std::span<std::int16_t> out) const;

private:
    // How many cards lie above hand g's once gathered, hand c chosen.
    int above(int g, int c) const;
    // Where each card of hand g lands, hand c chosen, into `out`.
    void lay(int g, int c, std::span<std::int16_t> out) const;
    void lay_stock(std::span<std::int16_t> out) const;
    int size_of(int h) const { return static_cast<int>(dealt_.hand(h).size()); }

    const description& d_;
    const hands& dealt_;
    // Each hand's place in the order from the top, and the cards above
    // each place, the stock left out.
    std::vector<int> place_, above_;
    int stock_above_;
};

} // namespace deal
