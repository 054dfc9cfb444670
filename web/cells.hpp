// The rows of the deck as lines of pixels: where the deck is wider than a
// line, each pixel is the mean color of the positions it covers; where it is
// narrower, each position covers a run of pixels.
#pragma once

#include <cstdint>

#include "deal/limits.hpp"

namespace web {

class cell_lines {
public:
    // Makes ready for rows of `size` cards drawn `width` pixels wide.
    void fit(int size, int width);

    // Writes the line of pixels, RGBA, for `row`, each card in its color
    // from `palette` (indexed by card).
    void draw(const deal::card* row, const std::uint32_t* palette, std::uint32_t* line) const;

    static constexpr int max_width = 8192;

private:
    int width_ = 0;
    // Pixel x covers positions from_[x] to to_[x] - 1, at least one, and a
    // sum of their channels times scale_[x], shifted right by 32, is their
    // mean: a multiplication a channel instead of a division.
    int from_[max_width] = {};
    int to_[max_width] = {};
    std::uint64_t scale_[max_width] = {};
};

} // namespace web
