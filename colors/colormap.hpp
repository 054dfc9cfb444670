// The colors of the cards: a perceptual map from dark violet through blue and
// green to yellow, modelled on viridis, whose steps read in order both in
// color and in gray; the colors of cycles; and colors that tell followed
// cards apart. The pictures and the page take them all from here.
#pragma once

#include <cstdint>

namespace colors {

struct color {
    double red, green, blue; // sRGB, 0 to 1
};

// The map at t, 0 <= t <= 1.
color colormap(double t);

// The color of `card` in a deck of `size` cards: the bottom card darkest, the
// top card lightest.
inline color card_color(int card, int size) {
    return colormap(size > 1 ? static_cast<double>(card) / (size - 1) : 0.5);
}

// The colors of cycles, when cards are colored by the cycle they travel in:
// the cycle of length 1 (a card that never moves) is gray, so that what moves
// stands out; the moving cycles, counted from 0 in order, take the map at
// steps of the golden ratio, which spreads any number of them evenly.
inline constexpr color fixed_card_color{0.62, 0.62, 0.62};
inline color moving_cycle_color(int index) {
    const double step = index * 0.6180339887498949;
    return colormap(0.1 + 0.8 * (step - static_cast<int>(step)));
}

// The colors of followed cards, the first followed first: hues far from
// each other and from the map, which stay apart for the color-blind too
// (Okabe and Ito's), in turn after the seventh.
color followed_color(int index);
inline constexpr int followed_colors = 7;

// `c` faded three quarters of the way to white: for what is not followed.
inline color faded(color c) {
    return {0.75 + 0.25 * c.red, 0.75 + 0.25 * c.green, 0.75 + 0.25 * c.blue};
}

// The relative luminance of a color, as a gray rendering shows it.
double luminance(color c);

// A color as 8-bit red, green and blue in one number, 0xRRGGBB.
std::uint32_t rgb(color c);

} // namespace colors
