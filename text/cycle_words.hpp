// A round's cycles as teachers write them: in the cycle notation that GAP
// reads, and as a summary of cycle type, sign and fixed positions.
#pragma once

#include <cstddef>

#include "deal/cycles.hpp"
#include "deal/description.hpp"

namespace text {

// Room for any of the texts below, for a deck of up to max_cards: every
// position, four digits and a separator, a pair of parentheses for every
// two positions, and a little more.
inline constexpr std::size_t cycle_words_room = 32 + 6 * deal::max_cards;

// "(2,6,8,5,7,4,3)": each cycle in parentheses, its positions counted from 1
// and each mapped to the next, fixed positions left out; "()" for a round
// that moves nothing. No newline.
char* gap_text(const deal::cycles& round, char* out);

// "1^3 7": each length, ascending, with how many cycles have it as an
// exponent where that is more than one.
char* cycle_type_text(const deal::cycles& round, char* out);

// "1 1 5^ 7": the cycle type of a round told with the cards' faces, each
// cycle's length, ascending, once a cycle, with a '^' after the length of a
// cycle that brings its cards back turned over, as the cycles' own lines
// mark it: no exponent, so that '^' means face up alone. A marked cycle of
// length L counts 2L towards the period.
char* faced_cycle_type_text(const deal::cycles& round, char* out);

// Whether the round, as a permutation, is even: the number of positions less
// the number of cycles, each cycle of length L being L - 1 transpositions.
bool even(const deal::cycles& round);

// "0 8 9": the positions that never move, their cards never turned over,
// counted from `first`, separated by blanks; with `turned`, those whose card
// stays but is turned over every round.
char* fixed_text(const deal::cycles& round, char* out, int first = 0, bool turned = false);

} // namespace text
