// The group algorithms on groups whose orders are published or follow from
// their construction, one for each way the recognition takes a group apart,
// each with elements it must hold and one it must not: a wrong proof shows as
// a wrong order or a wrong answer on membership.
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

#include "group/blocks.hpp"
#include "group/chain.hpp"
#include "group/generated.hpp"

namespace {

using group::perm;
using group::point;

// A permutation of `degree` points from its cycles, points from 0.
perm cycles(int degree, std::initializer_list<std::initializer_list<int>> cs) {
    perm p = group::identity(degree);
    for (const auto& c : cs) {
        const std::vector<int> v(c);
        for (std::size_t i = 0; i < v.size(); ++i)
            p[static_cast<std::size_t>(v[i])] = static_cast<point>(v[(i + 1) % v.size()]);
    }
    return p;
}

// The same permutation of k pairs on 2k points, point j and point j + k a
// pair, pair j turned over where flip(j).
template <class Flip>
perm on_pairs(const perm& p, Flip flip) {
    const std::size_t k = p.size();
    perm q(2 * k);
    for (std::size_t j = 0; j < k; ++j) {
        const auto to = static_cast<std::size_t>(p[j]) + (flip(j) ? k : 0);
        q[j] = static_cast<point>(to);
        q[j + k] = static_cast<point>(to < k ? to + k : to - k);
    }
    return q;
}
perm on_pairs(const perm& p) {
    return on_pairs(p, [](std::size_t) { return false; });
}

// Two orbits of `k` points each, p acting on the first and q on the second.
perm side_by_side(const perm& p, const perm& q) {
    perm r(p.size() + q.size());
    for (std::size_t x = 0; x < p.size(); ++x) {
        r[x] = p[x];
        r[x + p.size()] = static_cast<point>(q[x] + static_cast<point>(p.size()));
    }
    return r;
}

std::string digits(const group::factored& f) {
    return std::to_string(f.at_most(INT64_MAX));
}

struct case_ {
    const char* name;
    std::vector<perm> generators;
    bool faces;
    std::int64_t order;
    perm outside; // an element of the same points that the group does not hold
};

constexpr int k = 9;

// A group for each way the recognition takes one apart, with its order.
std::vector<case_> group_cases() {
    const perm cycle = cycles(k, {{0, 1, 2, 3, 4, 5, 6, 7, 8}});
    const perm swap = cycles(k, {{0, 1}});
    const perm three = cycles(k, {{0, 1, 2}});
    const perm cycle8 = cycles(k, {{1, 2, 3, 4, 5, 6, 7, 8}});
    const perm id = group::identity(k);
    const std::int64_t s9 = 362880;
    const auto first = [](std::size_t j) { return j == 0; };
    const auto all = [](std::size_t) { return true; };
    const auto two = [](std::size_t j) { return j < 2; };
    // Mathieu's groups of 11 and 12 points, by the generators of the ATLAS
    // of group representations, renumbered from 0: 7920 and 95040.
    const perm m11a = cycles(11, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    const perm m11b = cycles(11, {{2, 6, 10, 7}, {3, 9, 4, 5}});
    const perm m12a = cycles(12, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    const perm m12b = cycles(12, {{2, 6, 10, 7}, {3, 9, 4, 5}});
    const perm m12c = cycles(12, {{0, 11}, {1, 10}, {2, 5}, {3, 7}, {4, 8}, {6, 9}});
    return {
        {"symmetric", {cycle, swap}, false, s9, {}},
        {"alternating", {cycle, three}, false, s9 / 2, swap},
        {"Mathieu 11, by its chain", {m11a, m11b}, false, 7920, cycles(11, {{0, 1}})},
        {"Mathieu 12, by its chain", {m12a, m12b, m12c}, false, 95040, cycles(12, {{0, 1}})},
        {"every flip", {on_pairs(cycle), on_pairs(swap), on_pairs(id, first)}, false, s9 << 9, {}},
        {"even flips",
         {on_pairs(cycle), on_pairs(swap), on_pairs(id, two)},
         false,
         s9 << 8,
         on_pairs(id, first)},
        {"even flips with the sign",
         {on_pairs(cycle), on_pairs(swap, first), on_pairs(id, two)},
         false,
         s9 << 8,
         on_pairs(swap)},
        {"every pair at once",
         {on_pairs(cycle), on_pairs(swap), on_pairs(id, all)},
         true,
         s9 << 1,
         on_pairs(id, first)},
        {"no flip", {on_pairs(cycle), on_pairs(swap)}, true, s9, on_pairs(id, all)},
        {"no flip, the sides swapped by the odd",
         {on_pairs(cycle), on_pairs(swap, all)},
         true,
         s9,
         on_pairs(swap)},
        {"flips of a cyclic action",
         {on_pairs(cycle), on_pairs(id, first)},
         true,
         9 << 9,
         on_pairs(swap)},
        {"flips of a cyclic action that fixes a pair",
         {on_pairs(cycle8), on_pairs(id, first)},
         true,
         16,
         on_pairs(id, two)},
        {"a product", {side_by_side(cycle, swap), side_by_side(swap, cycle)}, false, s9 * s9, {}},
        {"a product of even pairs",
         {side_by_side(cycle, cycle), side_by_side(swap, swap), side_by_side(three, id)},
         false,
         s9 * s9 / 2,
         side_by_side(swap, id)},
        {"the same on both orbits",
         {side_by_side(cycle, cycle), side_by_side(swap, swap)},
         false,
         s9,
         side_by_side(swap, id)},
    };
}

TEST(Group, OrdersAndMembershipByEveryRoute) {
    for (const case_& c : group_cases()) {
        SCOPED_TRACE(c.name);
        const int degree = static_cast<int>(c.generators[0].size());
        const group::generated g(c.generators, degree, 1'000'000'000, c.faces);
        ASSERT_TRUE(g.known());
        EXPECT_EQ(digits(g.order()), std::to_string(c.order));
        // Products of the generators are held, and so is every generator.
        perm product = group::identity(degree);
        for (int i = 0; i < 40; ++i) {
            product = group::then(
                product, c.generators[static_cast<std::size_t>(i * 7 % 5) % c.generators.size()]);
            EXPECT_TRUE(g.contains(product)) << i;
        }
        if (!c.outside.empty()) {
            EXPECT_FALSE(g.contains(c.outside));
        }
        // What moves a pair's two points apart, or a point to another orbit,
        // is never held.
        if (degree == 2 * k) {
            EXPECT_FALSE(g.contains(cycles(degree, {{0, degree - 1, 1}})));
        }
    }
}

TEST(Group, SmallestBlocks) {
    // The dihedral group of a 12-gon: its smallest blocks are the opposite
    // corners; the cyclic group of 12 the same; a prime degree has none.
    const perm turn = cycles(12, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}});
    const perm flip = cycles(12, {{1, 11}, {2, 10}, {3, 9}, {4, 8}, {5, 7}});
    const std::vector<perm> dihedral{turn, flip};
    const group::partition blocks = group::smallest_blocks(dihedral, 12, 1);
    ASSERT_EQ(blocks.size(), 6u);
    EXPECT_EQ(blocks[0], (std::vector<point>{0, 6}));
    EXPECT_EQ(blocks[5], (std::vector<point>{5, 11}));
    const std::vector<perm> thirteen{cycles(13, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}})};
    EXPECT_TRUE(group::smallest_blocks(thirteen, 13, 1).empty());
    // S4 on the 6 edges of a tetrahedron, an edge and its opposite adding to
    // 5: its smallest blocks are the opposite edges.
    const perm a = cycles(6, {{0, 3, 5, 2}, {1, 4}});
    const perm b = cycles(6, {{1, 3}, {2, 4}});
    const std::vector<perm> edges{a, b};
    const group::partition opposite = group::smallest_blocks(edges, 6, 1);
    ASSERT_EQ(opposite.size(), 3u);
    for (const auto& block : opposite)
        EXPECT_EQ(block[0] + block[1], 5);
}

} // namespace
