// A routine of given moves that brings a deck to a given order: a word in the
// moves, a move's index a letter, whose product is a given element of the
// group they generate.
//
// First a breadth-first search from the identity, each element reached kept
// once (by where the first n points go, n the cards, which is the whole
// element), its moves tried in the order they are listed, so that each
// element is first reached by its shortest word that prefers, move by move,
// the move listed first: deal-solve's answer, for the whole deck. Where the
// search stops at its limits first, the last layer it reached whole meets
// the target halfway: x then y, x in that layer, y in the search. Else a
// word is built from a stabilizer chain, a word for each point of each
// basic orbit, kept as short as the words found allow (Minkwitz 1998), and
// shortened again by every stretch that the search knows a shorter word for.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "group/chain.hpp"
#include "group/perm.hpp"

namespace group {

using word = std::vector<int>;

class routes {
public:
    // The moves, each a permutation of `degree` points, the first `cards`
    // of which determine every element (all of them, or with cards turned
    // the face-down points, the face-up ones following).
    routes(std::span<const perm> moves, int cards);

    struct found {
        bool any = false;      // whether a word was found
        bool shortest = false; // whether it is proven shortest, with the tie-break
        word moves;
    };
    // A word for `target` by the search over at most `most_states`
    // elements and `most_steps` steps, a step a point moved by a move.
    found search(const perm& target, std::int64_t most_states, std::int64_t most_steps);

    // A word for `target`, which the group holds, from the chain `c` of the
    // group (of `degree` points, not on pairs), shortened by what the last
    // search found: nothing where that would take more than `budget` point
    // operations, or keep words of more than `longest` moves.
    std::optional<word> build(const perm& target, const chain& c, std::int64_t budget,
                              std::size_t longest);

    // The moves of `w` with every stretch the search knows a shorter word
    // for replaced by it, and every run of one move as long as its period
    // left out.
    word shortened(word w) const;

    int period(int move) const { return periods_[static_cast<std::size_t>(move)]; }
    // How many elements the last search reached, the identity counted.
    std::int64_t reached() const { return static_cast<std::int64_t>(parent_.size()); }

private:
    found halfway(const perm& target) const;
    int depth(int index) const;
    int find(const point* state) const;
    void insert(int index);
    word word_of(int index) const;
    perm whole(const point* state) const;

    std::vector<perm> moves_;
    std::vector<int> periods_;
    int cards_, degree_;
    // The search: each element's first points, the element it was reached
    // from and by which move, the first element of each layer, and a hash
    // table of them.
    std::vector<point> states_;
    std::vector<std::int32_t> parent_, via_, layers_, table_;
    int whole_layers_ = 0; // the layers reached whole, the identity's counted
};

} // namespace group
