// A deal, described: how many hands, how many cards, how many cards each pass
// gives every hand, what becomes of the cards the passes leave, and how the
// hands are gathered again, in a fixed order or with the pile that holds a
// followed card put where the magician says. The default of every field but
// the hand count is the deal that deal itself plays.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "deal/limits.hpp"

namespace deal {

// What becomes of the cards left when the passes are done.
enum class rest : unsigned char {
    again,  // the passes start over, from the first packet, until none is left
    top,    // the rest, in its order, is put on top of the gathered hands
    bottom, // or under them
};

// Where a hand's first card lies once the hands are gathered.
enum class first_card : unsigned char { top, bottom };

// Which hand goes to the bottom of the gathered deck.
enum class bottom_hand : unsigned char { last, first };

class description {
public:
    // deal's own: 2, 2 and 1 cards a pass, 5 a hand.
    description();

    std::int32_t hands = 0;
    // The cards 0 to cards - 1; none for an empty deck.
    std::int32_t cards = 0;
    deal::rest rest = rest::again;
    deal::first_card first_card = first_card::top;
    deal::bottom_hand bottom_hand = bottom_hand::last;

    std::span<const std::int32_t> packets() const { return packets_; }
    // Replaces the packets; false, leaving them as they were, if there are
    // none or more than max_packets.
    bool set_packets(std::span<const std::int32_t> packets);

    // The hands in the order they lie in the gathered deck, from the top
    // down, where one was given; empty where bottom_hand says it.
    std::span<const std::int16_t> gather() const { return gather_; }
    // Replaces the order; false, leaving it as it was, if it names more than
    // max_deal_hands hands. Whether it names each hand once is check's to say.
    bool set_gather(std::span<const std::int16_t> order);
    // The hand at place i of the gathered deck from the top, 0 <= i < hands.
    int gathered(int i) const;

    // The hand that holds the followed card goes with this many hands above
    // it; -1 for none, where the hands keep their order.
    std::int32_t chosen_pile = -1;

    // The cards one pass of every packet gives each hand: 5 for deal's own.
    std::int64_t cards_per_hand() const;
    // The deck that `hands` hands of cards_per_hand() each make, with no
    // --cards given: 0 for no hands. May exceed max_cards.
    std::int64_t default_cards(std::int64_t count) const;

    // This deal for `count` hands: with a deck of `deck` cards where one is
    // given, else of default_cards(count), which must fit.
    description dealt_to(std::int64_t count, std::optional<std::int64_t> deck) const;

    // The packets, and everything but the hand count and the deck size, as
    // deal's own.
    bool default_packets() const;
    bool default_rules() const;

private:
    std::vector<std::int32_t> packets_;
    std::vector<std::int16_t> gather_;
};

// What is wrong with a description, if anything: each field is checked
// against the limits above.
enum class fault : unsigned char {
    none,
    hands_out_of_range, // below 1 (with cards), or above max_deal_hands
    cards_out_of_range, // below 0, or above max_cards; 0 only with no hands
    packet_out_of_range,
    gather_not_hands,         // the order does not name each hand once
    chosen_pile_out_of_range, // not below the hand count
};
fault check(const description& d);

// deal's own packets, 2, 2 and 1 cards a pass: written here and nowhere else.
inline constexpr std::int32_t own_packets[] = {2, 2, 1};

// deal's own deal for `hands` hands, from 1 to 1010 (or 0 and below, the
// empty deck).
description default_deal(std::int32_t hands);

// The hand counts a deal supports, both ends included. deal's own keeps its
// own range, down to the empty decks of 0 hands and below; a deck of given
// size needs a hand to deal to; any other deal takes as many hands as a deck
// has cards, as long as (without a given size) their cards fit in one, which
// cards_fit checks.
struct count_limits {
    std::int64_t least, most;
};
count_limits hand_limits(bool own_deal, bool cards_given);
inline bool cards_fit(const description& rules, std::int64_t hands) {
    return rules.default_cards(hands) <= max_cards;
}

} // namespace deal
