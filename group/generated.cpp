#include "group/generated.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>

#include "group/blocks.hpp"
#include "group/chain.hpp"
#include "group/flip_space.hpp"
#include "group/random.hpp"

namespace group {

namespace {

constexpr std::size_t at(int x) {
    return static_cast<std::size_t>(x);
}

// What the work may still spend, and where its random numbers come from:
// every draw has a seed of its own, the same on every run.
struct work {
    std::int64_t budget;
    std::uint64_t draws = 0;
    bool exhausted = false;

    std::uint64_t seed() { return 0x6465616c2d67ULL + 0x9e3779b97f4a7c15ULL * ++draws; }
    bool spend(std::int64_t operations) {
        budget -= operations;
        exhausted = exhausted || budget < 0;
        return !exhausted;
    }
};

bool prime(int n) {
    if (n < 2)
        return false;
    for (int d = 2; d * d <= n; ++d)
        if (n % d == 0)
            return false;
    return true;
}

// Whether a cycle of this length in an element of a transitive group of
// `degree` points proves the group alternating or symmetric: a prime p with
// degree/2 < p <= degree - 3. Every other cycle is then shorter than p, so
// that a power of the element is that p-cycle alone.
bool proves_giant(int length, int degree) {
    return 2 * length > degree && length <= degree - 3 && prime(length);
}

// Random elements enough that a group holding the alternating group shows a
// cycle that proves it all but always: at least one element in 20 has one, so
// that 400 miss it with a chance under 10^-8, and a miss costs only time.
constexpr int giant_tries = 400;

bool holds_alternating(std::span<const perm> generators, int degree, work& w) {
    if (degree < 8)
        return false;
    random_elements random(generators, degree, w.seed());
    for (int i = 0; i < giant_tries; ++i) {
        if (!w.spend(4 * static_cast<std::int64_t>(degree)))
            return false;
        for (const int length : cycle_lengths(random.next()))
            if (proves_giant(length, degree))
                return true;
    }
    return false;
}

// The generators that move something, each once, in their order: equal
// ones found by a hash, so that ten thousand cost little.
std::vector<perm> distinct_moving(std::span<const perm> generators) {
    std::vector<std::pair<std::uint64_t, std::size_t>> hashed;
    for (std::size_t i = 0; i < generators.size(); ++i) {
        std::uint64_t h = 0;
        for (const point x : generators[i])
            h = (h ^ static_cast<std::uint16_t>(x)) * 0x100000001b3ULL;
        hashed.emplace_back(h, i);
    }
    std::sort(hashed.begin(), hashed.end());
    std::vector<char> keep(generators.size(), 1);
    for (std::size_t a = 0; a < hashed.size(); ++a)
        for (std::size_t b = a + 1; b < hashed.size() && hashed[b].first == hashed[a].first; ++b)
            if (keep[hashed[b].second] &&
                generators[hashed[b].second] == generators[hashed[a].second])
                keep[std::max(hashed[a].second, hashed[b].second)] = 0;
    std::vector<perm> kept;
    for (std::size_t i = 0; i < generators.size(); ++i)
        if (keep[i] && !is_identity(generators[i]))
            kept.push_back(generators[i]);
    return kept;
}

} // namespace

struct generated::node {
    enum class kind { trivial, giant, chain, pairs, product } shape = kind::trivial;
    int degree = 0;
    factored order;
    // A giant: the alternating group, or the symmetric.
    bool alternating = false;
    // A chain; or, for pairs whose action has one, that chain with the
    // group carried along (each element its action on the pairs, then
    // itself), and the flips it holds, any that `space` spans.
    std::unique_ptr<group::chain> steps;
    std::unique_ptr<flip_space> space;
    // Pairs: block j is the points low[j] and high[j]; the group moves the
    // blocks as `blocks` says, and holds the flips `kernel` names. With even
    // flips, an element flips an odd number of pairs where (by_sign) it is
    // odd on the blocks, or (not by_sign) never. With a line or none, the
    // group keeps the sides apart, low[j] on side side[j]; with none, it
    // swaps them where (by_sign) it is odd on the blocks, or never.
    std::vector<point> low, high, block_of;
    std::unique_ptr<node> blocks;
    enum class flips { all, even, line, none, span } kernel = flips::all;
    bool by_sign = false;
    std::vector<char> side;
    // A product: the orbit of each point; the orbits whose whole
    // alternating group the group holds, each as its points; and the group
    // that is left, on the other orbits' points (image_point, -1 for none)
    // and a pair of points for each such orbit's sign.
    std::vector<int> orbit_of;
    std::vector<std::vector<point>> certified;
    std::vector<point> image_point;
    std::unique_ptr<node> image;
    // Orbits that copy an earlier one, each element moving them as it moves
    // that one: for each of their points, the point it copies (-1 for
    // none). They are left out of the image, which they add nothing to.
    std::vector<point> copy_of;

