// A routine: one round made of moves done in turn on the whole deck, as a
// magician performs it: deals gathered in any order, cuts, perfect faros, the
// deck turned over, the Monge shuffle, down-under deals, packets counted off,
// any move or group of moves repeated. Each move makes a permutation of the
// deck, and the round is their composition, so that its cycles, period and
// round numbers follow as for a single deal; a repeat is its group's
// permutation raised to a power (deal/played.hpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "deal/description.hpp"
#include "deal/limits.hpp"
#include "deal/permutation.hpp"
#include "deal/start.hpp"

namespace deal {

// The moves, in the order their names are listed wherever a person reads
// them; a table of their words follows this order.
enum class move_kind : unsigned char {
    deal,       // the deck dealt and gathered as a description says
    cut,        // the top K cards put, in their order, under the rest
    faro_out,   // the top half, the larger, and the rest interleaved; the top card stays
    faro_in,    // the top half, the smaller, and the rest interleaved under it
    reverse,    // the deck turned over
    monge,      // each card from the top above, then below, the growing pile
    down_under, // cards alternately down onto the table and under the rest, down first
    under_down, // the same, under first
    turn,       // the top K cards, or the whole deck, turned over together
    count,      // the top K cards dealt one by one onto a pile put back on top
    riffle,     // by chance: one riffle shuffle (draw/riffle.hpp)
    random_cut, // by chance: a cut of K cards, K equally likely from 0 to the deck's size - 1
};
inline constexpr int move_kind_count = 12;

// Whether a move is made by chance: it makes no one permutation, but one
// drawn each time it is played (draw/riffle.hpp).
constexpr bool by_chance(move_kind kind) {
    return kind == move_kind::riffle || kind == move_kind::random_cut;
}

struct move {
    move_kind kind = move_kind::reverse;
    // A cut's K, from -cards to cards; a turn's K, 0 for the whole deck; a
    // count's K, from 1 to cards.
    std::int32_t cut = 0;
    description deal;         // a deal's; its deck is the routine's
    std::int32_t packets = 2; // a riffle's A: the packets it cuts the deck into
    // A deal written as one with the deal before it, which it repeats with
    // another chosen pile: "--chosen-pile 1,2,0" is three deals.
    bool another_pile = false;
};

// Moves done over and over: the moves from `first` to `end` - 1, as a
// routine writes them, done `times` times in all, 1 to max_repeat.
struct repeat {
    std::int32_t first = 0, end = 0;
    std::int64_t times = 1;
};

class routine {
public:
    // The deck the moves work on: the cards 0 to cards - 1.
    int cards = 0;

    // The moves as written, a repeated one once.
    std::span<const move> moves() const { return moves_; }
    // The repeats, in the order of their first moves, one that holds
    // another before it: each holds whole moves and whole repeats.
    std::span<const repeat> repeats() const { return repeats_; }
    // Appends a move; false, leaving the routine as it was, past max_moves.
    bool add(const move& m);
    // Repeats the moves from move `first` to the last one added, and any
    // repeats among them, `times` times in all, 1 to max_repeat.
    void repeat_from(int first, std::int64_t times);
    void clear() {
        moves_.clear();
        repeats_.clear();
    }

    // One level of the moves from `first` to `end` - 1, whose repeats may
    // start at index `from` of repeats(): each move that no repeat there
    // holds, and each such repeat, in turn. A repeat k's own level is
    // level(first, end, k + 1) of its moves.
    struct item {
        std::int32_t move_index = -1;   // a move outside the level's repeats
        std::int32_t repeat_index = -1; // or a repeat, whose moves follow it
    };
    std::vector<item> level(int first, int end, int from) const;
    std::vector<item> level() const { return level(0, static_cast<int>(moves_.size()), 0); }

    // The same moves on a deck of `cards` cards, as a routine read for that
    // deck has them; false, leaving the routine as it was, where one does not
    // fit it: a cut deeper than the deck, a deal into more hands than cards.
    bool fit(int cards);

    // Whether a deal gathers the pile of a followed card where it says, so
    // that the round depends on where that card is.
    bool follows_card() const;
    // Whether a move turns cards over, so that a card may lie face up.
    bool turns_cards() const;
    // How many moves of `kind` a round plays, each repeat's time after
    // time, at most INT64_MAX; how many deals.
    std::int64_t count_of(move_kind kind) const;
    std::int64_t deal_count() const { return count_of(move_kind::deal); }
    // The sum of `weight(m)` over the moves m a round plays, each repeat's
    // time after time, at most INT64_MAX.
    std::int64_t played_sum(const std::function<std::int64_t(const move&)>& weight) const;
    // How many plain riffles the riffles of a round weigh, as the bits
    // they add to a chance's denominator: a riffle into A packets as many
    // as A - 1 has binary digits.
    std::int64_t riffle_weight() const;
    // The first move made by chance, as written, or -1 where every move is
    // exact.
    int first_by_chance() const;
    // Whether the moves from `first` to `end` - 1 are exact and gather no
    // chosen pile: repeated, they make one permutation's power.
    bool exact_between(int first, int end) const;
    // How many steps a round plays: a move a step, and a repeat of exact
    // moves that follow no card one step, every other repeat spelled out
    // time after time; or every repeat spelled out, `spell_out`. At most
    // max_played_moves + 1, which stands for more.
    std::int64_t played_moves(bool spell_out = false) const;

private:
    std::vector<move> moves_;
    std::vector<repeat> repeats_;
};

// The one way an exact move acts on a deck of `cards` cards: the permutation
// it makes where the followed card is at position `at`, or where none is
// followed (-1). A deal with a chosen pile gathers the pile that holds the
// followed card where it says; followed by none, or with the card in the
// stock, its hands keep their order. A move by chance makes none: it is
// drawn (draw/riffle.hpp), and here moves nothing.
permutation move_permutation(const move& m, int cards, int at = -1);

// The round: every move in turn, composed. It must follow no card, and
// have no move by chance.
permutation round_permutation(const routine& r);

// Where a followed card goes in one move from every position of the deck,
// into `next` (cards entries): where move_permutation takes it from there.
void follow_move(const move& m, int cards, std::span<std::int16_t> next);

// How a faro splits the deck: the cards of its lower half, counted from the
// bottom; the upper half is the rest.
int faro_lower_half(move_kind kind, int cards);

// A down-under or under-down deal of `cards` cards as the hands play it: the
// positions of the cards taken from the top of those held, in turn, each put
// down onto the table (`down`) or under the cards held.
struct down_under_step {
    std::int16_t position;
    bool down;
};
std::vector<down_under_step> down_under_steps(move_kind kind, int cards);

// Whether a run of `r` from `s` is told with the cards' faces: where the
// routine turns cards over or a card starts face up, whether or not a round
// leaves any turned. The one rule for every program: listings and hands
// then mark every card, and the round is a permutation of 2M points, each
// position face down and face up, with its turned cycles marked.
bool with_faces(const routine& r, const start& s);

} // namespace deal
