#include "group/chain.hpp"

#include <bit>
#include <cmath>

#include "group/random.hpp"

namespace group {

namespace {

constexpr std::size_t at(int x) {
    return static_cast<std::size_t>(x);
}

// Random elements that sift through one after another before the chain is
// proven: each one that would not finds what is missing at least half the
// time, so that the proof rarely finds anything more.
constexpr int quiet_sifts = 20;

} // namespace

int chain::stage::find(point x) const {
    if (keys.empty())
        return place[at(x)];
    const std::size_t mask = keys.size() - 1;
    for (std::size_t h = static_cast<std::size_t>(x) * 0x9e3779b1u & mask;; h = (h + 1) & mask) {
        if (keys[h] == x)
            return place[h];
        if (keys[h] < 0)
            return -1;
    }
}

void chain::stage::index(int degree) {
    keys.clear();
    if (orbit.size() * 8 >= at(degree)) {
        place.assign(at(degree), -1);
        for (std::size_t k = 0; k < orbit.size(); ++k)
            place[at(orbit[k])] = static_cast<std::int32_t>(k);
        return;
    }
    const std::size_t room = std::bit_ceil(2 * orbit.size());
    keys.assign(room, -1);
    place.assign(room, -1);
    const std::size_t mask = room - 1;
    for (std::size_t k = 0; k < orbit.size(); ++k) {
        std::size_t h = static_cast<std::size_t>(orbit[k]) * 0x9e3779b1u & mask;
        while (keys[h] >= 0)
            h = (h + 1) & mask;
        keys[h] = orbit[k];
        place[h] = static_cast<std::int32_t>(k);
    }
}

bool chain::spend(std::int64_t operations) {
    budget_ -= operations;
    return budget_ >= 0;
}

perm chain::whole(const perm& g) const {
    if (size_ == degree_)
        return g;
    perm all(at(degree_));
    for (int x = 0; x < size_; ++x) {
        const point y = g[at(x)];
        all[at(x)] = y;
        all[at(x + size_)] = static_cast<point>(y < size_ ? y + size_ : y - size_);
    }
    return all;
}

bool chain::fixes_all(const perm& g) const {
    for (int x = 0; x < size_; ++x)
        if (to_kept(g[at(x)]) != x)
            return false;
    return true;
}

// The orbit of level i's base point, breadth first; then, while the tree is
// deep, the element of its deepest point as a shortcut, so that sifting
// along it takes a few products.
void chain::grow(std::size_t i) {
    for (int rounds = 0;; ++rounds) {
        stage& l = levels_[i];
        l.orbit.assign(1, l.base);
        l.edge.assign(1, -1);
        l.depth.assign(1, 0);
        std::vector<char> seen(at(size_));
        seen[at(l.base)] = 1;
        for (std::size_t head = 0; head < l.orbit.size(); ++head)
            for (const int s : l.generators) {
                const point y = to_kept(pool_[at(s)][at(l.orbit[head])]);
                if (seen[at(y)])
                    continue;
                seen[at(y)] = 1;
                l.orbit.push_back(y);
                l.edge.push_back(s);
                l.depth.push_back(l.depth[head] + 1);
            }
        l.index(size_);
        spend(static_cast<std::int64_t>(l.orbit.size() * l.generators.size()) + size_);
        const int deepest = l.depth.back();
        const double most = 2 * std::log2(static_cast<double>(l.orbit.size())) + 2;
        if (l.orbit.size() < 32 || deepest <= most || rounds >= 24)
            return;
        perm u;
        transversal(static_cast<int>(i), l.orbit.back(), u);
        spend(static_cast<std::int64_t>(deepest) * size_);
        perm all = whole(u);
        inverses_.push_back(inverse(all));
        pool_.push_back(std::move(all));
        shortcut_.push_back(1);
        levels_[i].generators.push_back(static_cast<int>(pool_.size()) - 1);
    }
}

void chain::add_generator(perm g, int fixes) {
    if (fixes_all(g)) {
        // The pairs it turns over, if any.
        flip_space::row flips((g.size() + 63) / 64);
        for (std::size_t j = 0; j < g.size(); ++j)
            if (g[j] != static_cast<point>(j))
                flips[j / 64] |= std::uint64_t{1} << (j % 64);
        if (size_ < degree_)
            kernel_.add(std::move(flips));
        return;
    }
    if (fixes == length()) {
        stage l;
        for (int x = 0; x < size_ && l.orbit.empty(); ++x)
            if (to_kept(g[at(x)]) != x)
                l.orbit.push_back(static_cast<point>(x));
        l.base = l.orbit[0];
        levels_.push_back(std::move(l));
    }
    perm all = whole(g);
    inverses_.push_back(inverse(all));
    pool_.push_back(std::move(all));
    shortcut_.push_back(0);
    const int s = static_cast<int>(pool_.size()) - 1;
    for (int i = 0; i <= fixes; ++i)
        levels_[at(i)].generators.push_back(s);
    for (int i = 0; i <= fixes; ++i)
        grow(at(i));
}

void chain::transversal(int i, point x, perm& out) const {
    const stage& l = levels_[at(i)];
    // The tree's generators from x back to the base, then their product
    // from the base out.
    std::vector<int> path;
    for (int k = l.find(x); l.edge[at(k)] >= 0;) {
        const int s = l.edge[at(k)];
        path.push_back(s);
        k = l.find(to_kept(inverses_[at(s)][at(l.orbit[at(k)])]));
    }
    out = identity(size_);
    perm scratch;
    for (auto s = path.rbegin(); s != path.rend(); ++s) {
        then_into(out, pool_[at(*s)], scratch);
        out.swap(scratch);
    }
}

int chain::sift(perm& g, int from, perm& scratch) const {
    for (int i = from; i < length(); ++i) {
        const stage& l = levels_[at(i)];
        point x = to_kept(g[at(l.base)]);
        int k = l.find(x);
        if (k < 0)
            return i;
        while (l.edge[at(k)] >= 0) {
            const perm& back = inverses_[at(l.edge[at(k)])];
            then_into(g, back, scratch);
            g.swap(scratch);
            x = to_kept(back[at(x)]);
            k = l.find(x);
        }
    }
    return length();
}

bool chain::sifts(const perm& g, perm& left) const {
    left = kept(g);
    perm scratch;
    return sift(left, 0, scratch) == length() && fixes_all(left);
}

bool chain::contains(const perm& g) const {
    perm left;
    return sifts(g, left) && is_identity(left);
}

factored chain::order() const {
    factored f;
    for (const stage& l : levels_)
        f.times(static_cast<std::int64_t>(l.orbit.size()));
    return f;
}

bool chain::build(std::span<const perm> generators, std::uint64_t seed, const factored* known,
                  std::int64_t& budget) {
    budget_ = budget;
    const bool done = build_within(generators, seed, known);
    budget = budget_;
    return done;
}

std::int64_t chain::sift_cost() const {
    // The cost of sifting one element, in products: the trees' depths.
    std::int64_t d = 1;
    for (const stage& l : levels_)
        d += l.depth.back();
    return d * size_;
}

bool chain::build_within(std::span<const perm> generators, std::uint64_t seed,
                         const factored* known) {
    std::vector<int> originals;
    for (const perm& whole_g : generators) {
        const perm g = kept(whole_g);
        if (is_identity(g))
            continue;
        int fixes = 0;
        while (fixes < length() && to_kept(g[at(base(fixes))]) == base(fixes))
            ++fixes;
        const std::size_t before = pool_.size();
        add_generator(g, fixes);
        if (pool_.size() > before)
            originals.push_back(static_cast<int>(before));
    }
    if (levels_.empty())
        return true;
    const auto reached = [&] { return known && order() == *known; };
    random_elements random(generators, degree_, seed);
    perm g, scratch;
    for (int quiet = 0; known ? !reached() : quiet < quiet_sifts;) {
        if (!spend(sift_cost() + degree_))
            return false;
        g = kept(random.next());
        const int fixes = sift(g, 0, scratch);
        quiet = fixes == length() && fixes_all(g) ? quiet + 1 : 0;
        add_generator(g, fixes); // a kernel element is kept apart
    }
    return reached() || prove(originals);
}

// The proof: from the last level up, every Schreier generator of a level's
// generators (the group's own at the first) sifts through the levels below
// it; where one does not, what remains is added and the proof starts again.
// On pairs, what remains of each is a kernel element.
bool chain::prove(const std::vector<int>& originals) {
    for (;;) {
        int found = 0;
        for (int i = length() - 1; i >= 0 && found == 0; --i) {
            std::vector<int> own;
            for (const int s : levels_[at(i)].generators)
                if (!shortcut_[at(s)])
                    own.push_back(s);
            found = prove_level(i, i == 0 ? originals : own);
        }
        if (found <= 0)
            return found == 0;
    }
}

// The Schreier generators of level i's generators `from`, but the tree's
// edges, each sifted through the levels below: 1 where one did not sift
// through and what remains was added, 0 where all did, -1 where the budget
// ran out first.
int chain::prove_level(int i, const std::vector<int>& from) {
    perm u, h, scratch;
    const std::size_t count = levels_[at(i)].orbit.size();
    for (std::size_t k = 0; k < count; ++k) {
        const point x = levels_[at(i)].orbit[k];
        transversal(i, x, u);
        spend(static_cast<std::int64_t>(levels_[at(i)].depth[k]) * size_);
        for (const int s : from) {
            const stage& l = levels_[at(i)];
            const point y = to_kept(pool_[at(s)][at(x)]);
            if (l.edge[at(l.find(y))] == s && to_kept(inverses_[at(s)][at(y)]) == x)
                continue; // an edge of the tree: the generator is the identity
            if (!spend(sift_cost()))
                return -1;
            then_into(u, pool_[at(s)], h);
            const int fixes = sift(h, i, scratch);
            const bool through = fixes == length() && fixes_all(h);
            add_generator(h, fixes); // a kernel element is kept apart
            if (!through)
                return 1;
        }
    }
    return 0;
}

} // namespace group
