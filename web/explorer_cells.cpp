// Wide decks drawn as cells: a line of pixels a row, made here, where a
// deck wider than the screen is averaged down to a pixel a column.

#include <algorithm>
#include <cstdint>
#include <emscripten/emscripten.h>

#include "views/limits.hpp"
#include "web/answer.hpp"
#include "web/cells.hpp"

extern "C" {

// A line of `width` pixels for each of `count` rows of `size` cards at
// `rows`, each card in its color from `palette`: what the rows look like at
// that width.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_cells(const std::int32_t* rows, int count, int size,
                                                 const std::uint32_t* palette, int width) {
    auto* a = new web::answer;
    count = std::clamp(count, 1, views::max_page_rows);
    width = std::clamp(width, 1, web::cell_lines::max_width);
    const web::cell_lines cells(size, width);
    const std::span<std::uint32_t> pixels = a->key("pixels").pixels_room(
        static_cast<std::size_t>(count) * static_cast<std::size_t>(width));
    for (int i = 0; i < count; ++i)
        cells.draw(rows + static_cast<std::ptrdiff_t>(i) * size, palette,
                   pixels.data() + static_cast<std::ptrdiff_t>(i) * width);
    return a;
}

} // extern "C"
