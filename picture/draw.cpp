#include "picture/draw.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "console/round_count_text.hpp"
#include "deal/deck.hpp"
#include "deal/round.hpp"
#include "picture/colormap.hpp"

namespace picture {

namespace {

std::array<color, deal::deck_capacity> colors;
// Where each card is in the current row.
std::array<int, deal::deck_capacity> is_at;

void set_color(cairo_t* cr, color c) {
    cairo_set_source_rgb(cr, c.red, c.green, c.blue);
}

void start_rows(int hands) {
    deal::N = hands;
    deal::set_starting_order();
}

// Moves to row `row`, 0 first, and notes where every card is.
void next_row(int row) {
    if (row > 0)
        deal::simulate_round();
    for (int p = 0; p < deal::deck_size(); ++p)
        is_at[static_cast<std::size_t>(deal::stack[p])] = p;
}

bool in_starting_order() {
    for (int p = 0; p < deal::deck_size(); ++p)
        if (deal::stack[p] != p)
            return false;
    return true;
}

const char* decimal(deal::round_count n, char (&text)[console::round_count_digits + 1]) {
    text[console::round_count_digits] = '\0';
    return console::round_count_text(n, text + console::round_count_digits);
}

void draw_caption(cairo_t* cr, const layout& l, int hands, deal::round_count period) {
    char digits[40];
    char caption[160];
    std::snprintf(caption, sizeof caption,
                  "%d hand%s, %d cards  \xc2\xb7  rounds 0 to %d  \xc2\xb7  period %s  \xc2\xb7  "
                  "\xe2\x96\xb6 back in starting order",
                  hands, hands == 1 ? "" : "s", l.cards, l.rows - 1, decimal(period, digits));
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 15);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_move_to(cr, 12, 28);
    cairo_show_text(cr, caption);
}

// A triangle in the left margin pointing at the row, and the round's number.
void mark_row(cairo_t* cr, const layout& l, int row) {
    const double y = l.y(row);
    const double half = std::clamp(l.row_pitch * 0.4, 3.0, 6.0);
    const double tip = l.left - 4;
    cairo_set_source_rgb(cr, 0.8, 0.1, 0.1);
    cairo_move_to(cr, tip, y);
    cairo_line_to(cr, tip - 1.6 * half, y - half);
    cairo_line_to(cr, tip - 1.6 * half, y + half);
    cairo_close_path(cr);
    cairo_fill(cr);
    if (l.row_pitch >= 10) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", row);
        cairo_set_font_size(cr, std::min(12, l.row_pitch));
        cairo_text_extents_t extents;
        cairo_text_extents(cr, text, &extents);
        cairo_move_to(cr, tip - 1.6 * half - 4 - extents.x_advance,
                      y - extents.y_bearing - extents.height / 2);
        cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
        cairo_show_text(cr, text);
    }
}

// Where each card is in every row, for the decks small enough for lines.
std::array<int, (max_rounds + 1) * max_line_cards> positions;

int& position(const layout& l, int row, int card) {
    return positions[static_cast<std::size_t>(row * l.cards + card)];
}

void learn_positions(const layout& l, int hands) {
    start_rows(hands);
    for (int row = 0; row < l.rows; ++row) {
        next_row(row);
        for (int c = 0; c < l.cards; ++c)
            position(l, row, c) = is_at[static_cast<std::size_t>(c)];
    }
}

// Each card's way through all the rows is one path, stroked once: a stroke
// per card rather than per card and row.
void draw_lines(cairo_t* cr, const layout& l) {
    cairo_set_line_width(cr, std::clamp(l.pitch * 0.12, 1.0, 3.0));
    const double bend = l.row_pitch / 2.0;
    for (int c = 0; c < l.cards; ++c) {
        cairo_move_to(cr, l.x(position(l, 0, c)), l.y(0));
        // The way leaves a row and enters the next straight down, so that the
        // eye follows it from dot to dot.
        for (int row = 1; row < l.rows; ++row) {
            const double x0 = l.x(position(l, row - 1, c)), y0 = l.y(row - 1);
            const double x1 = l.x(position(l, row, c)), y1 = l.y(row);
            cairo_curve_to(cr, x0, y0 + bend, x1, y1 - bend, x1, y1);
        }
        set_color(cr, colors[static_cast<std::size_t>(c)]);
        cairo_stroke(cr);
    }
}

void draw_dots(cairo_t* cr, const layout& l) {
    for (int c = 0; c < l.cards; ++c) {
        for (int row = 0; row < l.rows; ++row) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, l.x(position(l, row, c)), l.y(row), l.radius, 0, 6.283185307179586);
        }
        set_color(cr, colors[static_cast<std::size_t>(c)]);
        cairo_fill(cr);
    }
}

// Every row as one line of pixels of an image, a pixel per card, shown
// enlarged without smoothing: one image for the whole deck, however many
// cells, which keeps vector files small.
void draw_cells(cairo_t* cr, const layout& l, int hands) {
    cairo_surface_t* cells = cairo_image_surface_create(CAIRO_FORMAT_RGB24, l.cards, l.rows);
    if (cairo_surface_status(cells) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(cells);
        return; // the context's status will tell, once the image is painted
    }
    cairo_surface_flush(cells);
    unsigned char* data = cairo_image_surface_get_data(cells);
    const int stride = cairo_image_surface_get_stride(cells);
    std::array<std::uint32_t, deal::deck_capacity> pixels;
    for (int c = 0; c < l.cards; ++c) {
        const color k = colors[static_cast<std::size_t>(c)];
        pixels[static_cast<std::size_t>(c)] = static_cast<std::uint32_t>(k.red * 255 + 0.5) << 16 |
                                              static_cast<std::uint32_t>(k.green * 255 + 0.5) << 8 |
                                              static_cast<std::uint32_t>(k.blue * 255 + 0.5);
    }
    start_rows(hands);
    for (int row = 0; row < l.rows; ++row) {
        next_row(row);
        auto* line =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(row) * stride);
        for (int p = 0; p < l.cards; ++p)
            line[p] = pixels[static_cast<std::size_t>(deal::stack[p])];
    }
    cairo_surface_mark_dirty(cells);

    cairo_save(cr);
    cairo_translate(cr, l.left, l.top);
    cairo_scale(cr, l.pitch, l.row_pitch);
    cairo_set_source_surface(cr, cells, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, 0, 0, l.cards, l.rows);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(cells);
}

} // namespace

void draw(cairo_t* cr, const layout& l, int hands, deal::round_count period) {
    for (int c = 0; c < l.cards; ++c)
        colors[static_cast<std::size_t>(c)] = card_color(c, l.cards);

    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    draw_caption(cr, l, hands, period);
    if (l.lines && static_cast<std::size_t>(l.rows * l.cards) <= positions.size()) {
        learn_positions(l, hands);
        draw_lines(cr, l);
        draw_dots(cr, l);
    } else {
        draw_cells(cr, l, hands);
    }
    // The marks are checked against the deck itself, not worked out from the
    // period, so that a picture shows the deal as played.
    start_rows(hands);
    for (int row = 0; row < l.rows; ++row) {
        next_row(row);
        if (in_starting_order())
            mark_row(cr, l, row);
    }
}

} // namespace picture
