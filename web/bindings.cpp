// The explorer page's view of the core: the same deal, cycles, period,
// listing and words as the command-line programs, behind a C interface of a
// few calls. Each takes what the page shows, as a request, and gives back an
// answer that the page reads and frees: no call depends on another, and the
// core keeps nothing between them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <emscripten/emscripten.h>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "colors/colormap.hpp"
#include "deal/cycles.hpp"
#include "deal/description.hpp"
#include "deal/follow.hpp"
#include "deal/hands.hpp"
#include "deal/narrowing.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"
#include "deal/search.hpp"
#include "deal/start.hpp"
#include "draw/run.hpp"
#include "floating/riffle_curve.hpp"
#include "floating/spread.hpp"
#include "text/appender.hpp"
#include "text/cards.hpp"
#include "text/count_words.hpp"
#include "text/cycle_words.hpp"
#include "text/deal_words.hpp"
#include "text/deck_words.hpp"
#include "text/digits.hpp"
#include "text/integer_text.hpp"
#include "text/listing.hpp"
#include "text/option_words.hpp"
#include "text/routine_words.hpp"
#include "views/limits.hpp"
#include "web/answer.hpp"
#include "web/cells.hpp"
#include "web/request.hpp"

namespace {

// A round number is typed, kept in the address bar and shown whole; beyond
// this many digits it stops being something a person reads or shares.
constexpr std::size_t max_round_digits = 1000;
// Rows the page may ask for at once: more than any window has room for.
constexpr int max_rows = 512;
// Up to this many cards a round is dealt before the eyes, card by card, as
// many as a row shows as dots.
constexpr int max_dealt_cards = views::max_line_cards;
// Following a card through chosen piles, rounds run from 0 to this.
constexpr std::int64_t most_trick_round = 1'000'000'000'000'000'000;
// The room a search's table of moves may take on the page: a deck of 52
// takes the most moves a search allows, a larger deck proportionally fewer.
constexpr std::size_t solve_room = std::size_t{1} << 22;
// The followed card's chances beside the rows of a routine with moves by
// chance are worked out up to this many steps, rounds times riffles times
// the deck's size squared: a tenth of a second or so.
constexpr std::int64_t max_drawn_chances_work = 20'000'000;
// The hands of a routine of many deals are cut short past this many bytes.
constexpr std::size_t hands_room = 4 * text::listing_room_max;

// A value as a message shows it: in quotation marks, cut after 24 bytes (a
// routine's move after 60).
const char* shown_value(std::string_view value, text::shown_length length, char* out,
                        std::size_t room) {
    const std::size_t most = length == text::shown_length::move ? 60 : 24;
    const bool cut = value.size() > most;
    std::snprintf(out, room, "\xe2\x80\x9c%.*s%s\xe2\x80\x9d",
                  static_cast<int>(cut ? most - 1 : value.size()), value.data(),
                  cut ? "\xe2\x80\xa6" : "");
    return out;
}

std::string shown(std::string_view value) {
    char buffer[128];
    return shown_value(value, text::shown_length::value, buffer, sizeof buffer);
}

std::uint32_t rgba(colors::color c) {
    const std::uint32_t rgb = colors::rgb(c);
    return (rgb >> 16 & 0xff) | (rgb & 0xff00) | (rgb & 0xff) << 16 | 0xffu << 24;
}

// The text from `from` up to `to`; the libc++ of the WebAssembly build has no
// string_view made from two pointers.
std::string_view between(const char* from, const char* to) {
    return {from, static_cast<std::size_t>(to - from)};
}

std::vector<std::int32_t> widened(std::span<const std::int16_t> values) {
    return {values.begin(), values.end()};
}

// ---- the fields ---------------------------------------------------------------

// The round the fields describe, read as the programs read their options, or
// the first field at fault and what is wrong with it.
struct fields {
    std::string fault_field, fault;
    deal::description rules;
    bool cards_given = false;
    bool own_deal = true;
    bool routine_given = false;
    // Whether a move of the routine is made by chance, and the seed its
    // chances are drawn from.
    bool chance = false;
    std::uint64_t seed = 0;
    // The routine, or the deal as a routine of one deal move.
    deal::routine round;
    // The deal dealt on screen: the deal's, or a routine's that is a single
    // deal move; and its hand count, 0 for any other routine.
    deal::description described;
    int dealt_hands = 0;
    int size = 0;
    // The deck the run starts from: new deck order, or the Deck field's.
    deal::start start;

