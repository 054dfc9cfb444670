// Chance, exactly: where a card may be after rounds of any routine, as
// deal-after --chances works it out; how far riffles leave a deck from a
// random one, as deal-mix does, from no riffle on; and the cutoff.
#include "exact/chances.hpp"

#include <pybind11/stl.h>

#include "exact/mixing.hpp"
#include "exact/place_chances.hpp"
#include "python/decks.hpp"
#include "python/routines.hpp"
#include "text/integer_text.hpp"

namespace python {

namespace {

// Each chance as a whole number over the common denominator, from the top.
py::dict exact_spread(const exact::card_chances& c, int cards) {
    py::dict spread;
    for (int i = 0; i < cards; ++i)
        if (const mpz_class& n = c.numerator(cards - 1 - i); n != 0)
            spread[py::int_(i)] = to_fraction(mpq_class(n, c.denominator()));
    return spread;
}

py::dict rounded_spread(const exact::place_chances::written& w, int cards, std::int64_t round,
                        int digits) {
    if (w.unsettled >= 0)
        value_error("the chance of position " + std::to_string(cards - 1 - w.unsettled) +
                    " after round " + std::to_string(round) +
                    " lies too close to halfway between two numbers of " + std::to_string(digits) +
                    " decimals to be rounded: give other digits");
    const py::object fraction = py::module_::import("fractions").attr("Fraction");
    py::dict spread;
    for (int i = 0; i < cards; ++i)
        if (const auto& chance = w.chances[static_cast<std::size_t>(cards - 1 - i)])
            spread[py::int_(i)] = fraction(py::str(*chance));
    return spread;
}

py::object chances(const routine_value& r, a_card card, some_ints rounds, maybe_deck deck,
                   maybe_int digits_given) {
    const deal::routine& moves = r.moves;
    const int from = start_of(deck, moves.cards).position_of(card_number(card, moves.cards));
    const std::int64_t exact_rounds = exact::exact_chance_rounds(moves);
    const std::int64_t most = exact::most_chance_rounds(moves);
    const int digits = digits_given.is_none()
                           ? -1
                           : static_cast<int>(bounded_integer(digits_given, "decimal count", 0,
                                                              deal::max_chance_digits));
    std::optional<exact::card_chances> exact;
    std::optional<exact::place_chances> rounded;
    return for_rounds(rounds, r, [&](const std::string& text) {
        const std::int64_t round =
            bounded_integer(py::int_(py::str(text)), "number of rounds", 0, most);
        if (digits < 0 && round > exact_rounds)
            value_error("round " + text + " is past the " + std::to_string(exact_rounds + 1) +
                        " rounds, from 0, whose chances are worked out exactly on " +
                        std::to_string(moves.cards) +
                        " cards: give digits=D for chances "
                        "exactly rounded to D decimals");
        if (digits < 0) {
            if (!exact)
                exact.emplace(moves, from);
            {
                py::gil_scoped_release unlocked;
                exact->play_to(round);
            }
            return exact_spread(*exact, moves.cards);
        }
        if (!rounded)
            rounded.emplace(moves, from, digits);
        exact::place_chances::written w;
        {
            py::gil_scoped_release unlocked;
            w = rounded->after(round);
        }
        return rounded_spread(w, moves.cards, round, digits);
    });
}

int cards_of(py::handle cards) {
    return static_cast<int>(bounded_integer(cards, "card count", 1, deal::max_cards));
}

int packets_of(py::handle packets) {
    return static_cast<int>(bounded_integer(packets, "packet count", 2, deal::max_riffle_packets));
}

// (k, total variation, separation) for each k asked, exactly.
py::list mix(py::handle cards, const py::list& shuffles, py::handle packets) {
    std::vector<int> asked;
    for (const py::handle k : shuffles)
        asked.push_back(
            static_cast<int>(bounded_integer(k, "riffle count", 0, deal::max_shuffles)));
    const int size = cards_of(cards), a = packets_of(packets);
    std::vector<std::pair<mpq_class, mpq_class>> distances;
    {
        py::gil_scoped_release unlocked;
        const std::vector<mpz_class> eulerian = exact::eulerian_numbers(size);
        for (const int k : asked)
            distances.emplace_back(exact::exact_total_variation(size, a, k, eulerian),
                                   exact::exact_separation(size, a, k));
    }
    py::list rows;
    for (std::size_t i = 0; i < asked.size(); ++i)
        rows.append(py::make_tuple(asked[i], to_fraction(distances[i].first),
                                   to_fraction(distances[i].second)));
    return rows;
}

int cutoff(an_int cards, an_int packets, bool separation) {
    const int size = cards_of(cards), a = packets_of(packets);
    py::gil_scoped_release unlocked;
    const exact::riffles law(size, a);
    int k = 0;
    while (!(separation ? law.separation_under_half(k) : law.under_half(k)))
        ++k;
    return k;
}

} // namespace

void bind_chances(py::module_& m) {
    m.def("chances", &chances, py::arg("routine"), py::arg("card"), py::arg("rounds"),
          py::kw_only(), py::arg("deck") = py::none(), py::arg("digits") = py::none(),
          "Where `card` may be after `rounds` rounds of `routine`, and with what chance: a dict "
          "from each position it may be at, from the top (0 the top card), to a Fraction. Exact "
          "wherever deal-after --chances works the chances out exactly (decks of up to 520 "
          "cards, while the riffles are few enough); with digits=D, every chance exactly rounded "
          "to D decimals, as deal-after --chances --digits D writes it, as far as it goes "
          "(5050 cards, 1000 rounds). A list for a range or iterable of rounds.");
    m.def("_mix", &mix);
    m.def("cutoff", &cutoff, py::arg("cards"), py::kw_only(), py::arg("packets") = 2,
          py::arg("separation") = false,
          "The fewest riffles (into `packets` packets) that bring the total variation distance "
          "of a deck of `cards` cards from a random one under 1/2, or with separation=True the "
          "separation distance: deal-mix --cutoff.");
}

} // namespace python
