#include "web/cells.hpp"

#include <algorithm>

namespace web {

std::uint32_t rgba(colors::color c) {
    const std::uint32_t rgb = colors::rgb(c);
    return (rgb >> 16 & 0xff) | (rgb & 0xff00) | (rgb & 0xff) << 16 | 0xffu << 24;
}

cell_lines::cell_lines(int size, int width)
    : width_(std::clamp(width, 1, max_width)), from_(static_cast<std::size_t>(width_)),
      to_(from_.size()), scale_(from_.size()) {
    const auto first = [size, this](int x) {
        return static_cast<int>(static_cast<std::int64_t>(x) * size / width_);
    };
    for (std::size_t x = 0; x < from_.size(); ++x) {
        const int at = static_cast<int>(x);
        from_[x] = first(at);
        to_[x] = std::max(first(at + 1), from_[x] + 1);
        const auto n = static_cast<std::uint64_t>(to_[x] - from_[x]);
        scale_[x] = ((std::uint64_t{1} << 32) + n - 1) / n;
    }
}

void cell_lines::draw(const deal::card* row, const std::uint32_t* palette,
                      std::uint32_t* line) const {
    for (std::size_t x = 0; x < from_.size(); ++x) {
        std::uint64_t red = 0, green = 0, blue = 0;
        for (int p = from_[x]; p < to_[x]; ++p) {
            const std::uint32_t color = palette[deal::number_of(row[p])];
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