    bool contains(const perm& p) const;
    bool pairs_contain(const perm& p) const;
    bool product_contains(const perm& p) const;
};

namespace {

using node = generated::node;

std::unique_ptr<node> recognise(std::span<const perm> generators, int degree, work& w);

// The action of g on the pairs of `n`, and which pairs it flips: whether the
// low point of a pair goes to the high point of its image.
void on_pairs(const node& n, const perm& g, perm& h, std::vector<char>& flip) {
    const std::size_t k = n.low.size();
    h.resize(k);
    flip.resize(k);
    for (std::size_t j = 0; j < k; ++j) {
        const point to = g[at(n.low[j])];
        h[j] = n.block_of[at(to)];
        flip[j] = to == n.high[at(h[j])];
    }
}

bool odd_count(const std::vector<char>& flip) {
    return std::count(flip.begin(), flip.end(), 1) % 2 != 0;
}

// A flip the group holds, from a random element g: g to the power of the
// order of its action on the pairs. Along a cycle of c pairs, g^c flips all
// of them or none, by the parity of the flips along it; the power keeps
// that where it is an odd multiple of c. Its number of flipped pairs.
int kernel_weight(const node& n, const perm& g) {
    perm h;
    std::vector<char> flip;
    on_pairs(n, g, h, flip);
    std::vector<char> seen(h.size());
    std::vector<std::pair<int, bool>> cycles;
    int most = 0;
    for (std::size_t j = 0; j < h.size(); ++j) {
        if (seen[j])
            continue;
        int length = 0;
        bool odd = false;
        for (std::size_t i = j; !seen[i]; i = at(h[i])) {
            seen[i] = 1;
            ++length;
            odd = odd != (flip[i] != 0);
        }
        cycles.emplace_back(length, odd);
        most = std::max(most, std::countr_zero(static_cast<unsigned>(length)));
    }
    int weight = 0;
    for (const auto& [length, odd] : cycles)
        if (odd && std::countr_zero(static_cast<unsigned>(length)) == most)
            weight += length;
    return weight;
}

// Union-find over points with the parity of each point's side against its
// root's: a relation "same side" or "other side" at a time.
class sides {
public:
    explicit sides(int degree) : parent_(at(degree)), parity_(at(degree)) {
        for (int x = 0; x < degree; ++x)
            parent_[at(x)] = x;
    }
    std::pair<int, int> find(int x) {
        int parity = 0;
        int root = x;
        while (parent_[at(root)] != root) {
            parity ^= parity_[at(root)];
            root = parent_[at(root)];
        }
        // Every point on the way straight to the root.
        for (int y = x, p = parity; parent_[at(y)] != y;) {
            const int next = parent_[at(y)], q = p ^ parity_[at(y)];
            parent_[at(y)] = root;
            parity_[at(y)] = static_cast<char>(p);
            y = next;
            p = q;
        }
        return {root, parity};
    }
    // Relates x and y; 1 where they were merged, 0 where already related
    // so, -1 where already related the other way.
    int relate(int x, int y, int other) {
        const auto [rx, px] = find(x);
        const auto [ry, py] = find(y);
        if (rx == ry)
            return (px ^ py) == other ? 0 : -1;
        parent_[at(ry)] = rx;
        parity_[at(ry)] = static_cast<char>(px ^ py ^ other);
        return 1;
    }

private:
    std::vector<int> parent_;
    std::vector<char> parity_;
};

// A split of the points into two sides, each holding one point of every
// pair, that every generator keeps or swaps: the side of each point, or
// nothing where there is none. The relations that must hold (a pair's
// points apart, and one guess between two pairs) are closed under the
// generators, as blocks are.
std::optional<std::vector<char>> two_sides(std::span<const perm> generators, const node& n) {
    for (int guess = 0; guess < 2; ++guess) {
        sides s(n.degree);
        std::vector<std::array<int, 3>> queue;
        for (std::size_t j = 0; j < n.low.size(); ++j) {
            s.relate(n.low[j], n.high[j], 1);
            queue.push_back({n.low[j], n.high[j], 1});
        }
        s.relate(n.low[0], n.low[1], guess);
        queue.push_back({n.low[0], n.low[1], guess});
        bool fine = true;
        for (std::size_t head = 0; head < queue.size() && fine; ++head) {
            const auto [x, y, other] = queue[head];
            for (const perm& g : generators) {
                const int made = s.relate(g[at(x)], g[at(y)], other);
                fine = fine && made >= 0;
                if (made == 1)
                    queue.push_back({g[at(x)], g[at(y)], other});
            }
        }
        if (!fine)
            continue;
        const int root = s.find(0).first;
        std::vector<char> side(at(n.degree));
        for (int x = 0; x < n.degree && fine; ++x) {
            const auto [r, parity] = s.find(x);
            fine = r == root;
            side[at(x)] = static_cast<char>(parity);
        }
        if (fine)
            return side;
    }
    return std::nullopt;
}

// The flips a transitive group on pairs holds, where it moves the pairs as
// the alternating or symmetric group on k >= 5 pairs: the kept subspaces of
// flips are then none, all pairs together, an even number, and any. False
// where neither an element of the kernel nor two sides settle it.
bool find_flips(std::span<const perm> generators, node& n, work& w) {
    const int k = static_cast<int>(n.low.size());
    perm h;
    std::vector<char> flip;
    // Whether the parity of the flips is a homomorphism of the action on the
    // pairs, none or the sign: exactly when every flip held is even.
    bool never = true, by_sign = true;
    std::vector<char> odd_on_pairs;
    for (const perm& g : generators) {
        on_pairs(n, g, h, flip);
        odd_on_pairs.push_back(odd(h));
        never = never && !odd_count(flip);
        by_sign = by_sign && odd_count(flip) == odd(h);
    }
    const bool only_even = never || by_sign;
    random_elements random(generators, n.degree, w.seed());
    const auto kernel_found = [&](int tries) {
        for (int i = 0; i < tries; ++i) {
            if (!w.spend(6 * static_cast<std::int64_t>(n.degree)))
                return false;
            const int weight = kernel_weight(n, random.next());
            if (weight != 0 && weight != k)
                return true;
        }
        return false;
    };
    if (kernel_found(64)) {
        n.kernel = only_even ? node::flips::even : node::flips::all;
        n.by_sign = !never;
        return true;
    }
    if (w.exhausted)
        return false;
    if (auto side = two_sides(generators, n)) {
        // Whether each generator swaps the sides, against the sign on the
        // pairs: a homomorphism of that action, none or the sign, exactly
        // where the group holds no flip of every pair.
        bool keeps = true, swaps_by_sign = true;
        for (std::size_t a = 0; a < generators.size(); ++a) {
            const bool swaps = (*side)[at(generators[a][at(n.low[0])])] != (*side)[at(n.low[0])];
            keeps = keeps && !swaps;
            swaps_by_sign = swaps_by_sign && swaps == (odd_on_pairs[a] != 0);
        }
        n.kernel = keeps || swaps_by_sign ? node::flips::none : node::flips::line;
        n.by_sign = !keeps;
        n.side.resize(at(k));
        for (int j = 0; j < k; ++j)
            n.side[at(j)] = (*side)[at(n.low[at(j)])];
        return true;
    }
    if (kernel_found(2000)) {
        n.kernel = only_even ? node::flips::even : node::flips::all;
        n.by_sign = !never;
        return true;
    }
    return false;
}

std::unique_ptr<node> giant(std::span<const perm> generators, int degree) {
    auto n = std::make_unique<node>();
    n->shape = node::kind::giant;
    n->degree = degree;
    n->alternating =
        std::none_of(generators.begin(), generators.end(), [](const perm& g) { return odd(g); });
    n->order.times_factorial(degree);
    if (n->alternating)
        n->order.over(2);
    return n;
}

// g with the points renumbered by their pairs, pair j's low point j and its
// high point j + k, as a chain on pairs takes it.
perm by_pair(const node& n, const perm& g) {
    const auto k = static_cast<int>(n.low.size());
    const auto renumbered = [&](point x) {
        const point j = n.block_of[at(x)];
        return static_cast<point>(x == n.high[at(j)] ? j + k : j);
    };
    perm r(g.size());
    for (std::size_t x = 0; x < g.size(); ++x)
        r[at(renumbered(static_cast<point>(x)))] = renumbered(g[x]);
    return r;
}

// The pairs that a kernel element of a chain on pairs turns over: a bit a
// pair.
flip_space::row flips_of(const perm& kept) {
    const std::size_t k = kept.size();
    flip_space::row v((k + 63) / 64);
    for (std::size_t j = 0; j < k; ++j)
        if (static_cast<std::size_t>(kept[j]) >= k)
            v[j / 64] |= std::uint64_t{1} << (j % 64);
    return v;
}

// The flips a group on pairs holds, where its action on the pairs has a
// chain: the kernel elements of that chain and every image of them under
// the group, spanned.
bool chain_flips(std::span<const perm> generators, node& n, const std::vector<perm>& on_blocks,
                 work& w) {
    const int k = static_cast<int>(n.low.size());
    std::vector<perm> renumbered;
    for (const perm& g : generators)
        renumbered.push_back(by_pair(n, g));
    n.steps = std::make_unique<group::chain>(n.degree, true);
    if (!n.steps->build(renumbered, w.seed(), nullptr, w.budget)) {
        w.exhausted = true;
        return false;
    }
    n.space = std::make_unique<flip_space>(n.steps->kernel());
    std::vector<flip_space::row> queue = n.space->rows();
    // Conjugate by a generator: the flips carried to the pairs it moves to.
    for (std::size_t head = 0; head < queue.size(); ++head) {
        if (!w.spend(static_cast<std::int64_t>(on_blocks.size()) * k))
            return false;
        for (const perm& h : on_blocks) {
            flip_space::row moved(queue[head].size());
            for (int j = 0; j < k; ++j)
                if (queue[head][at(j / 64)] >> (j % 64) & 1)
                    moved[at(h[at(j)] / 64)] |= std::uint64_t{1} << (h[at(j)] % 64);
            if (n.space->add(moved))
                queue.push_back(n.space->last());
        }
    }
    n.kernel = node::flips::span;
    return true;
}

// The group as its action on the pairs of `system`, each block of which is
// two points, and the flips of pairs it holds.
std::unique_ptr<node> by_pairs(std::span<const perm> generators, int degree,
                               const partition& system, work& w) {
    auto n = std::make_unique<node>();
    n->shape = node::kind::pairs;
    n->degree = degree;
    n->block_of.resize(at(degree));
    for (std::size_t j = 0; j < system.size(); ++j) {
        n->low.push_back(system[j][0]);
        n->high.push_back(system[j][1]);
        n->block_of[at(system[j][0])] = n->block_of[at(system[j][1])] = static_cast<point>(j);
    }
    const int k = static_cast<int>(system.size());
    const std::vector<perm> on_blocks = block_action(generators, system);
    if (orbits(on_blocks, k).size() == 1 && holds_alternating(on_blocks, k, w)) {
        n->blocks = giant(on_blocks, k);
        if (find_flips(generators, *n, w)) {
            n->order = n->blocks->order;
            const int dimension = n->kernel == node::flips::all    ? k
                                  : n->kernel == node::flips::even ? k - 1
                                  : n->kernel == node::flips::line ? 1
                                                                   : 0;
            for (int i = 0; i < dimension; ++i)
                n->order.times(2);
            return n;
        }
        n->blocks.reset();
    }
    if (w.exhausted || !chain_flips(generators, *n, on_blocks, w))
        return nullptr;
    n->order = n->steps->order();
    for (int i = 0; i < n->space->dimension(); ++i)
        n->order.times(2);
    return n;
}

std::unique_ptr<node> by_chain(std::span<const perm> generators, int degree, work& w) {
    auto n = std::make_unique<node>();
    n->shape = node::kind::chain;
    n->degree = degree;
    n->steps = std::make_unique<group::chain>(degree);
    if (!n->steps->build(generators, w.seed(), nullptr, w.budget)) {
        w.exhausted = true;
        return nullptr;
    }
    n->order = n->steps->order();
    return n;
}

std::unique_ptr<node> transitive(std::span<const perm> generators, int degree, work& w) {
    if (holds_alternating(generators, degree, w))
        return giant(generators, degree);
    if (w.exhausted)
        return nullptr;
    if (degree >= 10) {
        const partition system = smallest_blocks(generators, degree, w.seed());
        w.spend(8 * static_cast<std::int64_t>(degree));
        if (!system.empty() && system[0].size() == 2)
            return by_pairs(generators, degree, system, w);
    }
    return by_chain(generators, degree, w);
}

// For each prime power, the greatest exponent among cycle lengths and the
// orbit that has it, and the greatest among the other orbits: whether a
// cycle's length divides the order of an element off the cycle's orbit.
struct exponents {
    struct best {
        int exponent = 0, orbit = -1, other = 0;
    };
    std::vector<best> by_prime;
    void add(int p, int e, int orbit) {
        if (by_prime.size() <= at(p))
            by_prime.resize(at(p) + 1);
        best& b = by_prime[at(p)];
        if (e > b.exponent) {
            if (b.orbit != orbit)
                b.other = b.exponent;
            b.exponent = e;
            b.orbit = orbit;
        } else if (orbit != b.orbit) {
            b.other = std::max(b.other, e);
        }
    }
    int off(int p, int orbit) const {
        if (by_prime.size() <= at(p))
            return 0;
        const best& b = by_prime[at(p)];
        return b.orbit == orbit ? b.other : b.exponent;
    }
};

template <class Visit>
void prime_powers(int n, Visit visit) {
    for (int p = 2; p * p <= n; ++p) {
        int e = 0;
        while (n % p == 0) {
            n /= p;
            ++e;
        }
        if (e > 0)
            visit(p, e);
    }
    if (n > 1)
        visit(n, 1);
}

// The orbits of eight points or more on which the group acts as the
// alternating or symmetric group and holds an element that moves that
// orbit alone: a power of a random element, its order off the orbit.
std::vector<int> certify(std::span<const perm> generators, int degree,
                         const std::vector<int>& orbit_of, const std::vector<int>& sizes, work& w) {
    const std::size_t count = sizes.size();
    std::vector<char> giant(count), alone(count);
    random_elements random(generators, degree, w.seed());
    std::vector<char> seen(at(degree));
    for (int i = 0; i < giant_tries; ++i) {
        if (!w.spend(8 * static_cast<std::int64_t>(degree)))
            return {};
        const perm& g = random.next();
        std::fill(seen.begin(), seen.end(), 0);
        std::vector<std::pair<int, int>> cycles; // length, orbit
        exponents e;
        for (int x = 0; x < degree; ++x) {
            if (seen[at(x)])
                continue;
            int length = 0;
            for (int y = x; !seen[at(y)]; y = g[at(y)]) {
                seen[at(y)] = 1;
                ++length;
            }
            const int o = orbit_of[at(x)];
            cycles.emplace_back(length, o);
            prime_powers(length, [&](int p, int k) { e.add(p, k, o); });
            if (sizes[at(o)] >= 8 && proves_giant(length, sizes[at(o)]))
                giant[at(o)] = 1;
        }
        for (const auto& cycle : cycles) {
            const int o = cycle.second;
            bool divides = true;
            prime_powers(cycle.first, [&](int p, int k) { divides = divides && k <= e.off(p, o); });
            if (!divides)
                alone[at(o)] = 1;
        }
    }
    std::vector<int> found;
    for (std::size_t o = 0; o < count; ++o)
        if (sizes[o] >= 8 && giant[o] && alone[o])
            found.push_back(static_cast<int>(o));
    return found;
}

// The map from orbit `a` to orbit `b` that sends a[0] to `to` and commutes
// with every generator, into `copy` (copy[y] the point of `a` that y
// copies): false where there is none.
bool copies_through(std::span<const perm> generators, const std::vector<point>& a, point to,
                    std::vector<point>& copy) {
    std::vector<point> image(copy.size(), -1), queue{a[0]};
    image[at(a[0])] = to;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const point x = queue[i];
        for (const perm& g : generators) {
            const point y = g[at(x)], there = g[at(image[at(x)])];
            if (image[at(y)] < 0) {
                image[at(y)] = there;
                queue.push_back(y);
            } else if (image[at(y)] != there) {
                return false;
            }
        }
    }
    for (const point x : a)
        copy[at(image[at(x)])] = x;
    return true;
}

// Which orbits, of more than one point and not certified, copy an earlier
// one: copy_of as the node keeps it, all -1 where none does. A candidate
// image of an orbit's first point must lie on a cycle of the first
// generator as long as the point's own.
std::vector<point> copies(std::span<const perm> generators, int degree, const partition& classes,
                          const std::vector<char>& skipped, work& w) {
    std::vector<point> copy_of(at(degree), -1);
    std::vector<int> length(at(degree), 0);
    for (int x = 0; x < degree; ++x)
        if (length[at(x)] == 0) {
            std::vector<point> cycle{static_cast<point>(x)};
            for (point y = generators[0][at(x)]; y != x; y = generators[0][at(y)])
                cycle.push_back(y);
            for (const point y : cycle)
                length[at(y)] = static_cast<int>(cycle.size());
        }
    std::vector<std::size_t> originals;
    for (std::size_t o = 0; o < classes.size(); ++o) {
        const auto& b = classes[o];
        if (skipped[o] || b.size() < 2)
            continue;
        bool copied = false;
        for (std::size_t i = 0; i < originals.size() && !copied; ++i) {
            const auto& a = classes[originals[i]];
            if (a.size() != b.size())
                continue;
            for (const point to : b) {
                if (length[at(to)] != length[at(a[0])])
                    continue;
                if (!w.spend(static_cast<std::int64_t>(a.size() * generators.size())))
                    return copy_of;
                if ((copied = copies_through(generators, a, to, copy_of)))
                    break;
            }
        }
        if (!copied)
            originals.push_back(o);
    }
    return copy_of;
}

std::unique_ptr<node> intransitive(std::span<const perm> generators, int degree,
                                   const partition& classes, work& w) {
    std::vector<int> orbit_of(at(degree)), sizes;
    for (std::size_t o = 0; o < classes.size(); ++o) {
        sizes.push_back(static_cast<int>(classes[o].size()));
        for (const point x : classes[o])
            orbit_of[at(x)] = static_cast<int>(o);
    }
    const std::vector<int> found = certify(generators, degree, orbit_of, sizes, w);
    if (w.exhausted)
        return nullptr;
    std::vector<char> is_found(classes.size());
    for (const int o : found)
        is_found[at(o)] = 1;
    std::vector<point> copy_of = copies(generators, degree, classes, is_found, w);
    if (w.exhausted)
        return nullptr;
    const bool fixes = std::any_of(sizes.begin(), sizes.end(), [](int size) { return size == 1; });
    const bool copied = std::any_of(copy_of.begin(), copy_of.end(), [](point x) { return x >= 0; });
    if (found.empty() && !fixes && !copied)
        return by_chain(generators, degree, w);
    auto n = std::make_unique<node>();
    n->shape = node::kind::product;
    n->degree = degree;
    n->orbit_of = orbit_of;
    n->copy_of = std::move(copy_of);
    for (const int o : found) {
        n->certified.push_back(classes[at(o)]);
        n->order.times_factorial(sizes[at(o)]);
        n->order.over(2);
    }
    n->image_point.assign(at(degree), -1);
    int next = 0;
    for (int x = 0; x < degree; ++x)
        if (!is_found[at(orbit_of[at(x)])] && sizes[at(orbit_of[at(x)])] > 1 &&
            n->copy_of[at(x)] < 0)
            n->image_point[at(x)] = static_cast<point>(next++);
    const int rest = next;
    const int image_degree = rest + 2 * static_cast<int>(found.size());
    // Each point's place in its orbit, for the sign on a certified orbit.
    std::vector<point> local(at(degree));
    for (const auto& orbit : classes)
        for (std::size_t j = 0; j < orbit.size(); ++j)
            local[at(orbit[j])] = static_cast<point>(j);
    std::vector<perm> image;
    for (const perm& g : generators) {
        perm h = identity(image_degree);
        for (int x = 0; x < degree; ++x)
            if (n->image_point[at(x)] >= 0)
                h[at(n->image_point[at(x)])] = n->image_point[at(g[at(x)])];
        for (std::size_t i = 0; i < n->certified.size(); ++i) {
            perm on(n->certified[i].size());
            for (std::size_t j = 0; j < on.size(); ++j)
                on[j] = local[at(g[at(n->certified[i][j])])];
            if (odd(on)) {
                const auto a = at(rest + 2 * static_cast<int>(i));
                h[a] = static_cast<point>(a + 1);
                h[a + 1] = static_cast<point>(a);
            }
        }
        image.push_back(std::move(h));
    }
    n->image = recognise(image, image_degree, w);
    if (!n->image)
        return nullptr;
    n->order.times(n->image->order);
    return n;
}

std::unique_ptr<node> recognise(std::span<const perm> given, int degree, work& w) {
    const std::vector<perm> generators = distinct_moving(given);
    if (generators.empty()) {
        auto n = std::make_unique<node>();
        n->degree = degree;
        return n;
    }
    const partition classes = orbits(generators, degree);
    if (classes.size() == 1)
        return transitive(generators, degree, w);
    return intransitive(generators, degree, classes, w);
}

} // namespace

