#include "exact/chances.hpp"

#include <algorithm>

namespace exact {

card_chances::card_chances(const deal::routine& r, int from)
    : routine_(r), round_steps_(r), from_(from), chances_(static_cast<std::size_t>(r.cards)),
      next_(chances_.size()) {
    for (int k = 0; k < round_steps_.size(); ++k) {
        std::vector<std::int16_t>& step = steps_.emplace_back();
        if (!round_steps_.by_chance(k)) {
            step.resize(chances_.size());
            round_steps_.follow(k, step);
        }
    }
    play_to(0);
}

void card_chances::play_to(std::int64_t round) {
    if (round < played_ || denominator_ == 0) {
        std::fill(chances_.begin(), chances_.end(), 0);
        chances_[static_cast<std::size_t>(from_)] = 1;
        denominator_ = 1;
        played_ = 0;
    }
    for (; played_ < round; ++played_)
        play_round();
}

void card_chances::play_round() {
    const int cards = routine_.cards;
    for (std::size_t k = 0; k < steps_.size(); ++k) {
        const int i = static_cast<int>(k);
        switch (round_steps_.by_chance(i) ? round_steps_.move_at(i)->kind : deal::move_kind::deal) {
        case deal::move_kind::riffle:
            riffle(round_steps_.move_at(i)->packets);
            continue;
        case deal::move_kind::random_cut: {
            // Every cut depth equally likely: from any place to every place.
            mpz_class all = 0;
            for (const mpz_class& c : chances_)
                all += c;
            std::fill(chances_.begin(), chances_.end(), all);
            denominator_ *= cards;
            continue;
        }
        default:
            break;
        }
        std::fill(next_.begin(), next_.end(), 0);
        for (int p = 0; p < cards; ++p)
            next_[static_cast<std::size_t>(steps_[k][static_cast<std::size_t>(p)])] +=
                chances_[static_cast<std::size_t>(p)];
        chances_.swap(next_);
    }
}

std::vector<mpz_class> card_chances::learn_riffle(int packets) const {
    const auto n = static_cast<std::size_t>(routine_.cards);
    std::vector<mpz_class> entries(n * n);
    if (packets == 2) {
        // Binomial coefficients up to n, row by row, then each entry.
        std::vector<std::vector<mpz_class>> binomial(n + 1);
        for (std::size_t m = 0; m <= n; ++m) {
            binomial[m].resize(m + 1);
            binomial[m][0] = binomial[m][m] = 1;
            for (std::size_t t = 1; t < m; ++t)
                binomial[m][t] = binomial[m - 1][t - 1] + binomial[m - 1][t];
        }
        for (std::size_t j = 1; j <= n; ++j) {
            mpz_class partial = 0; // C(j-1, 0) + ... + C(j-1, i-1)
            for (std::size_t i = 1; i <= n; ++i) {
                mpz_class& entry = entries[(i - 1) * n + (j - 1)];
                if (i <= j) {
                    partial += binomial[j - 1][i - 1];
                    mpz_mul_2exp(entry.get_mpz_t(), binomial[j - 1][i - 1].get_mpz_t(),
                                 static_cast<mp_bitcnt_t>(n - j));
                }
                if (i >= j)
                    entry += binomial[n - j][n - i] * partial;
            }
        }
        return entries;
    }
    const auto a = static_cast<unsigned long>(packets);
    std::vector<mpz_class> poly(n + 1), next(n + 1);
    for (unsigned long t = 0; t < a; ++t) {
        // (t x + a - t)^(n-1), coefficients from x^0, for j = 1; each next
        // j takes a factor of the first kind for one of the second.
        std::fill(poly.begin(), poly.end(), 0);
        poly[0] = 1;
        for (std::size_t d = 0; d + 1 < n; ++d)
            for (std::size_t k = d + 1; k-- > 0;) {
                poly[k + 1] += poly[k] * t;
                poly[k] *= a - t;
            }
        for (std::size_t j = 1;; ++j) {
            for (std::size_t i = 1; i <= n; ++i)
                entries[(i - 1) * n + (j - 1)] += poly[i - 1];
            if (j == n)
                break;
            // Times (t+1) x + a-t-1, then divided by t x + a-t, exactly,
            // from the constant term up.
            for (std::size_t k = n; k-- > 0;) {
                next[k] = poly[k] * (a - t - 1);
                if (k > 0)
                    next[k] += poly[k - 1] * (t + 1);
            }
            for (std::size_t k = 0; k < n; ++k) {
                if (k > 0)
                    next[k] -= poly[k - 1] * t;
                mpz_divexact_ui(poly[k].get_mpz_t(), next[k].get_mpz_t(), a - t);
            }
        }
    }
    return entries;
}

void card_chances::riffle(int packets) {
    const auto n = static_cast<unsigned long>(routine_.cards);
    const std::size_t size = n;
    std::vector<mpz_class>& matrix = riffle_[static_cast<std::size_t>(packets)];
    if (matrix.empty())
        matrix = learn_riffle(packets);
    // Places from the top: position p is place n - p.
    std::fill(next_.begin(), next_.end(), 0);
    for (std::size_t i = 1; i <= size; ++i) {
        const mpz_class& c = chances_[size - i];
        if (c == 0)
            continue;
        for (std::size_t j = 1; j <= size; ++j)
            mpz_addmul(next_[size - j].get_mpz_t(), c.get_mpz_t(),
                       matrix[(i - 1) * size + (j - 1)].get_mpz_t());
    }
    chances_.swap(next_);
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), static_cast<unsigned long>(packets), n);
    denominator_ *= power;
}

} // namespace exact