    bool ok() const { return fault_field.empty(); }
    bool faulted(const char* field, const char* words) {
        fault_field = field;
        fault = words;
        return false;
    }
    // The deal of `hands` hands with the fields' other values.
    deal::description deal_of(std::int64_t hands) const {
        return rules.dealt_to(hands, cards_given ? std::optional<std::int64_t>{rules.cards}
                                                 : std::nullopt);
    }
    // The most hands the deal supports; the page draws no empty deck.
    int most_hands() const {
        std::int64_t most = deal::hand_limits(own_deal, cards_given).most;
        if (!cards_given)
            most = std::min<std::int64_t>(most, deal::max_cards / rules.cards_per_hand());
        return static_cast<int>(most);
    }
};

// The Deck field's deck for the deck of the fields, into `f`; false where it
// does not fit.
bool read_start(const web::request& r, fields& f) {
    const std::string_view order = r["deck"];
    if (order.find_first_not_of(" \t,") == std::string_view::npos) {
        f.start = deal::start::new_deck(f.size);
        return true;
    }
    std::vector<deal::card> bottom_first;
    char words[text::words_room];
    if (!text::read_deck(order, f.size, bottom_first, shown_value, words, sizeof words))
        return f.faulted("deck", words);
    f.start = deal::start(std::move(bottom_first));
    return true;
}

bool read_fields(const web::request& r, fields& f) {
    char words[text::words_room];
    if (!text::read_deal_option(text::deal_option::packets, r["packets"], f.rules, shown_value,
                                words, sizeof words))
        return f.faulted("packets", words);
    if (const std::string_view cards = r["cards"]; !cards.empty()) {
        const auto count = text::read_integer(cards, "card count", 1, deal::max_cards, shown_value,
                                              words, sizeof words);
        if (!count)
            return f.faulted("cards", words);
        f.cards_given = true;
        f.rules.cards = static_cast<std::int32_t>(*count);
    }
    // A deck that says its size, a stack or a list, is the deal's deck where
    // the Cards field does not say otherwise, as --deck is.
    if (const auto size = text::deck_size(r["deck"]); size && !f.cards_given) {
        f.cards_given = true;
        f.rules.cards = *size;
    }
    for (const auto& [option, field] : {std::pair{text::deal_option::rest, "rest"},
                                        std::pair{text::deal_option::first_card, "first-card"},
                                        std::pair{text::deal_option::bottom_hand, "bottom-hand"}}) {
        const std::string_view value = r[field];
        if (!value.empty() &&
            !text::read_deal_option(option, value, f.rules, shown_value, words, sizeof words))
            return f.faulted(field, words);
    }
    f.own_deal = !f.cards_given && f.rules.default_rules();

    // A routine's deck is the Cards field's, a pack where it is empty, and its
    // deals carry their own hands: the Hands field waits until it is cleared.
    const std::string_view routine = r["routine"];
    f.routine_given = routine.find_first_not_of(" \t") != std::string_view::npos;
    if (f.routine_given) {
        const int cards = f.cards_given ? f.rules.cards : deal::max_playing_cards;
        if (!text::read_routine(routine, cards, f.round, shown_value, words, sizeof words))
            return f.faulted("routine", words);
        f.chance = f.round.first_by_chance() >= 0;
        if (f.chance) {
            const auto seed = text::read_seed(r["seed"], shown_value, words, sizeof words);
            if (!seed)
                return f.faulted("seed", words);
            f.seed = *seed;
        }
        const auto moves = f.round.moves();
        const bool one_deal = moves.size() == 1 && moves[0].kind == deal::move_kind::deal;
        f.described = one_deal ? moves[0].deal : deal::description{};
        f.dealt_hands = one_deal ? f.described.hands : 0;
        f.size = f.round.cards;
        return read_start(r, f);
    }
    text::integer_text count;
    if (!text::parse_integer(r["hands"], count)) {
        text::not_integer_words(words, sizeof words, shown(r["hands"]).c_str(), "hand count");
        return f.faulted("hands", words);
    }
    if (!text::check_hand_count(count, f.rules, f.own_deal, f.cards_given, 1, words, sizeof words))
        return f.faulted("hands", words);
    f.described = f.deal_of(count.value());
    f.dealt_hands = f.described.hands;
    f.size = f.described.cards;
    f.round.cards = f.size;
    deal::move m;
    m.kind = deal::move_kind::deal;
    m.deal = f.described;
    f.round.add(m);
    return read_start(r, f);
}

// A round number typed, as deal-after takes it, and whether the round shown
// follows a card through chosen piles: then it runs from 0 to
// most_trick_round. What is wrong with it, or nothing.
struct round_reading {
    std::string fault;
    bool trick = false;
    std::int64_t trick_round = 0;
};

// A round of `round`, with the card starting at `followed` (-1 for none)
// followed: a trick where that card's pile is gathered where the routine
// says, which runs forwards only.
round_reading read_round(std::string_view text, const deal::routine& round, int followed) {
    round_reading reading;
    const bool trick = reading.trick = !deal::runs_backwards(round) && followed >= 0;
    const std::size_t signed_ = !text.empty() && (text[0] == '+' || text[0] == '-');
    text::integer_text checked;
    if (text.empty()) {
        reading.fault = "type a round number, such as 0, 12 or -1";
    } else if (text.size() - signed_ > max_round_digits &&
               text.find_first_not_of("0123456789", signed_) == std::string_view::npos) {
        reading.fault = "a round number has at most " + std::to_string(max_round_digits) +
                        " digits; this one has " + std::to_string(text.size() - signed_);
    } else if (!text::parse_integer(text, checked)) {
        reading.fault = shown(text) + " is not a whole number";
    } else if (trick && checked.value() < 0) {
        char words[text::words_room];
        text::backwards_words(words, sizeof words, shown(text).c_str());
        reading.fault = words;
    } else if (trick && (checked.value() > most_trick_round || text.size() - signed_ > 19)) {
        reading.fault = "with a chosen pile, rounds run from 0 to 10\xc2\xb9\xe2\x81\xb8";
    } else if (trick) {
        reading.trick_round = checked.value();
    }
    return reading;
}

// The card followed, typed by number or name, for a deck of `size`: the
// card, or -1 for none, or the fault.
struct card_reading {
    std::string fault;
    int card = -1;
};

card_reading read_followed(std::string_view given, int size) {
    card_reading reading;
    if (given.empty())
        return reading;
    const text::card_reading card = text::read_card(given, size);
    if (card.fault == text::card_reading::none) {
        reading.card = card.card;
        return reading;
    }
    char words[text::words_room];
    text::card_fault_words(words, sizeof words, card, shown(given).c_str(), size);
    reading.fault = words;
    return reading;
}

// The position a request names by number, where it is one of a deck of
// `size`; -1 for none.
int position_in(std::string_view text, int size) {
    text::integer_text n;
    return text::parse_integer(text, n) && n.value() >= 0 && n.value() < size
               ? static_cast<int>(n.value())
               : -1;
}

bool faces_asked(const web::request& r, const fields& f) {
    return r["faces"] == "1" && f.size <= deal::max_playing_cards;
}

// A deal's answer, which the page keeps while the deal is shown and hands
// back to ask for rows of it: what was learnt of the round stays with it.
struct deal_answer : web::answer {
    fields f;
    deal::permutation round;
    deal::cycles cycles;
    deal::round_number rounds; // learnt for the cycles, with no number read
    // The hands each move deals, none for a move that is no deal, and each
    // move's permutation where no card is followed.
    std::vector<deal::hands> dealt;
    std::vector<deal::permutation> moves;
};

// `count` cards and a newline, as numbers or as names, written where they go;
// with `marks`, a '^' after each face-up card and a blank after the others.
void write_cards(std::string& out, const deal::card* cards, int count, bool faces, bool marks) {
    const std::size_t at = out.size();
    out.resize(at + std::max(text::marked_listing_room(count), text::faces_room(count)));
    char* const line = out.data() + at;
    char* end = faces   ? text::format_faces(cards, count, line, marks)
                : marks ? text::format_marked_cards(cards, count, line)
                        : text::format_cards(cards, count, line);
    *end++ = '\n';
    out.resize(static_cast<std::size_t>(end - out.data()));
}

// The hands of each deal move of the round, `deck` its deck, as deal-after
// --hands prints them: after "move N: MOVE" where it deals twice or more.
std::string hands_text(const deal_answer& learnt, std::vector<deal::card> deck, int at, bool faces,
                       bool marks, const std::vector<deal::permutation>* drawn = nullptr) {
    const fields& f = learnt.f;
    const auto moves = f.round.moves();
    const bool name = f.round.deal_count() > 1;
    std::string out;
    std::vector<deal::card> hand, next(deck.size());
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (moves[i].kind == deal::move_kind::deal) {
            if (name) {
                char line[text::rules_room + 32];
                text::appender a(line, sizeof line);
                a.add("move %zu: ", i + 1);
                text::move_text(moves[i], a.at, static_cast<std::size_t>(a.end - a.at) + 1);
                out += line;
                out += '\n';
            }
            // Many deals of a large deck are cut short where the room ends.
            if (out.size() > hands_room)
                break;
            const deal::hands& dealt = learnt.dealt[i];
            for (int h = 0; h < dealt.count(); ++h) {
                hand.clear();
                for (const std::int16_t p : dealt.hand(h))
                    hand.push_back(deck[static_cast<std::size_t>(p)]);
                write_cards(out, hand.data(), static_cast<int>(hand.size()), faces, marks);
            }
        }
        if (i + 1 < moves.size()) {
            // Where a card is followed, its place may change how a deal
            // gathers; else each move is what was learnt.
            const deal::permutation followed = at >= 0 && !drawn
                                                   ? deal::move_permutation(moves[i], f.size, at)
                                                   : deal::permutation();
            const deal::permutation& p = drawn ? (*drawn)[i] : at >= 0 ? followed : learnt.moves[i];
            p.apply(deck.data(), next.data());
            deck.swap(next);
            at = at >= 0 ? p[at] : -1;
        }
    }
    return out;
}

