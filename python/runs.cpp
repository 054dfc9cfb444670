// Rounds played: the deck and a card's place after any number of rounds of
// an exact routine, by a jump along the cycles however large the number; a
// card followed through chosen piles; and a run of a routine with moves by
// chance, drawn from a seed as deal-after --seed draws it.
#include <pybind11/stl.h>
#include <random>

#include "deal/cycles.hpp"
#include "deal/follow.hpp"
#include "deal/round_number.hpp"
#include "draw/run.hpp"
#include "python/decks.hpp"
#include "python/routines.hpp"
#include "text/count_words.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"

namespace python {

namespace {

void refuse_by_chance(const routine_value& r) {
    if (const int m = r.moves.first_by_chance(); m >= 0) {
        char move[text::rules_room + 32];
        text::move_text(r.moves.moves()[static_cast<std::size_t>(m)], move, sizeof move);
        value_error("move " + std::to_string(m + 1) + " of the routine, " +
                    shown_text(move, text::shown_length::move) +
                    ", is made by chance: run(seed) plays it, as deal-after --seed does");
    }
}

void refuse_backwards(const routine_value& r, const std::string& rounds) {
    if (!rounds.empty() && rounds[0] == '-' && !deal::runs_backwards(r.moves)) {
        char out[text::words_room];
        text::backwards_words(out, sizeof out,
                              shown_text(rounds, text::shown_length::value).c_str());
        value_error(out);
    }
}

deck_value told(std::vector<deal::card> deck, const routine_value& r, const deal::start& s) {
    s.place(deck.data(), deck.data());
    return {std::move(deck), deal::with_faces(r.moves, s)};
}

} // namespace

py::object after(const routine_value& r, some_ints rounds, maybe_deck deck) {
    refuse_by_chance(r);
    if (r.moves.follows_card())
        value_error("the routine gathers a chosen pile, which follows one card, and after() "
                    "answers for the whole deck: where(card, rounds) follows it");
    const deal::start s = start_of(deck, r.moves.cards);
    deal::cycles c;
    c.learn(deal::round_permutation(r.moves));
    deal::round_number n;
    n.learn(c);
    return for_rounds(rounds, r, [&](const std::string& text) {
        std::vector<deal::card> out(static_cast<std::size_t>(r.moves.cards));
        {
            py::gil_scoped_release unlocked;
            n.assign(text);
            c.jump(n, out.data());
        }
        return told(std::move(out), r, s);
    });
}

py::object where(const routine_value& r, a_card card, some_ints rounds, maybe_deck deck) {
    refuse_by_chance(r);
    const deal::start s = start_of(deck, r.moves.cards);
    const int from = s.position_of(card_number(card, r.moves.cards));
    const int top = r.moves.cards - 1;
    deal::round_number n;
    deal::cycles c;
    deal::follower f;
    if (r.moves.follows_card()) {
        f.learn(r.moves);
        f.start(from);
        n.learn(f.lengths());
    } else {
        c.learn(deal::round_permutation(r.moves));
        n.learn(c);
    }
    return for_rounds(rounds, r, [&](const std::string& text) {
        refuse_backwards(r, text);
        n.assign(text);
        if (r.moves.follows_card())
            return top - f.at(n);
        return top - c.after(from, n.modulo(c.cycle(c.cycle_of(from)).size()));
    });
}

namespace {

// A routine with moves by chance, played from a seed.
struct run_value {
    routine_value routine;
    deal::start start;
    std::uint64_t seed;
};

std::int64_t chance_round(py::handle round) {
    return bounded_integer(round, "number of rounds", 0, deal::max_chance_rounds);
}

// The rounds asked, each from 0 to the most a run is played to.
template <class Each>
py::object for_chance_rounds(py::handle rounds, Each each) {
    if (py::isinstance<py::str>(rounds) || !py::isinstance<py::iterable>(rounds))
        return as_object(each(chance_round(rounds)));
    py::list answers;
    for (const py::handle round : rounds)
        answers.append(each(chance_round(round)));
    return answers;
}

py::object run_after(const run_value& run, some_ints rounds) {
    draw::drawn_run drawn(run.routine.moves, run.seed, -1);
    return for_chance_rounds(rounds, [&](std::int64_t round) {
        std::vector<deal::card> deck;
        {
            py::gil_scoped_release unlocked;
            drawn.play_to(round);
            deck.assign(drawn.deck().begin(), drawn.deck().end());
        }
        return told(std::move(deck), run.routine, run.start);
    });
}

py::object run_where(const run_value& run, a_card card, some_ints rounds) {
    const int from = run.start.position_of(card_number(card, run.routine.moves.cards));
    draw::drawn_run drawn(run.routine.moves, run.seed, from);
    const int top = run.routine.moves.cards - 1;
    return for_chance_rounds(rounds, [&](std::int64_t round) {
        py::gil_scoped_release unlocked;
        drawn.play_to(round);
        const auto deck = drawn.deck();
        for (std::size_t p = 0; p < deck.size(); ++p)
            if (deal::number_of(deck[p]) == from)
                return top - static_cast<int>(p);
        return -1;
    });
}

run_value make_run(const routine_value& r, maybe_int seed, maybe_deck deck) {
    if (r.raised())
        value_error("a routine raised to a power past its moves is exact: after() and where() "
                    "answer for it");
    std::uint64_t drawn = 0;
    if (seed.is_none()) {
        std::random_device device;
        drawn = (std::uint64_t{device()} << 32) ^ device();
    } else {
        const std::string written = integer_text(seed, "seed");
        words w;
        const auto given = text::read_seed(written, shown, w.text, sizeof w.text);
        if (!given)
            w.raise();
        drawn = *given;
    }
    return {r, start_of(deck, r.moves.cards), drawn};
}

} // namespace

void bind_runs(py::module_& m, py::class_<routine_value>& c) {
    py::class_<run_value>(m, "Run", R"(A routine with moves by chance, played from a seed.

Routine.run(seed=None, deck=None): round r's chances are drawn from the seed
(0 to 2**64 - 1) as deal-after --seed draws them, the same on every
machine; without a seed one is drawn, and `seed` tells it, so that a run
worth keeping can be played again. Rounds from 0 to 1,000,000.)")
        .def_property_readonly(
            "seed", [](const run_value& run) { return run.seed; }, "The seed it is drawn from.")
        .def_property_readonly(
            "routine", [](const run_value& run) { return run.routine; }, "The routine played.")
        .def("after", &run_after, py::arg("rounds"),
             "The deck after `rounds` rounds, or a list for a range or iterable of them.")
        .def("where", &run_where, py::arg("card"), py::arg("rounds"),
             "Where `card` is after `rounds` rounds, from the top, 0 the top card.")
        .def("__repr__", [](const run_value& run) {
            return std::string(py::repr(py::cast(run.routine))) +
                   ".run(seed=" + std::to_string(run.seed) + ")";
        });
    c.def("run", &make_run, py::arg("seed") = py::none(), py::arg("deck") = py::none(),
          "A run of the routine drawn from `seed`: see Run.");
}

} // namespace python
