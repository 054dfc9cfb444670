// The one reader of a deal's options and of a routine, for the command line
// and the page alike: text in, a description or a routine out, or the fault
// in the family's words. It knows the moves' names, their arguments and
// their limits, which the help, the manual and the page ask it for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "deal/description.hpp"
#include "deal/routine.hpp"
#include "text/integer_text.hpp"

namespace text {

// How a value given by the user is shown in a message, quotes and all: the
// programs quote it with escapes, the page in quotation marks; a value is cut
// after a few bytes, a whole move after more. Writes into `out`, of `room`
// bytes, and returns it.
enum class shown_length : unsigned char { value, move };
using show_value = const char* (*)(std::string_view value, shown_length length, char* out,
                                   std::size_t room);

// An integer `what` from `least` to `most`: true if `n` is one, else false
// with "WHAT N is outside the supported range LEAST to MOST" in `words`.
bool check_integer(const integer_text& n, const char* what, std::int64_t least, std::int64_t most,
                   char* words, std::size_t room);
// The same from text, which must be an integer: "SHOWN is not an integer WHAT"
// if it is not.
std::optional<std::int64_t> read_integer(std::string_view given, const char* what,
                                         std::int64_t least, std::int64_t most, show_value show,
                                         char* words, std::size_t room);
// A hand count that the deal `rules` takes (deal's own if `own_deal`, with a
// given deck if `cards_given`), at least `least`: within the deal's limits
// and, without a given deck, with cards enough for every hand.
bool check_hand_count(const integer_text& count, const deal::description& rules, bool own_deal,
                      bool cards_given, std::int64_t least, char* words, std::size_t room);

// The deal's options that a deal move takes, and that every program takes
// beside --cards, in the order the help lists them.
enum class deal_option : unsigned char {
    packets,
    rest,
    first_card,
    bottom_hand,
    gather,
    chosen_pile,
};
inline constexpr int deal_option_count = 6;
struct option_words {
    const char* name;  // without "--"
    const char* value; // the value's name in the help
};
inline constexpr option_words deal_options[deal_option_count] = {
    {"packets", "LIST"},           {"rest", "again|top|bottom"}, {"first-card", "top|bottom"},
    {"bottom-hand", "last|first"}, {"gather", "LIST"},           {"chosen-pile", "T"},
};

// Reads one option's value into `d`; false with the fault in `words`, of
// `room` bytes. Whether a gather order or a chosen pile fits the hand count
// is check_words' to say, once the count is known.
bool read_deal_option(deal_option o, std::string_view value, deal::description& d, show_value show,
                      char* words, std::size_t room);

// What deal::check finds wrong with the gathering of `d`, in words; false if
// anything is. The hand count and the deck are checked by their readers.
bool check_gathering(const deal::description& d, show_value show, char* words, std::size_t room);

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
// separated by ';', blanks around them ignored, each a move's name and its
// arguments separated by blanks; a deal's options as on the command line,
// long names shortened to any unambiguous prefix, their values after '=' or
// a blank. False, with the fault in `words`, naming the move by its number
// and text; `r` is then left part way.
bool read_routine(std::string_view text, int cards, deal::routine& r, show_value show, char* words,
                  std::size_t room);

// Reads the moves a search may choose from, for a deck of `cards` cards:
// moves as a routine writes them, separated by '|', blanks around them
// ignored. One integer of a move may be a range A..B (`cut 1..51`,
// `--chosen-pile 0..2`), which stands for the move with every value from A
// to B in turn. Each move, ranges expanded, goes in order to
// take(context, move). False, with the fault in `words`, where the list is
// empty, a move is missing or bad, a range runs backwards, or the moves come
// to more than deal::max_search_moves.
using take_move = bool (*)(void* context, const deal::move& m);
bool read_move_list(std::string_view text, int cards, take_move take, void* context,
                    show_value show, char* words, std::size_t room);

// Moves kept as a routine writes them, one after another in room their
// owner gives, so that routines made of them can be written out.
class move_book {
public:
    move_book(std::span<char> text, std::span<std::size_t> begins) : text_(text), begin_(begins) {}
    void clear() { count_ = 0; }
    // Keeps the move's text; false, keeping nothing, where there is no room.
    bool add(const deal::move& m);
    std::string_view operator[](int i) const {
        const auto at = static_cast<std::size_t>(i);
        return {text_.data() + begin_[at], begin_[at + 1] - begin_[at]};
    }

private:
    std::span<char> text_;
    std::span<std::size_t> begin_;
    std::size_t count_ = 0;
};

// A move as a routine writes it ("deal 3 --packets 1", "cut 26"), and a
// whole routine, moves separated by "; ". Each returns the end of what it
// wrote, at most `room` bytes less the NUL it puts there, cut short there.
char* move_text(const deal::move& m, char* out, std::size_t room);
char* routine_text(const deal::routine& r, char* out, std::size_t room);

} // namespace text
