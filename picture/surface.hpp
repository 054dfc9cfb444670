// A surface per output format, all drawn by the one routine: the picture as
// a PNG, SVG or PDF stream of bytes.
#pragma once

#include <cairo.h>
#include <optional>
#include <string_view>

#include "picture/chart.hpp"
#include "picture/draw.hpp"
#include "picture/layout.hpp"

namespace picture {

enum class format { png, svg, pdf };

// The format a name gives: "png", "svg" or "pdf", in any letter case.
std::optional<format> format_named(std::string_view name);

// The format that a file name's extension asks for, in any letter case.
std::optional<format> format_of(std::string_view path);

// Draws the picture in `f` and hands its bytes to `write`, in order; returns
// Cairo's status, CAIRO_STATUS_WRITE_ERROR when `write` failed.
cairo_status_t render(format f, const layout& l, scene s, cairo_write_func_t write, void* closure);

// The same for a picture of chance (picture/chart.hpp).
cairo_status_t render(format f, const heat& h, cairo_write_func_t write, void* closure);
cairo_status_t render(format f, const curves& c, cairo_write_func_t write, void* closure);

} // namespace picture