bool node::pairs_contain(const perm& p) const {
    for (std::size_t j = 0; j < low.size(); ++j)
        if (block_of[at(p[at(low[j])])] != block_of[at(p[at(high[j])])])
            return false;
    perm h;
    std::vector<char> flip;
    on_pairs(*this, p, h, flip);
    if (kernel == flips::span) {
        // Sifted down the chain on the pairs: what is left must be flips
        // the group holds.
        perm left;
        return steps->sifts(by_pair(*this, p), left) && space->holds(flips_of(left));
    }
    if (!blocks->contains(h))
        return false;
    switch (kernel) {
    case flips::all:
        return true;
    case flips::span:
    case flips::even:
        return odd_count(flip) == (by_sign && odd(h));
    case flips::line:
    case flips::none:
        break;
    }
    // The sides kept or swapped alike for every pair; and swapped, for
    // none, exactly where the group would.
    bool swaps = false;
    for (std::size_t j = 0; j < low.size(); ++j) {
        const bool here = (side[j] != side[at(h[j])]) != (flip[j] != 0);
        if (j > 0 && here != swaps)
            return false;
        swaps = here;
    }
    return kernel == flips::line || swaps == (by_sign && odd(h));
}

bool node::product_contains(const perm& p) const {
    for (int x = 0; x < degree; ++x)
        if (orbit_of[at(p[at(x)])] != orbit_of[at(x)] ||
            (copy_of[at(x)] >= 0 && copy_of[at(p[at(x)])] != p[at(copy_of[at(x)])]))
            return false;
    const int rest = image->degree - 2 * static_cast<int>(certified.size());
    perm h = identity(image->degree);
    for (int x = 0; x < degree; ++x)
        if (image_point[at(x)] >= 0)
            h[at(image_point[at(x)])] = image_point[at(p[at(x)])];
    for (std::size_t i = 0; i < certified.size(); ++i) {
        const auto& orbit = certified[i];
        perm on(orbit.size());
        for (std::size_t j = 0; j < orbit.size(); ++j)
            on[j] = static_cast<point>(
                std::lower_bound(orbit.begin(), orbit.end(), p[at(orbit[j])]) - orbit.begin());
        if (odd(on)) {
            const auto a = at(rest + 2 * static_cast<int>(i));
            h[a] = static_cast<point>(a + 1);
            h[a + 1] = static_cast<point>(a);
        }
    }
    return image->contains(h);
}

