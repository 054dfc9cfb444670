// The picture is the deal: every dot or cell of a picture that deal-picture
// wrote has the color of the card that deal lists at that place after that
// many rounds. Runs both programs, as a user would, and reads the PNG back
// through Cairo.
#include <algorithm>
#include <cairo.h>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "colors/colormap.hpp"
#include "picture/chart.hpp"
#include "picture/layout.hpp"

namespace {

// Each row's cards, a card face up as its number's complement, ~c.
using listing = std::vector<std::vector<int>>;

std::string temporary(const char* name) {
    return ::testing::TempDir() + name;
}

// deal's own listings of `hands` hands for rounds 0 to `rounds`; for any
// other deal, deal-after's, which the end-to-end tests hold to deal's.
listing deal_listings(int hands, int rounds, const std::string& options = "") {
    std::string command;
    if (options.empty()) {
        const std::string input = temporary("picture_test_input");
        FILE* in = std::fopen(input.c_str(), "w");
        std::fprintf(in, "%d", hands);
        for (int r = 0; r <= rounds; ++r)
            std::fputs(" 1", in);
        std::fclose(in);
        command = std::string(DEAL_PROGRAM) + " < " + input;
    } else {
        command = std::string(AFTER_PROGRAM) + " " + options + " " + std::to_string(hands) +
                  " 0.." + std::to_string(rounds);
    }
    FILE* out = popen(command.c_str(), "r");
    listing rows;
    char line[65536];
    while (std::fgets(line, sizeof line, out)) {
        std::istringstream cards(line);
        rows.emplace_back();
        for (std::string card; cards >> card;)
            rows.back().push_back(card.back() == '^' ? ~std::stoi(card) : std::stoi(card));
    }
    EXPECT_EQ(pclose(out), 0);
    return rows;
}

struct rgb {
    int r, g, b;
};

rgb rounded(colors::color c) {
    return {static_cast<int>(c.red * 255 + 0.5), static_cast<int>(c.green * 255 + 0.5),
            static_cast<int>(c.blue * 255 + 0.5)};
}

int distance(rgb a, rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Every dot of `image`, laid out by `l`, is the card listed there: a card
// face up with a white hole, its color around it.
void rows_are_listed(cairo_surface_t* image, const picture::layout& l, const listing& rows,
                     int hands) {
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    std::vector<rgb> palette;
    for (int c = 0; c < l.cards; ++c)
        palette.push_back(rounded(colors::card_color(c, l.cards)));

    const auto seen_at = [&](int x, int y) {
        std::uint32_t pixel;
        std::memcpy(&pixel, data + y * stride + 4 * x, sizeof pixel);
        return rgb{static_cast<int>(pixel >> 16 & 0xff), static_cast<int>(pixel >> 8 & 0xff),
                   static_cast<int>(pixel & 0xff)};
    };
    for (int row = 0; row < l.rows; ++row) {
        for (int p = 0; p < l.cards; ++p) {
            const int x = static_cast<int>(l.x(p)), y = static_cast<int>(l.y(row));
            const int card = rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(p)];
            const int listed = card < 0 ? ~card : card;
            // A card face up has a white hole, its color around it.
            if (card < 0) {
                ASSERT_LE(distance(seen_at(x, y), {255, 255, 255}), 3) << "row " << row;
            }
            const rgb seen = seen_at(card < 0 ? x + static_cast<int>(0.45 * l.radius) : x, y);
            // The card shown is the one whose color is nearest, and that
            // is the card deal lists there.
            int nearest = 0;
            for (int c = 1; c < l.cards; ++c)
                if (distance(seen, palette[static_cast<std::size_t>(c)]) <
                    distance(seen, palette[static_cast<std::size_t>(nearest)]))
                    nearest = c;
            ASSERT_EQ(nearest, listed) << hands << " hands, row " << row << ", position " << p;
            ASSERT_LE(distance(seen, palette[static_cast<std::size_t>(listed)]), 3);
        }
    }
}

TEST(Picture, EveryDotIsTheCardThatDealListsThere) {
    // --from takes the first row's round as deal-after does: any length,
    // negative backwards, modulo the period (7 for 2 hands, 28 for 4).
    // Other deals too, whose caption is taller where the first round is
    // written whole on lines of its own. Counted from the top, each row is
    // the mirror image, the top card on the left.
    const std::string long_round = "7" + std::string(99, '0') + "3"; // 3 more than 7 * 10^100
    const struct {
        int hands, cards, rounds;
        const char* from;
        int first;       // the listing of deal that the first row is
        int round_lines; // the caption's lines for the first round alone
        std::string options;
        bool from_top = false;
    } table[] = {{1, 5, 3, "0", 0, 0, ""},
                 {2, 10, 8, "0", 0, 0, ""},
                 {4, 20, 29, "0", 0, 0, ""},
                 {12, 60, 6, "0", 0, 0, ""},
                 {13, 65, 6, "0", 0, 0, ""},
                 {20, 100, 4, "0", 0, 0, ""},
                 {4, 20, 5, "30", 2, 0, ""},
                 {2, 10, 3, "-1", 6, 0, ""},
                 {13, 65, 2, "5", 5, 0, ""},
                 {2, 10, 2, "700000000000000000000000000000003", 3, 1, ""},
                 {2, 10, 2, long_round.c_str(), 3, 2, ""},
                 {4, 52, 14, "0", 0, 0, "--packets 1 --first-card bottom --cards 52"},
                 {3, 20, 22, "0", 0, 0, "--packets 3,2 --cards 20 --rest top --bottom-hand first"},
                 {52, 52, 6, "3", 3, 0, "--routine 'faro out; cut 7'", true},
                 {20, 100, 4, "0", 0, 0, "", true},
                 // The trick's deck for the card chosen; cards face up.
                 {3, 21, 4, "0", 0, 0, "--packets 1 --cards 21 --chosen-pile 1 --chosen-card 7S"},
                 {8, 8, 4, "0", 0, 0, "--routine 'turn 3; cut 2'"},
                 // Cards that start face up, in new deck order.
                 {8, 8, 4, "0", 0, 0, "--deck '7 6 5 4 3^ 2 1 0^' --routine 'turn 3; cut 2'"}};
    for (const auto& [hands, cards, rounds, from, first, round_lines, options, from_top] : table) {
        const std::string png = temporary("picture_test.png");
        const std::string command = std::string(PICTURE_PROGRAM) + " -o " + png + " " + options +
                                    (from_top ? " --from-top" : "") + " --from " + from + " " +
                                    std::to_string(hands) + " " + std::to_string(rounds);
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const listing all = deal_listings(hands, first + rounds, options);
        ASSERT_EQ(all.size(), static_cast<std::size_t>(first + rounds + 1));
        const listing rows(all.begin() + first, all.end());

        cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
        ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
        picture::layout l = picture::make_layout(cards, rounds, from);
        l.from_top = from_top;
        ASSERT_EQ(l.round_lines, round_lines) << from;
        ASSERT_EQ(cairo_image_surface_get_width(image), l.width);
        ASSERT_EQ(cairo_image_surface_get_height(image), l.height);
        rows_are_listed(image, l, rows, hands);
        cairo_surface_destroy(image);
    }
}

// The row after the period is the starting gradient again, pixel for pixel.
TEST(Picture, TheRowAfterThePeriodIsTheFirst) {
    for (const auto& [hands, period] : {std::pair{2, 7}, {3, 9}, {4, 28}}) {
        const std::string png = temporary("picture_period.png");
        const std::string command =
            std::string(PICTURE_PROGRAM) + " -o " + png + " " + std::to_string(hands);
        ASSERT_EQ(std::system(command.c_str()), 0);
        cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
        const picture::layout l = picture::make_layout(5 * hands, period);
        ASSERT_EQ(cairo_image_surface_get_height(image), l.height) << "default rounds: the period";
        const unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        const auto row_at = [&](int row) {
            const unsigned char* line = data + static_cast<int>(l.y(row)) * stride;
            return std::vector<unsigned char>(line + 4 * l.left,
                                              line + 4 * (l.left + l.cards * l.pitch));
        };
        EXPECT_EQ(row_at(period), row_at(0)) << hands << " hands";
        EXPECT_NE(row_at(1), row_at(0)) << hands << " hands";
        cairo_surface_destroy(image);
    }
}

// An SVG viewer smooths an enlarged image whatever filter it asks for: the
// SVG's cells, rendered at its own size by librsvg, must be the PNG's.
TEST(Picture, SvgCellsArePixelForPixelThePng) {
    if (std::system("command -v rsvg-convert >/dev/null") != 0)
        GTEST_SKIP() << "rsvg-convert is not installed (Debian: librsvg2-bin)";
    for (const auto& [hands, rounds] : {std::pair{20, 4}, {300, 3}}) {
        const std::string png = temporary("cells.png"), svg = temporary("cells.svg"),
                          shown = temporary("cells-shown.png");
        const std::string arguments = std::to_string(hands) + " " + std::to_string(rounds);
        ASSERT_EQ(std::system((std::string(PICTURE_PROGRAM) + " -o " + png + " " + arguments +
                               " && " + PICTURE_PROGRAM + " -o " + svg + " " + arguments +
                               " && rsvg-convert -o " + shown + " " + svg)
                                  .c_str()),
                  0);
        const picture::layout l = picture::make_layout(5 * hands, rounds);
        ASSERT_FALSE(l.lines);
        cairo_surface_t* a = cairo_image_surface_create_from_png(png.c_str());
        cairo_surface_t* b = cairo_image_surface_create_from_png(shown.c_str());
        ASSERT_EQ(cairo_image_surface_get_width(b), l.width);
        const auto pixel = [](cairo_surface_t* s, int x, int y) {
            std::uint32_t p;
            std::memcpy(
                &p, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + 4 * x,
                sizeof p);
            return p & 0xffffff;
        };
        int differ = 0;
        for (int y = l.top; y < l.top + l.rows * l.row_pitch; ++y)
            for (int x = l.left; x < l.left + l.cards * l.pitch; ++x)
                differ += pixel(a, x, y) != pixel(b, x, y);
        EXPECT_EQ(differ, 0) << hands << " hands";
        cairo_surface_destroy(a);
        cairo_surface_destroy(b);
    }
}

// Followed cards are told apart: each one's dots in its own color, far from
// the others' and from every card's, and the rest faded.
TEST(Picture, FollowedCardsEachInAColorOfTheirOwn) {
    const std::string png = temporary("followed.png");
    const int followed[] = {3, 12, 13, 17};
    std::string command = std::string(PICTURE_PROGRAM) + " -o " + png;
    for (const int c : followed)
        command += " --card " + std::to_string(c);
    ASSERT_EQ(std::system((command + " 4 2").c_str()), 0);
    cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
    const picture::layout l = picture::make_layout(20, 2);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    std::vector<rgb> seen;
    for (const int c : followed) {
        // In the first row, the starting order, card c is at position c.
        std::uint32_t pixel;
        std::memcpy(&pixel, data + static_cast<int>(l.y(0)) * stride + 4 * static_cast<int>(l.x(c)),
                    sizeof pixel);
        seen.push_back({static_cast<int>(pixel >> 16 & 0xff), static_cast<int>(pixel >> 8 & 0xff),
                        static_cast<int>(pixel & 0xff)});
    }
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_LE(distance(seen[i], rounded(colors::followed_color(static_cast<int>(i)))), 3);
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_GT(distance(seen[i], seen[j]), 100)
                << "cards " << followed[i] << ", " << followed[j];
    }
    cairo_surface_destroy(image);
}

