#include "picture/layout.hpp"

#include <algorithm>

namespace picture {

namespace {

// Room for the marks at the left, the caption above and a border.
constexpr int left_margin = 72, right_margin = 16, caption_height = 48, bottom_margin = 16;
// The deck's share of a picture's width, where the cards are few enough.
constexpr int deck_width = 1920;
constexpr int max_pitch = 32;
// Wide enough for the caption.
constexpr int min_width = 640;

} // namespace

layout make_layout(int hands, int rounds) {
    layout l{};
    l.cards = 5 * hands;
    l.rows = rounds + 1;
    l.left = left_margin;
    l.top = caption_height;
    l.pitch = std::clamp(deck_width / l.cards, 1, max_pitch);
    const int most_row_pitch = (max_side - caption_height - bottom_margin) / l.rows;

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
    l.width = std::max(left_margin + l.cards * l.pitch + right_margin, min_width);
    l.height = caption_height + l.rows * l.row_pitch + bottom_margin;
    return l;
}

} // namespace picture
