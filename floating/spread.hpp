// A card's chances of being at each position after rounds of a routine that
// mixes exact moves, moves by chance and chosen piles, in floating point: in
// doubles here, for drawing; in GMP's floats with a proven bound in exact/.
//
// A riffle of M cards sends the card i-th from the top to the j-th with chance
//   pmf(j-1, i-1) / 2 + pmf(M-j, M-i) / 2,   pmf(n, k) = C(n, k) / 2^n,
// the first term where it lies in the top packet, the second in the lower.
// Read from the bottom of the deck, the second term is the first, so one row
// of the binomial law, grown by a row for each place, serves both: 3M^2/2
// operations a riffle, and memory in proportion to M.
//
// Every chance is a sum of products of nonnegative numbers, each step one
// rounding at most: the roundings any chance has gone through are counted,
// for a bound on its error. While no riffle has met an uneven spread (the
// start, a random cut, exact moves after it), every chance is a whole number
// of M-ths, and those are kept exactly besides; and every chance is a whole
// number over 2^twos(), times M after a random cut.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "deal/played.hpp"
#include "deal/routine.hpp"

namespace floating {

// The steps of the arithmetic, for each kind of number: its zero (of `bits`
// bits where it has a precision), whether a number is zero, 1/parts, halving,
// a sum and a sum of a product.
template <class Real>
struct spread_arithmetic;

template <>
struct spread_arithmetic<double> {
    static double zero(unsigned long) { return 0; }
    static bool is_zero(double x) { return x == 0; }
    static void set_share(double& x, unsigned long parts) { x = 1.0 / static_cast<double>(parts); }
    static void halve(double& x) { x *= 0.5; }
    static void add(double& sum, double x) { sum += x; }
    static void add_product(double& sum, double x, double y, double&) { sum += x * y; }
};

template <class Real>
class spread {
public:
    // The card that starts at position `from` of the deck of `r`, worked out
    // with `bits` bits where the numbers have a precision.
    spread(const deal::routine& r, int from, unsigned long bits = 53);

    // Plays on to round `round`, from round 0 again where it is past that.
    void play_to(std::int64_t round);

    // Whether the card may be at position p: kept exactly.
    bool possible(int p) const { return possible_[static_cast<std::size_t>(p)] != 0; }
    // The chance that it is there.
    const Real& chance(int p) const { return chances_[static_cast<std::size_t>(p)]; }
    std::span<const Real> chances() const { return chances_; }
    // The chance as a whole number of M-ths, where it is known so.
    std::optional<std::int64_t> whole(int p) const {
        if (!whole_valid_)
            return std::nullopt;
        return whole_[static_cast<std::size_t>(p)];
    }
    // The most roundings any chance has gone through.
    std::int64_t roundings() const { return roundings_; }
    // Every chance is a whole number over 2^twos(), times the deck's size
    // where cut() is true.
    std::int64_t twos() const { return twos_; }
    bool cut() const { return cut_; }
    int cards() const { return routine_.cards; }
    unsigned long bits() const { return bits_; }

private:
    using arithmetic = spread_arithmetic<Real>;
    // Round 0: the card where it starts, for certain.
    void restart();
    void play_round();
    void riffle();