// A card's chances, drawn: under exact moves each row is certain of one
// place, the one deal-after --where gives, the lightest color there and the
// darkest elsewhere; a random cut leaves every place equally likely.
TEST(Picture, ChancesAreWhereTheCardIs) {
    const int cards = 8, rounds = 5;
    const std::string png = temporary("picture_chances.png");
    for (const char* routine : {"faro out", "cut random"}) {
        const std::string command = std::string(PICTURE_PROGRAM) + " --view chances --routine '" +
                                    routine + "' --card 2 -o " + png + " 8 " +
                                    std::to_string(rounds);
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const listing where = deal_listings(cards, rounds,
                                            std::string("--routine '") + routine +
                                                "' --where 2 --chances --digits 0");
        cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
        picture::heat h;
        h.rows = rounds + 1;
        h.columns = cards;
        const unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        for (int row = 0; row <= rounds; ++row)
            for (int p = 0; p < cards; ++p) {
                const picture::point at = picture::cell_center(h, row, p);
                std::uint32_t pixel;
                std::memcpy(&pixel,
                            data + static_cast<int>(at.y) * stride + 4 * static_cast<int>(at.x),
                            sizeof pixel);
                const rgb seen{static_cast<int>(pixel >> 16 & 0xff),
                               static_cast<int>(pixel >> 8 & 0xff), static_cast<int>(pixel & 0xff)};
                // With 0 decimals a certain place reads "P:1", a spread card
                // "P:0" everywhere: the lightest where the chance is the
                // largest of all.
                const auto& line = where[static_cast<std::size_t>(row)];
                const bool lit =
                    std::string(routine) == "faro out" ? line.front() == p : row == 0 && p == 2;
                const bool even = std::string(routine) == "cut random" && row > 0;
                const rgb wanted = rounded(colors::colormap(lit    ? 1.0
                                                            : even ? std::sqrt(1.0 / 8)
                                                                   : 0.0));
                EXPECT_LE(distance(seen, wanted), 3)
                    << routine << " row " << row << " position " << p;
            }
        cairo_surface_destroy(image);
    }
}

