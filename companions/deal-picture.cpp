// deal-picture: draws how the deck evolves, one row per round, each card a dot
// (or, where the deck is wide, a cell) colored by its starting position or its
// cycle, and each card's way from one row to the next as a line in its color;
// or one round as a map of where each position's card goes.
//
//   deal-picture [OPTION...] COUNT [ROUNDS]

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "colors/colormap.hpp"
#include "console/arguments.hpp"
#include "console/atomic_file.hpp"
#include "console/deal_options.hpp"
#include "console/decks.hpp"
#include "console/numbers.hpp"
#include "console/quote.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "deal/follow.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"
#include "exact/chances.hpp"
#include "exact/mixing.hpp"
#include "exact/place_chances.hpp"
#include "picture/layout.hpp"
#include "picture/surface.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"
#include "text/routine_words.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-picture [OPTION...] COUNT [ROUNDS]\n"
    "       deal-picture --help | --version\n"
    "Draw the deck of COUNT hands, from 1 to {max_hands} for deal's own deal, over ROUNDS\n"
    "rounds after the first, one row each from the top down, each card colored by\n"
    "its starting position. ROUNDS is from 0 to {max_rounds}; without it, the period when\n"
    "that is at most 200, else 100.\n"
    "  -o, --output FILE   write FILE, whole or not at all; - is standard output,\n"
    "                      which is where the picture goes without -o, if that is\n"
    "                      no terminal\n"
    "  -f, --format FORMAT png, svg or pdf; without it, FILE's extension, in any\n"
    "                      letter case, or png\n"
    "      --from K        start the rows at round K, an integer of any length; a\n"
    "                      negative one runs back (default 0)\n"
    "      --card C        draw card C's way boldly over the rest, faded; cards\n"
    "                      C1,C2,... or the option repeated, for more cards\n"
    "      --chosen-card C the card the spectator chose, which the chosen piles\n"
    "                      follow: the rows show the deck of that trick\n"
    "      --color BY      start (by starting position, the default) or cycle;\n"
    "                      for the rows and the map\n"
    "      --view VIEW     rows (the default), or map: one round as a plot of\n"
    "                      where each position's card goes, for wide decks, with\n"
    "                      no ROUNDS; or chances: with --card C, the chance of\n"
    "                      each place for card C, a row a round from 0 to ROUNDS\n"
    "                      (10 without it), and without it, after ROUNDS rounds\n"
    "                      (1), a row for each starting position on a deck of at\n"
    "                      most {max_playing_cards}; the routine may hold moves by chance, as\n"
    "                      deal-after --chances tells; or mix: COUNT deck sizes and\n"
    "                      ranges separated by commas, such as 52,104 or 50..53,\n"
    "                      the total variation distance from a random deck after\n"
    "                      0 to ROUNDS riffles, as deal-mix tells, with no other\n"
    "                      option but -o and -f\n"
    "      --riffle A      with --view mix, each riffle into A packets, 2 to\n"
    "                      {max_riffle_packets}, as deal-mix --riffle A; 2 without it\n"
    "      --from-top      draw each row from the top card (left) to the bottom,\n"
    "                      and number the map's places from the top, 1 the top\n"
    "                      card\n" DEAL_PICTURE_OPTIONS_HELP;

enum option_index {
    output_option = console::round_option_count,
    format_option,
    from_option,
    card_option,
    color_option,
    view_option,
    from_top_option,
    chosen_card_option,
    riffle_option
};
constexpr console::option own[] = {
    {"output", 'o', "FILE"},  {"format", 'f', "FORMAT"}, {"from", 0, "K"},
    {"card", 0, "C"},         {"color", 0, "BY"},        {"view", 0, "VIEW"},
    {"from-top", 0, nullptr}, {"chosen-card", 0, "C"},   {"riffle", 0, "A"}};
constexpr auto options = console::with_round_options(own);
constexpr console::command_line command = console::round_command(usage, options, 1, 2);

cairo_status_t to_file(void* file, const unsigned char* data, unsigned int length) {
    return static_cast<console::atomic_file*>(file)->write(data, length) ? CAIRO_STATUS_SUCCESS
                                                                         : CAIRO_STATUS_WRITE_ERROR;
}

cairo_status_t to_output(void*, const unsigned char* data, unsigned int length) {
    // Any failure here ends the process with "write error" and the reason.
    console::output.write({reinterpret_cast<const char*>(data), length});
    return CAIRO_STATUS_SUCCESS;
}

