#include "picture/draw.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "colors/colormap.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"
#include "text/digits.hpp"
#include "views/limits.hpp"

namespace picture {

namespace {

constexpr double tau = 6.283185307179586;
using colors::color;

void set_color(cairo_t* cr, color c) {
    cairo_set_source_rgb(cr, c.red, c.green, c.blue);
}

// A followed card's way, the path traced: `width` wide in its color over a
// white edge `edge` wider, so that it stands out from the ways it crosses.
void stroke_way(cairo_t* cr, color c, double width, double edge) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, width + edge);
    cairo_stroke_preserve(cr);
    set_color(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// ---- text ------------------------------------------------------------------

void set_font(cairo_t* cr, double size) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

// Writes `text` with its right end at x, centered on y.
void text_left_of(cairo_t* cr, const char* text, double x, double y) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, x - extents.x_advance, y - extents.y_bearing - extents.height / 2);
    cairo_show_text(cr, text);
}

void text_centered(cairo_t* cr, const char* text, double x, double top) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, x - extents.x_advance / 2, top - extents.y_bearing);
    cairo_show_text(cr, text);
}

// A line of the caption in runs of their own colors.
struct run {
    const char* text;
    color ink;
};

// Writes a line of the caption at `size`, or smaller where it would not fit
// the picture's width.
void caption_line(cairo_t* cr, const layout& l, std::span<const run> runs, double size, double y) {
    set_font(cr, size);
    double width = 0;
    for (const run& r : runs) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr, r.text, &extents);
        width += extents.x_advance;
    }
    const double room = l.width - 2.0 * l.font;
    if (width > room)
        set_font(cr, size * room / width);
    cairo_move_to(cr, l.font, y);
    for (const run& r : runs) {
        set_color(cr, r.ink);
        cairo_show_text(cr, r.text);
    }
}

void caption_line(cairo_t* cr, const layout& l, const char* text, color ink, double size,
                  double y) {
    const run one[] = {{text, ink}};
    caption_line(cr, l, one, size, y);
}

constexpr color ink{0.1, 0.1, 0.1}, muted{0.3, 0.3, 0.3};
constexpr const char* separator = "  \xc2\xb7  ";

// One drawing: the colors of the cards, where each card is row after row,
// and the decks being played, all sized to the deck and gone when it is done.
class painter {
public:
    painter(const layout& l, const scene& s)
        : l_(l), s_(s), card_colors(static_cast<std::size_t>(l.cards)),
          followed(card_colors.size()), in_followed_cycle(card_colors.size()),
          is_at(card_colors.size()), deck(card_colors.size()), next_deck(card_colors.size()) {}

    cairo_status_t draw(cairo_t* cr) {
        learn_colors(l_, s_);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        draw_caption(cr, l_, s_);
        cairo_status_t status = CAIRO_STATUS_SUCCESS;
        if (l_.view == view::rows)
            status = draw_rows(cr, l_, s_);
        else
            draw_map(cr, l_, s_);
        return status;
    }

private:
    const layout& l_;
    const scene& s_;
    // The color of every card, faded where others are followed.
    std::vector<color> card_colors;
    // Whether a card is followed, and whether it shares a cycle with one that is.
    std::vector<char> followed, in_followed_cycle;
    // Where each card is in the current row.
    std::vector<int> is_at;
    // The deck of the current row, and the next, which the round is played into.
    std::vector<deal::card> deck, next_deck;
    // Where each card is in every row, for the decks small enough for lines,
    // and whether it lies face up there.
    std::vector<int> positions;
    std::vector<char> turned;
    // A trick's round, and where its chosen card is in the current row.
    deal::permutation trick_round;
    int chosen_at = -1;

    // Followed cards take colors of their own, in the order given, so that two
    // of them are told apart in the picture and in the caption's list.
    color followed_color(const scene& s, int card) {
        for (std::size_t i = 0; i < s.followed.size(); ++i)
            if (s.followed[i] == card)
                return colors::followed_color(static_cast<int>(i));
        return card_colors[static_cast<std::size_t>(card)];
    }

