// A routine as a round plays it: its moves in turn, a step each, and its
// repeats. A repeat of exact moves that gather no chosen pile is one step,
// its group's permutation raised to the power of its count along the
// group's cycles, so that `(faro out) x1000000000000` costs one pass over the
// deck. A repeat that holds a move by chance, drawn afresh each time, or a
// deal with a chosen pile, whose gathering depends on where the followed
// card is each time, is spelled out, its steps time after time; so is every
// repeat where each deal is to be shown (deal-after --hands).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "deal/permutation.hpp"
#include "deal/routine.hpp"

namespace deal {

class played_round {
public:
    played_round() = default;
    // The steps of one round of `r`, which must play at most
    // max_played_moves steps so (routine::played_moves(spell_out)); with
    // `spell_out`, every repeat spelled out.
    explicit played_round(const routine& r, bool spell_out = false);

    const routine& written() const { return routine_; }
    int cards() const { return routine_.cards; }
    int size() const { return static_cast<int>(steps_.size()); }

    // The index, in written().moves(), of the move that step i plays; -1
    // for a repeat played as one permutation.
    int move_index(int i) const { return steps_[static_cast<std::size_t>(i)]; }
    // That move, or nullptr.
    const move* move_at(int i) const;
    // Whether step i is a move by chance, which makes no one permutation.
    bool by_chance(int i) const;

    // The permutation step i makes, the followed card at `at` as it
    // starts, or none followed (-1): as move_permutation says for a move.
    permutation permutation_of(int i, int at = -1) const;
    // Where a followed card goes in step i from every position, into
    // `next`: as follow_move says for a move.
    void follow(int i, std::span<std::int16_t> next) const;

private:
    // The steps of one level of the moves from `first` to `end`, whose
    // repeats start at index `from`, appended.
    void add_level(int first, int end, int from, bool spell_out);

    routine routine_;
    // Each step: a move's index, or -1 - i for the power powers_[i].
    std::vector<std::int32_t> steps_;
    std::vector<permutation> powers_;
};

} // namespace deal