// The integer field `field` of `r`, within `least` to `most`: the page's
// own numbers, which it keeps in range, read without a fault.
int clamped(const web::request& r, const char* field, int least, int most) {
    return std::clamp(static_cast<int>(std::strtol(std::string(r[field]).c_str(), nullptr, 10)),
                      least, most);
}

// The round number of a routine with moves by chance, 0 to
// deal::max_chance_rounds, or the fault in `words`.
std::optional<std::int64_t> chance_round(const web::request& r, char* words, std::size_t room) {
    return text::read_integer(r["round"], "round number", 0, deal::max_chance_rounds, shown_value,
                              words, room);
}

// Room in `a` for the rows asked ("count" of them, 1 to max_rows, and to
// `most`) of a deck of `size`.
std::span<std::int32_t> rows_room(web::answer& a, const web::request& r, int size,
                                  std::int64_t most = max_rows) {
    const int count =
        clamped(r, "count", 1, static_cast<int>(std::min<std::int64_t>(max_rows, most)));
    return a.key("rows").ints_room(static_cast<std::size_t>(count) *
                                   static_cast<std::size_t>(size));
}

// The rows of `rows`, each a deck of `size`, that are in the starting order.
std::vector<std::int32_t> starting_rows(std::span<const std::int32_t> rows, int size) {
    const auto stride = static_cast<std::size_t>(size);
    std::vector<std::int32_t> start(stride), found;
    std::iota(start.begin(), start.end(), 0);
    for (std::size_t i = 0; i * stride < rows.size(); ++i)
        if (std::equal(start.begin(), start.end(),
                       rows.begin() + static_cast<std::ptrdiff_t>(i * stride)))
            found.push_back(static_cast<std::int32_t>(i));
    return found;
}

