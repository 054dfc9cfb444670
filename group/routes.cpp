#include "group/routes.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

#include "group/random.hpp"

namespace group {

namespace {

constexpr std::size_t at(std::int64_t x) {
    return static_cast<std::size_t>(x);
}

std::uint64_t hash_of(const point* state, int cards) {
    std::uint64_t h = 0x9e3779b97f4a7c15ULL;
    for (int x = 0; x < cards; ++x) {
        h ^= static_cast<std::uint16_t>(state[x]);
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 32;
    }
    return h;
}

// `w` with every run of one move as long as its period left out, which
// brings moves on either side of it together: a run then, and so on.
void collapse(word& w, std::span<const int> periods) {
    std::vector<std::pair<int, int>> runs; // move, times in a row
    for (const int m : w) {
        if (!runs.empty() && runs.back().first == m)
            ++runs.back().second;
        else
            runs.emplace_back(m, 1);
        if (runs.back().second == periods[at(m)])
            runs.pop_back();
    }
    w.clear();
    for (const auto& [m, times] : runs)
        w.insert(w.end(), at(times), m);
}

// A move's period, or 0 where it is more than any word here could hold.
int period_of(const perm& m) {
    std::int64_t p = 1;
    for (const int length : cycle_lengths(m)) {
        p = std::lcm(p, static_cast<std::int64_t>(length));
        if (p > 1'000'000)
            return 0;
    }
    return static_cast<int>(p);
}

} // namespace

routes::routes(std::span<const perm> moves, int cards)
    : moves_(moves.begin(), moves.end()), cards_(cards),
      degree_(moves.empty() ? cards : static_cast<int>(moves[0].size())) {
    for (const perm& m : moves_)
        periods_.push_back(period_of(m));
}

int routes::find(const point* state) const {
    if (table_.empty())
        return -1;
    const std::size_t mask = table_.size() - 1;
    for (std::size_t h = hash_of(state, cards_) & mask;; h = (h + 1) & mask) {
        const int i = table_[h];
        if (i < 0)
            return -1;
        if (std::memcmp(&states_[at(i) * at(cards_)], state, at(cards_) * sizeof(point)) == 0)
            return i;
    }
}

void routes::insert(int index) {
    const std::size_t mask = table_.size() - 1;
    std::size_t h = hash_of(&states_[at(index) * at(cards_)], cards_) & mask;
    while (table_[h] >= 0)
        h = (h + 1) & mask;
    table_[h] = index;
}

word routes::word_of(int index) const {
    word w;
    for (int i = index; parent_[at(i)] >= 0; i = parent_[at(i)])
        w.push_back(via_[at(i)]);
    std::reverse(w.begin(), w.end());
    return w;
}

perm routes::whole(const point* state) const {
    perm p(at(degree_));
    for (int x = 0; x < cards_; ++x) {
        p[at(x)] = state[x];
        if (degree_ > cards_)
            p[at(x + cards_)] =
                static_cast<point>(state[x] < cards_ ? state[x] + cards_ : state[x] - cards_);
    }
    return p;
}

routes::found routes::search(const perm& target, std::int64_t most_states,
                             std::int64_t most_steps) {
    const auto n = at(cards_);
    // Room for every element at once, so that growing never holds two
    // copies of the search.
    states_.clear();
    states_.reserve(at(most_states) * n);
    for (int x = 0; x < cards_; ++x)
        states_.push_back(static_cast<point>(x));
    parent_.assign(1, -1);
    via_.assign(1, -1);
    layers_ = {0, 1};
    whole_layers_ = 1;
    table_.assign(std::bit_ceil(at(2 * most_states + 2)), -1);
    insert(0);
    const perm goal(target.begin(), target.begin() + cards_);
    if (std::equal(goal.begin(), goal.end(), states_.begin()))
        return {true, true, {}};
    std::int64_t steps = 0;
    std::vector<point> next(n);
    bool stopped = false;
    for (std::size_t head = 0; head < parent_.size() && !stopped; ++head) {
        if (head == at(layers_.back())) {
            layers_.push_back(static_cast<std::int32_t>(parent_.size()));
            ++whole_layers_;
        }
        for (std::size_t m = 0; m < moves_.size() && !stopped; ++m) {
            if ((steps += cards_) > most_steps) {
                stopped = true;
                break;
            }
            const point* from = &states_[head * n];
            for (std::size_t x = 0; x < n; ++x)
                next[x] = moves_[m][at(from[x])];
            if (find(next.data()) >= 0)
                continue;
            if (static_cast<std::int64_t>(parent_.size()) >= most_states) {
                stopped = true;
                break;
            }
            states_.insert(states_.end(), next.begin(), next.end());
            parent_.push_back(static_cast<std::int32_t>(head));
            via_.push_back(static_cast<std::int32_t>(m));
            insert(static_cast<int>(parent_.size()) - 1);
            if (std::equal(goal.begin(), goal.end(), next.begin()))
                return {true, true, word_of(static_cast<int>(parent_.size()) - 1)};
        }
    }
    if (!stopped)
        return {}; // every element reached, and not the target
    return halfway(target);
}

int routes::depth(int index) const {
    return static_cast<int>(std::upper_bound(layers_.begin(), layers_.end(), index) -
                            layers_.begin()) -
           1;
}

// Where the search stopped part way through a layer, the one before it is
// whole: the target as x then y, x in it, y anywhere the search reached.
routes::found routes::halfway(const perm& target) const {
    const auto n = at(cards_);
    std::vector<point> next(n);
    const int d = whole_layers_ - 1;
    int best = -1, best_x = -1, best_y = -1;
    for (int x = layers_[at(d)]; x < layers_[at(d) + 1]; ++x) {
        const perm back = inverse(whole(&states_[at(x) * n]));
        for (std::size_t z = 0; z < n; ++z)
            next[z] = target[at(back[z])];
        const int y = find(next.data());
        if (y >= 0 && (best < 0 || d + depth(y) < best)) {
            best = d + depth(y);
            best_x = x;
            best_y = y;
        }
    }
    if (best < 0)
        return {};
    word w = word_of(best_x);
    const word rest = word_of(best_y);
    w.insert(w.end(), rest.begin(), rest.end());
    // Within twice the whole layer's depth, every shortest word has its
    // first d moves in that layer and the rest in the search.
    return {true, best <= 2 * d, w};
}

word routes::shortened(word w) const {
    const auto n = at(cards_);
    const int longest_window = std::max(2, 2 * whole_layers_ + 2);
    std::vector<point> state(n);
    for (bool changed = true; changed;) {
        changed = false;
        // A move as many times as its period in a row does nothing.
        collapse(w, periods_);
        // A stretch the search reached by fewer moves.
        for (std::size_t i = 0; i + 1 < w.size() && !table_.empty(); ++i) {
            for (std::size_t x = 0; x < n; ++x)
                state[x] = static_cast<point>(x);
            for (std::size_t j = i; j < w.size() && j - i < at(longest_window); ++j) {
                for (std::size_t x = 0; x < n; ++x)
                    state[x] = moves_[at(w[j])][at(state[x])];
                const int k = j > i ? find(state.data()) : -1;
                if (k >= 0 && at(depth(k)) < j - i + 1) {
                    const word shorter = word_of(k);
                    w.erase(w.begin() + static_cast<std::ptrdiff_t>(i),
                            w.begin() + static_cast<std::ptrdiff_t>(j + 1));
                    w.insert(w.begin() + static_cast<std::ptrdiff_t>(i), shorter.begin(),
                             shorter.end());
                    changed = true;
                    break;
                }
            }
        }
    }
    return w;
}

namespace {

// Minkwitz's table: for each level of a chain and each point of its orbit, a
// word whose product takes the base point there and fixes the earlier ones,
// the shortest found.
class table {
public:
    table(const chain& c, std::span<const perm> moves, std::span<const int> periods,
          std::int64_t budget, std::size_t longest)
        : c_(c), moves_(moves), periods_(periods), budget_(budget), longest_(longest),
          entries_(at(c.length())) {
        for (int i = 0; i < c.length(); ++i) {
            entries_[at(i)].resize(c.orbit(i).size());
            entries_[at(i)][0] = {{}, identity(static_cast<int>(moves[0].size())), true};
            points_ += c.orbit(i).size();
            filled_.emplace_back(i, 0);
        }
    }