// The ink of every text of an SVG that Cairo wrote, after the canvas. Cairo
// writes a text as a <g> of <use>s, each placing a glyph whose outline is a
// <symbol>'s path: a text's box is the union of its glyphs' outlines (their
// points, control points too, bound the ink), moved to where each is used.
struct box {
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    void add(const box& b, double x = 0, double y = 0) {
        *this = {std::min(left, x + b.left), std::min(top, y + b.top), std::max(right, x + b.right),
                 std::max(bottom, y + b.bottom)};
    }
};

double number_after(const std::string& svg, const std::string& key, std::size_t from = 0) {
    return std::strtod(svg.c_str() + svg.find(key, from) + key.size(), nullptr);
}

std::vector<box> texts_of(const std::string& svg) {
    std::vector<box> found{{0, 0, number_after(svg, "width=\""), number_after(svg, "height=\"")}};
    std::map<std::string, box> glyphs;
    for (std::size_t at = 0;
         (at = svg.find("<symbol overflow=\"visible\" id=\"", at)) != std::string::npos;) {
        at += 31;
        const std::size_t d = svg.find(" d=\"", at) + 4;
        std::istringstream path(svg.substr(d, svg.find('"', d) - d));
        std::vector<double> xy;
        for (std::string word; path >> word;)
            if (std::isdigit(static_cast<unsigned char>(word.back())))
                xy.push_back(std::strtod(word.c_str(), nullptr));
        box& glyph = glyphs[svg.substr(at, svg.find('"', at) - at)];
        for (std::size_t i = 0; i + 1 < xy.size(); i += 2)
            glyph.add({xy[i], xy[i + 1], xy[i], xy[i + 1]});
    }
    for (std::size_t at = 0; (at = svg.find("<g style=\"fill:", at)) != std::string::npos;) {
        const std::size_t end = svg.find("</g>", at);
        box text;
        for (std::size_t use = at; (use = svg.find("<use xlink:href=\"#", use)) < end;) {
            use += 18;
            text.add(glyphs[svg.substr(use, svg.find('"', use) - use)],
                     number_after(svg, " x=\"", use), number_after(svg, " y=\"", use));
        }
        if (text.left <= text.right)
            found.push_back(text);
        at = end;
    }
    return found;
}