// The first row's listing and the hands the next round deals from it (each
// move's permutation `drawn`, where the round is drawn), the followed card at
// `at`; then each row's cards by where they start, a face turned up where it
// lies so, its start's face and the turns since both counted.
void finish_rows(web::answer& a, const deal_answer& deal, const web::request& r,
                 std::span<std::int32_t> rows, int at,
                 const std::vector<deal::permutation>* drawn = nullptr) {
    const fields& f = deal.f;
    const bool faces = faces_asked(r, f);
    const bool marks = f.round.turns_cards() || f.start.any_face_up();
    std::vector<deal::card> deck(static_cast<std::size_t>(f.size));
    f.start.place(rows.data(), deck.data());
    std::string listing;
    write_cards(listing, deck.data(), f.size, faces, marks);
    listing.pop_back(); // the newline
    a.key("listing").utf8(std::move(listing));
    a.key("hands").utf8(hands_text(deal, deck, at, faces, marks, drawn));
    if (f.start.any_face_up())
        for (std::int32_t& c : rows)
            c ^= f.start[deal::number_of(c)] & deal::face_up;
}

// The rows of a routine with moves by chance, as deal-after --seed plays it:
// the decks of the rounds asked, drawn from the seed; the first row's
// listing and the hands the next round deals from it; and with a card
// followed, its chance of being at each position, row by row ("chances",
// where the work is small enough for a click).
web::answer* chance_rows(const deal_answer& deal, const web::request& r, int followed) {
    auto* a = new web::answer;
    const fields& f = deal.f;
    char words[text::words_room];
    const auto first = chance_round(r, words, sizeof words);
    a->key("round").string(first ? "" : words);
    if (!first)
        return a;
    const int size = f.size;
    const auto stride = static_cast<std::size_t>(size);
    // The rows end where deal-after ends such a routine.
    const std::span<std::int32_t> rows =
        rows_room(*a, r, size, deal::max_chance_rounds - *first + 1);
    const int count = static_cast<int>(rows.size() / stride);
    a->key("trick").boolean(false);
    draw::drawn_run run(f.round, f.seed, followed);
    for (int i = 0; i < count; ++i) {
        run.play_to(*first + i);
        const auto deck = run.deck();
        std::copy(deck.begin(), deck.end(), rows.data() + static_cast<std::size_t>(i) * stride);
    }
    std::vector<std::int32_t> returns = starting_rows(rows, size);
    a->key("firstReturn").integer(returns.empty() ? -1 : returns.front());
    a->key("returns").ints(std::move(returns));
    const std::int64_t riffles = f.round.count_of(deal::move_kind::riffle);
    if (followed >= 0 && (*first + count) * std::max<std::int64_t>(riffles, 1) * size * size <=
                             max_drawn_chances_work) {
        floating::spread<double> spread(f.round, followed);
        std::vector<float> chances;
        chances.reserve(rows.size());
        for (int i = 0; i < count; ++i) {
            spread.play_to(*first + i);
            for (const double c : spread.chances())
                chances.push_back(static_cast<float>(c));
        }
        a->key("chances").floats(std::move(chances));
    }
    run.play_to(*first);
    const std::vector<deal::permutation> drawn = run.next_moves();
    finish_rows(*a, deal, r, rows, run.followed_at(), &drawn);
    return a;
}

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
std::optional<deal::period> landscape_period(const fields& f, bool by_cards, int x,
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
int landscape_count(const fields& f, bool by_cards) {
    if (by_cards)
        return deal::max_cards;
    const int most = f.most_hands();
    return f.cards_given ? std::min(most, static_cast<int>(f.rules.cards)) : most;
}

std::string period_text(const deal::period& p) {
    char digits[text::period_digits];
    return {text::period_text(p, digits + sizeof digits), digits + sizeof digits};
}

// Reads the fields of `r` into `f` and says in `a` what is wrong with them,
// if anything ("fault": null, or the field and its message); whether they
// read, for the call to go on.
bool read_into(const web::request& r, fields& f, web::answer& a) {
    read_fields(r, f);
    a.key("fault");
    if (f.ok()) {
        a.null();
        return true;
    }
    a.open_object();
    a.key("field").string(f.fault_field);
    a.key("message").string(f.fault);
    a.close_object();
    return false;
}

web::request request_of(const char* text, int length) {
    return web::request({text, static_cast<std::size_t>(std::max(length, 0))});
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* explorer_answer_text(web::answer* a) {
    return a->text();
}
EMSCRIPTEN_KEEPALIVE void explorer_free(web::answer* a) {
    delete a;
}

// What the page lays itself out by and names things with, all from here:
// the limits, the names of playing cards, of the choices and of the moves,
// deal's own packets and the followed cards' colors.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_facts() {
    auto* a = new web::answer;
    a->key("limits").open_object();
    a->key("maxCards").integer(deal::max_cards);
    a->key("maxDealHands").integer(deal::max_deal_hands);
    a->key("maxOwnHands").integer(deal::max_hands);
    a->key("maxPackets").integer(deal::max_packets);
    a->key("maxRoundDigits").integer(static_cast<std::int64_t>(max_round_digits));
    a->key("maxRows").integer(max_rows);
    a->key("maxLineCards").integer(views::max_line_cards);
    a->key("maxDealtCards").integer(max_dealt_cards);
    a->key("mostFollowed").integer(views::most_followed);
    a->key("maxPlayingCards").integer(deal::max_playing_cards);
    a->key("maxShuffles").integer(deal::max_shuffles);
    a->key("maxChanceRounds").integer(deal::max_chance_rounds);
    a->key("maxTrickRound").integer(most_trick_round);
    a->key("followedColors").integer(colors::followed_colors);
    a->key("maxCobwebLength").integer(views::max_cobweb_length);
    a->close_object();
    a->key("cardNames").open_array();
    for (int card = 0; card < deal::max_playing_cards; ++card) {
        char name[text::card_name_room];
        a->string(text::card_name(card, name));
    }
    a->close_array();
    a->key("choices").open_array();
    for (const text::choice* c :
         {&text::rest_choice, &text::first_card_choice, &text::bottom_hand_choice}) {
        a->open_array();
        for (const char* name : c->names)
            a->string(name);
        a->close_array();
    }
    a->close_array();
    char packets[64];
    text::appender(packets, sizeof packets).list(std::span<const std::int32_t>(deal::own_packets));
    a->key("ownPackets").string(packets);
    a->key("moves").open_array();
    for (const text::move_words& m : text::moves()) {
        a->open_object();
        a->key("name").string(m.name);
        a->key("example").string(m.example);
        a->key("help").string(m.help);
        a->key("chance").boolean(deal::by_chance(m.kind));
        a->close_object();
    }
    a->close_array();
    std::vector<std::uint32_t> followed;
    for (int i = 0; i < colors::followed_colors; ++i)
        followed.push_back(rgba(colors::followed_color(i)));
    a->key("followedColors").pixels(std::move(followed));
    return a;
}

// Each call below reads the request of `length` bytes at `text`.

// The first fault of the deal's fields; of the round, where the request gives
// it, with the card followed by where it starts ("followed"); and of a card
// typed ("card"), with where that card starts ("followed"), -1 for none.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_check(const char* text, int length) {
    const web::request r = request_of(text, length);
    auto* a = new web::answer;
    fields f;
    read_into(r, f, *a);
    if (f.ok() && r.has("round")) {
        // The card followed, by where it starts.
        if (f.chance) {
            char words[text::words_room];
            const auto round = chance_round(r, words, sizeof words);
            a->key("round").string(round ? "" : words);
        } else {
            a->key("round").string(
                read_round(r["round"], f.round, position_in(r["followed"], f.size)).fault);
        }
    }
    if (f.ok() && r.has("card")) {
        const card_reading card = read_followed(r["card"], f.size);
        a->key("card").string(card.fault);
        a->key("followed").integer(card.card >= 0 ? f.start.position_of(card.card) : -1);
    }
    return a;
}

