// The group of a set of the deck's moves, as deal-group and the page ask it:
// each move's permutation of the deck's points, and a routine of the moves
// that brings one deck to another.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "deal/routine.hpp"
#include "deal/start.hpp"
#include "group/generated.hpp"
#include "group/routes.hpp"

namespace group {

// Where each move takes each point: the deck's positions, or, where any
// move turns cards, each position face down and then each face up (the 2M
// points of deal-cycles --gap).
struct move_points {
    std::vector<perm> generators;
    bool turns = false;
    int degree = 0;
};
move_points points_of(std::span<const deal::move> moves, int cards);

// What the group reaches, as deal-group --summary says it: "every order",
// "every even order" or "some orders"; with faces, "every order and facing"
// or "some orders and facings".
const char* reaches_words(const generated& g, int cards, bool turns);

// The permutation of the points that takes the deck `from` to `to`: where
// each position's card goes, turned over where its face differs; nothing
// where the points have no faces and a face differs.
std::optional<perm> taking(const deal::start& from, const deal::start& to, int degree);

// What a routine to a deck may spend: the decks the search keeps and its
// steps, and the steps of the stabilizer chain it falls back on.
struct reach_limits {
    std::int64_t states;
    std::int64_t steps;
    std::int64_t chain_steps;
    std::size_t longest;
};

struct reached {
    bool never = false;    // the group does not hold the deck
    bool shortest = false; // the routine is a shortest one
    bool chained = true;   // the chain was built, where it was needed
    std::optional<word> moves;
    std::int64_t searched = 0; // the decks the search reached
};
// A routine of the moves, indices into `points`, from `from` to `to`, of
// at most `limits.longest` moves where one was found.
reached reach(const generated& g, const move_points& points, const deal::start& from,
              const deal::start& to, const reach_limits& limits);

} // namespace group
