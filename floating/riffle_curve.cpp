#include "floating/riffle_curve.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace floating {

namespace {

double log_add(double a, double b) {
    if (a < b)
        std::swap(a, b);
    return b == -std::numeric_limits<double>::infinity() ? a : a + std::log(1 + std::exp(b - a));
}

} // namespace

std::vector<double> riffle_distances(int cards, int shuffles) {
    const double none = -std::numeric_limits<double>::infinity();
    // log(A(n, r) / n!) for r = 1 to n, row by row.
    std::vector<double> eulerian(static_cast<std::size_t>(cards), none);
    eulerian[0] = 0;
    for (int n = 2; n <= cards; ++n)
        for (int r = n; r >= 1; --r) {
            const auto at = static_cast<std::size_t>(r - 1);
            const double stay = eulerian[at] == none ? none : std::log(r) + eulerian[at];
            const double rise = r >= 2 ? std::log(n - r + 1) + eulerian[at - 1] : none;
            const double sum = log_add(stay, rise);
            eulerian[at] = sum == none ? none : sum - std::log(n);
        }
    std::vector<double> distances;
    for (int k = 0; k <= shuffles; ++k) {
        const double a = std::ldexp(1.0, k);
        // log R_r, R_r = n! C(a + n - r, n) / a^n, the product of
        // (a - r + i) / a: from r = 1 on, each next from the last.
        double ratio = 0;
        for (int i = 1; i <= cards; ++i)
            ratio += std::log((a + i - 1) / a);
        double sum = 0;
        for (int r = 1; r <= cards; ++r) {
            const double e = eulerian[static_cast<std::size_t>(r - 1)];
            if (r > a) {
                // No chance at all: the whole weight is off.
                sum += std::exp(e);
                continue;
            }
            if (e != none)
                // e |R - 1|, written so that neither factor leaves the
                // range of a double: e R is a chance, at most 1.
                sum += ratio > 0 ? std::exp(e + ratio) * (1 - std::exp(-ratio))
                                 : std::exp(e) * (1 - std::exp(ratio));
            ratio += std::log(a - r) - std::log(a + cards - r);
        }
        distances.push_back(std::min(1.0, sum / 2));
    }
    return distances;
}

} // namespace floating