// What the round is, whatever round is shown: its deck, hands, period,
// cycles and colors, the words the programs print of it, and the cards the
// deal on screen gives each hand. A routine whose deals gather a chosen pile
// is described as if they followed no card. The page keeps the answer while
// the deal is shown, to ask for its rows.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_deal(const char* text, int length) {
    const web::request r = request_of(text, length);
    auto* a = new deal_answer;
    fields& f = a->f;
    if (!read_into(r, f, *a))
        return a;
    // A round with moves by chance is drawn afresh each time: it has no
    // permutation of its own, and the facts of one that moves nothing.
    a->round = f.chance ? deal::permutation::identity(f.size) : deal::round_permutation(f.round);
    for (const deal::move& m : f.round.moves()) {
        a->dealt.push_back(m.kind == deal::move_kind::deal ? deal::hands(m.deal) : deal::hands());
        a->moves.push_back(deal::move_permutation(m, f.size));
    }
    const deal::permutation& round = a->round;
    deal::cycles& cycles = a->cycles;
    cycles.learn(round);
    a->rounds.learn(cycles);
    const deal::period period(cycles);
    const int size = f.size;
    a->key("size").integer(size);
    a->key("hands").integer(f.dealt_hands);
    a->key("routine").boolean(f.routine_given);
    a->key("deals").integer(f.round.deal_count());
    a->key("follows").boolean(f.round.follows_card());
    a->key("chance").boolean(f.chance);
    a->key("seed").string(std::to_string(f.seed));
    a->key("period").string(period_text(period));
    const auto small = period.small();
    a->key("smallPeriod")
        .integer(!f.chance && small &&
                         *small <=
                             static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
                     ? static_cast<std::int64_t>(*small)
                     : 0);
    a->key("census").open_array();
    for (const auto [length_, count] : cycles.lengths()) {
        a->open_array();
        a->integer(length_).integer(count);
        a->close_array();
    }
    a->close_array();
    a->key("cycles").integer(cycles.count());
    std::vector<std::int32_t> cycle_of(static_cast<std::size_t>(size)),
        cycle_length(cycle_of.size());
    std::vector<std::uint32_t> by_position(cycle_of.size()), by_cycle(cycle_of.size());
    std::vector<std::uint32_t> cycle_colors;
    int moving = 0;
    for (int i = 0; i < cycles.count(); ++i)
        cycle_colors.push_back(rgba(cycles.cycle(i).size() == 1
                                        ? colors::fixed_card_color
                                        : colors::moving_cycle_color(moving++)));
    for (int p = 0; p < size; ++p) {
        const auto at = static_cast<std::size_t>(p);
        cycle_of[at] = cycles.cycle_of(p);
        cycle_length[at] = static_cast<std::int32_t>(cycles.cycle(cycle_of[at]).size());
        by_position[at] = rgba(colors::card_color(p, size));
        by_cycle[at] = cycle_colors[static_cast<std::size_t>(cycle_of[at])];
    }
    a->key("cycleOf").ints(std::move(cycle_of));
    a->key("cycleLength").ints(std::move(cycle_length));
    a->key("goesTo").ints(widened(round.goes_to()));
    a->key("colors").open_object();
    a->key("start").pixels(std::move(by_position));
    a->key("cycle").pixels(std::move(by_cycle));
    a->close_object();
    char words[text::cycle_words_room];
    a->key("gap").string(between(words, text::gap_text(cycles, words)));
    a->key("cycleType").string(between(words, text::cycle_type_text(cycles, words)));
    a->key("even").boolean(text::even(cycles));
    a->key("fixed").string(between(words, text::fixed_text(cycles, words)));
    // The options as a command line gives them, and the rules in words, for
    // captions: with a routine, "--routine 'MOVES'" and "routine: MOVES", as
    // deal-picture's caption has it.
    char rules[text::rules_room];
    if (f.routine_given) {
        text::routine_text(f.round, rules, sizeof rules);
        a->key("options").string(std::string("--routine '") + rules + "'");
        a->key("rules").string(std::string("routine: ") + rules);
    } else {
        a->key("options").string(
            between(rules, text::options_text(f.described, f.cards_given, rules, sizeof rules)));
        a->key("rules").string(between(rules, text::rules_text(f.described, rules, sizeof rules)));
    }
    a->key("ownDeal").boolean(f.own_deal);
    // The card that starts at each position, face up or down, and its name
    // on a pack: what the page calls the cards it draws by where they start.
    a->key("numbers").ints({f.start.cards().begin(), f.start.cards().end()});
    a->key("names").open_array();
    for (int p = 0; p < size && size <= deal::max_playing_cards; ++p) {
        char name[text::card_name_room];
        a->string(text::card_name(deal::number_of(f.start[p]), name));
    }
    a->close_array();
    a->key("mostHands").integer(f.most_hands());
    const deal::hands none;
    const deal::hands& dealt = f.dealt_hands > 0 ? a->dealt.front() : none;
    a->key("order").ints(widened(dealt.order()));
    a->key("passes").ints(widened(dealt.passes()));
    return a;
}

