// The pictures of chance, laid out as deal-picture lays them out: where a
// card may be, round by round or for every card of a pack, and how far
// riffles leave decks from random.
#include <algorithm>
#include <cmath>
#include <memory>

#include "colors/colormap.hpp"
#include "exact/chances.hpp"
#include "exact/mixing.hpp"
#include "exact/place_chances.hpp"
#include "python/decks.hpp"
#include "python/pictures.hpp"
#include "text/cards.hpp"
#include "text/routine_words.hpp"

namespace python {

namespace {

// The title's deck, as deal-picture writes it.
std::string deck_words(int cards) {
    return "a deck of " + std::to_string(cards) + (cards == 1 ? " card" : " cards");
}

// "52 cards", "13, 52 and 208 cards".
std::string sizes_words(const std::vector<int>& sizes) {
    std::string words;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        words += (i == 0 ? "" : i + 1 == sizes.size() ? " and " : ", ") + std::to_string(sizes[i]);
    return words + (sizes.size() == 1 && sizes[0] == 1 ? " card" : " cards");
}

} // namespace

picture_value draw_chances(const routine_value& r, maybe_card card, maybe_int rounds,
                           maybe_deck deck, bool from_top) {
    const int cards = r.moves.cards;
    if (r.raised())
        value_error("draw_chances() draws a routine's rounds one by one: give its moves");
    if (cards > deal::max_exact_chance_cards || (card.is_none() && cards > deal::max_playing_cards))
        value_error("the chances view draws decks of up to " +
                    std::to_string(deal::max_exact_chance_cards) + " cards, and " +
                    std::to_string(deal::max_playing_cards) +
                    " for every starting position; the deck holds " + std::to_string(cards));
    const deal::start s = start_of(deck, cards);
    const std::int64_t most = exact::exact_chance_rounds(r.moves);
    const std::int64_t count = rounds.is_none()
                                   ? std::min<std::int64_t>(card.is_none() ? 1 : 10, most)
                                   : bounded_integer(rounds, "number of rounds", 0, most);
    auto heat = std::make_shared<picture::heat>();
    picture::label_columns(*heat, cards, from_top);
    const std::string words = moves_text(r.moves);
    mpq_class largest = 0;
    const auto add_row = [&](const exact::card_chances& c) {
        for (int p = 0; p < cards; ++p) {
            const mpq_class chance(c.numerator(p), c.denominator());
            heat->chances.push_back(chance.get_d());
            if (chance > largest)
                largest = chance;
        }
        ++heat->rows;
    };
    const int from = card.is_none() ? -1 : s.position_of(card_number(card, cards));
    py::gil_scoped_release unlocked;
    if (from >= 0) {
        exact::card_chances c(r.moves, from);
        for (std::int64_t k = 0; k <= count; ++k) {
            c.play_to(k);
            add_row(c);
        }
        heat->row_label = "round";
        const int number = deal::number_of(s[from]);
        std::string name = std::to_string(number);
        if (cards <= deal::max_playing_cards) {
            char face[text::card_name_room];
            name += std::string(" (") + text::card_name(number, face) + ")";
        }
        heat->title =
            "Where card " + name + " may be in " + deck_words(cards) + ", round by round: " + words;
    } else {
        for (int p = 0; p < cards; ++p) {
            exact::card_chances c(r.moves, p);
            c.play_to(count);
            add_row(c);
        }
        heat->row_label = "starting position";
        heat->title = "Where each card of " + deck_words(cards) + " may be after " +
                      std::to_string(count) + " round" + (count == 1 ? "" : "s") + ": " + words;
    }
    heat->largest = exact::decimals(largest, 3);
    heat->quarter = exact::decimals(largest / 4, 3);
    return {[heat](picture::format f, cairo_write_func_t w, void* c) {
                return picture::render(f, *heat, w, c);
            },
            heat->title};
}

picture_value draw_mix(some_ints sizes, maybe_int shuffles, an_int packets) {
    auto curves = std::make_shared<picture::curves>();
    const py::list given = PyIndex_Check(sizes.ptr())
                               ? py::list(py::make_tuple(sizes))
                               : py::list(py::reinterpret_borrow<py::object>(sizes));
    for (const py::handle size : given)
        curves->sizes.push_back(
            static_cast<int>(bounded_integer(size, "card count", 1, deal::max_cards)));
    if (curves->sizes.empty() ||
        curves->sizes.size() > static_cast<std::size_t>(colors::followed_colors))
        value_error("the mixing curves draw 1 to " + std::to_string(colors::followed_colors) +
                    " deck sizes");
    const int a =
        static_cast<int>(bounded_integer(packets, "packet count", 2, deal::max_riffle_packets));
    // Without a count, three times the binary digits of the largest deck.
    const int largest = *std::max_element(curves->sizes.begin(), curves->sizes.end());
    const int count =
        shuffles.is_none()
            ? std::min(deal::max_shuffles, 3 * static_cast<int>(std::ceil(std::log2(largest + 1))))
            : static_cast<int>(bounded_integer(shuffles, "riffle count", 1, deal::max_shuffles));
    {
        py::gil_scoped_release unlocked;
        for (const int cards : curves->sizes) {
            const exact::riffles law(cards, a);
            auto& d = curves->distances.emplace_back();
            for (int k = 0; k <= count; ++k)
                d.push_back(law.total_variation_value(k));
        }
    }
    curves->title = a == 2 ? "How many riffles mix a deck: the total variation distance from a "
                             "random deck"
                           : "How many riffles into " + std::to_string(a) +
                                 " packets mix a deck: the distance from a random deck";
    return {[curves](picture::format f, cairo_write_func_t w, void* c) {
                return picture::render(f, *curves, w, c);
            },
            curves->title + ", for " + sizes_words(curves->sizes)};
}

} // namespace python