    bool spent() const { return budget_ < 0; }
    bool complete() const { return filled_.size() == points_; }

    // A word is kept at the first level where it is the first or the
    // shortest to take the base point where it does; else what is left of it
    // past that level goes on down. True where it was kept.
    bool sift(word w, perm g) {
        for (int i = 0; i < c_.length(); ++i) {
            if ((budget_ -= static_cast<std::int64_t>(2 * g.size() + w.size())) < 0 ||
                w.size() > longest_)
                return false;
            const int k = c_.where(i, g[at(c_.base(i))]);
            entry& e = entries_[at(i)][at(k)];
            if (!e.filled || w.size() < e.moves.size()) {
                if (!e.filled)
                    filled_.emplace_back(i, k);
                e = {std::move(w), std::move(g), true};
                return true;
            }
            inverse_into(e.element, back_);
            then_into(g, back_, scratch_);
            g.swap(scratch_);
            if (!inverse_of(e.moves, w))
                return false;
            collapse(w, periods_);
        }
        return false;
    }

    // A word kept, followed by a move or another word kept, at random.
    void try_product(random_numbers& numbers) {
        const auto [i, k] = filled_[at(static_cast<std::int64_t>(numbers.below(filled_.size())))];
        const entry& a = entries_[at(i)][at(k)];
        word w = a.moves;
        perm g = a.element;
        if (numbers.below(2) == 0) {
            const auto m = static_cast<int>(numbers.below(moves_.size()));
            w.push_back(m);
            g = then(g, moves_[at(m)]);
        } else {
            const auto [j, l] =
                filled_[at(static_cast<std::int64_t>(numbers.below(filled_.size())))];
            const entry& b = entries_[at(j)][at(l)];
            w.insert(w.end(), b.moves.begin(), b.moves.end());
            g = then(g, b.element);
        }
        quiet_ = sift(std::move(w), std::move(g)) ? 0 : quiet_ + 1;
    }
    int quiet() const { return quiet_; }

