// The group a set of permutations generates, known exactly: its order and
// whether it holds a given permutation. Where a stabilizer chain of the
// whole group would be slow or large, the group is taken apart first, each
// step with a proof:
//
// - a transitive group with a cycle of prime length p, n/2 < p <= n - 3, in
//   one of its elements is primitive (a block would have to hold the cycle)
//   and so, by Jordan's theorem, holds the alternating group: its order is
//   n!/2 or n!, by whether a generator is odd;
// - a group whose points fall into pairs (a card's two faces, or the pairs
//   of positions a faro keeps together) is its action on the pairs, by its
//   own chain or as follows, times the flips of pairs it holds: with a
//   chain, the span of the kernel elements its Schreier relations give and
//   their images under the group;
// - a transitive group whose points fall into pairs that it keeps together,
//   and that moves the pairs as the alternating or symmetric group, is that
//   action on the pairs (its order found the same way) times the flips of
//   pairs that it holds, which are one of four sets kept by every
//   permutation of the pairs: none, all pairs together, any even number,
//   any; signs and the halves it may keep apart tell which;
// - a group with several orbits that holds, on an orbit where it acts as
//   the alternating or symmetric group, an element that moves that orbit
//   alone, holds that orbit's whole alternating group: the order is that
//   times the order of what is left, the other orbits and each such
//   orbit's sign;
// - any other group, or part, by its stabilizer chain.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "group/factored.hpp"
#include "group/perm.hpp"

namespace group {

class generated {
public:
    // The group that `generators`, each of `degree` points, generate. Where
    // the work would take more than `budget` point operations (a point
    // mapped by a product; a second is some 10^9), it stops: known() is
    // then false and nothing else may be asked. With `faces`, point x and
    // point x + degree/2 are a card's two faces, which every generator
    // keeps together: the group is then taken as the cards' places and the
    // cards it turns over.
    generated(std::span<const perm> generators, int degree, std::int64_t budget,
              bool faces = false);
    ~generated();
    generated(generated&&) noexcept;
    generated& operator=(generated&&) noexcept;

    bool known() const { return root_ != nullptr; }
    // Generators of the group, as few as were found to generate it.
    std::span<const perm> generators() const { return generators_; }
    int degree() const { return degree_; }
    const factored& order() const;
    // Whether the group holds `p`, of degree() points.
    bool contains(const perm& p) const;

    struct node;

private:
    int degree_;
    std::vector<perm> generators_;
    std::unique_ptr<node> root_;
};

} // namespace group