// In every view, for decks of 1 to 5050 cards, each text lies inside the
// picture and clear of every other: no title cut off, no label written
// over another.
TEST(Picture, NoTextLeavesThePictureOrMeetsAnother) {
    const std::string svg = temporary("texts.svg");
    std::vector<std::string> commands{"--view mix 1,2..4,52,1000,5050",
                                      "--packets 1 --first-card bottom --cards 1 1"};
    for (const int m : {1, 2, 3, 4, 5, 8, 13, 52, 60, 61, 100, 520, 1010, 5050}) {
        const std::string cards = " " + std::to_string(m);
        commands.insert(commands.end(),
                        {"--routine 'cut 1'" + cards, "--view map --routine 'cut 1'" + cards,
                         "--view mix" + cards});
        if (m <= 8)
            commands.push_back("--routine 'faro out' --card 0 --card " + std::to_string(m - 1) +
                               " --from 123456789012" + cards + " 3");
        if (m <= 520)
            commands.insert(
                commands.end(),
                {"--view chances --routine riffle --card 0" + cards,
                 "--view chances --from-top --routine 'faro out' --card 0" + cards + " 0"});
        if (m <= 52)
            commands.push_back("--view chances --routine 'riffle; cut 1'" + cards);
    }
    for (const std::string& arguments : commands) {
        const std::string command =
            std::string(PICTURE_PROGRAM) + " -f svg -o " + svg + " " + arguments;
        ASSERT_EQ(std::system(command.c_str()), 0) << arguments;
        std::ifstream in(svg);
        const std::vector<box> texts = texts_of({std::istreambuf_iterator<char>(in), {}});
        ASSERT_GT(texts.size(), 3u) << arguments;
        const box& canvas = texts[0];
        for (std::size_t i = 1; i < texts.size(); ++i) {
            const box& a = texts[i];
            EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= canvas.right &&
                        a.bottom <= canvas.bottom)
                << arguments << ": text " << i << " leaves the picture";
            for (std::size_t j = 1; j < i; ++j)
                EXPECT_FALSE(a.left < texts[j].right && texts[j].left < a.right &&
                             a.top < texts[j].bottom && texts[j].top < a.bottom)
                    << arguments << ": texts " << j << " and " << i << " meet";
        }
    }
}

TEST(Colormap, ReadsInOrderInGray) {
    double previous = -1;
    for (int i = 0; i <= 1000; ++i) {
        const double gray = colors::luminance(colors::colormap(i / 1000.0));
        ASSERT_GT(gray, previous) << "at " << i / 1000.0;
        previous = gray;
    }
}

} // namespace
