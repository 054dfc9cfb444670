// A picture as Python holds it: what renders it, in any format, when asked.
#pragma once

#include <functional>
#include <string>

#include "picture/surface.hpp"
#include "python/routines.hpp"

namespace python {

using painter = std::function<cairo_status_t(picture::format, cairo_write_func_t, void*)>;
struct picture_value {
    painter paint;
    // What it shows, as its caption or title says: its repr.
    std::string title;
};

// The chances view and the mixing curves, as deal-picture draws them.
picture_value draw_chances(const routine_value& r, maybe_card card, maybe_int rounds,
                           maybe_deck deck, bool from_top);
picture_value draw_mix(some_ints sizes, maybe_int shuffles, an_int packets);

void bind_pictures(py::module_& m);

} // namespace python
