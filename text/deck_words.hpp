// The words of a starting deck, as --deck and the page's Deck field take
// them: new deck order, a named stack, or the cards from the top, each once,
// as numbers, or as playing cards' names, a pack's or a packet's, any of
// them marked face up by a '^' right after it, and spans of them (AS..8D,
// 0..9). Read into the deck the core starts from, or the fault in the
// family's words.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "deal/limits.hpp"
#include "deal/start.hpp"
#include "text/shown.hpp"

namespace text {

// The stacks by name, the default first.
inline constexpr const char* stack_names[] = {"new", "si-stebbins", "eight-kings"};

// Reads `order` for a deck of `cards` cards into `bottom_first`, each card's
// number with the face_up bit where it starts face up, and, for a list of
// names, the card of the pack each number shows into `faces` (as
// deal::start takes them), else none; false, with the fault in `words`, of
// `room` bytes. A list's names are a packet of the pack, any of its cards
// once, numbered by their order in a new deck: card 0 the lowest. A span
// A..B is the cards from A to B, either way, in a new deck's order, or the
// numbers from A to B; a '^' after it starts each of them face up.
bool read_deck(std::string_view order, int cards, std::vector<deal::card>& bottom_first,
               std::vector<int>& faces, show_value show, char* words, std::size_t room);
// The same without the faces.
bool read_deck(std::string_view order, int cards, std::vector<deal::card>& bottom_first,
               show_value show, char* words, std::size_t room);
// The same as the deck the core starts from; nothing after a fault.
std::optional<deal::start> read_start(std::string_view order, int cards, show_value show,
                                      char* words, std::size_t room);

// How many cards the deck `order` holds, where it says: a named stack a
// pack's 52, a list as many as it lists, spans counted card by card;
// nothing for new deck order, whose size is the deal's.
std::optional<int> deck_size(std::string_view order);

// Whether `order` may name a stack of the user's own: one word that names
// no stack of the family's and no card, nor a span, and could be a file's
// name (no '/', not starting with '.').
bool may_name_own_stack(std::string_view order);

// The text of a deck's file as a list: each '#' and what follows it on its
// line left out.
std::string_view without_comments(std::string_view file, std::vector<char>& room);

} // namespace text
