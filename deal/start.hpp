// The deck a run starts from: which card lies at each position and which lie
// face up. A new deck holds card p at position p, face down; a magician's
// stack holds the cards of a pack in its own order, some perhaps face up. A
// card keeps its number wherever it starts, so that a round's permutation,
// learnt from positions, gives the deck of any round from any start.
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
    // all; each number from 0 to its size - 1 once.
    explicit start(std::vector<card> bottom_first);
    start() = default;

    int size() const { return static_cast<int>(cards_.size()); }
    card operator[](int p) const { return cards_[static_cast<std::size_t>(p)]; }
    std::span<const card> cards() const { return cards_; }
    // Whether some card starts face up.
    bool any_face_up() const { return any_face_up_; }
    // Where the card numbered `number` starts.
    int position_of(int number) const { return position_[static_cast<std::size_t>(number)]; }

    // The deck that positions make of this start: `moved` holds, for each
    // position, the position whose card lies there now, with the face_up bit
    // where that card has been turned over an odd number of times; into
    // `deck`, which may be `moved`.
    void place(const card* moved, card* deck) const;

private:
    std::vector<card> cards_;
    std::vector<int> position_;
    bool any_face_up_ = false;
    bool is_new_ = true;
};

} // namespace deal