    void learn_colors(const layout& l, const scene& s) {
        std::fill_n(followed.begin(), l.cards, false);
        std::fill_n(in_followed_cycle.begin(), l.cards, false);
        for (const int card : s.followed)
            followed[static_cast<std::size_t>(card)] = true;
        int moving = 0;
        for (int i = 0; i < s.cycles->count(); ++i) {
            const auto cycle = s.cycles->cycle(i);
            const color by_cycle =
                cycle.size() == 1 ? colors::fixed_card_color : colors::moving_cycle_color(moving++);
            const bool picked = std::any_of(cycle.begin(), cycle.end(), [this](deal::card c) {
                return followed[static_cast<std::size_t>(c)];
            });
            for (const int c : cycle) {
                const auto card = static_cast<std::size_t>(c);
                card_colors[card] =
                    s.coloring == coloring::cycle ? by_cycle : colors::card_color(c, l.cards);
                in_followed_cycle[card] = picked;
            }
        }
        if (s.followed.empty())
            return;
        // The rows fade every card but those followed; the map, every position
        // outside their cycles.
        for (int c = 0; c < l.cards; ++c) {
            const auto card = static_cast<std::size_t>(c);
            if (l.view == view::rows ? !followed[card] : !in_followed_cycle[card])
                card_colors[card] = colors::faded(card_colors[card]);
        }
    }

    // Moves to row `row`, 0 first, and notes where every card is. A trick's
    // round is the one that the chosen card's place makes.
    void next_row(const scene& s, int row) {
        if (row == 0 && s.trick) {
            s.trick->at(*s.first, deck.data());
        } else if (row == 0) {
            s.cycles->jump(*s.first, deck.data());
        } else {
            const deal::permutation& round =
                s.trick ? (trick_round = s.trick->round(chosen_at)) : *s.round;
            round.apply(deck.data(), next_deck.data());
            deck.swap(next_deck);
        }
        for (int p = 0; p < l_.cards; ++p)
            is_at[static_cast<std::size_t>(deal::number_of(deck[static_cast<std::size_t>(p)]))] = p;
        if (s.trick)
            chosen_at = is_at[static_cast<std::size_t>(s.chosen)];
    }

    bool in_starting_order() {
        for (int p = 0; p < l_.cards; ++p)
            if (deck[static_cast<std::size_t>(p)] != p)
                return false;
        return true;
    }

    // Whether card `c` of a row's deck lies face up: turned over an odd
    // number of times from a start face down, or an even number from one
    // face up. The rows number each card by where it starts.
    bool shows_face_up(deal::card c) const {
        const bool started_up = s_.start && deal::is_face_up((*s_.start)[deal::number_of(c)]);
        return deal::is_face_up(c) != started_up;
    }

    bool face_up(int card) const {
        return shows_face_up(deck[static_cast<std::size_t>(is_at[static_cast<std::size_t>(card)])]);
    }

    // The first round in full on its own lines, cut where the layout says; one
    // too long for them as its first and last digits and how many there are.
    void draw_round_lines(cairo_t* cr, const layout& l, const scene& s) {
        const std::string_view k = s.first_text;
        const auto per_line = static_cast<std::size_t>(l.round_line_digits);
        char line[96];
        if (k.size() > per_line * static_cast<std::size_t>(l.round_lines)) {
            const int shown = static_cast<int>(std::min<std::size_t>(per_line / 2 - 12, 30));
            std::snprintf(line, sizeof line, "K = %.*s\xe2\x80\xa6%s (%zu digits)", shown, k.data(),
                          k.data() + k.size() - shown, k.size() - (k[0] == '-' || k[0] == '+'));
            caption_line(cr, l, line, ink, l.font, l.round_line(0));
            return;
        }
        for (int i = 0; i < l.round_lines; ++i) {
            const std::string_view part =
                k.substr(static_cast<std::size_t>(i) * per_line, per_line);
            std::snprintf(line, sizeof line, "%.*s", static_cast<int>(part.size()), part.data());
            caption_line(cr, l, line, ink, l.font, l.round_line(i));
        }
    }

