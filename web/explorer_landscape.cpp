// The period landscape: the period of the deal for every hand count it
// takes, or for the hands shown and every deck size, a slice at a time; and
// the period of one point, every digit.

#include <algorithm>
#include <cstddef>
#include <emscripten/emscripten.h>
#include <optional>
#include <vector>

#include "deal/cycles.hpp"
#include "deal/description.hpp"
#include "deal/hands.hpp"
#include "deal/limits.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/routine.hpp"
#include "web/dealt.hpp"
#include "web/fields.hpp"
#include "web/request.hpp"

namespace {

// What one point of the landscape is worked out with, kept from one point
// to the next, which a landscape of thousands of points makes count.
struct landscape_room {
    deal::routine fitted; // the routine, fitted to each deck
    deal::description deal;
    deal::hands dealt;
    deal::cycles cycles;
};

// The period at one point of the landscape: `x` hands, or the hands shown
// and `x` cards; nothing where a routine's moves do not fit x cards.
std::optional<deal::period> landscape_period(const web::fields& f, bool by_cards, int x,
                                             landscape_room& room) {
    if (f.routine_given) {
        if (!room.fitted.fit(x))
            return std::nullopt;
        room.cycles.learn(deal::round_permutation(room.fitted));
        return deal::period(room.cycles);
    }
    deal::description& d = room.deal;
    d.hands = by_cards ? f.described.hands : x;
    d.cards = static_cast<std::int32_t>(by_cards        ? x
                                        : f.cards_given ? f.rules.cards
                                                        : d.default_cards(x));
    room.dealt.deal(d);
    room.cycles.learn(deal::permutation(d, room.dealt));
    return deal::period(room.cycles);
}

// The hand counts or deck sizes the landscape shows: every deck size for a
// routine or where asked; else every hand count the deal takes, but with a
// deck of given size no more than it has cards, as every count past that
// deals it one card a hand, alike.
int landscape_count(const web::fields& f, bool by_cards) {
    if (by_cards)
        return deal::max_cards;
    const int most = f.most_hands();
    return f.cards_given ? std::min(most, static_cast<int>(f.rules.cards)) : most;
}

// Whether the landscape runs across deck sizes: a routine's always does.
bool across_cards(const web::request& r, const web::fields& f) {
    return f.routine_given || r["across"] == "cards";
}

} // namespace

extern "C" {

// The landscape: the period of the deal the fields describe for every hand
// count it takes, or for the hands shown and every deck size ("across" is
// "cards", and always for a routine), as base-2 logarithms, -1 where a
// routine does not fit the deck; the first for 1.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_landscape(const char* text, int length) {
    const web::request r(text, length);
    auto* a = new web::answer;
    web::fields f;
    if (!web::read_into(r, f, *a))
        return a;
    const bool by_cards = across_cards(r, f);
    // A round drawn afresh each time has no period: no landscape.
    const int most = f.chance ? 0 : landscape_count(f, by_cards);
    // The points from "from" to "to", all without them: the page asks for
    // a slice at a time, so as to answer between them. A bound outside the
    // landscape is taken as its nearest end.
    const auto bound = [&](const char* field, int otherwise, int least) {
        return r.has(field) && least <= most ? web::clamped(r, field, least, most) : otherwise;
    };
    const int from = std::max(1, bound("from", 1, 1));
    const int to = std::min(most, bound("to", most, from - 1));
    std::vector<float> values(static_cast<std::size_t>(std::max(0, to - from + 1)));
    landscape_room room{f.round, f.rules, {}, {}};
    for (int x = from; x <= to; ++x) {
        const auto p = landscape_period(f, by_cards, x, room);
        values[static_cast<std::size_t>(x - from)] = p ? static_cast<float>(p->log2()) : -1.0F;
    }
    a->key("count").integer(most);
    a->key("byCards").boolean(by_cards);
    a->key("values").floats(std::move(values));
    return a;
}

// The period of one point of the landscape, "x", every digit; "" where the
// routine does not fit so many cards.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_landscape_period(const char* text, int length) {
    const web::request r(text, length);
    auto* a = new web::answer;
    web::fields f;
    if (!web::read_into(r, f, *a))
        return a;
    const bool by_cards = across_cards(r, f);
    const int x = web::clamped(r, "x", 1, landscape_count(f, by_cards));
    landscape_room room{f.round, f.rules, {}, {}};
    const auto p = f.chance ? std::nullopt : landscape_period(f, by_cards, x, room);
    a->key("period").string(p ? web::period_string(*p) : "");
    return a;
}

} // extern "C"
