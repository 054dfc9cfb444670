// The deck a run starts from: which card lies at each position and which lie
// face up. A new deck holds card p at position p, face down; a magician's
// stack holds the cards of a pack in its own order, some perhaps face up. A
// card keeps its number wherever it starts, so that a round's permutation,
// learnt from positions, gives the deck of any round from any start.
//
// A deck of at most a pack is made of playing cards: card k shows face(k),
// a card of the pack (deal/pack.hpp), the cards numbered in the order of a
// new deck. A new deck of M cards, or any order of them, is the pack's
// first M, card k showing card k of the pack; a named packet is any M
// cards of the pack, card 0 the one lowest in a new deck.
#pragma once

#include <span>
#include <vector>

#include "deal/limits.hpp"

namespace deal {

class start {
public:
    // The new deck of `size` cards.
    static start new_deck(int size);
    // Any other: the card at each position, bottom first, face_up bits and
    // all; each number from 0 to its size - 1 once. `faces` gives the card
    // of the pack each number shows, in increasing order; without them, a
    // deck of at most a pack is the pack's first cards.
    explicit start(std::vector<card> bottom_first, std::vector<int> faces = {});
    start() = default;

    int size() const { return static_cast<int>(cards_.size()); }
    card operator[](int p) const { return cards_[static_cast<std::size_t>(p)]; }
    std::span<const card> cards() const { return cards_; }
    // Whether some card starts face up.
    bool any_face_up() const { return any_face_up_; }
    // Where the card numbered `number` starts.
    int position_of(int number) const { return position_[static_cast<std::size_t>(number)]; }

    // The pack's card that each card shows, by its number; none for a deck
    // larger than a pack.
    std::span<const int> faces() const { return faces_; }
    bool has_faces() const { return !faces_.empty(); }
    int face(int number) const { return faces_[static_cast<std::size_t>(number)]; }
    // Whether the cards were named, as a packet of the pack: even the pack's
    // first cards are then known by their faces, as they were given.
    bool named() const { return named_; }
    // The card that shows the pack's card `face`, or -1 for none.
    int card_showing(int face) const;

    // The deck that positions make of this start: `moved` holds, for each
    // position, the position whose card lies there now, with the face_up bit
    // where that card has been turned over an odd number of times; into
    // `deck`, which may be `moved`.
    void place(const card* moved, card* deck) const;

private:
    std::vector<card> cards_;
    std::vector<int> position_;
    std::vector<int> faces_;
    bool named_ = false;
    bool any_face_up_ = false;
    bool is_new_ = true;
};

} // namespace deal