// The deck of the deal that explorer_deal answered for, at the round asked
// ("round") and the rounds after it ("count" in all), each from the bottom
// of the deck, with the card "card" followed and faces where "faces" is 1; the first row's listing
// and hands as deal-after prints them, and the first row that is the starting order (-1 for none).
// With a card followed through chosen piles, the trick: its way's tail and the length of its cycle.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_rows(const deal_answer* deal, const char* text,
                                                int length) {
    const web::request r = request_of(text, length);
    const fields& f = deal->f;
    const int followed = position_in(r["followed"], f.size);
    if (f.chance)
        return chance_rows(*deal, r, followed);
    auto* a = new web::answer;
    const round_reading round_read = read_round(r["round"], f.round, followed);
    const bool trick = round_read.trick;
    a->key("round").string(round_read.fault);
    if (!round_read.fault.empty())
        return a;
    const int size = f.size;
    const auto stride = static_cast<std::size_t>(size);
    const std::span<std::int32_t> rows = rows_room(*a, r, size);
    const int count = static_cast<int>(rows.size() / stride);
    const auto row = [&](int i) { return rows.data() + static_cast<std::size_t>(i) * stride; };
    int first_return = -1;
    a->key("trick").boolean(trick);
    if (trick) {
        deal::followed_deck deck;
        deck.learn(f.round, followed);
        deck.at(round_read.trick_round, row(0));
        for (int i = 1; i < count; ++i)
            deck.round(deck.position(round_read.trick_round + i - 1)).apply(row(i - 1), row(i));
        // The deck need not come back at the routine's own period: every
        // row in the starting order, as it is.
        std::vector<std::int32_t> returns = starting_rows(rows, size);
        first_return = returns.empty() ? -1 : returns.front();
        a->key("returns").ints(std::move(returns));
        a->key("tail").integer(deck.card().tail());
        a->key("length").integer(deck.card().length());
    } else {
        deal::round_number shown_round = deal->rounds;
        shown_round.assign(r["round"]);
        deal->cycles.jump(shown_round, row(0));
        for (int i = 1; i < count; ++i)
            deal->round.apply(row(i - 1), row(i));
        first_return = static_cast<int>(shown_round.rounds_to_start(count));
    }
    a->key("firstReturn").integer(first_return);
    const int at = trick ? static_cast<int>(std::find_if(row(0), row(0) + size,
                                                         [followed](deal::card c) {
                                                             return deal::number_of(c) == followed;
                                                         }) -
                                            row(0))
                         : -1;
    finish_rows(*a, *deal, r, rows, at);
    return a;
}