    // The caption's first line: the deck, the deal or routine, the rounds,
    // and the period, or, for a trick, the card chosen.
    void first_caption_line(cairo_t* cr, const layout& l, const scene& s) {
        char period[text::period_digits + 16];
        period[text::period_digits] = '\0';
        const char* period_text =
            s.trick ? "" : text::period_text(*s.period, period + text::period_digits);
        if (s.trick) {
            char name[text::card_name_room + 16];
            std::snprintf(period, sizeof period, "chosen card %s",
                          card_label(s, s.chosen, name, sizeof name));
            period_text = period;
        }
        char rules[text::rules_room + 4] = "";
        if (s.deal && !s.deal->default_rules()) {
            std::memcpy(rules, ", ", 3);
            text::rules_text(*s.deal, rules + 2, sizeof rules - 2);
        }
        char deck_name[96] = "";
        if (s.deck && s.deck[0] != '\0')
            std::snprintf(deck_name, sizeof deck_name, ", deck %s", s.deck);
        char deck_text[160 + sizeof rules];
        if (s.deal)
            std::snprintf(deck_text, sizeof deck_text, "%d hand%s, %d card%s%s%s", s.deal->hands,
                          s.deal->hands == 1 ? "" : "s", l.cards, l.cards == 1 ? "" : "s",
                          deck_name, rules);
        else
            std::snprintf(deck_text, sizeof deck_text, "%d card%s%s, routine: %s", l.cards,
                          l.cards == 1 ? "" : "s", deck_name, s.routine);
        const char* counted = s.trick ? "" : "period ";
        char line[400];
        if (l.view == view::rows) {
            const auto small = small_round(s.first_text);
            if (small)
                std::snprintf(line, sizeof line, "%s%srounds %lld to %lld%s%s%s", deck_text,
                              separator, *small, *small + l.rows - 1, separator, counted,
                              period_text);
            else
                std::snprintf(line, sizeof line, "%s%s%s%s%srounds K to K+%d, where K is",
                              deck_text, separator, counted, period_text, separator, l.rows - 1);
        } else {
            std::snprintf(line, sizeof line, "%s%sone round%s%s%s", deck_text, separator, separator,
                          counted, period_text);
        }
        caption_line(cr, l, line, ink, l.font, l.first_line());
    }

    // Whether the rows are dots and lines, rather than cells.
    static bool with_dots(const layout& l) {
        return l.lines && l.rows * l.cards <= (max_rounds + 1) * max_line_cards;
    }

    // A card as the legend names it: by the playing card it shows where the
    // deck is a pack or a named packet, else by its number.
    static const char* card_label(const scene& s, int starts_at, char* out, std::size_t room) {
        const deal::start& start = *s.start;
        const int number = deal::number_of(start[starts_at]);
        if (start.has_faces() && (start.size() == deal::max_playing_cards || start.named()))
            text::card_name(start.face(number), out);
        else
            std::snprintf(out, room, "%d", number);
        return out;
    }

    void draw_caption(cairo_t* cr, const layout& l, const scene& s) {
        first_caption_line(cr, l, s);
        if (l.view == view::rows && l.round_lines > 0)
            draw_round_lines(cr, l, s);

        const char* colored = s.coloring == coloring::cycle ? "colored by cycle (gray: never moves)"
                                                            : "colored by starting position";
        const char* up = !s.faces       ? ""
                         : with_dots(l) ? "  \xc2\xb7  \xe2\x97\x89 ringed, face up"
                                        : "  \xc2\xb7  black cells (white where dark), face up";
        char line[400];
        if (l.view == view::rows)
            std::snprintf(line, sizeof line,
                          "each row from the %s of the deck (left) to its %s%s"
                          "\xe2\x96\xb6 back in starting order%s%s%s",
                          l.from_top ? "top" : "bottom", l.from_top ? "bottom" : "top", separator,
                          separator, colored, up);
        else
            std::snprintf(line, sizeof line,
                          "a dot for each position: across where it is, up where its card goes%s%s",
                          separator, colored);
        // Each followed card in its own color: the caption is its legend.
        constexpr std::size_t most_listed = 16;
        run runs[2 + most_listed + 1];
        char cards[most_listed][24];
        std::size_t count = 0;
        runs[count++] = {line, muted};
        if (!s.followed.empty())
            runs[count++] = {s.followed.size() > 1 ? "  \xc2\xb7  bold: cards"
                                                   : "  \xc2\xb7  bold: card",
                             muted};
        for (std::size_t i = 0; i < s.followed.size() && i < most_listed; ++i) {
            char name[16];
            std::snprintf(cards[i], sizeof cards[i], "%s \xe2\x96\xa0 %s", i == 0 ? "" : ",",
                          card_label(s, s.followed[i], name, sizeof name));
            runs[count++] = {cards[i], followed_color(s, s.followed[i])};
        }
        if (s.followed.size() > most_listed)
            runs[count++] = {", \xe2\x80\xa6", muted};
        caption_line(cr, l, {runs, count}, 0.85 * l.font, l.legend_line());
    }

    // ---- rows --------------------------------------------------------------------

