// The searches' refusals, in the words deal-solve and the module both give
// them: too many shortest routines to list, and a search past its limits.
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

} // namespace text
