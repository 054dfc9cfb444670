#include "text/search_words.hpp"

#include <cstdio>
#include <string>

#include "deal/limits.hpp"

namespace text {

void too_many_routines(char* words, std::size_t room, int length, int from, int to,
                       const char* all) {
    const std::string start = from < 0 ? "any card" : "position " + std::to_string(from);
    std::snprintf(words, room,
                  "more than %lld routines of %d moves bring %s to %d: allow fewer moves, or ask "
                  "for one routine without %s",
                  static_cast<long long>(deal::max_search_answers), length, start.c_str(), to, all);
}

void search_too_long(char* words, std::size_t room) {
    std::snprintf(words, room,
                  "the search would take more than %lld steps, a step a place moved by a move: "
                  "allow fewer moves",
                  static_cast<long long>(deal::max_narrowing_steps));
}

void search_too_wide(char* words, std::size_t room, std::int64_t most, int cards) {
    std::snprintf(words, room,
                  "the search would keep more than %lld sets of places the card may be in, the "
                  "most for a deck of %d cards: allow fewer moves",
                  static_cast<long long>(most), cards);
}

} // namespace text
