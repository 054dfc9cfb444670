// A card's chances of being at each position, round by round, each written
// with a number of decimals exactly rounded. In GMP's integers while they are
// cheap (chances.hpp); past that in doubles with a proven bound, and where the
// bound leaves a decimal in doubt, again in GMP's floats with bits enough to
// settle it (bounded_chances.hpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "deal/routine.hpp"
#include "exact/bounded_chances.hpp"
#include "exact/chances.hpp"

namespace exact {

// The most rounds of `r` whose chances are worked out exactly, in integers;
// -1 on a deck past deal::max_exact_chance_cards.
std::int64_t exact_chance_rounds(const deal::routine& r);
// The most rounds of `r` whose chances are worked out at all: at least those
// worked out exactly, at most deal::max_chance_card_rounds.
std::int64_t most_chance_rounds(const deal::routine& r);

class place_chances {
public:
    // The card that starts at position `from` of the deck of `r` (at most
    // deal::max_chance_cards cards), its chances written with `digits`
    // decimals.
    place_chances(const deal::routine& r, int from, int digits);

    struct written {
        // For each position, the chance written, or nothing where the card
        // cannot be there.
        std::vector<std::optional<std::string>> chances;
        // A position whose chance lies too close to halfway between two
        // numbers of those decimals for the arithmetic affordable to round
        // it; -1 where there is none.
        int unsettled = -1;
    };
    // The chances after `round` rounds, 0 to most_chance_rounds(): fastest
    // when asked in increasing order.
    written after(std::int64_t round);

private:
    deal::routine routine_;
    int from_, digits_;
    std::int64_t exact_rounds_;
    std::optional<card_chances> exact_;
    std::optional<bounded_chances<double>> coarse_;
    std::optional<bounded_chances<mpf_class>> fine_;
    unsigned long fine_bits_ = 0;
};

} // namespace exact
