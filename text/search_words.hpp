// The searches' refusals, in the words deal-solve, deal-group and the module
// all give them: too many shortest routines to list, a search past its
// limits, and what the group cannot do.
#pragma once

#include <cstddef>
#include <cstdint>

namespace text {

// "more than M routines of LENGTH moves bring position FROM to TO: allow
// fewer moves, or ask for one routine without ALL", or "... bring any card
// to TO ..." where `from` is negative; `all` the way to ask for every one
// ("--all", "all=True").
void too_many_routines(char* words, std::size_t room, int length, int from, int to,
                       const char* all);
// Where the search for any card would take more than its steps.
void search_too_long(char* words, std::size_t room);
// Where it would keep more than `most` sets of places on `cards` cards.
void search_too_wide(char* words, std::size_t room, std::int64_t most, int cards);

// The group's refusals, in the words deal-group and the module both give
// them: move `index` (from 1), shown as `move`, gathers a chosen pile; the
// group would take more than its steps; no routine to an order was found,
// the search having reached `searched` decks, and the chain's words having
// come to more (`chained`) or the chain being too large to build.
void group_chosen_pile(char* words, std::size_t room, std::size_t index, const char* move);
void group_too_long(char* words, std::size_t room);
void no_group_routine(char* words, std::size_t room, std::int64_t searched, bool chained);

} // namespace text
