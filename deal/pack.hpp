// A pack of playing cards as the family numbers it: a new deck, face down,
// as it comes out of its box. Card 0, at the bottom, is the ace of spades;
// then the spades up to the king, the diamonds ace to king, the clubs king
// to ace and the hearts king to ace, the ace of hearts on top (card 51).
// The stacks magicians start from are orders of these cards.
#pragma once

#include <array>

#include "deal/limits.hpp"

namespace deal {

// The suits from the bottom of a new deck up.
enum class suit : unsigned char { spades, diamonds, clubs, hearts };
inline constexpr int suit_count = 4;
inline constexpr int rank_count = 13; // the ace (0) to the king (12)
static_assert(suit_count * rank_count == max_playing_cards);

// A card's suit and rank, and the card of a rank and suit. (Named c: `card`
// is the type.)

// Whether a suit runs from the king at the bottom of a new deck.
constexpr bool from_king(suit s) {
    return s == suit::clubs || s == suit::hearts;
}

constexpr suit suit_of(int c) {
    return static_cast<suit>(c / rank_count);
}
constexpr int rank_of(int c) {
    const int at = c % rank_count;
    return from_king(suit_of(c)) ? rank_count - 1 - at : at;
}
constexpr int card_of(int rank, suit s) {
    const int at = from_king(s) ? rank_count - 1 - rank : rank;
    return static_cast<int>(s) * rank_count + at;
}

// The cyclic stacks, from the top, as their cards' numbers. Si Stebbins:
// every card three ranks above the one above it, the suits clubs, hearts,
// spades, diamonds in turn (A♣ 4♥ 7♠ 10♦ K♣ ...). Eight Kings: the ranks
// 8 K 3 10 2 7 9 5 Q 4 A 6 J over and over, the suits in the same turn.
using pack_order = std::array<int, max_playing_cards>;
pack_order si_stebbins();
pack_order eight_kings();

} // namespace deal
