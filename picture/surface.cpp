#include "picture/surface.hpp"

#include <algorithm>
#include <cairo-pdf.h>
#include <cairo-svg.h>

namespace picture {

namespace {

bool same_letters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? x - 'A' + 'a' : x) == y;
           });
}

} // namespace

std::optional<format> format_named(std::string_view name) {
    if (same_letters(name, "png"))
        return format::png;
    if (same_letters(name, "svg"))
        return format::svg;
    if (same_letters(name, "pdf"))
        return format::pdf;
    return std::nullopt;
}

std::optional<format> format_of(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    return format_named(path.substr(dot + 1));
}

namespace {

// A surface of `f`, `width` by `height` pixels, its bytes to `write`.
cairo_surface_t* surface_for(format f, int width, int height, cairo_write_func_t write,
                             void* closure) {
    cairo_surface_t* surface = nullptr;
    switch (f) {
    case format::png:
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        break;
    case format::svg:
        surface = cairo_svg_surface_create_for_stream(write, closure, width, height);
        // In pixels, as the PNG is, rather than Cairo's default points.
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
        break;
    case format::pdf:
        surface = cairo_pdf_surface_create_for_stream(write, closure, width, height);
        // A fixed date, so that the same arguments give the same bytes.
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE,
                                       "2026-01-01T00:00:00Z");
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "deal-picture");
        break;
    }
    return surface;
}

// Draws with `paint` onto a surface of `f` and hands over its bytes.
template <class Paint>
cairo_status_t render_with(format f, int width, int height, Paint paint, cairo_write_func_t write,
                           void* closure) {
    cairo_surface_t* surface = surface_for(f, width, height, write, closure);
    cairo_t* cr = cairo_create(surface);
    cairo_status_t status = paint(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && f == format::png)
        status = cairo_surface_write_to_png_stream(surface, write, closure);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    return status;
}

} // namespace

cairo_status_t render(format f, const heat& h, cairo_write_func_t write, void* closure) {
    const extent e = measure(h);
    return render_with(
        f, e.width, e.height, [&](cairo_t* cr) { return draw(cr, h, e); }, write, closure);
}

cairo_status_t render(format f, const curves& c, cairo_write_func_t write, void* closure) {
    const extent e = measure(c);
    return render_with(
        f, e.width, e.height, [&](cairo_t* cr) { return draw(cr, c, e); }, write, closure);
}

cairo_status_t render(format f, const layout& l, scene s, cairo_write_func_t write, void* closure) {
    // SVG viewers smooth an enlarged image, whatever filter it asks for.
    s.full_size_cells = f == format::svg;
    return render_with(
        f, l.width, l.height, [&](cairo_t* cr) { return draw(cr, l, s); }, write, closure);
}

} // namespace picture
