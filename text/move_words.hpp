// The words of one move of a routine: the moves' names, their arguments and
// their limits, which the help, the manual and the page ask for; the reader
// of one move, and its writer. A routine's reader (text/routine_words.hpp)
// puts moves together.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "deal/routine.hpp"
#include "text/shown.hpp"

namespace text {

// Any white space separates words, as the shell and a file written by hand
// may leave a newline or a tab between them.
constexpr bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
// `s` without the white space around it.
std::string_view trimmed(std::string_view s);
// The next blank-separated word of `s`, taken off its front.
std::string_view next_word(std::string_view& s);
// Whether `a` is `b`, lower case, in any letter case.
bool same_letters(std::string_view a, std::string_view b);

// The moves, as a routine names them.
struct move_words {
    deal::move_kind kind;
    const char* name;      // "faro out"
    const char* arguments; // "K", or "" for none
    const char* example;   // what the page's button appends
    const char* help;      // what it does, in a line
};
std::span<const move_words> moves();
// The words of one move.
const move_words& words_of(deal::move_kind kind);

// Reads one move for a deck of `cards` cards into `out`, appended: a move's
// name and its arguments separated by white space, a name and the words
// out, in and random in any letter case, a deal's options as on the command
// line, long names shortened to any unambiguous prefix, their values after
// '=' or white space. A deal whose --chosen-pile is a list of piles (1,2,0)
// is a deal for each pile in turn, each after the first marked
// another_pile. False, with the fault in `fault`'s words.
bool read_move(std::string_view text, int cards, std::vector<deal::move>& out,
               const fault_out& fault);

// A move as a routine writes it ("deal 3 --packets 1", "cut 26"); or
// deals, each after the first another pile of the first, as one deal with
// their piles listed ("deal 3 --packets 1 --chosen-pile 1,2,0"). Each
// returns the end of what it wrote, at most `room` bytes less the NUL it
// puts there, cut short there.
char* move_text(const deal::move& m, char* out, std::size_t room);
char* move_text(std::span<const deal::move> piles, char* out, std::size_t room);

// Whether two deals differ in their chosen piles alone, both having one: the
// second may be written as another pile of the first.
bool same_but_pile(const deal::move& a, const deal::move& b);

} // namespace text
