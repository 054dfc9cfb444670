// The words of a starting deck, as --deck and the page's Deck field take
// them: new deck order, a named stack, or the cards from the top, each once,
// as playing cards' names on a pack or as numbers, any of them marked face up
// by a '^' right after it. Read into the deck the core starts from, or the
// fault in the family's words.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "deal/limits.hpp"
#include "text/shown.hpp"

namespace text {

// The stacks by name, the default first.
inline constexpr const char* stack_names[] = {"new", "si-stebbins", "eight-kings"};

// Reads `order` for a deck of `cards` cards into `bottom_first`, each card's
// number with the face_up bit where it starts face up; false, with the fault
// in `words`, of `room` bytes.
bool read_deck(std::string_view order, int cards, std::vector<deal::card>& bottom_first,
               show_value show, char* words, std::size_t room);

// How many cards the deck `order` holds, where it says: a named stack or a
// list of names a pack's 52, a list of numbers as many as it lists; nothing
// for new deck order, whose size is the deal's.
std::optional<int> deck_size(std::string_view order);

// The text of a deck's file as a list: each '#' and what follows it on its
// line left out.
std::string_view without_comments(std::string_view file, std::vector<char>& room);

} // namespace text
