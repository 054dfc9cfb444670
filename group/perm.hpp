// Permutations of the points 0 to n-1 as the group algorithms use them: for
// every point, the point it goes to. Products read left to right, as moves
// are played: `a` then `b`. A deck of M cards gives M points, or 2M where
// cards turn over (position p face down is point p, face up point p + M),
// fewer than 2^15 either way.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace group {

using point = std::int16_t;
using perm = std::vector<point>;

perm identity(int degree);
// `a` then `b` into `out`, which must not be either.
void then_into(const perm& a, const perm& b, perm& out);
perm then(const perm& a, const perm& b);
perm inverse(const perm& a);
void inverse_into(const perm& a, perm& out);
bool is_identity(const perm& a);

// The lengths of the cycles, fixed points included as cycles of length 1,
// in the order of their lowest points.
std::vector<int> cycle_lengths(const perm& a);
// Whether `a` is an odd permutation.
bool odd(const perm& a);

// The smallest point that `a` moves, or -1 for the identity.
int first_moved(const perm& a);

} // namespace group
