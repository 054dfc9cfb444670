#include "picture/layout.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

namespace picture {

namespace {

// The deck's share of a picture's width, where the cards are few enough.
constexpr int deck_width = 1920;
constexpr int max_pitch = 32;
// Wide enough for the caption.
constexpr int min_width = 720;
// A digit's advance in the caption's font, DejaVu Sans, in ems, rounded up.
constexpr double digit_width = 0.64;

// Text about a seventieth of the picture's width: 14 pixels on a small
// picture, and on one 5000 pixels wide as large, seen whole on a screen.
int font_for(int drawn_width) {
    return std::clamp(drawn_width / 70, 14, 72);
}

// Room at the left for a round number of ten characters and the marks, two
// lines of caption above, and a border.
void set_margins(layout& l, int drawn_width) {
    l.font = font_for(drawn_width);
    l.left = l.font * 7;
    l.top = l.font * 4;
}

} // namespace

std::optional<long long> small_round(const char* text) {
    std::string_view digits = text;
    if (digits.starts_with('+'))
        digits.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size() || value > 999'999'999 ||
        value < -99'999'999)
        return std::nullopt;
    return value;
}

layout make_layout(int cards, int rounds, const char* first) {
    layout l{};
    l.view = view::rows;
    l.cards = cards;
    l.rows = rounds + 1;
    l.pitch = std::clamp(deck_width / l.cards, 1, max_pitch);
    set_margins(l, l.cards * l.pitch);
    l.width = std::max(l.left + l.cards * l.pitch + l.font, min_width);
    if (!small_round(first)) {
        l.round_line_digits =
            std::max(1, static_cast<int>((l.width - 2 * l.font) / (digit_width * l.font)));
        const auto digits = static_cast<int>(std::strlen(first));
        l.round_lines = (digits + l.round_line_digits - 1) / l.round_line_digits;
        if (l.round_lines > max_round_lines)
            l.round_lines = 1;
        l.top += static_cast<int>(1.3 * l.font * l.round_lines + 0.5);
    }
    const int bottom = l.font;
    const int most_row_pitch = std::max(1, (max_side - l.top - bottom) / l.rows);

    l.row_pitch = std::min(2 * l.pitch, most_row_pitch);
    l.lines = l.cards <= max_line_cards && l.row_pitch >= min_line_row_pitch;
    if (l.lines) {
        l.radius = 0.4 * std::min(l.pitch, l.row_pitch);
    } else {
        // Cells: as tall as makes the rows together about three fifths as
        // high as the deck is wide, so that a wide deck is not a thin strip.
        const int deck = l.cards * l.pitch;
        const int tallest = std::min(std::max(2 * l.pitch, 32), most_row_pitch);
        l.row_pitch = std::clamp(3 * deck / (5 * l.rows), std::min(l.pitch, tallest), tallest);
    }
    l.height = l.top + l.rows * l.row_pitch + bottom;
    return l;
}

layout make_map_layout(int cards) {
    layout l{};
    l.view = view::map;
    l.cards = cards;
    l.rows = 1;
    // A side of about 1000 pixels, or a pixel a position for the widest decks.
    l.pitch = std::max(1, 1000 / l.cards);
    set_margins(l, std::max(l.side(), 1000));
    l.radius = std::max(0.8, 0.35 * l.pitch);
    l.width = std::max(l.left + l.side() + 2 * l.font, min_width);
    l.height = l.top + l.side() + 3 * l.font;
    return l;
}

} // namespace picture
