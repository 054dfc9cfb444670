#include "colors/colormap.hpp"

#include <array>
#include <cmath>

namespace colors {

namespace {

// Viridis sampled at nine evenly spaced points. Between them the map runs in
// a straight line through OKLab, a space built so that equal steps look
// equal, which keeps the lightness rising evenly from one end to the other.
constexpr std::array<unsigned, 9> anchors = {0x440154, 0x472d7b, 0x3b528b, 0x2c728e, 0x21908c,
                                             0x27ad81, 0x5dc863, 0xaadc32, 0xfde725};

struct lab {
    double l, a, b;
};

double to_linear(double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double to_srgb(double v) {
    v = v < 0 ? 0 : v > 1 ? 1 : v;
    return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

lab to_oklab(unsigned rgb) {
    const double r = to_linear(((rgb >> 16) & 0xff) / 255.0);
    const double g = to_linear(((rgb >> 8) & 0xff) / 255.0);
    const double b = to_linear((rgb & 0xff) / 255.0);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

color from_oklab(lab c) {
    const double l = std::pow(c.l + 0.3963377774 * c.a + 0.2158037573 * c.b, 3);
    const double m = std::pow(c.l - 0.1055613458 * c.a - 0.0638541728 * c.b, 3);
    const double s = std::pow(c.l - 0.0894841775 * c.a - 1.2914855480 * c.b, 3);
    return {to_srgb(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            to_srgb(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            to_srgb(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
}

} // namespace

color colormap(double t) {
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    const double at = t * (anchors.size() - 1);
    const auto i = static_cast<std::size_t>(at < anchors.size() - 1 ? at : anchors.size() - 2);
    const double f = at - static_cast<double>(i);
    const lab p = to_oklab(anchors[i]), q = to_oklab(anchors[i + 1]);
    return from_oklab({p.l + f * (q.l - p.l), p.a + f * (q.a - p.a), p.b + f * (q.b - p.b)});
}

color followed_color(int index) {
    constexpr std::array<unsigned, followed_colors> hues = {0xd55e00, 0x0072b2, 0x009e73, 0xcc79a7,
                                                            0xe69f00, 0x56b4e9, 0x000000};
    const unsigned c = hues[static_cast<std::size_t>(index % followed_colors)];
    return {((c >> 16) & 0xff) / 255.0, ((c >> 8) & 0xff) / 255.0, (c & 0xff) / 255.0};
}

std::uint32_t rgb(color c) {
    const auto byte = [](double v) {
        return static_cast<std::uint32_t>((v < 0 ? 0 : v > 1 ? 1 : v) * 255.0 + 0.5);
    };
    return byte(c.red) << 16 | byte(c.green) << 8 | byte(c.blue);
}

double luminance(color c) {
    return 0.2126 * to_linear(c.red) + 0.7152 * to_linear(c.green) + 0.0722 * to_linear(c.blue);
}

} // namespace colors
