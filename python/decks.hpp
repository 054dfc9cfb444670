// Cards and decks as Python sees them: a Card, named as a playing card where
// its number is one of a pack's, and a Deck, a sequence of cards from the top
// as a magician reads it, made from a size, a stack's name, or the cards.
#pragma once

#include <optional>
#include <vector>

#include "deal/limits.hpp"
#include "deal/start.hpp"
#include "python/words.hpp"

namespace python {

struct card_value {
    deal::card number = 0;
    bool face_up = false;
};

// A deck, bottom first as the core keeps it, each card with its face bit.
struct deck_value {
    std::vector<deal::card> bottom_first;
    // Whether its listing marks every card's face, as a run of a routine
    // that turns cards, or from a card face up, is listed.
    bool marked = false;
    int size() const { return static_cast<int>(bottom_first.size()); }
    // The card i-th from the top, 0 the top card.
    deal::card at(int i) const { return bottom_first[bottom_first.size() - 1 - std::size_t(i)]; }
};

// The deck that `given` makes: a size (a new deck), a stack's name or the
// cards from the top as --deck takes them, or any iterable of cards, names
// and numbers from the top. ValueError or TypeError where it makes none.
deck_value deck_of(py::handle given);
// The start a run of `cards` cards begins from: `given` as above, or a new
// deck where it is None; ValueError where its size is not `cards`.
deal::start start_of(py::handle given, int cards);
// The number of the card `given` names (a Card, a name such as 'AS', or a
// number) in a deck of `cards` cards.
int card_number(py::handle given, int cards);

// The programs' listing of a deck, as deal-after writes it: bottom first,
// marked where a card may lie face up, or as faces.
std::string listing(const deck_value& d, bool marks, bool faces);

void bind_decks(py::module_& m);

} // namespace python
