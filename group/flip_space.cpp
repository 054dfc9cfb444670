#include "group/flip_space.hpp"

#include <bit>

namespace group {

flip_space::flip_space(int pairs) : row_at_(static_cast<std::size_t>(pairs), -1) {}

int flip_space::reduce(row& v) const {
    for (std::size_t w = 0; w < v.size();) {
        if (v[w] == 0) {
            ++w;
            continue;
        }
        const int bit = static_cast<int>(w * 64) + std::countr_zero(v[w]);
        const int r = row_at_[static_cast<std::size_t>(bit)];
        if (r < 0)
            return bit;
        // The row has no bit below its lowest: the words before w are left.
        const row& by = rows_[static_cast<std::size_t>(r)];
        for (std::size_t i = w; i < v.size(); ++i)
            v[i] ^= by[i];
    }
    return -1;
}

bool flip_space::add(row v) {
    const int bit = reduce(v);
    if (bit < 0)
        return false;
    row_at_[static_cast<std::size_t>(bit)] = static_cast<int>(rows_.size());
    rows_.push_back(std::move(v));
    return true;
}

bool flip_space::holds(row v) const {
    return reduce(v) < 0;
}

} // namespace group
