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
// A riffle into A packets sends it there with chance
//   (1/A) sum over t < A of P(X + Y = i - 1),
//   X ~ Binomial(j - 1, (t + 1)/A), Y ~ Binomial(M - j, t/A):
// the card from packet t lands below j - 1 cards of packets up to t and
// above M - j cards, of which those of packets above t were above it. Both
// laws grow a trial at a time, X's from the top down and Y's from the
// bottom up; Y's side is kept every sqrt(M) places and worked out again a
// stretch at a time, so that an A-riffle takes about 4AM^2 operations and
// memory in proportion to M^1.5.
//
// Every chance is a sum of products of nonnegative numbers, each step one
// rounding at most: the roundings any chance has gone through are counted,
// for a bound on its error. While no riffle has met an uneven spread (the
// start, a random cut, exact moves after it), every chance is a whole number
// of M-ths, and those are kept exactly besides; and every chance is a whole
// number over 2^twos() times A^(M powers(A)) for each A, times M after a
// random cut.
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
    static void set_ratio(double& x, unsigned long part, unsigned long whole) {
        x = static_cast<double>(part) / static_cast<double>(whole);
    }
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
    // How many riffles into `packets` packets, other than two, the
    // denominator holds.
    std::int64_t powers(int packets) const { return powers_[static_cast<std::size_t>(packets)]; }
    bool cut() const { return cut_; }
    int cards() const { return routine_.cards; }
    unsigned long bits() const { return bits_; }

private:
    using arithmetic = spread_arithmetic<Real>;
    // Round 0: the card where it starts, for certain.
    void restart();
    void play_round();
    void riffle();
    void riffle_into(int packets);
    // One packet t of A's share of riffle_into, added into upper_.
    void packet_share(int packets, int t);

    deal::routine routine_;
    // The round's steps, a repeat of exact moves one step.
    deal::played_round round_steps_;
    int from_;
    unsigned long bits_;
    std::int64_t played_ = 0;
    std::int64_t roundings_ = 0;
    std::int64_t twos_ = 0;
    std::vector<std::int64_t> powers_ = std::vector<std::int64_t>(deal::max_riffle_packets + 1);
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
    std::fill(powers_.begin(), powers_.end(), 0);
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
            if (const int packets = round_steps_.move_at(i)->packets; packets == 2) {
                twos_ += routine_.cards;
                riffle();
            } else {
                ++powers_[static_cast<std::size_t>(packets)];
                riffle_into(packets);
            }
            continue;
        case deal::move_kind::random_cut:
            std::fill(possible_.begin(), possible_.end(), 1);
            std::fill(whole_.begin(), whole_.end(), 1);
            whole_valid_ = true;
            for (Real& c : chances_)
                arithmetic::set_share(c, cards);
            roundings_ = 1;
            twos_ = 0;
            std::fill(powers_.begin(), powers_.end(), 0);
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

namespace floating {

template <class Real>
void spread<Real>::riffle_into(int packets) {
    const std::size_t m = chances_.size();
    // The deck read from the top into top_; each packet's share into
    // upper_, by place from the top.
    for (std::size_t i = 0; i < m; ++i) {
        top_[i] = chances_[m - 1 - i];
        upper_[i] = 0;
    }
    for (int t = 0; t < packets; ++t)
        packet_share(packets, t);
    Real share = arithmetic::zero(bits_), product = arithmetic::zero(bits_);
    arithmetic::set_share(share, static_cast<unsigned long>(packets));
    for (std::size_t j = 0; j < m; ++j) {
        Real& c = chances_[m - 1 - j];
        c = 0;
        arithmetic::add_product(c, upper_[j], share, product);
    }
    // Each trial's chance, its product and sum, in both laws; the inner
    // product's products and sum; the packets' sum and the share.
    roundings_ += 4 * static_cast<std::int64_t>(m) + packets + 4;
}

template <class Real>
void spread<Real>::packet_share(int packets, int t) {
    const std::size_t m = chances_.size();
    const auto a = static_cast<unsigned long>(packets);
    const auto u = static_cast<unsigned long>(t);
    // One trial more of a binomial law, with chance `yes` and `no`, carried
    // into `r` at places from..to (a step back where from > to): r[x] =
    // no r[x] + yes r[x + by]. Each of Y's trials is one of P's, with
    // p = t/A; each of X's one of Q's, q = (t+1)/A.
    Real ratio[4] = {arithmetic::zero(bits_), arithmetic::zero(bits_), arithmetic::zero(bits_),
                     arithmetic::zero(bits_)};
    arithmetic::set_ratio(ratio[0], u, a);
    arithmetic::set_ratio(ratio[1], a - u, a);
    arithmetic::set_ratio(ratio[2], u + 1, a);
    arithmetic::set_ratio(ratio[3], a - u - 1, a);
    Real product = ratio[0], sum = ratio[0];
    const auto step = [&](Real* r, std::size_t x, int law, std::ptrdiff_t by, bool both) {
        sum = 0;
        arithmetic::add_product(sum, r[x], ratio[2 * law + 1], product);
        if (both)
            arithmetic::add_product(sum, r[static_cast<std::ptrdiff_t>(x) + by], ratio[2 * law],
                                    product);
        r[x] = sum;
    };
    // R_j(x) = E top_[x + Y], Y ~ Binomial(m - j, p), for x < j, each kept
    // in a row of m: R_m is top_ itself, and R_{j-1}(x) = (1 - p) R_j(x) +
    // p R_j(x + 1). R at j = m, m - stretch, ...: the top of each stretch.
    std::size_t stretch = 1;
    while (stretch * stretch < m)
        ++stretch;
    const std::size_t tops = (m - 1) / stretch + 1;
    std::vector<Real> kept(tops * m, product), rows(stretch * m, product);
    std::copy(top_.begin(), top_.end(), rows.begin());
    for (std::size_t j = m; j >= 1; --j) {
        if ((m - j) % stretch == 0)
            std::copy(rows.data(), rows.data() + j, kept.data() + (m - j) / stretch * m);
        for (std::size_t x = 0; x + 1 < j; ++x)
            step(rows.data(), x, 0, 1, true);
    }
    // L_j(x) = P(X = x), X ~ Binomial(j - 1, q), from the top down; each
    // stretch's R worked out again from its top into rows, R_k in row
    // high - k.
    std::vector<Real>& l = lower_;
    std::fill(l.begin(), l.end(), 0);
    l[0] = 1;
    for (std::size_t c = tops, j = 1; c-- > 0;) {
        const std::size_t high = m - c * stretch;
        for (std::size_t k = high; k >= j; --k) {
            Real* const row = rows.data() + (high - k) * m;
            const Real* const from = k == high ? kept.data() + c * m : row - m;
            std::copy(from, from + k + 1 - (k == high), row);
            for (std::size_t x = 0; k < high && x < k; ++x)
                step(row, x, 0, 1, true);
        }
        for (; j <= high; ++j) {
            const Real* const r = rows.data() + (high - j) * m;
            for (std::size_t x = 0; x < j; ++x)
                if (!arithmetic::is_zero(l[x]) && !arithmetic::is_zero(r[x]))
                    arithmetic::add_product(upper_[j - 1], l[x], r[x], product);
            // L_{j+1}(x) = (1 - q) L_j(x) + q L_j(x - 1), from the end.
            for (std::size_t x = j; j < m && x >= 1; --x)
                step(l.data(), x, 1, -1, true);
            if (j < m)
                step(l.data(), 0, 1, 0, false);
        }
    }
}

} // namespace floating
