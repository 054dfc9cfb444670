#include "web/cells.hpp"

#include <algorithm>

namespace web {

void cell_lines::fit(int size, int width) {
    width_ = std::clamp(width, 1, max_width);
    const auto first = [size, this](int x) {
        return static_cast<int>(static_cast<std::int64_t>(x) * size / width_);
    };
    for (int x = 0; x < width_; ++x) {
        from_[x] = first(x);
        to_[x] = std::max(first(x + 1), from_[x] + 1);
        const auto n = static_cast<std::uint64_t>(to_[x] - from_[x]);
        scale_[x] = ((std::uint64_t{1} << 32) + n - 1) / n;
    }
}

void cell_lines::draw(const deal::card* row, const std::uint32_t* palette,
                      std::uint32_t* line) const {
    for (int x = 0; x < width_; ++x) {
        std::uint64_t red = 0, green = 0, blue = 0;
        for (int p = from_[x]; p < to_[x]; ++p) {
            const std::uint32_t color = palette[row[p]];
            red += color & 0xff;
            green += color >> 8 & 0xff;
            blue += color >> 16 & 0xff;
        }
        const std::uint64_t s = scale_[x];
        line[x] = static_cast<std::uint32_t>(red * s >> 32 | (green * s >> 32) << 8 |
                                             (blue * s >> 32) << 16) |
                  0xffu << 24;
    }
}

} // namespace web