    // Round numbers along the left at an interval that keeps them apart, the last
    // row's always, and a triangle at every row where the deck is in its starting
    // order.
    void draw_row_labels(cairo_t* cr, const layout& l, const scene& s) {
        const double size = std::max(11.0, 0.8 * l.font);
        set_font(cr, size);
        cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
        int every = 1;
        for (const int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000}) {
            every = step;
            if (step * l.row_pitch >= 1.5 * size)
                break;
        }
        const auto small = small_round(s.first_text);
        const int last = l.rows - 1;
        const auto label = [&](int row) {
            char text[32];
            if (small)
                std::snprintf(text, sizeof text, "%lld", *small + row);
            else if (row == 0)
                std::snprintf(text, sizeof text, "K");
            else
                std::snprintf(text, sizeof text, "K+%d", row);
            text_left_of(cr, text, l.left - 0.9 * l.font, l.y(row));
        };
        for (int row = 0; row < last; row += every)
            if ((last - row) * l.row_pitch >= 1.5 * size)
                label(row);
        label(last);

        cairo_set_source_rgb(cr, 0.8, 0.1, 0.1);
        const double half = std::clamp(l.row_pitch * 0.45, 3.0, 0.3 * l.font);
        const double tip = l.left - 3;
        for (int row = 0; row < l.rows; ++row) {
            next_row(s, row);
            if (!in_starting_order())
                continue;
            const double y = l.y(row);
            cairo_move_to(cr, tip, y);
            cairo_line_to(cr, tip - 1.6 * half, y - half);
            cairo_line_to(cr, tip - 1.6 * half, y + half);
            cairo_close_path(cr);
        }
        cairo_fill(cr);
    }

    int& position(const layout& l, int row, int card) {
        return positions[static_cast<std::size_t>(row * l.cards + card)];
    }

    void learn_positions(const layout& l, const scene& s) {
        positions.resize(static_cast<std::size_t>(l.rows * l.cards));
        turned.resize(positions.size());
        for (int row = 0; row < l.rows; ++row) {
            next_row(s, row);
            for (int c = 0; c < l.cards; ++c) {
                position(l, row, c) = is_at[static_cast<std::size_t>(c)];
                turned[static_cast<std::size_t>(row * l.cards + c)] = face_up(c);
            }
        }
    }

    // Each card that lies face up, over its dot: a black rim and a hole, so
    // that no color hides it.
    void draw_face_up(cairo_t* cr, const layout& l) {
        for (int row = 0; row < l.rows; ++row)
            for (int c = 0; c < l.cards; ++c) {
                if (!turned[static_cast<std::size_t>(row * l.cards + c)])
                    continue;
                const double x = l.x(position(l, row, c)), y = l.y(row);
                cairo_new_sub_path(cr);
                cairo_arc(cr, x, y, l.radius * 0.8, 0, tau);
                cairo_set_source_rgb(cr, 0, 0, 0);
                cairo_set_line_width(cr, std::max(1.0, 0.4 * l.radius));
                cairo_stroke(cr);
                cairo_arc(cr, x, y, l.radius * 0.3, 0, tau);
                cairo_set_source_rgb(cr, 1, 1, 1);
                cairo_fill(cr);
            }
    }

    // A card's way through all the rows as one path: a stroke per card rather
    // than per card and row. It leaves a row and enters the next straight down,
    // so that the eye follows it from dot to dot.
    void trace_way(cairo_t* cr, const layout& l, int c) {
        const double bend = l.row_pitch / 2.0;
        cairo_move_to(cr, l.x(position(l, 0, c)), l.y(0));
        for (int row = 1; row < l.rows; ++row) {
            const double x0 = l.x(position(l, row - 1, c)), y0 = l.y(row - 1);
            const double x1 = l.x(position(l, row, c)), y1 = l.y(row);
            cairo_curve_to(cr, x0, y0 + bend, x1, y1 - bend, x1, y1);
        }
    }

    void draw_lines(cairo_t* cr, const layout& l) {
        const double width = std::clamp(l.pitch * 0.12, 1.0, 3.0);
        cairo_set_line_width(cr, width);
        for (int c = 0; c < l.cards; ++c) {
            trace_way(cr, l, c);
            set_color(cr, card_colors[static_cast<std::size_t>(c)]);
            cairo_stroke(cr);
        }
    }

    void draw_dots(cairo_t* cr, const layout& l) {
        for (int c = 0; c < l.cards; ++c) {
            for (int row = 0; row < l.rows; ++row) {
                cairo_new_sub_path(cr);
                cairo_arc(cr, l.x(position(l, row, c)), l.y(row), l.radius, 0, tau);
            }
            set_color(cr, card_colors[static_cast<std::size_t>(c)]);
            cairo_fill(cr);
        }
    }

    // The followed cards over the rest: a wide white edge, then the way in the
    // card's own color, then its dots ringed in black.
    void draw_followed_lines(cairo_t* cr, const layout& l, const scene& s) {
        const double width = std::clamp(l.pitch * 0.2, 2.0, 6.0);
        for (const int c : s.followed) {
            trace_way(cr, l, c);
            stroke_way(cr, followed_color(s, c), width, 4);
            for (int row = 0; row < l.rows; ++row) {
                cairo_new_sub_path(cr);
                cairo_arc(cr, l.x(position(l, row, c)), l.y(row), l.radius, 0, tau);
            }
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_set_line_width(cr, std::max(1.0, width / 2));
            cairo_stroke(cr);
        }
    }

    // Every row as one line of pixels of an image, shown enlarged without
    // smoothing: one image for the whole deck, however many cells, which keeps
    // vector files small. Where the format's viewers would smooth it anyway, the
    // image is made as large as it is shown instead.
    cairo_status_t draw_cells(cairo_t* cr, const layout& l, const scene& s) {
        const int across = s.full_size_cells ? l.pitch : 1;
        const int down = s.full_size_cells ? l.row_pitch : 1;
        cairo_surface_t* cells =
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, l.cards * across, l.rows * down);
        const cairo_status_t made = cairo_surface_status(cells);
        if (made != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(cells);
            return made;
        }
        cairo_surface_flush(cells);
        unsigned char* data = cairo_image_surface_get_data(cells);
        const int stride = cairo_image_surface_get_stride(cells);
        // A card face up is black, or white where its color is nearly black.
        std::vector<std::uint32_t> pixels(2 * static_cast<std::size_t>(l.cards));
        for (int c = 0; c < l.cards; ++c) {
            const color own = card_colors[static_cast<std::size_t>(c)];
            pixels[2 * static_cast<std::size_t>(c)] = colors::rgb(own);
            pixels[2 * static_cast<std::size_t>(c) + 1] =
                colors::luminance(own) < 0.18 ? 0xffffff : 0x000000;
        }
        for (int row = 0; row < l.rows; ++row) {
            next_row(s, row);
            unsigned char* first = data + static_cast<std::ptrdiff_t>(row) * down * stride;
            auto* line = reinterpret_cast<std::uint32_t*>(first);
            for (int p = 0; p < l.cards; ++p) {
                const deal::card c = deck[static_cast<std::size_t>(p)];
                std::fill_n(line + p * across, across,
                            pixels[2 * static_cast<std::size_t>(deal::number_of(c)) +
                                   (shows_face_up(c) ? 1 : 0)]);
            }
            for (int y = 1; y < down; ++y)
                std::memcpy(first + y * stride, first, static_cast<std::size_t>(stride));
        }
        cairo_surface_mark_dirty(cells);

        cairo_save(cr);
        cairo_translate(cr, l.left, l.top);
        if (l.from_top) {
            // The image mirrored, the top card's cell on the left.
            cairo_translate(cr, l.cards * l.pitch, 0);
            cairo_scale(cr, -1, 1);
        }
        cairo_scale(cr, static_cast<double>(l.pitch) / across,
                    static_cast<double>(l.row_pitch) / down);
        cairo_set_source_surface(cr, cells, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_rectangle(cr, 0, 0, l.cards * across, l.rows * down);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_surface_destroy(cells);
        return CAIRO_STATUS_SUCCESS;
    }

    // Over the cells, the way of each followed card as a line from row to row.
    void draw_followed_cells(cairo_t* cr, const layout& l, const scene& s) {
        const double width = std::clamp(l.row_pitch * 0.15, 1.5, 0.12 * l.font);
        for (const int c : s.followed) {
            for (int row = 0; row < l.rows; ++row) {
                next_row(s, row);
                const double x = l.x(is_at[static_cast<std::size_t>(c)]), y = l.y(row);
                if (row == 0)
                    cairo_move_to(cr, x, y);
                else
                    cairo_line_to(cr, x, y);
            }
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            stroke_way(cr, followed_color(s, c), width, 3);
        }
    }

    cairo_status_t draw_rows(cairo_t* cr, const layout& l, const scene& s) {
        if (with_dots(l)) {
            learn_positions(l, s);
            draw_lines(cr, l);
            draw_dots(cr, l);
            draw_followed_lines(cr, l, s);
            draw_face_up(cr, l);
        } else {
            if (const cairo_status_t status = draw_cells(cr, l, s); status != CAIRO_STATUS_SUCCESS)
                return status;
            draw_followed_cells(cr, l, s);
        }
        // The marks are checked against the deck itself, not worked out from the
        // period, so that a picture shows the deal as played.
        draw_row_labels(cr, l, s);
        return CAIRO_STATUS_SUCCESS;
    }

    // ---- map ---------------------------------------------------------------------

    void draw_map(cairo_t* cr, const layout& l, const scene& s) {
        const double side = l.side();
        cairo_set_source_rgb(cr, 0.8, 0.8, 0.8);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, l.left - 0.5, l.top - 0.5, side + 1, side + 1);
        cairo_stroke(cr);
        const double dash = std::max(2.0, l.font / 3.0);
        cairo_set_dash(cr, &dash, 1, 0);
        cairo_move_to(cr, l.left, l.top + side);
        cairo_line_to(cr, l.left + side, l.top);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);

        // Squares rather than round dots: where a position is a pixel or less,
        // they still cover it.
        const auto next = [&s](int p) { return (*s.round)[p]; };
        const auto dot = [&](int p, double half) {
            cairo_rectangle(cr, l.across(p) - half, l.up(next(p)) - half, 2 * half, 2 * half);
        };
        // Large enough to be seen when a wide map is shown whole on a screen.
        const double half = std::max(l.radius, side / 600);
        for (int p = 0; p < l.cards; ++p) {
            dot(p, half);
            set_color(cr, card_colors[static_cast<std::size_t>(p)]);
            cairo_fill(cr);
        }

        // A followed card's cycle as a cobweb: from its dot across to the
        // diagonal, then up or down to the next position's dot. Long cycles would
        // cover the map: their dots are ringed instead.
        for (const int c : s.followed) {
            const bool cobweb = s.cycles->cycle(s.cycles->cycle_of(c)).size() <=
                                static_cast<std::size_t>(views::max_cobweb_length);
            if (cobweb)
                cairo_move_to(cr, l.across(c), l.up(next(c)));
            int p = c;
            do {
                const int q = next(p);
                if (cobweb) {
                    cairo_line_to(cr, l.across(q), l.up(q));
                    cairo_line_to(cr, l.across(q), l.up(next(q)));
                } else {
                    dot(p, half + 1);
                }
                p = q;
            } while (p != c);
            set_color(cr, followed_color(s, c));
            cairo_set_line_width(cr, cobweb ? std::max(1.5, l.font / 8.0) : 1.5);
            cairo_stroke(cr);
        }

        set_font(cr, std::max(11.0, 0.8 * l.font));
        cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
        // The ends of each axis: 0 and M - 1 from the bottom, 1 and M from the top.
        char first[16], last[16];
        std::snprintf(first, sizeof first, "%d", l.from_top ? 1 : 0);
        std::snprintf(last, sizeof last, "%d", l.from_top ? l.cards : l.cards - 1);
        const char* counted = l.from_top ? "place from the top" : "position";
        char before[64], after[64];
        std::snprintf(before, sizeof before, "%s before the round \xe2\x86\x92", counted);
        std::snprintf(after, sizeof after, "%s after \xe2\x86\x92", counted);
        const double below = l.top + side + 0.4 * l.font;
        text_centered(cr, first, l.left, below);
        text_centered(cr, last, l.left + side, below);
        text_centered(cr, before, l.left + side / 2, below);
        text_left_of(cr, first, l.left - 0.4 * l.font, l.top + side);
        text_left_of(cr, last, l.left - 0.4 * l.font, l.top);
        cairo_save(cr);
        cairo_translate(cr, l.left - 0.8 * l.font, l.top + side / 2);
        cairo_rotate(cr, -tau / 4);
        text_centered(cr, after, 0, -0.9 * l.font);
        cairo_restore(cr);
    }
};

} // namespace

cairo_status_t draw(cairo_t* cr, const layout& l, const scene& s) {
    const cairo_status_t status = painter(l, s).draw(cr);
    return status != CAIRO_STATUS_SUCCESS ? status : cairo_status(cr);
}

} // namespace picture
