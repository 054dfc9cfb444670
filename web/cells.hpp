// The rows of the deck as lines of pixels: where the deck is wider than a
// line, each pixel is the mean color of the positions it covers; where it is
// narrower, each position covers a run of pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "colors/colormap.hpp"
#include "deal/limits.hpp"

namespace web {

// A color as the page's pixels hold it: its bytes red, green, blue and
// alpha in memory order, opaque.
std::uint32_t rgba(colors::color c);

class cell_lines {
public:
    // Rows of `size` cards drawn `width` pixels wide, at most max_width.
    cell_lines(int size, int width);

    // Writes the line of pixels, RGBA, for `row`, each card in its color
    // from `palette` (indexed by card).
    void draw(const deal::card* row, const std::uint32_t* palette, std::uint32_t* line) const;

    static constexpr int max_width = 8192;

private:
    int width_;
    // Pixel x covers positions from_[x] to to_[x] - 1, at least one, and a
    // sum of their channels times scale_[x], shifted right by 32, is their
    // mean: a multiplication a channel instead of a division.
    std::vector<int> from_, to_;
    std::vector<std::uint64_t> scale_;
};

} // namespace web