[[noreturn]] void cannot_draw(cairo_status_t status) {
    console::report("cannot draw the picture: %s", cairo_status_to_string(status));
    std::exit(EXIT_FAILURE);
}

} // namespace

// What the options ask for, each checked as it is read.
struct request {
    const char* file = nullptr; // nullptr or "-" for standard output
    std::optional<picture::format> format;
    const char* from = "0";
    // The cards drawn boldly, by where they start.
    std::vector<int> cards;
    // Where the card the spectator chose starts, or -1.
    int chosen = -1;
    picture::coloring coloring = picture::coloring::start;
    picture::view view = picture::view::rows;
    bool chances = false, mix = false;
    const char* packets = nullptr; // --riffle A, for the mixing curves
};

// The options a view draws with; any other given is refused in one line
// that names the view and says why. The rows take every option.
struct view_rule {
    const char* name;
    const char* draws; // why the others do not apply
    bool (*takes)(int option);
};
constexpr view_rule view_rules[] = {
    {"map", "it draws one round, the same for every round",
     [](int option) { return option != from_option && option != chosen_card_option; }},
    {"chances", "it colors each place by its chance, from round 0",
     [](int option) {
         return option != from_option && option != color_option && option != chosen_card_option;
     }},
    {"mix", "it draws riffle shuffles of new decks of the sizes COUNT gives",
     [](int option) {
         return option == output_option || option == format_option || option == view_option ||
                option == riffle_option;
     }},
};

// Whether the options given, and ROUNDS, are those the view `name` can
// use; reports the first that is not.
bool view_takes(const char* name, const console::arguments& arguments) {
    for (const view_rule& rule : view_rules) {
        if (std::string_view{name} != rule.name)
            continue;
        for (const auto& [which, value] : arguments.options())
            if (!rule.takes(which)) {
                console::report("--view %s takes no --%s: %s", rule.name,
                                options[static_cast<std::size_t>(which)].name, rule.draws);
                return false;
            }
        if (std::string_view{name} == "map" && arguments.operands().size() == 2) {
            console::report("--view map takes no ROUNDS: %s", rule.draws);
            return false;
        }
    }
    return true;
}

[[noreturn]] void refuse(const char* format, const char* value,
                         std::size_t most = console::quoted::shown_max) {
    console::report(format, console::quoted(value, most).c_str());
    std::exit(EXIT_FAILURE);
}

request read_options(const console::arguments& arguments, const deal::start& start) {
    request r;
    // Every option but --card is given once.
    r.file = arguments.value(output_option);
    r.packets = arguments.value(riffle_option);
    if (const char* value = arguments.value(format_option))
        if (!(r.format = picture::format_named(value)))
            refuse("%s is not a format: png, svg or pdf", value);
    if (const char* value = arguments.value(from_option)) {
        text::integer_text checked;
        if (!text::parse_integer(value, checked)) {
            console::report_not_integer(value, "round number");
            std::exit(EXIT_FAILURE);
        }
        r.from = value;
    }
    for (const auto& [which, value] : arguments.options()) {
        if (which != card_option)
            continue;
        const auto cards = console::card_list_argument(value, start);
        if (!cards)
            std::exit(EXIT_FAILURE);
        // The picture draws each card by where it starts.
        for (const int card : *cards)
            r.cards.push_back(start.position_of(card));
    }
    if (const char* value = arguments.value(chosen_card_option)) {
        const auto card = console::card_argument(value, start);
        if (!card)
            std::exit(EXIT_FAILURE);
        r.chosen = start.position_of(*card);
    }
    if (const char* value = arguments.value(color_option)) {
        if (std::string_view{value} == "cycle")
            r.coloring = picture::coloring::cycle;
        else if (std::string_view{value} != "start")
            refuse("%s is not a way to color the cards: start or cycle", value);
    }
    if (const char* value = arguments.value(view_option)) {
        if (std::string_view{value} == "map")
            r.view = picture::view::map;
        else if (std::string_view{value} == "chances")
            r.chances = true;
        else if (std::string_view{value} == "mix")
            r.mix = true;
        else if (std::string_view{value} != "rows")
            refuse("%s is not a view: rows, map, chances or mix", value);
    }
    return r;
}

