// The group a set of permutations generates, known exactly: its order and
// whether it holds a given permutation. Where a stabilizer chain of the
// whole group would be slow or large, the group is taken apart first, each
// step with a proof:
//
// - a transitive group with a cycle of prime length p, n/2 < p <= n - 3, in
//   one of its elements is primitive (a block would have to hold the cycle)
//   and so, by Jordan's theorem, holds the alternating group: its order is
//   n!/2 or n!, by whether a generator is odd;
// - a group whose points fall into pairs that it keeps together (a card's
//   two faces, or the positions a faro keeps paired) is its action on the
//   pairs times the flips of pairs it holds. Where that action is the
//   alternating or symmetric group (found as above), the flips are one of
//   the four sets every permutation of the pairs keeps: none, all pairs
//   together, any even number, any; an element of the kernel, the signs and
//   the two sides it may keep apart tell which. Otherwise a chain of the
//   action, the group carried along, gives the flips as the span of what is
//   left of its Schreier generators and their images under the group;
// - a group with several orbits that holds, on an orbit where it acts as
//   the alternating or symmetric group, an element that moves that orbit
//   alone, holds that orbit's whole alternating group: the order is that
//   times the order of what is left, the other orbits and each such
//   orbit's sign; and an orbit that copies another, a map between them
//   commuting with every generator, adds nothing to the order and is left
//   out of what is left, its elements held to the map;
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