bool node::contains(const perm& p) const {
    switch (shape) {
    case kind::trivial:
        return is_identity(p);
    case kind::giant:
        return !alternating || !odd(p);
    case kind::chain:
        return steps->contains(p);
    case kind::pairs:
        return pairs_contain(p);
    case kind::product:
        return product_contains(p);
    }
    return false;
}

namespace {

std::unique_ptr<node> recognise_as(std::span<const perm> generators, int degree, bool faces,
                                   work& w) {
    if (faces && !generators.empty()) {
        partition pairs;
        for (int x = 0; x < degree / 2; ++x)
            pairs.push_back({static_cast<point>(x), static_cast<point>(x + degree / 2)});
        return by_pairs(generators, degree, pairs, w);
    }
    return recognise(generators, degree, w);
}

// More generators than this are first replaced by a few products of
// random sets of them, which generate the group all but always: each
// generator is then shown to be in the group those generate, or added.
constexpr std::size_t many_generators = 12;

} // namespace

generated::generated(std::span<const perm> generators, int degree, std::int64_t budget, bool faces)
    : degree_(degree) {
    work w{budget};
    const std::vector<perm> moving = distinct_moving(generators);
    if (moving.size() <= many_generators) {
        generators_ = moving;
        root_ = recognise_as(generators_, degree, faces, w);
    } else {
        random_numbers numbers(w.seed());
        perm scratch;
        for (int i = 0; i < 6; ++i) {
            perm product = identity(degree);
            for (const perm& g : moving)
                if (numbers.below(2) == 0) {
                    then_into(product, g, scratch);
                    product.swap(scratch);
                }
            w.spend(static_cast<std::int64_t>(moving.size()) * degree);
            generators_.push_back(std::move(product));
        }
        for (bool all = false; !all && !w.exhausted;) {
            root_ = recognise_as(generators_, degree, faces, w);
            all = true;
            for (std::size_t i = 0; i < moving.size() && all && root_; ++i)
                if (!root_->contains(moving[i])) {
                    generators_.push_back(moving[i]);
                    all = false;
                }
            w.spend(static_cast<std::int64_t>(moving.size()) * degree);
        }
    }
    if (w.exhausted)
        root_.reset();
}

generated::~generated() = default;
generated::generated(generated&&) noexcept = default;
generated& generated::operator=(generated&&) noexcept = default;

const factored& generated::order() const {
    return root_->order;
}

bool generated::contains(const perm& p) const {
    return static_cast<int>(p.size()) == degree_ && root_->contains(p);
}

} // namespace group