// A line of `width` pixels for each of `count` rows of `size` cards at
// `rows`, each card in its color from `palette`: what the rows look like at
// that width.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_cells(const std::int32_t* rows, int count, int size,
                                                 const std::uint32_t* palette, int width) {
    auto* a = new web::answer;
    count = std::clamp(count, 1, max_rows);
    width = std::clamp(width, 1, web::cell_lines::max_width);
    const web::cell_lines cells(size, width);
    const std::span<std::uint32_t> pixels = a->key("pixels").pixels_room(
        static_cast<std::size_t>(count) * static_cast<std::size_t>(width));
    for (int i = 0; i < count; ++i)
        cells.draw(rows + static_cast<std::ptrdiff_t>(i) * size, palette,
                   pixels.data() + static_cast<std::ptrdiff_t>(i) * width);
    return a;
}

// The round of the deal that explorer_deal answered for, at the round asked
// and with the card followed, played move by move as the page deals it on
// screen: its deck, and for each move, where the followed card is before it
// (-1 for none), its name and text, where each position's card goes, a
// deal's hands and the hand and the pass of each card dealt from the top, a
// cut's K, a faro's lower half and a down-under deal's steps.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_plan(const deal_answer* deal, const char* text,
                                                int length) {
    const web::request r = request_of(text, length);
    auto* a = new web::answer;
    const fields& f = deal->f;
    const int followed = position_in(r["followed"], f.size);
    const round_reading round_read = read_round(r["round"], f.round, followed);
    const bool trick = round_read.trick;
    std::vector<std::int32_t> deck(static_cast<std::size_t>(f.size));
    // A round with moves by chance: each move as drawn for the round after
    // the one shown.
    std::vector<deal::permutation> drawn;
    if (f.chance) {
        char words[text::words_room];
        const auto shown_round = chance_round(r, words, sizeof words);
        draw::drawn_run run(f.round, f.seed, followed);
        run.play_to(shown_round.value_or(0));
        std::copy(run.deck().begin(), run.deck().end(), deck.begin());
        drawn = run.next_moves();
    } else if (trick) {
        deal::followed_deck followed_deck;
        followed_deck.learn(f.round, followed);
        followed_deck.at(round_read.trick_round, deck.data());
    } else {
        deal::round_number shown_round = deal->rounds;
        shown_round.assign(r["round"]);
        deal->cycles.jump(shown_round, deck.data());
    }
    int at = followed < 0 ? -1
                          : static_cast<int>(std::find_if(deck.begin(), deck.end(),
                                                          [followed](deal::card c) {
                                                              return deal::number_of(c) == followed;
                                                          }) -
                                             deck.begin());
    a->key("deck").ints(deck);
    a->key("moves").open_array();
    for (std::size_t i = 0; i < f.round.moves().size(); ++i) {
        const deal::move& m = f.round.moves()[i];
        const deal::permutation p = f.chance ? drawn[i] : deal::move_permutation(m, f.size, at);
        a->open_object();
        a->key("at").integer(at);
        a->key("kind").string(text::words_of(m.kind).name);
        char words[text::rules_room + 32];
        a->key("text").string(between(words, text::move_text(m, words, sizeof words)));
        a->key("goesTo").ints(widened(p.goes_to()));
        switch (m.kind) {
        case deal::move_kind::deal: {
            const deal::hands dealt(m.deal);
            a->key("hands").integer(m.deal.hands);
            a->key("chooses").boolean(m.deal.chosen_pile >= 0);
            a->key("order").ints(widened(dealt.order()));
            a->key("passes").ints(widened(dealt.passes()));
            break;
        }
        case deal::move_kind::cut:
            a->key("cut").integer(m.cut);
            break;
        case deal::move_kind::random_cut:
            // The depth drawn: the bottom card goes up by as many places.
            a->key("cut").integer(p[0]);
            break;
        case deal::move_kind::turn:
            a->key("turned").integer(m.cut == 0 ? f.size : m.cut);
            break;
        case deal::move_kind::faro_out:
        case deal::move_kind::faro_in:
            a->key("lower").integer(deal::faro_lower_half(m.kind, f.size));
            break;
        case deal::move_kind::down_under:
        case deal::move_kind::under_down: {
            // Each step as the position taken, and 1 where it goes down.
            std::vector<std::int32_t> steps;
            for (const deal::down_under_step& s : deal::down_under_steps(m.kind, f.size)) {
                steps.push_back(s.position);
                steps.push_back(s.down ? 1 : 0);
            }
            a->key("steps").ints(std::move(steps));
            break;
        }
        default:
            break;
        }
        a->close_object();
        if (at >= 0)
            at = p[at];
    }
    a->close_array();
    return a;
}

