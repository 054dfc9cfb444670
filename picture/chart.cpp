#include "picture/chart.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "colors/colormap.hpp"

namespace picture {

namespace {

constexpr int font = 16;
constexpr int margin = 70;

void set_color(cairo_t* cr, colors::color c) {
    cairo_set_source_rgb(cr, c.red, c.green, c.blue);
}

void text_at(cairo_t* cr, const std::string& text, double x, double y, double align) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_move_to(cr, x - align * e.x_advance, y - e.y_bearing - e.height / 2);
    cairo_show_text(cr, text.c_str());
}

void prepare(cairo_t* cr, extent e) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font);
    (void)e;
}

// Whole pixels a cell, so that cells stay crisp: as large as fits 1200 pixels.
int pitch_for(int count) {
    return std::clamp(1200 / std::max(count, 1), 1, 24);
}

// How wide `text` is set at `size`: measured on a surface of its own, so that
// a picture can be laid out before it is drawn.
double text_width(const std::string& text, double size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return e.x_advance;
}

// A step between labels that leaves at least `room` pixels between them.
int label_step(int pitch, int room) {
    int step = 1;
    for (const int s : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000})
        if ((step = s) * pitch >= room)
            break;
    return step;
}

} // namespace

// The heat map's top left corner.
constexpr double heat_left = margin, heat_top = 3 * font + margin / 2.0;
// The scale is at least this tall, so that its three labels stand apart
// beside a map of one row.
constexpr double least_scale = 6 * font;
// Past this width the title is set smaller rather than the picture made wider.
constexpr double widest_title = 1600;

point cell_center(const heat& h, int row, int column) {
    const int placed = h.from_top ? h.columns - 1 - column : column;
    return {heat_left + (placed + 0.5) * pitch_for(h.columns),
            heat_top + (row + 0.5) * pitch_for(h.rows)};
}

namespace {

// The map's height, or the scale's where that is taller.
double heat_height(const heat& h) {
    return std::max<double>(h.rows * pitch_for(h.rows), least_scale);
}

} // namespace

extent measure(const heat& h) {
    // The map and its scale, and room for the title, the label of the rows
    // and that of the columns however narrow the map.
    const double map = heat_left + h.columns * pitch_for(h.columns) + 140;
    const double words =
        heat_left + font +
        std::max({std::min(text_width(h.title, font), widest_title), text_width(h.row_label, font),
                  text_width(h.column_label, font)});
    return {static_cast<int>(std::ceil(std::max(map, words))),
            static_cast<int>(std::ceil(heat_top + heat_height(h) + margin / 2.0 + 2 * font))};
}

