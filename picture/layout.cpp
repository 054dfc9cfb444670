#include "picture/layout.hpp"

#include <algorithm>

namespace picture {

namespace {

// The deck's share of a picture's width, where the cards are few enough.
constexpr int deck_width = 1920;
constexpr int max_pitch = 32;
// Wide enough for the caption.
constexpr int min_width = 720;

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

layout make_layout(int hands, int rounds) {
    layout l{};
    l.view = view::rows;
    l.cards = 5 * hands;
    l.rows = rounds + 1;
    l.pitch = std::clamp(deck_width / l.cards, 1, max_pitch);
    set_margins(l, l.cards * l.pitch);
    const int bottom = l.font;
    const int most_row_pitch = (max_side - l.top - bottom) / l.rows;

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
    l.width = std::max(l.left + l.cards * l.pitch + l.font, min_width);
    l.height = l.top + l.rows * l.row_pitch + bottom;
    return l;
}

layout make_map_layout(int hands) {
    layout l{};
    l.view = view::map;
    l.cards = 5 * hands;
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
