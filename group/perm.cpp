#include "group/perm.hpp"

#include <numeric>

namespace group {

perm identity(int degree) {
    perm p(static_cast<std::size_t>(degree));
    std::iota(p.begin(), p.end(), point{0});
    return p;
}

void then_into(const perm& a, const perm& b, perm& out) {
    out.resize(a.size());
    const point* const next = b.data();
    for (std::size_t x = 0; x < a.size(); ++x)
        out[x] = next[a[x]];
}

perm then(const perm& a, const perm& b) {
    perm out;
    then_into(a, b, out);
    return out;
}

void inverse_into(const perm& a, perm& out) {
    out.resize(a.size());
    for (std::size_t x = 0; x < a.size(); ++x)
        out[static_cast<std::size_t>(a[x])] = static_cast<point>(x);
}

perm inverse(const perm& a) {
    perm out;
    inverse_into(a, out);
    return out;
}

bool is_identity(const perm& a) {
    for (std::size_t x = 0; x < a.size(); ++x)
        if (a[x] != static_cast<point>(x))
            return false;
    return true;
}

std::vector<int> cycle_lengths(const perm& a) {
    std::vector<int> lengths;
    std::vector<char> seen(a.size());
    for (std::size_t x = 0; x < a.size(); ++x) {
        if (seen[x])
            continue;
        int length = 0;
        for (std::size_t y = x; !seen[y]; y = static_cast<std::size_t>(a[y])) {
            seen[y] = 1;
            ++length;
        }
        lengths.push_back(length);
    }
    return lengths;
}

bool odd(const perm& a) {
    // A cycle of length L is L - 1 transpositions.
    return (a.size() - cycle_lengths(a).size()) % 2 != 0;
}

int first_moved(const perm& a) {
    for (std::size_t x = 0; x < a.size(); ++x)
        if (a[x] != static_cast<point>(x))
            return static_cast<int>(x);
    return -1;
}

} // namespace group