cairo_status_t draw(cairo_t* cr, const heat& h, extent e) {
    prepare(cr, e);
    const int px = pitch_for(h.columns), py = pitch_for(h.rows);
    const double left = heat_left, top = heat_top;
    cairo_set_source_rgb(cr, 0, 0, 0);
    // A title too long for the widest picture is set smaller.
    if (const double room = e.width - left - font, wide = text_width(h.title, font); wide > room)
        cairo_set_font_size(cr, font * room / wide);
    text_at(cr, h.title, left, font, 0);
    cairo_set_font_size(cr, font);
    const double largest =
        h.chances.empty() ? 0 : *std::max_element(h.chances.begin(), h.chances.end());
    for (int r = 0; r < h.rows; ++r)
        for (int c = 0; c < h.columns; ++c) {
            const double v = h.chances[static_cast<std::size_t>(r * h.columns + c)];
            const int placed = h.from_top ? h.columns - 1 - c : c;
            set_color(cr, colors::colormap(largest > 0 ? std::sqrt(v / largest) : 0));
            cairo_rectangle(cr, left + placed * px, top + r * py, px, py);
            cairo_fill(cr);
        }
    // Labels: the rows down the left, the columns along the foot.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_font_size(cr, font * 0.8);
    const int row_step = label_step(py, font + 4);
    for (int r = 0; r < h.rows; r += row_step)
        text_at(cr, std::to_string(h.first_row + r), left - 6, top + (r + 0.5) * py, 1);
    const int column_step = label_step(px, 3 * font);
    const double foot = top + h.rows * py + font * 0.8;
    for (int c = 0; c < h.columns; c += column_step) {
        // Counted from the top, the column drawn c-th from the left is
        // place c + 1.
        const int shown = h.from_top ? c + 1 : c;
        text_at(cr, std::to_string(shown), left + (c + 0.5) * px, foot, 0.5);
    }
    cairo_set_font_size(cr, font);
    // The columns' label under the map's middle, or from its left edge
    // where the map is narrower than the label; below the scale too.
    const double under = top + heat_height(h) + 2.2 * font;
    if (text_width(h.column_label, font) <= h.columns * px)
        text_at(cr, h.column_label, left + h.columns * px / 2.0, under, 0.5);
    else
        text_at(cr, h.column_label, left, under, 0);
    text_at(cr, h.row_label, left, top - font, 0);
    // The scale: 0 at the foot, the largest chance at the head.
    const double bar = left + h.columns * px + 30, height = heat_height(h);
    for (int i = 0; i < 100; ++i) {
        set_color(cr, colors::colormap((i + 0.5) / 100));
        cairo_rectangle(cr, bar, top + height - (i + 1) * height / 100, 16, height / 100 + 0.5);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_font_size(cr, font * 0.8);
    text_at(cr, h.largest, bar + 22, top + 0.4 * font, 0);
    text_at(cr, h.quarter, bar + 22, top + height / 2, 0);
    text_at(cr, "0", bar + 22, top + height - 0.4 * font, 0);
    return cairo_status(cr);
}

extent measure(const curves&) {
    return {900, 560};
}

cairo_status_t draw(cairo_t* cr, const curves& c, extent e) {
    prepare(cr, e);
    const double left = margin, right = e.width - 150.0, top = 4.0 * font, bottom = e.height - 60.0;
    std::size_t most = 1;
    for (const auto& d : c.distances)
        most = std::max(most, d.size() - 1);
    const auto x = [&](double k) { return left + (right - left) * k / static_cast<double>(most); };
    const auto y = [&](double d) { return bottom - (bottom - top) * d; };
    cairo_set_source_rgb(cr, 0, 0, 0);
    text_at(cr, c.title, left, font, 0);
    // Axes, with the distance at 0, 1/2 and 1, and every riffle count.
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgb(cr, 0.8, 0.8, 0.8);
    for (const double d : {0.0, 0.5, 1.0}) {
        cairo_move_to(cr, left, y(d));
        cairo_line_to(cr, right, y(d));
    }
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_font_size(cr, font * 0.8);
    for (const auto& [d, label] : {std::pair{0.0, "0"}, {0.5, "1/2"}, {1.0, "1"}})
        text_at(cr, label, left - 8, y(d), 1);
    const int step = label_step(static_cast<int>((right - left) / static_cast<double>(most)), 30);
    for (std::size_t k = 0; k <= most; k += static_cast<std::size_t>(step))
        text_at(cr, std::to_string(k), x(static_cast<double>(k)), bottom + 12, 0.5);
    cairo_set_font_size(cr, font);
    text_at(cr, "riffles", (left + right) / 2, bottom + 36, 0.5);
    text_at(cr, "total variation distance", left, top - 1.4 * font, 0);
    // A curve a size, each in a color of its own, named at its end.
    for (std::size_t i = 0; i < c.distances.size(); ++i) {
        const colors::color color = colors::followed_color(static_cast<int>(i));
        set_color(cr, color);
        cairo_set_line_width(cr, 2.5);
        const auto& d = c.distances[i];
        for (std::size_t k = 0; k < d.size(); ++k)
            (k == 0 ? cairo_move_to : cairo_line_to)(cr, x(static_cast<double>(k)), y(d[k]));
        cairo_stroke(cr);
        for (std::size_t k = 0; k < d.size(); ++k) {
            cairo_arc(cr, x(static_cast<double>(k)), y(d[k]), 3.5, 0, 6.283185307179586);
            cairo_fill(cr);
        }
        text_at(cr, std::to_string(c.sizes[i]) + (c.sizes[i] == 1 ? " card" : " cards"), right + 12,
                top + 20 + 22 * static_cast<double>(i), 0);
    }
    return cairo_status(cr);
}

void label_columns(heat& h, int cards, bool from_top) {
    h.columns = cards;
    h.from_top = from_top;
    const std::string last = std::to_string(from_top ? cards : cards - 1);
    h.column_label = cards == 1 ? (from_top ? "place from the top: 1, the deck's one card"
                                            : "position: 0, the deck's one card")
                     : from_top ? "place from the top: 1 the top card, " + last + " the bottom"
                                : "position: 0 the bottom card, " + last + " the top";
}

} // namespace picture
