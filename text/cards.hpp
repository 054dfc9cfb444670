// Cards named as playing cards: a deck of up to 52 is the cards of a new deck,
// face down, as it comes out of its box. Card 0, at the bottom, is the ace of
// spades; then the spades up to the king, the diamonds ace to king, the clubs
// king to ace and the hearts king to ace, the ace of hearts on top (card 51).
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "deal/limits.hpp"
#include "deal/pack.hpp"
#include "text/shown.hpp"

namespace text {

// A card's name, rank then suit ("A♠", "10♦"), NUL-terminated: at most two
// bytes of rank and three of suit. The card must be below max_playing_cards.
inline constexpr std::size_t card_name_room = 6;
char* card_name(int card, char* out);
// The same in words, for a sentence: "the ace of spades".
const char* card_words(int card, char* out, std::size_t room);
// How many columns a name takes on a terminal: 2, or 3 for a ten.
int card_name_width(int card);

// A card that a name names, as a person types it: the rank A, 2 to 10 (or T),
// J, Q or K, then the suit S, H, D or C or its symbol ♠ ♥ ♦ ♣, in any letter
// case ("AS", "10d", "Q♥"). Nothing if it names no card.
std::optional<int> card_named(std::string_view name);

// A card given as its number or its name, checked against a deck of `cards`
// cards whose cards show `faces` (deal::start::faces), by their numbers: the
// pack's first `cards` where `faces` is empty. On a fault, the words of
// what is wrong in `words`.
struct card_reading {
    enum fault_kind : unsigned char {
        none,
        not_a_card,     // neither an integer nor a card's name
        out_of_range,   // a number outside the deck
        names_too_many, // a name, on a deck of more than 52 cards
        not_in_deck,    // a name of a card that a smaller deck lacks
        not_in_packet,  // a name of a card that a named packet lacks
    } fault = none;
    int card = 0; // the card's number, or, for a name not in the deck, its face
};
card_reading read_card(std::string_view given, int cards, std::span<const int> faces = {});

// What read_card found wrong with `shown`, the value as the caller shows it,
// for a deck of `cards` cards: into `out`, of `room` bytes; returns its end.
char* card_fault_words(char* out, std::size_t room, const card_reading& reading, const char* shown,
                       int cards);

// The card `given` names, as the programs take a card: nothing with the
// fault in `words`, of `room` bytes, a number outside the deck said as any
// number out of range is ("card 60 is outside the supported range 0 to
// 51"), any other fault as card_fault_words says it, the value shown by
// `show`.
std::optional<int> read_card(std::string_view given, int cards, show_value show, char* words,
                             std::size_t room, std::span<const int> faces = {});
// The one reader of a list of cards: cards separated by commas, each as the
// one above reads it, into `numbers` in the order given; false with the
// first fault in `words`.
bool read_cards(std::string_view list, int cards, std::vector<int>& numbers, show_value show,
                char* words, std::size_t room, std::span<const int> faces = {});
// Room for `count` cards written by format_faces: a name's five bytes at
// most, a blank to align it, a mark and a blank after it, and the newline.
constexpr std::size_t faces_room(int count) {
    return static_cast<std::size_t>(count) * 8 + 1;
}
// Writes `count` cards, each below max_playing_cards, as the names of the
// cards they show (`faces`, by their numbers, or the pack's first cards),
// each right-aligned in three columns and followed by a blank, as "%2d "
// aligns numbers; no newline. With `marks`, as format_marked_cards marks
// numbers: "^" after a face-up card, a blank after a face-down one. Returns
// the end of what it wrote.
char* format_faces(const deal::card* cards, int count, char* out, bool marks = false,
                   std::span<const int> faces = {});
} // namespace text
