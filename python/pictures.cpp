// Pictures, as deal-picture draws them and through the same drawing: the
// rows of the rounds or the map of one, the chances of a card's places, and
// the curves of how riffles mix a deck. A Picture renders itself as PNG, SVG
// or PDF when asked, inline in Jupyter or into a file.
#include "python/pictures.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <pybind11/stl.h>

#include "colors/colormap.hpp"
#include "deal/cycles.hpp"
#include "deal/period.hpp"
#include "deal/round_number.hpp"
#include "exact/chances.hpp"
#include "exact/mixing.hpp"
#include "exact/place_chances.hpp"
#include "picture/surface.hpp"
#include "python/decks.hpp"
#include "python/routines.hpp"
#include "text/cards.hpp"
#include "text/integer_text.hpp"

namespace python {

namespace {

cairo_status_t append(void* into, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(into)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Cairo numbers the surfaces of a whole process, from 1, and an SVG names
// its own by those numbers: renumbered from 1, so that the same picture is
// the same text however many were drawn before it, as from deal-picture.
std::string renumbered(const std::string& svg) {
    static constexpr std::string_view name = "surface";
    const auto number_at = [&](std::size_t at, std::size_t& end) {
        end = at;
        long n = 0;
        while (end < svg.size() && svg[end] >= '0' && svg[end] <= '9')
            n = n * 10 + (svg[end++] - '0');
        return end > at ? n : -1;
    };
    long least = -1;
    std::size_t end = 0;
    for (std::size_t at = svg.find(name); at != std::string::npos; at = svg.find(name, at + 1))
        if (const long n = number_at(at + name.size(), end); n >= 0 && (least < 0 || n < least))
            least = n;
    if (least <= 1)
        return svg;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = svg.find(name); at != std::string::npos; at = svg.find(name, at + 1)) {
        const long n = number_at(at + name.size(), end);
        if (n < 0)
            continue;
        out.append(svg, from, at + name.size() - from);
        out += std::to_string(n - least + 1);
        from = end;
    }
    return out + svg.substr(from);
}

std::string rendered(const picture_value& p, picture::format f) {
    std::string bytes;
    cairo_status_t status;
    {
        py::gil_scoped_release unlocked;
        status = p.paint(f, append, &bytes);
    }
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string("cannot draw the picture: ") +
                                 cairo_status_to_string(status));
    return f == picture::format::svg ? renumbered(bytes) : bytes;
}

// OSError for `path`, from errno, as open() raises it.
[[noreturn]] void os_error(const std::string& path) {
    PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
    throw py::error_already_set();
}

void save(const picture_value& p, a_path given, maybe_str format) {
    // A str or any path-like object, as open() takes.
    const std::string path = py::str(py::module_::import("os").attr("fsdecode")(given));
    const auto f = format.is_none() ? picture::format_of(path)
                                    : picture::format_named(format.cast<std::string>());
    if (!f)
        value_error(format.is_none()
                        ? "cannot tell the format of " +
                              shown_text(path, text::shown_length::value) +
                              ": give format='png', 'svg' or 'pdf', or a name that "
                              "ends in .png, .svg or .pdf"
                        : shown_text(format.cast<std::string>(), text::shown_length::value) +
                              " is not a format: png, svg or pdf");
    const std::string bytes = rendered(p, *f);
    // Whole or not at all: into a file beside it, then renamed over it.
    const std::string partial = path + ".partial";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out)
        os_error(path);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const int saved = errno;
    if (std::fclose(out) != 0 || !written) {
        if (!written)
            errno = saved;
        std::remove(partial.c_str());
        os_error(path);
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        const int failed = errno;
        std::remove(partial.c_str());
        errno = failed;
        os_error(path);
    }
}

// The rows of the rounds, or the map of one, as deal-picture --routine
// draws them.
struct rows_scene {
    routine_value routine;
    deal::start start;
    deal::permutation round;
    deal::cycles cycles;
    deal::period period;
    deal::round_number first;
    std::string first_text, words;
    std::vector<int> followed;
    picture::layout layout;
};

