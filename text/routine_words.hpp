// The one reader of a routine and of the moves a search may choose from, for
// the command line and the page alike: text in, a routine or moves out, or the
// fault in the family's words. It knows the moves' names, their arguments and
// their limits, which the help, the manual and the page ask it for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "deal/routine.hpp"
#include "text/shown.hpp"

namespace text {

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

// Reads a routine for a deck of `cards` cards, from 1 to max_cards: moves
// separated by ';', white space around them ignored, each a move's name and
// its arguments separated by white space (blanks, tabs, newlines); a move's
// name and the words out, in and random in any letter case; a deal's
// options as on the command line, long names shortened to any unambiguous
// prefix, their values after '=' or white space. False, with the fault in
// `words`, naming the move by its number and text; `r` is then left part way.
bool read_routine(std::string_view text, int cards, deal::routine& r, show_value show, char* words,
                  std::size_t room);

// Reads the moves a search may choose from, for a deck of `cards` cards:
// moves as a routine writes them, separated by '|', white space around them
// ignored. One integer of a move may be a range A..B (`cut 1..51`,
// `--chosen-pile 0..2`), which stands for the move with every value from A
// to B in turn. Each move, ranges expanded, goes in order to
// take(context, move). False, with the fault in `words`, where the list is
// empty, a move is missing or bad, a range runs backwards, or the moves come
// to more than deal::max_search_moves.
using take_move = bool (*)(void* context, const deal::move& m);
bool read_move_list(std::string_view text, int cards, take_move take, void* context,
                    show_value show, char* words, std::size_t room);

// A move as a routine writes it ("deal 3 --packets 1", "cut 26"), and a
// whole routine, moves separated by "; ". Each returns the end of what it
// wrote, at most `room` bytes less the NUL it puts there, cut short there.
char* move_text(const deal::move& m, char* out, std::size_t room);
char* routine_text(const deal::routine& r, char* out, std::size_t room);

} // namespace text

namespace text {

// A round number below 0 where a deal gathers a followed card's pile, which
// deal::runs_backwards says cannot be: "SHOWN runs backwards, and a deal with
// a chosen pile cannot be undone: give rounds from 0". Writes into `out`, of
// `room` bytes, and returns its end.
char* backwards_words(char* out, std::size_t room, const char* shown);

} // namespace text
