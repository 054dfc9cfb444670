// Pictures of chance: a heat map of where a card may be, and the curves of
// how far a deck is from mixed, riffle after riffle. Each is laid out from
// its own numbers and drawn by one routine onto any surface.
#pragma once

#include <cairo.h>
#include <span>
#include <string>
#include <vector>

namespace picture {

// Rows of chances, each cell colored on the map from 0 (darkest) to the
// largest chance (lightest), by the square root of its share of the largest
// so that small chances still show; with the scale beside it.
struct heat {
    int rows = 0, columns = 0;
    std::vector<double> chances; // row after row
    std::string title;           // the caption's first line
    std::string row_label;       // what the rows are: "round" or "starting position"
    std::string column_label;    // what the columns are
    int first_row = 0;           // the number of the first row
    bool from_top = false;       // columns counted from the top, 1 the top card
    std::string largest;         // the largest chance, written exactly
    std::string quarter;         // a quarter of it, at the middle of the scale
};

// The columns of a heat map of a deck of `cards` cards, counted from the
// bottom or the top, and the label that says which end each end of the
// axis is.
void label_columns(heat& h, int cards, bool from_top);

// For each deck size, the total variation distance after 0, 1, ... riffles.
struct curves {
    std::vector<int> sizes;
    std::vector<std::vector<double>> distances; // one per size, from 0 riffles
    std::string title;
};

struct extent {
    int width, height;
};
extent measure(const heat& h);
// The center of the cell of `row` and `column` (a position, from the bottom).
struct point {
    double x, y;
};
point cell_center(const heat& h, int row, int column);
extent measure(const curves& c);

cairo_status_t draw(cairo_t* cr, const heat& h, extent e);
cairo_status_t draw(cairo_t* cr, const curves& c, extent e);

} // namespace picture