    deal::routine routine_;
    // The round's steps, a repeat of exact moves one step.
    deal::played_round round_steps_;
    int from_;
    unsigned long bits_;
    std::int64_t played_ = 0;
    std::int64_t roundings_ = 0;
    std::int64_t twos_ = 0;
    bool cut_ = false;
    std::vector<Real> chances_, top_, row_, upper_, lower_;
    std::vector<char> possible_, reached_;
    std::vector<std::int64_t> whole_, whole_next_;
    bool whole_valid_ = true;
    // Each exact step from every position, and whether it brings two
    // positions to one.
    std::vector<std::vector<std::int16_t>> steps_;
    std::vector<char> merges_;
};

template <class Real>
spread<Real>::spread(const deal::routine& r, int from, unsigned long bits)
    : routine_(r), round_steps_(r), from_(from), bits_(bits) {
    const auto cards = static_cast<std::size_t>(r.cards);
    for (auto* v : {&chances_, &top_, &row_, &upper_, &lower_})
        v->assign(cards, arithmetic::zero(bits));
    possible_.assign(cards, 0);
    reached_.assign(cards, 0);
    whole_.assign(cards, 0);
    whole_next_.assign(cards, 0);
    for (int k = 0; k < round_steps_.size(); ++k) {
        std::vector<std::int16_t>& step = steps_.emplace_back();
        bool merges = false;
        if (!round_steps_.by_chance(k)) {
            step.resize(cards);
            round_steps_.follow(k, step);
            std::vector<char> hit(cards, 0);
            for (const std::int16_t to : step)
                merges = merges || std::exchange(hit[static_cast<std::size_t>(to)], 1) != 0;
        }
        merges_.push_back(merges);
    }
    restart();
}

template <class Real>
void spread<Real>::restart() {
    for (std::size_t p = 0; p < chances_.size(); ++p) {
        chances_[p] = 0;
        possible_[p] = 0;
        whole_[p] = 0;
    }
    const auto from = static_cast<std::size_t>(from_);
    chances_[from] = 1;
    possible_[from] = 1;
    whole_[from] = routine_.cards;
    whole_valid_ = true;
    roundings_ = 0;
    twos_ = 0;
    cut_ = false;
    played_ = 0;
}

template <class Real>
void spread<Real>::play_to(std::int64_t round) {
    if (round < played_)
        restart();
    for (; played_ < round; ++played_)
        play_round();
}

template <class Real>
void spread<Real>::play_round() {
    const std::size_t cards = chances_.size();
    for (std::size_t k = 0; k < steps_.size(); ++k) {
        const int i = static_cast<int>(k);
        switch (round_steps_.by_chance(i) ? round_steps_.move_at(i)->kind : deal::move_kind::deal) {
        case deal::move_kind::riffle:
            // From any place a riffle may bring the card to any other.
            std::fill(possible_.begin(), possible_.end(), 1);
            if (whole_valid_ && std::all_of(whole_.begin(), whole_.end(),
                                            [&](std::int64_t w) { return w == whole_[0]; }))
                continue; // an even spread stays even, to the last bit
            whole_valid_ = false;
            twos_ += routine_.cards;
            riffle();
            continue;
        case deal::move_kind::random_cut:
            std::fill(possible_.begin(), possible_.end(), 1);
            std::fill(whole_.begin(), whole_.end(), 1);
            whole_valid_ = true;
            for (Real& c : chances_)
                arithmetic::set_share(c, cards);
            roundings_ = 1;
            twos_ = 0;
            cut_ = true;
            continue;
        default:
            break;
        }
        const std::vector<std::int16_t>& step = steps_[k];
        for (std::size_t p = 0; p < cards; ++p) {
            top_[p] = 0;
            reached_[p] = 0;
            whole_next_[p] = 0;
        }
        for (std::size_t p = 0; p < cards; ++p) {
            const auto to = static_cast<std::size_t>(step[p]);
            if (merges_[k])
                arithmetic::add(top_[to], chances_[p]);
            else
                top_[to] = chances_[p];
            reached_[to] = reached_[to] || possible_[p];
            whole_next_[to] += whole_[p];
        }
        chances_.swap(top_);
        possible_.swap(reached_);
        whole_.swap(whole_next_);
        if (merges_[k])
            roundings_ += static_cast<std::int64_t>(cards);
    }
}

template <class Real>
void spread<Real>::riffle() {
    const std::size_t m = chances_.size();
    // The deck read from the top: place i + 1 is position m - 1 - i.
    for (std::size_t i = 0; i < m; ++i)
        top_[i] = chances_[m - 1 - i];
    Real product = arithmetic::zero(bits_);
    row_[0] = 1;
    for (std::size_t j = 0; j < m; ++j) {
        // Row j of the binomial law, from row j - 1: C(j, k) / 2^j.
        if (j > 0) {
            row_[j] = 0;
            for (std::size_t k = j; k >= 1; --k) {
                arithmetic::add(row_[k], row_[k - 1]);
                arithmetic::halve(row_[k]);
            }
            arithmetic::halve(row_[0]);
        }
        // To place j + 1 from the top, from the top packet; and from the
        // lower packet to place j + 1 from the bottom.
        Real& upper = upper_[j];
        Real& lower = lower_[j];
        upper = 0;
        lower = 0;
        for (std::size_t i = 0; i <= j; ++i) {
            if (!arithmetic::is_zero(top_[i]))
                arithmetic::add_product(upper, top_[i], row_[i], product);
            if (!arithmetic::is_zero(chances_[i]))
                arithmetic::add_product(lower, chances_[i], row_[i], product);
        }
    }
    for (std::size_t j = 0; j < m; ++j) {
        Real& c = chances_[m - 1 - j];
        c = upper_[j];
        arithmetic::add(c, lower_[m - 1 - j]);
        arithmetic::halve(c);
    }
    // A binomial row's m additions, a product, a sum of m, and the two
    // packets' shares added.
    roundings_ += 2 * static_cast<std::int64_t>(m) + 1;
}

} // namespace floating
