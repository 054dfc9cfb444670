// deal-picture: draws how the deck evolves, one row per round, each card a dot
// (or, where the deck is wide, a cell) colored by its starting position, and
// each card's way from one row to the next as a line in its color.
//
//   deal-picture [-o FILE] COUNT [ROUNDS]

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include <unistd.h>

#include "console/atomic_file.hpp"
#include "console/integer_text.hpp"
#include "console/options.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "picture/layout.hpp"
#include "picture/surface.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-picture [-o FILE] COUNT [ROUNDS]\n"
    "       deal-picture --help | --version\n"
    "Draw the deck of COUNT hands (1 to 1010) after 0, 1, ..., ROUNDS rounds of\n"
    "deal, one row each from the top down, each card colored by its starting\n"
    "position. ROUNDS runs from 0 to 2000; without it, the period when that is\n"
    "at most 200, else 100. FILE's extension chooses the format: .png, .svg or\n"
    ".pdf. Without -o, a PNG goes to standard output, if that is no terminal.\n";

deal::round_cycles cycles;

std::optional<int> hand_count(const char* argument) {
    console::integer_text text;
    if (!console::parse_integer(argument, text)) {
        console::report_not_integer(argument, "hand count");
        return std::nullopt;
    }
    if (text.value() <= 0) {
        console::report("a hand count of %s%s deals an empty deck: there is nothing to draw",
                        text.shown(), text.cut() ? "..." : "");
        return std::nullopt;
    }
    if (text.value() > deal::max_hands) {
        console::report("hand count %s%s is outside the range that can be drawn, 1 to %d",
                        text.shown(), text.cut() ? "..." : "", deal::max_hands);
        return std::nullopt;
    }
    return static_cast<int>(text.value());
}

std::optional<int> round_count(const char* argument) {
    console::integer_text text;
    if (!console::parse_integer(argument, text) || text.value() < 0 ||
        text.value() > picture::max_rounds) {
        console::report("ROUNDS must be an integer from 0 to %d, not '%.40s%s'",
                        picture::max_rounds, argument, std::strlen(argument) > 40 ? "..." : "");
        return std::nullopt;
    }
    return static_cast<int>(text.value());
}

cairo_status_t to_file(void* file, const unsigned char* data, unsigned int length) {
    return static_cast<console::atomic_file*>(file)->write(data, length) ? CAIRO_STATUS_SUCCESS
                                                                         : CAIRO_STATUS_WRITE_ERROR;
}

cairo_status_t to_output(void*, const unsigned char* data, unsigned int length) {
    // Any failure here ends the process with "write error" and the reason.
    while (length > 0) {
        const std::size_t part = std::min<std::size_t>(length, console::writer::capacity);
        char* out = console::output.reserve(part);
        std::memcpy(out, data, part);
        console::output.commit(out + part);
        data += part;
        length -= static_cast<unsigned>(part);
    }
    return CAIRO_STATUS_SUCCESS;
}

[[noreturn]] void cannot_draw(cairo_status_t status) {
    console::report("cannot draw the picture: %s", cairo_status_to_string(status));
    std::exit(EXIT_FAILURE);
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-picture";
    int at = console::companion_options(argc, argv, usage);
    const char* file = nullptr;
    const char* operands[2];
    int count = 0;
    bool options_ended = at == 2;
    for (; at < argc; ++at) {
        const std::string_view argument = argv[at];
        if (!options_ended && argument == "--") {
            options_ended = true;
        } else if (!options_ended && argument.starts_with("-o")) {
            if (argument.size() > 2)
                file = argv[at] + 2;
            else if (++at < argc)
                file = argv[at];
            else
                console::usage_error(usage);
        } else if (count < 2) {
            operands[count++] = argv[at];
        } else {
            console::usage_error(usage);
        }
    }
    if (count == 0)
        console::usage_error(usage);

    const std::optional<int> hands = hand_count(operands[0]);
    if (!hands)
        return EXIT_FAILURE;
    cycles.learn(*hands);
    const deal::round_count period = *cycles.period();
    const std::optional<int> rounds = count == 2
                                          ? round_count(operands[1])
                                          : std::optional<int>{period <= 200 ? int(period) : 100};
    if (!rounds)
        return EXIT_FAILURE;
    std::optional<picture::format> format = picture::format::png;
    if (file && !(format = picture::format_of(file))) {
        console::report("cannot tell the format of '%s': the name must end in .png, .svg or .pdf",
                        file);
        return EXIT_FAILURE;
    }
    const picture::layout layout = picture::make_layout(*hands, *rounds);

    if (!file) {
        if (isatty(STDOUT_FILENO)) {
            console::report("will not write a PNG picture to a terminal; use -o FILE or a "
                            "redirection");
            return EXIT_FAILURE;
        }
        const cairo_status_t status =
            picture::render(*format, layout, *hands, period, to_output, nullptr);
        if (status != CAIRO_STATUS_SUCCESS)
            cannot_draw(status);
        console::output.close();
        return EXIT_SUCCESS;
    }

    console::atomic_file out;
    const auto cannot_write = [&out, file] {
        out.discard();
        console::report("cannot write '%s': %s", file, std::strerror(out.error()));
        return EXIT_FAILURE;
    };
    if (!out.open(file))
        return cannot_write();
    const cairo_status_t status = picture::render(*format, layout, *hands, period, to_file, &out);
    if (status == CAIRO_STATUS_WRITE_ERROR)
        return cannot_write();
    if (status != CAIRO_STATUS_SUCCESS) {
        out.discard();
        cannot_draw(status);
    }
    if (!out.commit())
        return cannot_write();
    return EXIT_SUCCESS;
}
