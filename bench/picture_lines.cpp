// Measures where the lines between rows stop being told apart, the figure
// behind picture::max_line_cards. For each deck, drawn with lines whatever
// its size, it reports how much of the band between two rows stays blank:
// while gaps remain, each line can be followed; near zero, they merge.
//
//   picture_lines [max hands]
#include <cairo.h>
#include <cstdio>
#include <cstdlib>

#include "deal/cycles.hpp"
#include "deal/description.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "picture/draw.hpp"
#include "picture/layout.hpp"

int main(int argc, char** argv) {
    const int most = argc > 1 ? std::atoi(argv[1]) : 60;
    std::printf("hands cards pitch  blank share between rows\n");
    static deal::cycles cycles;
    static deal::round_number first;
    for (int hands = 2; hands <= most; hands += hands < 12 ? 1 : 4) {
        const deal::description deal = deal::default_deal(hands);
        const deal::permutation round(deal);
        const deal::start start = deal::start::new_deck(deal.cards);
        cycles.learn(round);
        first.learn(cycles);
        const deal::period period(cycles);
        picture::layout l = picture::make_layout(deal.cards, 10);
        l.lines = true;
        l.row_pitch = 2 * l.pitch;
        l.radius = 0.4 * l.pitch;
        l.height = l.top + l.rows * l.row_pitch + 16;
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, l.width, l.height);
        cairo_t* cr = cairo_create(s);
        const picture::scene scene{&deal,   nullptr, &round, &cycles,
                                   &period, &first,  "0",    picture::coloring::start,
                                   {},      &start,  false};
        picture::draw(cr, l, scene);
        cairo_destroy(cr);
        cairo_surface_flush(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        long blank = 0, all = 0;
        // The middle third of every band between rows, across the deck.
        for (int row = 1; row < l.rows; ++row) {
            const int y0 = static_cast<int>(l.y(row - 1) + l.row_pitch / 3.0);
            const int y1 = static_cast<int>(l.y(row) - l.row_pitch / 3.0);
            for (int y = y0; y < y1; ++y) {
                const auto* line = reinterpret_cast<const unsigned*>(data + y * stride);
                for (int x = l.left; x < l.left + l.cards * l.pitch; ++x, ++all)
                    blank += (line[x] & 0xffffff) == 0xffffff;
            }
        }
        std::printf("%5d %5d %5d  %5.1f %%\n", hands, l.cards, l.pitch,
                    100.0 * static_cast<double>(blank) / static_cast<double>(all));
        cairo_surface_destroy(s);
    }
}
