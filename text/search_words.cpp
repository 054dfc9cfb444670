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

void group_chosen_pile(char* words, std::size_t room, std::size_t index, const char* move) {
    std::snprintf(words, room,
                  "move %zu of the moves allowed, %s: a chosen pile follows one card, and the "
                  "group moves the whole deck: leave --chosen-pile out",
                  index, move);
}

void group_too_long(char* words, std::size_t room) {
    std::snprintf(words, room,
                  "the group of these moves would take more than %lld steps to work out: allow "
                  "fewer moves or a smaller deck",
                  static_cast<long long>(deal::max_group_steps));
}

void no_group_routine(char* words, std::size_t room, std::int64_t searched, bool chained) {
    std::snprintf(words, room,
                  "no routine of at most %d moves to that order was found: the search reached "
                  "%lld decks, and %s",
                  deal::max_moves, static_cast<long long>(searched),
                  chained ? "the words built from the group's stabilizer chain came to more"
                          : "the group is too large to build words from its stabilizer chain");
}

} // namespace text