// The landscape: the period of the deal the fields describe for every hand
// count it takes, or for the hands shown and every deck size ("across" is
// "cards", and always for a routine), as base-2 logarithms, -1 where a
// routine does not fit the deck; the first for 1.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_landscape(const char* text, int length) {
    const web::request r = request_of(text, length);
    auto* a = new web::answer;
    fields f;
    if (!read_into(r, f, *a))
        return a;
    const bool by_cards = f.routine_given || r["across"] == "cards";
    // A round drawn afresh each time has no period: no landscape.
    const int most = f.chance ? 0 : landscape_count(f, by_cards);
    // The points from "from" to "to", all without them: the page asks for
    // a slice at a time, so as to answer between them.
    const auto bound = [&](const char* field, int otherwise, int least) {
        return r.has(field) ? clamped(r, field, least, most) : otherwise;
    };
    const int from = std::max(1, bound("from", 1, 1));
    const int to = bound("to", most, from - 1);
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
    const web::request r = request_of(text, length);
    auto* a = new web::answer;
    fields f;
    if (!read_into(r, f, *a))
        return a;
    const bool by_cards = f.routine_given || r["across"] == "cards";
    const int x = clamped(r, "x", 1, landscape_count(f, by_cards));
    landscape_room room{f.round, f.rules, {}, {}};
    const auto p = f.chance ? std::nullopt : landscape_period(f, by_cards, x, room);
    a->key("period").string(p ? period_text(*p) : "");
    return a;
}

// The fewest moves, among "moves", that bring the card at position "from"
// to position "to" of the deck the fields describe, as deal-solve finds
// them: the routine and its length, -1 where none does, or the moves' fault.
// With "any", whichever card was chosen, as deal-solve --any-card finds it
// (with no "to", the fewest places it narrows the card to, as "places"),
// -2 where the search would keep too many sets, -3 where it would take too
// many steps ("most" the limit); and "ends", where each
// position's card ends when followed alone through the routine found.
EMSCRIPTEN_KEEPALIVE web::answer* explorer_solve(const char* text, int length) {
    const web::request r = request_of(text, length);
    auto* a = new web::answer;
    fields f;
    if (!read_into(r, f, *a))
        return a;
    struct taken {
        std::vector<deal::routine> moves;
        int size;
    } all{{}, f.size};
    const auto take = [](void* context, const deal::routine& m) {
        auto& t = *static_cast<taken*>(context);
        if ((t.moves.size() + 1) * static_cast<std::size_t>(t.size) > solve_room)
            return false;
        t.moves.push_back(m);
        return true;
    };
    char words[text::words_room];
    if (!text::read_move_list(r["moves"], f.size, take, &all, shown_value, words, sizeof words)) {
        a->key("moves").string(words);
        return a;
    }
    const auto position = [&](const char* field) { return clamped(r, field, 0, f.size - 1); };
    std::vector<std::int16_t> table(all.moves.size() * static_cast<std::size_t>(f.size));
    std::vector<std::int16_t> branches(std::size_t{1} << 16);
    deal::search search(table, branches);
    search.reset(f.size);
    // A move listed twice is kept once, as deal-solve keeps it.
    std::vector<deal::routine> kept;
    std::vector<std::string> texts;
    for (const deal::routine& m : all.moves) {
        char move[text::words_room];
        const std::string written(between(move, text::routine_text(m, move, sizeof move)));
        if (std::find(texts.begin(), texts.end(), written) != texts.end())
            continue;
        search.add(m);
        kept.push_back(m);
        texts.push_back(written);
    }
    all.moves = std::move(kept);
    std::vector<int> path;
    int found = -1;
    if (r["any"] == "1") {
        // A tenth of the steps the program takes: the page waits for it.
        deal::narrowing narrowing(search, deal::narrowing_sets(f.size),
                                  deal::max_narrowing_steps / 10);
        const bool closest = r["to"].empty();
        const auto outcome = closest ? narrowing.closest() : narrowing.solve(position("to"));
        found = outcome == deal::narrowing::outcome::too_long   ? -3
                : outcome == deal::narrowing::outcome::too_many ? -2
                : outcome == deal::narrowing::outcome::never    ? -1
                                                                : narrowing.length();
        if (found == -2)
            a->key("most").integer(deal::narrowing_sets(f.size));
        if (found == -3)
            a->key("most").integer(deal::max_narrowing_steps / 10);
        if (found >= 0) {
            path.resize(static_cast<std::size_t>(found));
            narrowing.first(path);
            if (closest) {
                const std::vector<int> places = narrowing.places();
                a->key("places").ints({places.begin(), places.end()});
            }
            // Each card followed alone, move by move, as the deck is dealt
            // with its pile chosen.
            std::vector<std::int32_t> ends(static_cast<std::size_t>(f.size));
            for (int p = 0; p < f.size; ++p) {
                int at = p;
                for (const int m : path)
                    at = search.where(m, at);
                ends[static_cast<std::size_t>(p)] = at;
            }
            a->key("ends").ints(std::move(ends));
        }
    } else {
        found = search.solve(position("from"), position("to"));
        if (found > 0) {
            path.resize(static_cast<std::size_t>(found));
            search.first(path);
        }
    }
    a->key("length").integer(found);
    if (found > 0)
        a->key("routine").string(text::collapsed_text(all.moves, path));
    return a;
}

// How many riffles mix a deck of "cards" cards: the total variation
// distance from a random deck after 0 to "shuffles" riffles, in floating
// point, for the curve of the drop (deal-mix prints it exactly).
EMSCRIPTEN_KEEPALIVE web::answer* explorer_mixing(const char* text, int length) {
    const web::request r = request_of(text, length);
    auto* a = new web::answer;
    const auto number = [&](const char* field, int most) { return clamped(r, field, 1, most); };
    const std::vector<double> curve = floating::riffle_distances(
        number("cards", deal::max_cards), number("shuffles", deal::max_shuffles));
    a->key("distances").floats({curve.begin(), curve.end()});
    return a;
}

} // extern "C"
