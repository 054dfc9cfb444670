// A routine: one round made of moves done in turn on the whole deck, as a
// magician performs it: deals gathered in any order, cuts, perfect faros, the
// deck turned over, the Monge shuffle, down-under deals. Each move makes a
// permutation of the deck, and the round is their composition, so that its
// cycles, period and round numbers follow as for a single deal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "deal/description.hpp"
#include "deal/limits.hpp"
#include "deal/permutation.hpp"

namespace deal {

enum class move_kind : unsigned char {
    deal,       // the deck dealt and gathered as a description says
    cut,        // the top K cards put, in their order, under the rest
    faro_out,   // the top half, the larger, and the rest interleaved; the top card stays
    faro_in,    // the top half, the smaller, and the rest interleaved under it
    reverse,    // the deck turned over
    monge,      // each card from the top above, then below, the growing pile
    down_under, // cards alternately down onto the table and under the rest, down first
    under_down, // the same, under first
};

struct move {
    move_kind kind = move_kind::reverse;
    std::int32_t cut = 0; // a cut's K, from -cards to cards
    description deal;     // a deal's; its deck is the routine's
};

class routine {
public:
    // The deck the moves work on: the cards 0 to cards - 1.
    int cards = 0;

    std::span<const move> moves() const { return {moves_.data(), count_}; }
    // Appends a move; false, leaving the routine as it was, past max_moves.
    bool add(const move& m);
    void clear() { count_ = 0; }

    // The same moves on a deck of `cards` cards, as a routine read for that
    // deck has them; false, leaving the routine as it was, where one does not
    // fit it: a cut deeper than the deck, a deal into more hands than cards.
    bool fit(int cards);

    // Whether a deal gathers the pile of a followed card where it says, so
    // that the round depends on where that card is.
    bool follows_card() const;
    // How many of the moves are deals.
    int deal_count() const;

private:
    std::array<move, max_moves> moves_{};
    std::size_t count_ = 0;
};

// The permutation a move makes of a deck of `cards` cards, a deal's as if it
// followed no card.
permutation move_permutation(const move& m, int cards);

// The same where the followed card is at position `at`: a deal with a chosen
// pile then gathers the pile that holds it where it says, and the whole
// deck's order follows from that.
permutation move_permutation(const move& m, int cards, int at);

// The round: every move in turn. It must follow no card.
permutation round_permutation(const routine& r);

// Where a followed card goes in one move, from every position of the deck,
// into `next` (cards entries): a move's permutation, but for a deal with a
// chosen pile, which gathers the pile that holds the card where it says.
void follow_move(const move& m, int cards, std::int16_t* next);

} // namespace deal
