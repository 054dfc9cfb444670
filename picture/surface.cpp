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

cairo_status_t render(format f, const layout& l, scene s, cairo_write_func_t write, void* closure) {
    cairo_surface_t* surface = nullptr;
    switch (f) {
    case format::png:
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, l.width, l.height);
        break;
    case format::svg:
        surface = cairo_svg_surface_create_for_stream(write, closure, l.width, l.height);
        // In pixels, as the PNG is, rather than Cairo's default points.
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
        // SVG viewers smooth an enlarged image, whatever filter it asks for.
        s.full_size_cells = true;
        break;
    case format::pdf:
        surface = cairo_pdf_surface_create_for_stream(write, closure, l.width, l.height);
        // A fixed date, so that the same arguments give the same bytes.
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE,
                                       "2026-01-01T00:00:00Z");
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "deal-picture");
        break;
    }
    cairo_t* cr = cairo_create(surface);
    cairo_status_t status = draw(cr, l, s);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && f == format::png)
        status = cairo_surface_write_to_png_stream(surface, write, closure);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    return status;
}

} // namespace picture
