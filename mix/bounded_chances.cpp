#include "mix/bounded_chances.hpp"

#include <algorithm>

namespace mix {

namespace {

// The same steps in doubles and in GMP's floats; GMP's through its own
// functions, so that no step makes a temporary.
template <class Real>
Real zero(unsigned long bits);
template <>
double zero<double>(unsigned long) {
    return 0;
}
template <>
mpf_class zero<mpf_class>(unsigned long bits) {
    return mpf_class(0, bits);
}

bool is_zero(double x) {
    return x == 0;
}
bool is_zero(const mpf_class& x) {
    return sgn(x) == 0;
}

void set_share(double& x, unsigned long parts) {
    x = 1.0 / static_cast<double>(parts);
}
void set_share(mpf_class& x, unsigned long parts) {
    mpf_set_ui(x.get_mpf_t(), 1);
    mpf_div_ui(x.get_mpf_t(), x.get_mpf_t(), parts);
}

void halve(double& x) {
    x *= 0.5;
}
void halve(mpf_class& x) {
    mpf_div_2exp(x.get_mpf_t(), x.get_mpf_t(), 1);
}

void add(double& sum, double x) {
    sum += x;
}
void add(mpf_class& sum, const mpf_class& x) {
    mpf_add(sum.get_mpf_t(), sum.get_mpf_t(), x.get_mpf_t());
}

void add_product(double& sum, double x, double y, double&) {
    sum += x * y;
}
void add_product(mpf_class& sum, const mpf_class& x, const mpf_class& y, mpf_class& product) {
    mpf_mul(product.get_mpf_t(), x.get_mpf_t(), y.get_mpf_t());
    mpf_add(sum.get_mpf_t(), sum.get_mpf_t(), product.get_mpf_t());
}

mpq_class exactly(double x) {
    return mpq_class(x);
}
mpq_class exactly(const mpf_class& x) {
    mpq_class q;
    mpq_set_f(q.get_mpq_t(), x.get_mpf_t());
    return q;
}

mpq_class power_of_half(unsigned long k) {
    mpq_class q = 1;
    mpq_div_2exp(q.get_mpq_t(), q.get_mpq_t(), k);
    return q;
}

// A step's relative error, at most (a double rounds to 53 bits; GMP cuts
// its floats off below at least `bits` bits, within a unit of the last); and
// what may fall below the smallest number, in all.
mpq_class unit_roundoff(double, unsigned long) {
    return power_of_half(53);
}
mpq_class unit_roundoff(const mpf_class&, unsigned long bits) {
    return power_of_half(bits - 1);
}
mpq_class lost_below(double) {
    return power_of_half(1000);
}
mpq_class lost_below(const mpf_class&) {
    return 0;
}

} // namespace

template <class Real>
bounded_chances<Real>::bounded_chances(const deal::routine& r, int from, unsigned long bits)
    : routine_(r), from_(from), bits_(bits) {
    const auto cards = static_cast<std::size_t>(r.cards);
    for (auto* v : {&chances_, &top_, &row_, &upper_, &lower_})
        v->assign(cards, zero<Real>(bits));
    possible_.assign(cards, 0);
    reached_.assign(cards, 0);
    whole_.assign(cards, 0);
    whole_next_.assign(cards, 0);
    for (const deal::move& m : routine_.moves()) {
        std::vector<std::int16_t>& step = steps_.emplace_back();
        bool merges = false;
        if (!deal::by_chance(m.kind)) {
            step.resize(cards);
            deal::follow_move(m, routine_.cards, step);
            std::vector<char> hit(cards, 0);
            for (const std::int16_t to : step)
                merges = merges || std::exchange(hit[static_cast<std::size_t>(to)], 1) != 0;
        }
        merges_.push_back(merges);
    }
    play_to(0);
}

template <class Real>
void bounded_chances<Real>::play_to(std::int64_t round) {
    if (round < played_ || played_ == 0) {
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
    for (; played_ < round; ++played_)
        play_round();
}

template <class Real>
void bounded_chances<Real>::play_round() {
    const std::size_t cards = chances_.size();
    const auto moves = routine_.moves();
    for (std::size_t k = 0; k < moves.size(); ++k) {
        switch (moves[k].kind) {
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
                set_share(c, cards);
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
                add(top_[to], chances_[p]);
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
void bounded_chances<Real>::riffle() {
    const std::size_t m = chances_.size();
    // The deck read from the top: place i + 1 is position m - 1 - i.
    for (std::size_t i = 0; i < m; ++i)
        top_[i] = chances_[m - 1 - i];
    Real product = zero<Real>(bits_);
    row_[0] = 1;
    for (std::size_t j = 0; j < m; ++j) {
        // Row j of the binomial law, from row j - 1: C(j, k) / 2^j.
        if (j > 0) {
            row_[j] = 0;
            for (std::size_t k = j; k >= 1; --k) {
                add(row_[k], row_[k - 1]);
                halve(row_[k]);
            }
            halve(row_[0]);
        }
        // To place j + 1 from the top, from the top packet; and from the
        // lower packet to place j + 1 from the bottom.
        Real& upper = upper_[j];
        Real& lower = lower_[j];
        upper = 0;
        lower = 0;
        for (std::size_t i = 0; i <= j; ++i) {
            if (!is_zero(top_[i]))
                add_product(upper, top_[i], row_[i], product);
            if (!is_zero(chances_[i]))
                add_product(lower, chances_[i], row_[i], product);
        }
    }
    for (std::size_t j = 0; j < m; ++j) {
        Real& c = chances_[m - 1 - j];
        c = upper_[j];
        add(c, lower_[m - 1 - j]);
        halve(c);
    }
    // A binomial row's m additions, a product, a sum of m, and the two
    // packets' shares added.
    roundings_ += 2 * static_cast<std::int64_t>(m) + 1;
}

template <class Real>
mpz_class bounded_chances<Real>::denominator() const {
    mpz_class d = cut_ ? routine_.cards : 1;
    mpz_mul_2exp(d.get_mpz_t(), d.get_mpz_t(), static_cast<mp_bitcnt_t>(twos_));
    return d;
}

template <class Real>
std::optional<mpq_class> bounded_chances<Real>::error_bound(const Real& value) const {
    const mpq_class ku = unit_roundoff(value, bits_) * static_cast<long>(roundings_);
    if (ku > mpq_class(1, 4))
        return std::nullopt;
    // Off by at most g c + e, g = Ku/(1-Ku) <= 4Ku/3, c the exact chance and
    // e what was lost below; and c <= (value + e)/(1 - g) <= 3(value + e)/2,
    // so by at most 2Ku value + 3e/2.
    return 4 * ku * exactly(value) + 2 * lost_below(value);
}

template class bounded_chances<double>;
template class bounded_chances<mpf_class>;

} // namespace mix