    // The target as the words of each level, the deepest level's first.
    word of(perm g) {
        std::vector<const word*> parts;
        for (int i = 0; i < c_.length(); ++i) {
            const entry& e = entries_[at(i)][at(c_.where(i, g[at(c_.base(i))]))];
            parts.push_back(&e.moves);
            inverse_into(e.element, back_);
            then_into(g, back_, scratch_);
            g.swap(scratch_);
        }
        word w;
        for (auto part = parts.rbegin(); part != parts.rend(); ++part)
            w.insert(w.end(), (*part)->begin(), (*part)->end());
        return w;
    }

private:
    struct entry {
        word moves;
        perm element;
        bool filled = false;
    };

    // A word's inverse as moves: each move, in turn from the last, as many
    // times as its period less one; false for a move whose period is past
    // any word's length.
    bool inverse_of(const word& w, word& out) const {
        for (auto m = w.rbegin(); m != w.rend(); ++m) {
            const int p = periods_[at(*m)];
            if (p == 0)
                return false;
            out.insert(out.end(), at(p - 1), *m);
        }
        return true;
    }

    const chain& c_;
    std::span<const perm> moves_;
    std::span<const int> periods_;
    std::int64_t budget_;
    std::size_t longest_;
    std::vector<std::vector<entry>> entries_;
    std::vector<std::pair<int, int>> filled_;
    std::size_t points_ = 0;
    int quiet_ = 0;
    perm back_, scratch_;
};

} // namespace

std::optional<word> routes::build(const perm& target, const chain& c, std::int64_t budget,
                                  std::size_t longest) {
    table t(c, moves_, periods_, budget, longest);
    // The shortest words first: what the search found.
    const std::size_t searched = std::min<std::size_t>(parent_.size(), 20000);
    for (std::size_t i = 1; i < searched; ++i)
        t.sift(word_of(static_cast<int>(i)), whole(&states_[i * at(cards_)]));
    // Then products of words kept and moves, until every point of every
    // orbit has a word and a while brings nothing shorter.
    random_numbers numbers(0x6465616cULL);
    while (!t.complete() || t.quiet() < 2000) {
        if (t.spent())
            return std::nullopt;
        t.try_product(numbers);
    }
    return shortened(t.of(target));
}

} // namespace group
