#include "group/deal_moves.hpp"

#include <utility>

#include "deal/permutation.hpp"

namespace group {

move_points points_of(std::span<const deal::move> moves, int cards) {
    move_points read;
    std::vector<deal::permutation> made;
    for (const deal::move& m : moves) {
        made.push_back(deal::move_permutation(m, cards));
        read.turns = read.turns || made.back().turns_any();
    }
    for (deal::permutation& p : made) {
        if (read.turns)
            p = p.doubled();
        read.generators.emplace_back(p.goes_to().begin(), p.goes_to().end());
        p = deal::permutation();
    }
    read.degree = read.turns ? 2 * cards : cards;
    return read;
}

const char* reaches_words(const generated& g, int cards, bool turns) {
    factored every;
    every.times_factorial(cards);
    if (turns) {
        for (int i = 0; i < cards; ++i)
            every.times(2);
        return g.order() == every ? "every order and facing" : "some orders and facings";
    }
    factored even = every;
    if (cards >= 2)
        even.over(2);
    return g.order() == every ? "every order" : g.order() == even ? "every even order" : "some orders";
}

std::optional<perm> taking(const deal::start& from, const deal::start& to, int degree) {
    const int cards = from.size();
    perm p(static_cast<std::size_t>(degree));
    for (int x = 0; x < cards; ++x) {
        const deal::card c = from[x];
        const int there = to.position_of(deal::number_of(c));
        const bool turned = deal::is_face_up(c) != deal::is_face_up(to[there]);
        if (turned && degree == cards)
            return std::nullopt;
        p[static_cast<std::size_t>(x)] = static_cast<point>(there + (turned ? cards : 0));
        if (degree > cards)
            p[static_cast<std::size_t>(x + cards)] =
                static_cast<point>(there + (turned ? 0 : cards));
    }
    return p;
}

reached reach(const generated& g, const move_points& points, const deal::start& from,
              const deal::start& to, const reach_limits& limits) {
    reached r;
    const auto target = taking(from, to, g.degree());
    if (!target || !g.contains(*target)) {
        r.never = true;
        return r;
    }
    routes found_routes(points.generators, from.size());
    routes::found found = found_routes.search(*target, limits.states, limits.steps);
    r.searched = found_routes.reached();
    r.shortest = found.shortest;
    if (!found.shortest) {
        // Past the search, words for the stabilizer chain's points, each of
        // at most ten times the moves a routine holds.
        chain c(g.degree());
        std::int64_t budget = limits.chain_steps;
        const factored order = g.order();
        std::optional<word> built;
        r.chained = c.build(g.generators(), 1, &order, budget);
        if (r.chained)
            built = found_routes.build(*target, c, limits.chain_steps / 5, 10 * limits.longest);
        if (built && (!found.any || built->size() < found.moves.size())) {
            found.any = true;
            found.moves = std::move(*built);
        }
    }
    if (found.any && found.moves.size() <= limits.longest)
        r.moves = std::move(found.moves);
    return r;
}

} // namespace group
