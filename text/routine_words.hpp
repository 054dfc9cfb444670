// The one reader of a routine and of the moves a search may choose from, for
// the command line and the page alike: text in, a routine or moves out, or the
// fault in the family's words; and the writer of routines, in the same
// grammar. A routine is moves separated by ';' (text/move_words.hpp), any of
// them, or a group of them in brackets, followed by a repeat: `faro out x8`,
// `(cut 1; faro out) x26`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "deal/routine.hpp"
#include "text/move_words.hpp"
#include "text/shown.hpp"

namespace text {

// Reads a routine for a deck of `cards` cards, from 1 to max_cards: moves
// separated by ';', white space around them ignored; a move, or moves in
// brackets, which may hold moves in brackets in turn, followed by xN (N from
// 1 to max_repeat, x in any letter case) done N times. At most max_moves
// moves as written, and at most max_played_moves played one by one a round
// (deal::routine::played_moves). False, with the fault in `words`, naming
// the move by its number as written and its text; `r` is then left part way.
bool read_routine(std::string_view text, int cards, deal::routine& r, show_value show, char* words,
                  std::size_t room);

// Reads the moves a search may choose from, for a deck of `cards` cards:
// separated by '|', white space around them ignored, each a move as a
// routine writes it, or a group of moves in brackets, either perhaps
// repeated (`faro out x2`, `(cut 26; faro in)`), which the search takes as
// one step. One integer of each may be a range A..B (`cut 1..51`,
// `--chosen-pile 0..2`), which stands for it with every value from A to B
// in turn. Each, ranges expanded, goes in order to take(context, routine)
// as a routine of its moves. False, with the fault in `words`, where the
// list is empty, a move is missing or bad, a range runs backwards, or the
// moves come to more than deal::max_search_moves.
using take_move = bool (*)(void* context, const deal::routine& step);
bool read_move_list(std::string_view text, int cards, take_move take, void* context,
                    show_value show, char* words, std::size_t room);

// A whole routine as it reads: moves separated by "; ", a repeat as "MOVE
// xN" or "(MOVES) xN", deals that are another pile of the one before them
// written with it as one deal. Returns the end of what it wrote, at most
// `room` bytes less the NUL it puts there, cut short there.
char* routine_text(const deal::routine& r, char* out, std::size_t room);

// The routine a search found, `path` its steps by their indices in `steps`,
// written with what repeats collapsed: a step, or a run of steps, done
// again and again as one repeat ("faro in x2; faro out x2"), and deals that
// differ only in their chosen piles as one deal with its piles listed
// ("deal 3 --packets 1 --chosen-pile 1,2,0"). It reads back as the same
// round.
std::string collapsed_text(std::span<const deal::routine> steps, std::span<const int> path);

// A round number below 0 where a deal gathers a followed card's pile, which
// deal::runs_backwards says cannot be: "SHOWN runs backwards, and a deal with
// a chosen pile cannot be undone: give rounds from 0". Writes into `out`, of
// `room` bytes, and returns its end.
char* backwards_words(char* out, std::size_t room, const char* shown);

} // namespace text
