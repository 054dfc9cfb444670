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

#include "console/arguments.hpp"
#include "console/atomic_file.hpp"
#include "console/hand_count.hpp"
#include "console/integer_text.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "picture/layout.hpp"
#include "picture/surface.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-picture [-o FILE] COUNT [ROUNDS]\n"
    "       deal-picture --help | --version\n"
    "Draw the deck of COUNT hands, from 1 to 1010, after 0, 1, ..., ROUNDS rounds\n"
    "of deal, one row each from the top down, each card colored by its starting\n"
    "position. ROUNDS is from 0 to 2000; without it, the period when that is at\n"
    "most 200, else 100.\n"
    "  -o, --output FILE  write FILE, whose extension chooses the format: .png,\n"
    "                     .svg or .pdf; without it, a PNG goes to standard output,\n"
    "                     if that is no terminal\n";

constexpr console::option options[] = {{"output", 'o', "FILE"}};
constexpr console::command_line command{usage, options, 1, 2, "hand count"};

deal::round_cycles cycles;

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
    const console::arguments arguments(argc, argv, command);
    const char* file = nullptr;
    for (const console::given_option& option : arguments.options()) {
        if (file) {
            console::report("-o/--output given twice: a picture goes to one file");
            return EXIT_FAILURE;
        }
        file = option.value;
    }
    const auto operands = arguments.operands();
    const auto hands = console::hand_count_argument(operands[0], 1);
    if (!hands)
        return EXIT_FAILURE;
    cycles.learn(*hands);
    const deal::round_count period = *cycles.period();
    const std::optional<std::int64_t> rounds =
        operands.size() == 2
            ? console::integer_argument(operands[1], "number of rounds", 0, picture::max_rounds)
            : std::optional<std::int64_t>{period <= 200 ? std::int64_t(period) : 100};
    if (!rounds)
        return EXIT_FAILURE;
    std::optional<picture::format> format = picture::format::png;
    if (file && !(format = picture::format_of(file))) {
        console::report("cannot tell the format of '%s': the name must end in .png, .svg or .pdf",
                        file);
        return EXIT_FAILURE;
    }
    const picture::layout layout = picture::make_layout(*hands, static_cast<int>(*rounds));

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
