#include "picture/surface.hpp"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include "picture/draw.hpp"

namespace picture {

std::optional<format> format_of(std::string_view path) {
    const auto ends_with = [path](std::string_view end) {
        return path.size() > end.size() && path.substr(path.size() - end.size()) == end;
    };
    if (ends_with(".png"))
        return format::png;
    if (ends_with(".svg"))
        return format::svg;
    if (ends_with(".pdf"))
        return format::pdf;
    return std::nullopt;
}

cairo_status_t render(format f, const layout& l, int hands, deal::round_count period,
                      cairo_write_func_t write, void* closure) {
    cairo_surface_t* surface = nullptr;
    switch (f) {
    case format::png:
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, l.width, l.height);
        break;
    case format::svg:
        surface = cairo_svg_surface_create_for_stream(write, closure, l.width, l.height);
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
    draw(cr, l, hands, period);
    cairo_status_t status = cairo_status(cr);
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
