// Takes any bytes as a few generators on a few points, each a move of a
// routine on that many cards (faros, cuts, deals, turns) or a permutation
// drawn from the bytes, and holds the group's recognition, which takes the
// group apart with proofs, to a plain stabilizer chain, proven by every
// Schreier generator:
//  - the two orders are equal;
//  - each holds the same of a few elements: products of the generators,
//    permutations from the bytes, and one that moves a card's faces apart.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "deal/routine.hpp"
#include "group/chain.hpp"
#include "group/generated.hpp"
#include "group/random.hpp"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_group: %s\n", what);
        std::abort();
    }
}

// The bytes, then numbers drawn from them once they run out.
class source {
public:
    source(const std::uint8_t* data, std::size_t size) : data_(data), size_(size), more_(size) {}
    unsigned next() { return at_ < size_ ? data_[at_++] : static_cast<unsigned>(more_.next()); }
    int below(int n) { return static_cast<int>((next() << 8 | next()) % static_cast<unsigned>(n)); }

private:
    const std::uint8_t* data_;
    std::size_t size_, at_ = 0;
    group::random_numbers more_;
};

group::perm drawn(source& s, int degree) {
    group::perm p = group::identity(degree);
    for (int i = degree - 1; i > 0; --i)
        std::swap(p[static_cast<std::size_t>(i)], p[static_cast<std::size_t>(s.below(i + 1))]);
    return p;
}

// A move on `cards` cards, where each card's faces are points x and
// x + cards where `faces`.
group::perm move_of(source& s, int cards, bool faces) {
    deal::move m;
    switch (s.below(faces ? 7 : 6)) {
    case 0:
        m.kind = deal::move_kind::faro_out;
        break;
    case 1:
        m.kind = deal::move_kind::faro_in;
        break;
    case 2:
        m.kind = deal::move_kind::cut;
        m.cut = s.below(cards);
        break;
    case 3:
        m.kind = deal::move_kind::monge;
        break;
    case 4:
        m.kind = deal::move_kind::reverse;
        break;
    case 5: {
        m.kind = deal::move_kind::deal;
        m.deal.cards = cards;
        m.deal.hands = 1 + s.below(std::min(cards, 5));
        const std::int32_t packet = 1 + s.below(3);
        m.deal.set_packets({&packet, 1});
        break;
    }
    default:
        m.kind = deal::move_kind::turn;
        m.cut = s.below(cards + 1);
        break;
    }
    deal::permutation p = deal::move_permutation(m, cards);
    if (faces)
        p = p.doubled();
    return group::perm(p.goes_to().begin(), p.goes_to().end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    source s(data, size);
    const bool faces = s.next() % 3 == 0;
    const int cards = 2 + s.below(faces ? 20 : 38);
    const int degree = faces ? 2 * cards : cards;
    std::vector<group::perm> generators;
    const int count = 1 + s.below(3);
    for (int i = 0; i < count; ++i)
        generators.push_back(faces || s.next() % 4 != 0 ? move_of(s, cards, faces)
                                                        : drawn(s, degree));
    constexpr std::int64_t budget = 200'000'000;
    const group::generated g(generators, degree, budget, faces);
    group::chain c(degree);
    std::int64_t left = budget;
    if (!g.known() || !c.build(generators, 7, nullptr, left))
        return 0;
    check(g.order() == c.order(), "the recognition's order is not the chain's");
    std::vector<group::perm> asked{group::then(generators[0], generators.back()), drawn(s, degree)};
    if (faces) {
        // The first card's faces split, the rest in place.
        group::perm split = group::identity(degree);
        std::swap(split[0], split[1]);
        asked.push_back(split);
        group::perm flip = group::identity(degree);
        std::swap(flip[0], flip[static_cast<std::size_t>(cards)]);
        asked.push_back(flip);
    }
    for (const group::perm& p : asked)
        check(g.contains(p) == c.contains(p), "the recognition holds what the chain does not");
    return 0;
}
