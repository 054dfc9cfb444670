// The hands of one deal: which positions of the deck each hand receives, in
// the order it receives them, and which the passes leave as a stock. It says
// where cards come from, not which cards they are: the same hands, read on
// the deck after any number of rounds, are that round's deal.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "deal/description.hpp"

namespace deal {

class hands {
public:
    // Deals a deck of d.cards positions as `d` says, which must check
    // without a fault.
    void deal(const description& d);

    int count() const { return count_; }
    // Hand h, 0 <= h < count(): the positions it receives, first dealt first;
    // empty for a hand the deck ran out before.
    std::span<const std::int16_t> hand(int h) const {
        return {positions_.data() + begin_[static_cast<std::size_t>(h)],
                positions_.data() + begin_[static_cast<std::size_t>(h) + 1]};
    }
    // How many positions the passes leave, as cards are dealt from the top:
    // positions 0 to stock_size() - 1; none unless the rest is put on top or
    // at the bottom.
    int stock_size() const { return stock_size_; }

    // Where each card is dealt, in dealing order, from the top of the deck:
    // the hand that the card at position cards - 1 - i goes to is
    // order()[i]; the stock is not dealt.
    std::span<const std::int16_t> order() const { return {order_.data(), dealt_}; }
    // The pass, from 0, in which each card in order() is dealt.
    std::span<const std::int16_t> passes() const { return {pass_.data(), dealt_}; }

private:
    int count_ = 0;
    std::size_t dealt_ = 0;
    int stock_size_ = 0;
    std::array<std::int16_t, max_cards> positions_{};
    std::array<std::int32_t, max_deal_hands + 1> begin_{};
    std::array<std::int16_t, max_cards> order_{};
    std::array<std::int16_t, max_cards> pass_{};
};

} // namespace deal
