// Orbits and blocks of imprimitivity of a group given by generators. A block
// is a set of points that every element maps onto a block or off it
// entirely; the blocks that hold one point make a block system, and the
// smallest block that holds two given points is found by merging their
// images under the generators until nothing more must merge (Atkinson's
// algorithm, near-linear in the points).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "group/perm.hpp"

namespace group {

// A partition of the points: each class increasing, the classes in the order
// of their lowest points.
using partition = std::vector<std::vector<point>>;

// The orbits of the group the generators generate on `degree` points.
partition orbits(std::span<const perm> generators, int degree);
// The same, as the lowest point of each point's orbit.
std::vector<point> orbit_leaders(std::span<const perm> generators, int degree);

// The block system of a transitive group, given by its generators, whose
// blocks are the smallest of any nontrivial system: among those, the one
// whose block through point 0 holds the lowest second point. Empty where the
// group is primitive: no block but a point and the whole has more than one
// point and is a block. `seed` draws the few elements that spare most of the
// trials; the answer does not depend on it.
partition smallest_blocks(std::span<const perm> generators, int degree, std::uint64_t seed);

// The points as blocks of a system, into the action on the blocks: block i
// is system[i], and each generator's image maps block to block.
std::vector<perm> block_action(std::span<const perm> generators, const partition& system);

} // namespace group
