// The hands of one deal: which positions of the deck each hand receives, in
// the order it receives them, and which the passes leave as a stock. It says
// where cards come from, not which cards they are: the same hands, read on
// the deck after any number of rounds, are that round's deal.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/description.hpp"

namespace deal {

class hands {
public:
    // No hands, no cards.
    hands() = default;
    // Deals a deck of d.cards positions as `d` says, which must check
    // without a fault.
    explicit hands(const description& d) { deal(d); }
    // The same in place of the hands held, their room kept: for a caller
    // that deals thousands of decks.
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
    std::span<const std::int16_t> order() const { return order_; }
    // The pass, from 0, in which each card in order() is dealt.
    std::span<const std::int16_t> passes() const { return pass_; }

    // The hand that the card at position p is dealt to; -1 for the stock.
    int hand_of(int p) const {
        return p < stock_size_ ? -1
                               : order_[order_.size() + static_cast<std::size_t>(stock_size_) - 1 -
                                        static_cast<std::size_t>(p)];
    }

private:
    int count_ = 0;
    int stock_size_ = 0;
    std::vector<std::int16_t> positions_;
    std::vector<std::int32_t> begin_{0};
    std::vector<std::int16_t> order_;
    std::vector<std::int16_t> pass_;
};

} // namespace deal