// Writes the picture that `paint(format, write, closure)` renders to the
// file the request names, whole or not at all, or to standard output.
template <class Paint>
int write_picture(const request& r, picture::format format, Paint paint) {
    if (!r.file || std::string_view{r.file} == "-") {
        if (isatty(STDOUT_FILENO)) {
            console::report("will not write a picture to a terminal; use -o FILE or a "
                            "redirection");
            return EXIT_FAILURE;
        }
        const cairo_status_t status = paint(format, to_output, nullptr);
        if (status != CAIRO_STATUS_SUCCESS)
            cannot_draw(status);
        console::output.close();
        return EXIT_SUCCESS;
    }
    const char* const file = r.file;
    console::atomic_file out;
    const auto cannot_write = [&out, file] {
        out.discard();
        console::report("cannot write %s: %s",
                        console::quoted(file, console::quoted::shown_most).c_str(),
                        std::strerror(out.error()));
        return EXIT_FAILURE;
    };
    if (!out.open(file))
        return cannot_write();
    const cairo_status_t status = paint(format, to_file, &out);
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

// The mixing curves: COUNT deck sizes and ranges of them separated by
// commas, as deal-mix takes them, 0 to ROUNDS riffles each.
int draw_mix(const request& r, picture::format format, std::span<char* const> operands) {
    const auto sizes = console::read_count_list(operands[0], "card count", 1, deal::max_cards);
    if (!sizes)
        return EXIT_FAILURE;
    const auto packets = r.packets ? console::integer_argument(r.packets, "packet count", 2,
                                                               deal::max_riffle_packets)
                                   : std::optional<std::int64_t>{2};
    if (!packets)
        return EXIT_FAILURE;
    picture::curves curves;
    for (const auto [first, last] : *sizes)
        for (std::int64_t cards = first; cards <= last; ++cards) {
            if (curves.sizes.size() == static_cast<std::size_t>(colors::followed_colors)) {
                console::report("--view mix draws at most %d deck sizes", colors::followed_colors);
                return EXIT_FAILURE;
            }
            curves.sizes.push_back(static_cast<int>(cards));
        }
    // Without ROUNDS, three times the binary digits of the largest deck:
    // the drop comes near half way.
    const int largest = *std::max_element(curves.sizes.begin(), curves.sizes.end());
    const auto shuffles =
        operands.size() == 2
            ? console::integer_argument(operands[1], "riffle count", 1, deal::max_shuffles)
            : std::optional<std::int64_t>{std::min(
                  deal::max_shuffles, 3 * static_cast<int>(std::ceil(std::log2(largest + 1))))};
    if (!shuffles)
        return EXIT_FAILURE;
    for (const int cards : curves.sizes) {
        const exact::riffles law(cards, static_cast<int>(*packets));
        auto& d = curves.distances.emplace_back();
        for (int k = 0; k <= *shuffles; ++k)
            d.push_back(law.total_variation_value(k));
    }
    curves.title = *packets == 2 ? "How many riffles mix a deck: the total variation distance "
                                   "from a random deck"
                                 : "How many riffles into " + std::to_string(*packets) +
                                       " packets mix a deck: the distance from a random deck";
    return write_picture(r, format, [&](picture::format f, cairo_write_func_t w, void* c) {
        return picture::render(f, curves, w, c);
    });
}

// The chances of each place: for the card asked, round after round; or, for
// every starting position, after the rounds asked.
int draw_chances(const request& r, picture::format format, const deal::start& start,
                 const deal::routine& routine, std::span<char* const> operands, bool from_top) {
    const int cards = routine.cards;
    if (cards > deal::max_exact_chance_cards ||
        (r.cards.empty() && cards > deal::max_playing_cards)) {
        console::report("--view chances draws decks of up to %d cards, and %d for every starting "
                        "position; the deck holds %d",
                        deal::max_exact_chance_cards, deal::max_playing_cards, cards);
        return EXIT_FAILURE;
    }
    if (r.cards.size() > 1) {
        console::report("--view chances draws one card's chances: give one --card");
        return EXIT_FAILURE;
    }
    const std::int64_t most = exact::exact_chance_rounds(routine);
    const auto rounds =
        operands.size() == 2
            ? console::integer_argument(operands[1], "number of rounds", 0, most)
            : std::optional<std::int64_t>{std::min<std::int64_t>(r.cards.empty() ? 1 : 10, most)};
    if (!rounds)
        return EXIT_FAILURE;
    picture::heat heat;
    picture::label_columns(heat, cards, from_top);
    const std::string deck =
        "a deck of " + std::to_string(cards) + (cards == 1 ? " card" : " cards");
    mpq_class largest = 0;
    const auto add_row = [&](const exact::card_chances& c) {
        for (int p = 0; p < cards; ++p) {
            const mpq_class chance(c.numerator(p), c.denominator());
            heat.chances.push_back(chance.get_d());
            if (chance > largest)
                largest = chance;
        }
        ++heat.rows;
    };
    char words[400] = "";
    text::routine_text(routine, words, sizeof words);
    if (r.cards.size() == 1) {
        exact::card_chances card(routine, r.cards[0]);
        for (std::int64_t k = 0; k <= *rounds; ++k) {
            card.play_to(k);
            add_row(card);
        }
        heat.row_label = "round";
        // The card by its number, and the card it shows on a pack.
        const int number = deal::number_of(start[r.cards[0]]);
        std::string name = std::to_string(number);
        if (start.has_faces()) {
            char face[text::card_name_room];
            name += std::string(" (") + text::card_name(start.face(number), face) + ")";
        }
        heat.title = "Where card " + name + " may be in " + deck + ", round by round: " + words;
    } else {
        for (int from = 0; from < cards; ++from) {
            exact::card_chances card(routine, from);
            card.play_to(*rounds);
            add_row(card);
        }
        heat.row_label = "starting position";
        heat.title = "Where each card of " + deck + " may be after " + std::to_string(*rounds) +
                     " round" + (*rounds == 1 ? "" : "s") + ": " + words;
    }
    heat.largest = exact::decimals(largest, 3);
    heat.quarter = exact::decimals(largest / 4, 3);
    return write_picture(r, format, [&](picture::format f, cairo_write_func_t w, void* c) {
        return picture::render(f, heat, w, c);
    });
}

// The format: --format, else the file's extension, else PNG, which is also
// what goes into a file that is not a regular one, such as /dev/null.
picture::format format_for(const request& r) {
    if (r.format)
        return *r.format;
    if (!r.file || std::string_view{r.file} == "-")
        return picture::format::png;
    const char* slash = std::strrchr(r.file, '/');
    const char* name = slash ? slash + 1 : r.file;
    if (name[0] == '.' && !std::strchr(name + 1, '.') && picture::format_of(name))
        refuse("%s is only an extension: give the file a name, such as picture.png", r.file,
               console::quoted::shown_most);
    if (const auto f = picture::format_of(name))
        return *f;
    struct stat target;
    if (stat(r.file, &target) == 0 && !S_ISREG(target.st_mode) && !S_ISDIR(target.st_mode))
        return picture::format::png;
    refuse("cannot tell the format of %s: give --format, or a name that ends in .png, .svg "
           "or .pdf",
           r.file, console::quoted::shown_most);
}

// The round of COUNT, as a deal where it is one, and the deck it starts
// from; read by the round's options.
struct round_request {
    // The deck's name, for the caption.
    std::string deck;
    bool routine_given = false;
    deal::description deal;
    deal::routine routine;
    std::optional<deal::start> start;
};

// Nothing after a report. The chances view follows a card, which a chosen
// pile needs, through moves by chance.
std::optional<round_request> read_round(const console::arguments& arguments, bool chances) {
    const bool follows = chances || arguments.has(chosen_card_option);
    const console::deal_options deal_options(arguments, false, follows, chances);
    const auto hands = deal_options.hand_counts(arguments.operands()[0], false, 1);
    if (!hands)
        return std::nullopt;
    round_request r;
    r.deck = console::deck_name(arguments.value(console::deck_option),
                                arguments.value(console::deck_file_option));
    r.routine_given = deal_options.routine_given();
    r.deal = deal_options.describe(hands->first, deal_options.cards().first);
    r.routine = deal_options.routine_for(hands->first, deal_options.cards().first);
    r.start = deal_options.start_for(r.routine.cards);
    if (!r.start)
        return std::nullopt;
    return r;
}

// Whether a trick is asked for where there is one, from round 0 on; reports
// the fault where not.
bool check_trick(const request& r, const deal::routine& routine) {
    if (r.chosen >= 0 && !routine.follows_card()) {
        console::report("%s", console::no_chosen_pile);
        return false;
    }
    if (text::integer_text from;
        r.chosen >= 0 && text::parse_integer(r.from, from) && from.value() < 0) {
        char words[text::words_room];
        text::backwards_words(words, sizeof words, console::quoted(r.from).c_str());
        console::report("%s", words);
        return false;
    }
    return true;
}

// The rows drawn without ROUNDS: the period, where it is at most 200, else
// 100; for a trick, its tail and then the rounds that repeat.
std::optional<std::int64_t> default_rows(const deal::period& period,
                                         const deal::followed_deck* trick) {
    const auto small = period.small();
    std::int64_t rows = 100;
    if (small && *small <= 200)
        rows = static_cast<std::int64_t>(*small);
    if (trick && small) {
        const std::int64_t way =
            trick->card().tail() + trick->card().length() * static_cast<std::int64_t>(*small);
        rows = way <= 200 ? way : 100;
    }
    return rows;
}

// The rows of the rounds, or the map of one.
int draw_rows(const request& r, const round_request& asked, std::span<char* const> operands,
              bool from_top) {
    const deal::routine& routine = asked.routine;
    if (!check_trick(r, routine))
        return EXIT_FAILURE;
    // A trick's rounds are those its chosen card makes; they repeat from the
    // end of its way's tail.
    deal::followed_deck trick;
    deal::permutation round;
    deal::cycles cycles;
    if (r.chosen >= 0) {
        trick.learn(routine, r.chosen);
    } else {
        round = deal::round_permutation(routine);
        cycles.learn(round);
    }
    const deal::cycles& colored = r.chosen >= 0 ? trick.repeating() : cycles;
    // The caption names the routine as it writes its moves, cut to a line.
    char routine_words[400] = "";
    if (asked.routine_given)
        text::routine_text(routine, routine_words, sizeof routine_words);
    const deal::period period(colored);
    const std::optional<std::int64_t> rounds =
        operands.size() == 2
            ? console::integer_argument(operands[1], "number of rounds", 0, picture::max_rounds)
            : default_rows(period, r.chosen >= 0 ? &trick : nullptr);
    if (!rounds)
        return EXIT_FAILURE;
    const picture::format format = format_for(r);

    deal::round_number first_round;
    if (r.chosen >= 0)
        first_round.learn_moduli(trick.moduli());
    else
        first_round.learn(cycles);
    first_round.assign(r.from);
    picture::scene scene{asked.routine_given ? nullptr : &asked.deal,
                         routine_words,
                         &round,
                         &colored,
                         &period,
                         &first_round,
                         r.from,
                         r.coloring,
                         r.cards,
                         &*asked.start,
                         false};
    scene.deck = asked.deck.c_str();
    scene.faces = deal::with_faces(routine, *asked.start);
    if (r.chosen >= 0) {
        scene.trick = &trick;
        scene.chosen = r.chosen;
    }
    picture::layout layout =
        r.view == picture::view::map
            ? picture::make_map_layout(routine.cards)
            : picture::make_layout(routine.cards, static_cast<int>(*rounds), r.from);
    layout.from_top = from_top;
    return write_picture(r, format, [&](picture::format f, cairo_write_func_t w, void* c) {
        return picture::render(f, layout, scene, w, c);
    });
}

int main(int argc, char** argv) {
    console::program_name = "deal-picture";
    const console::arguments arguments(argc, argv, command);
    const auto operands = arguments.operands();
    const bool from_top = arguments.has(from_top_option);
    const char* const view = arguments.value(view_option);
    if (view && !view_takes(view, arguments))
        return EXIT_FAILURE;
    if (arguments.has(riffle_option) && !(view && std::string_view{view} == "mix")) {
        console::report("--riffle A cuts the riffles of --view mix into packets: give --view mix");
        return EXIT_FAILURE;
    }
    if (view && std::string_view{view} == "mix") {
        const request r = read_options(arguments, deal::start::new_deck(1));
        return draw_mix(r, format_for(r), operands);
    }
    const bool chances = view && std::string_view{view} == "chances";
    const std::optional<round_request> round = read_round(arguments, chances);
    if (!round)
        return EXIT_FAILURE;
    const request r = read_options(arguments, *round->start);
    if (r.chances)
        return draw_chances(r, format_for(r), *round->start, round->routine, operands, from_top);
    return draw_rows(r, *round, operands, from_top);
}
