// The colors of the cards: a perceptual map from dark violet through blue and
// green to yellow, modelled on viridis, whose steps read in order both in
// color and in gray.
#pragma once

namespace picture {

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

// The relative luminance of a color, as a gray rendering shows it.
double luminance(color c);

} // namespace picture
