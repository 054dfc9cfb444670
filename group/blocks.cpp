#include "group/blocks.hpp"

#include <algorithm>
#include <numeric>

#include "group/random.hpp"

namespace group {

namespace {

constexpr std::size_t at(int x) {
    return static_cast<std::size_t>(x);
}

// Union-find over the points, with the size of each class, made empty again
// in no time by a new stamp, so that many trial merges cost only their work.
class merger {
public:
    explicit merger(int degree)
        : parent_(at(degree)), size_(at(degree)), stamp_(at(degree), 0), degree_(degree) {}

    void clear() { ++now_; }
    // Every point a class of this stamp points to has been touched in it.
    int find(int x) {
        touch(x);
        while (parent_[at(x)] != x) {
            parent_[at(x)] = parent_[at(parent_[at(x)])];
            x = parent_[at(x)];
        }
        return x;
    }
    // Merges the classes of roots a and b; the size of the merged class.
    int merge(int a, int b) {
        if (size_[at(a)] < size_[at(b)])
            std::swap(a, b);
        parent_[at(b)] = a;
        size_[at(a)] += size_[at(b)];
        return size_[at(a)];
    }
    int size_of(int root) const { return size_[at(root)]; }
    int degree() const { return degree_; }

private:
    void touch(int x) {
        if (stamp_[at(x)] != now_) {
            stamp_[at(x)] = now_;
            parent_[at(x)] = x;
            size_[at(x)] = 1;
        }
    }
    std::vector<int> parent_, size_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t now_ = 1;
    int degree_;
};

// The smallest block system in which a and b lie together, left in `m`: the
// size of its blocks, or -1 as soon as a block would hold more than `most`.
int minimal_block(std::span<const perm> generators, merger& m, int a, int b, int most,
                  std::vector<std::pair<int, int>>& queue) {
    m.clear();
    queue.clear();
    if (m.merge(m.find(a), m.find(b)) > most)
        return -1;
    queue.emplace_back(a, b);
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const auto [x, y] = queue[head];
        for (const perm& g : generators) {
            const int u = m.find(g[at(x)]), v = m.find(g[at(y)]);
            if (u == v)
                continue;
            if (m.merge(u, v) > most)
                return -1;
            queue.emplace_back(u, v);
        }
    }
    return m.size_of(m.find(a));
}

// A few elements that fix point 0, drawn at random: each a random element
// brought back to 0 along a tree of the orbit of 0, whose points, breadth
// first, go to `order`.
std::vector<perm> fixing_zero(std::span<const perm> generators, int degree, std::uint64_t seed,
                              std::vector<point>& order) {
    std::vector<perm> inverses;
    for (const perm& g : generators)
        inverses.push_back(inverse(g));
    // Breadth first with the generators and their inverses, so that the tree
    // is shallow; `edge` is the index of what leads to each point, inverses
    // after the generators.
    std::vector<int> edge(at(degree), -1);
    order.assign(1, 0);
    edge[0] = -2;
    const std::size_t count = generators.size();
    for (std::size_t head = 0; head < order.size(); ++head)
        for (std::size_t s = 0; s < 2 * count; ++s) {
            const perm& g = s < count ? generators[s] : inverses[s - count];
            const point y = g[at(order[head])];
            if (edge[at(y)] == -1) {
                edge[at(y)] = static_cast<int>(s);
                order.push_back(y);
            }
        }
    std::vector<perm> found;
    random_elements random(generators, degree, seed);
    perm h, scratch;
    for (int i = 0; i < 6; ++i) {
        h = random.next();
        // Undo the tree's steps from where 0 went, back to 0.
        for (int p = h[0]; p != 0;) {
            const auto s = static_cast<std::size_t>(edge[at(p)]);
            const perm& back = s < count ? inverses[s] : generators[s - count];
            then_into(h, back, scratch);
            h.swap(scratch);
            p = back[at(p)];
        }
        found.push_back(h);
    }
    return found;
}

} // namespace

std::vector<point> orbit_leaders(std::span<const perm> generators, int degree) {
    merger m(degree);
    for (const perm& g : generators)
        for (int x = 0; x < degree; ++x) {
            const int u = m.find(x), v = m.find(g[at(x)]);
            if (u != v)
                m.merge(u, v);
        }
    std::vector<point> leader(at(degree), -1);
    std::vector<point> lowest(at(degree), -1);
    for (int x = 0; x < degree; ++x) {
        const int r = m.find(x);
        if (lowest[at(r)] < 0)
            lowest[at(r)] = static_cast<point>(x);
        leader[at(x)] = lowest[at(r)];
    }
    return leader;
}

partition orbits(std::span<const perm> generators, int degree) {
    const std::vector<point> leader = orbit_leaders(generators, degree);
    partition classes;
    std::vector<int> index(at(degree), -1);
    for (int x = 0; x < degree; ++x) {
        const auto l = at(leader[at(x)]);
        if (index[l] < 0) {
            index[l] = static_cast<int>(classes.size());
            classes.emplace_back();
        }
        classes[at(index[l])].push_back(static_cast<point>(x));
    }
    return classes;
}

partition smallest_blocks(std::span<const perm> generators, int degree, std::uint64_t seed) {
    if (degree < 4 || generators.empty())
        return {};
    merger m(degree);
    std::vector<std::pair<int, int>> queue;
    // The smallest block through 0 and b is the same for every b of one
    // orbit of the stabilizer of 0, up to an element that fixes 0; so one b
    // of each orbit of a few such elements finds the smallest size. The
    // points farthest from 0 first, which in a cyclic group are those of
    // the smallest blocks, after which every other trial ends at once.
    std::vector<point> order;
    const std::vector<perm> fixing = fixing_zero(generators, degree, seed, order);
    const std::vector<point> leader = orbit_leaders(fixing, degree);
    int best = degree;
    for (auto at_b = order.rbegin(); at_b != order.rend() && best > 2; ++at_b) {
        const int b = *at_b;
        if (b == 0 || leader[at(b)] != b)
            continue;
        const int size = minimal_block(generators, m, 0, b, best - 1, queue);
        if (size > 0)
            best = size;
    }
    if (best == degree)
        return {};
    // Then the lowest b whose block with 0 is that small.
    for (int b = 1; b < degree; ++b)
        if (minimal_block(generators, m, 0, b, best, queue) == best)
            break;
    partition system;
    std::vector<int> index(at(degree), -1);
    for (int x = 0; x < degree; ++x) {
        const auto r = at(m.find(x));
        if (index[r] < 0) {
            index[r] = static_cast<int>(system.size());
            system.emplace_back();
        }
        system[at(index[r])].push_back(static_cast<point>(x));
    }
    return system;
}

std::vector<perm> block_action(std::span<const perm> generators, const partition& system) {
    std::size_t degree = 0;
    for (const auto& block : system)
        degree += block.size();
    std::vector<point> block_of(degree);
    for (std::size_t i = 0; i < system.size(); ++i)
        for (const point x : system[i])
            block_of[at(x)] = static_cast<point>(i);
    std::vector<perm> action;
    for (const perm& g : generators) {
        perm a(system.size());
        for (std::size_t i = 0; i < system.size(); ++i)
            a[i] = block_of[at(g[at(system[i][0])])];
        action.push_back(std::move(a));
    }
    return action;
}

} // namespace group
