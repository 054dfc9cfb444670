#include "exact/place_chances.hpp"

#include <algorithm>

#include "deal/limits.hpp"
#include "exact/mixing.hpp"

namespace exact {

namespace {

// The most work spent in GMP's floats on a round's chances, in steps of a
// riffle times the words of their numbers: some seconds.
constexpr double max_fine_work = 3e10;

// What the riffles of a round cost in floating point, in plain riffles: a
// riffle into A packets takes about 4AM^2 operations to a plain one's 3M^2/2.
std::int64_t floating_riffles(const deal::routine& r) {
    return r.played_sum([](const deal::move& m) -> std::int64_t {
        if (m.kind != deal::move_kind::riffle)
            return 0;
        return m.packets == 2 ? 1 : 3 * m.packets;
    });
}

} // namespace

std::int64_t exact_chance_rounds(const deal::routine& r) {
    if (r.cards > deal::max_exact_chance_cards)
        return -1;
    const std::int64_t riffles = r.riffle_weight();
    return riffles == 0 ? deal::max_chance_card_rounds
                        : std::min(deal::max_chance_card_rounds,
                                   deal::max_chance_riffles(r.cards) / riffles);
}

std::int64_t most_chance_rounds(const deal::routine& r) {
    const std::int64_t riffles = floating_riffles(r);
    const std::int64_t bounded =
        riffles == 0 ? deal::max_chance_card_rounds
                     : std::min(deal::max_chance_card_rounds,
                                deal::max_bounded_chance_riffles(r.cards) / riffles);
    return std::max(exact_chance_rounds(r), bounded);
}

place_chances::place_chances(const deal::routine& r, int from, int digits)
    : routine_(r), from_(from), digits_(digits), exact_rounds_(exact_chance_rounds(r)) {}

place_chances::written place_chances::after(std::int64_t round) {
    const auto cards = static_cast<std::size_t>(routine_.cards);
    written w;
    w.chances.resize(cards);
    if (round <= exact_rounds_) {
        if (!exact_)
            exact_.emplace(routine_, from_);
        exact_->play_to(round);
        for (std::size_t p = 0; p < cards; ++p)
            if (const mpz_class& n = exact_->numerator(static_cast<int>(p)); n != 0)
                w.chances[p] = decimals(mpq_class(n, exact_->denominator()), digits_);
        return w;
    }
    if (!coarse_)
        coarse_.emplace(routine_, from_);
    coarse_->play_to(round);
    std::vector<int> doubts;
    for (int p = 0; p < routine_.cards; ++p) {
        if (!coarse_->possible(p))
            continue;
        auto& chance = w.chances[static_cast<std::size_t>(p)];
        if (const auto whole = coarse_->whole(p)) {
            chance = decimals(mpq_class(*whole, routine_.cards), digits_);
            continue;
        }
        const double value = coarse_->chance(p);
        if (const auto bound = coarse_->error_bound(value))
            chance = proven_decimals(exactly(value), *bound, digits_);
        if (!chance)
            doubts.push_back(p);
    }
    // Bits for the decimals, for the roundings (under 2^40) and to spare;
    // where a chance lies closer still to a boundary, twice as many, or as
    // many as tell the chance from the boundary, while that is affordable.
    const auto steps = static_cast<double>(round) *
                       static_cast<double>(floating_riffles(routine_)) * 1.5 * routine_.cards *
                       routine_.cards;
    for (unsigned long bits = 128 + 4 * static_cast<unsigned long>(digits_);
         !doubts.empty() && steps * static_cast<double>(bits / 64 + 1) <= max_fine_work;) {
        if (fine_bits_ != bits) {
            fine_.emplace(routine_, from_, bits);
            fine_bits_ = bits;
        }
        fine_->play_to(round);
        const mpz_class denominator = fine_->denominator();
        std::erase_if(doubts, [&](int p) {
            const mpf_class& value = fine_->chance(p);
            auto& chance = w.chances[static_cast<std::size_t>(p)];
            if (const auto bound = fine_->error_bound(value))
                chance = proven_decimals(exactly(value), *bound, digits_, &denominator);
            return chance.has_value();
        });
        const auto telling =
            static_cast<unsigned long>(mpz_sizeinbase(denominator.get_mpz_t(), 2) + 128 +
                                       4 * static_cast<std::size_t>(digits_));
        bits = std::max(2 * bits, telling);
    }
    if (!doubts.empty())
        w.unsettled = doubts.front();
    return w;
}

} // namespace exact