picture_value draw_rows(const routine_value& r, maybe_int rounds, const std::string& view,
                        some_cards follow, const std::string& color, an_int first, maybe_deck deck,
                        bool from_top) {
    if (r.moves.first_by_chance() >= 0 || r.moves.follows_card() || r.raised())
        value_error("draw() draws a round of exact moves as one permutation: for moves by "
                    "chance or a chosen pile, draw_chances() draws where a card may be");
    if (view != "rows" && view != "map")
        value_error(shown_text(view, text::shown_length::value) + " is not a view: rows or map");
    if (color != "start" && color != "cycle")
        value_error(shown_text(color, text::shown_length::value) +
                    " is not a way to color the cards: start or cycle");
    auto s = std::make_shared<rows_scene>();
    s->routine = r;
    s->start = start_of(deck, r.moves.cards);
    for (const py::handle card : follow)
        s->followed.push_back(s->start.position_of(card_number(card, r.moves.cards)));
    if (s->followed.size() > static_cast<std::size_t>(colors::followed_colors))
        value_error("draw() follows at most " + std::to_string(colors::followed_colors) +
                    " cards, each in a color of its own");
    s->words = moves_text(r.moves);
    s->round = deal::round_permutation(r.moves);
    s->cycles.learn(s->round);
    s->period = deal::period(s->cycles);
    const auto small = s->period.small();
    const std::int64_t count =
        rounds.is_none() ? (small && *small <= 200 ? static_cast<std::int64_t>(*small) : 100)
                         : bounded_integer(rounds, "number of rounds", 0, picture::max_rounds);
    s->first_text = integer_text(first, "round number");
    s->first.learn(s->cycles);
    s->first.assign(s->first_text);
    s->layout = view == "map" ? picture::make_map_layout(r.moves.cards)
                              : picture::make_layout(r.moves.cards, static_cast<int>(count),
                                                     s->first_text.c_str());
    s->layout.from_top = from_top;
    const picture::coloring coloring =
        color == "cycle" ? picture::coloring::cycle : picture::coloring::start;
    std::string title =
        view == "map"
            ? "Where one round takes each position of "
            : "The rounds " + s->first_text + " to " +
                  std::string(py::str(py::int_(py::str(s->first_text)) + py::int_(count))) + " of ";
    title += "a deck of " + std::to_string(r.moves.cards) + " cards: " + s->words;
    return {[s, coloring](picture::format f, cairo_write_func_t w, void* c) {
                const picture::scene scene{
                    nullptr,   s->words.c_str(),      &s->round, &s->cycles,  &s->period,
                    &s->first, s->first_text.c_str(), coloring,  s->followed, &s->start,
                    false};
                return picture::render(f, s->layout, scene, w, c);
            },
            std::move(title)};
}

} // namespace

void bind_pictures(py::module_& m) {
    py::class_<picture_value>(m, "Picture", R"(A picture, drawn as deal-picture draws it.

Shown inline in Jupyter (as SVG and PNG); png() and pdf() give its bytes,
svg() its text, and save(path, format=None) writes a file whole or not at
all, in the format its name ends in.)")
        .def(
            "png",
            [](const picture_value& p) { return py::bytes(rendered(p, picture::format::png)); },
            "The picture as PNG, bytes.")
        .def(
            "svg", [](const picture_value& p) { return rendered(p, picture::format::svg); },
            "The picture as SVG, text.")
        .def(
            "pdf",
            [](const picture_value& p) { return py::bytes(rendered(p, picture::format::pdf)); },
            "The picture as PDF, bytes.")
        .def("_repr_png_",
             [](const picture_value& p) { return py::bytes(rendered(p, picture::format::png)); })
        .def("_repr_svg_", [](const picture_value& p) { return rendered(p, picture::format::svg); })
        .def("save", &save, py::arg("path"), py::arg("format") = py::none(),
             "Writes the picture to `path` (a str or path-like), whole or not at all, as "
             "format 'png', 'svg' or 'pdf', or as the name ends; OSError where it cannot.")
        .def("__repr__", [](const picture_value& p) { return "<deal.Picture: " + p.title + ">"; });
    m.def("draw", &draw_rows, py::arg("routine"), py::arg("rounds") = py::none(), py::kw_only(),
          py::arg("view") = "rows", py::arg("follow") = py::tuple(), py::arg("color") = "start",
          py::arg("first") = 0, py::arg("deck") = py::none(), py::arg("from_top") = false,
          "The deck over `rounds` rounds after `first` (an int of any size), a row each, every "
          "card colored by where it starts (color='cycle': by its cycle), the cards of `follow` "
          "drawn boldly; view='map' draws one round as where each position's card goes. Without "
          "rounds, the period where it is at most 200, else 100. As deal-picture --routine.");
    m.def("draw_chances", &draw_chances, py::arg("routine"), py::arg("card") = py::none(),
          py::arg("rounds") = py::none(), py::kw_only(), py::arg("deck") = py::none(),
          py::arg("from_top") = false,
          "A heat map of chances, as deal-picture --view chances: with a card, where it may be "
          "round by round from 0 to `rounds` (10 without it); without, where each card of a "
          "pack may be after `rounds` rounds (1), a row for each starting position.");
    m.def("draw_mix", &draw_mix, py::arg("sizes"), py::arg("shuffles") = py::none(), py::kw_only(),
          py::arg("packets") = 2,
          "The total variation distance from a random deck after 0 to `shuffles` riffles, a "
          "curve for each deck size of `sizes` (an int or a list), as deal-picture --view mix.");
}

} // namespace python
