// The explorer page's view of the core: the same deal, cycles, period,
// listing and words as the command-line programs, behind a C interface that
// the page's script calls. Everything lives in fixed storage, as in the
// programs; the script reads the results straight out of the module's memory.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <emscripten/emscripten.h>
#include <limits>
#include <optional>
#include <string_view>

#include "colors/colormap.hpp"
#include "deal/cycles.hpp"
#include "deal/description.hpp"
#include "deal/follow.hpp"
#include "deal/hands.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"
#include "deal/search.hpp"
#include "text/appender.hpp"
#include "text/cards.hpp"
#include "text/cycle_words.hpp"
#include "text/deal_words.hpp"
#include "text/digits.hpp"
#include "text/integer_text.hpp"
#include "text/listing.hpp"
#include "text/routine_words.hpp"
#include "views/limits.hpp"
#include "web/cells.hpp"

namespace {

// A round number is typed, kept in the address bar and shown whole; beyond
// this many digits it stops being something a person reads or shares.
constexpr std::size_t max_round_digits = 1000;
// Rows the page may ask for at once: more than any window has room for.
constexpr int max_rows = 512;
// Up to this many cards a round is dealt before the eyes, card by card, as
// many as a row shows as dots; and a deck may be shown as playing cards,
// those of a new deck.
constexpr int max_dealt_cards = views::max_line_cards;
constexpr int max_playing_cards = 52;

// What the script writes its text into: a field's value, a routine of many
// moves included.
char typed[4096];
// The last fault found, in the programs' words.
char message[text::words_room];

// The deal as the fields describe it, before and after it is learnt.
deal::description rules;
bool cards_given = false;
bool own_deal = true;

// The routine the routine field holds, for a deck of the size the Cards
// field gives (a pack where it is empty), and its copy that the landscape
// fits to every deck size. Without one, the deal the other fields describe
// is the round.
deal::routine routine_;
bool routine_given = false;
deal::routine landscape_routine;

// A routine whose deals gather the followed card's pile where it says, with
// a card followed: the trick. Its deck round after round depends on where
// that card is, and its rounds run from 0 to most_trick_round.
int followed_card = -1;
bool trick = false;
deal::followed_deck trick_deck;
std::int64_t trick_round = 0;
constexpr std::int64_t most_trick_round = 1'000'000'000'000'000'000;

deal::description described;
// The deck's size, and the hand count of the one deal dealt on screen: the
// deal's, or a routine's that is a single deal move (0 for other routines).
int deck_size = 0;
int dealt_hands = 0;
deal::hands dealt;
deal::permutation round;
deal::cycles cycles;
deal::period period;
char period_digits[text::period_digits + 1];
const char* period_text = "1";

// For every position: its cycle, the length of that cycle, and where its card
// goes in one round.
std::int32_t cycle_of[deal::max_cards];
std::int32_t cycle_length[deal::max_cards];
std::int32_t goes_to[deal::max_cards];
// How many cycles there are of each length, as (length, count) pairs in
// ascending order of length.
std::int32_t census[2 * deal::cycles::max_lengths];
int census_pairs = 0;
// The hand each card from the top is dealt to, in dealing order, and the
// pass that deals it.
std::int32_t deal_order[deal::max_cards];
std::int32_t deal_passes[deal::max_cards];

// Colors as the canvas stores them, RGBA bytes in memory order: each card by
// its starting position, as deal-picture colors it, and by its cycle; and
// the followed cards'.
std::uint32_t by_position[deal::max_cards];
std::uint32_t by_cycle[deal::max_cards];
std::uint32_t followed[colors::followed_colors];

deal::round_number shown; // the round shown
deal::card rows[max_rows][deal::max_cards];
char listing[text::listing_room_max];
// The hands that dealing the shown deck gives, as deal-after --hands prints
// them; the cycles as deal-cycles --gap does; and other words.
char hands_text[4 * (text::listing_room_max + deal::max_deal_hands)];
char words[text::cycle_words_room];
char rules_words[text::rules_room];

// The colors the cells are drawn in, which the script sets (faded where a
// cycle is picked out), and a line of pixels for every row.
std::uint32_t palette[deal::max_cards];
web::cell_lines cells;
std::uint32_t cell_pixels[max_rows * web::cell_lines::max_width];

// The period of every hand count or deck size, for the landscape, as its
// base-2 logarithm.
float landscape[deal::max_cards + 1];
deal::cycles landscape_cycles;

std::uint32_t rgba(colors::color c) {
    const std::uint32_t rgb = colors::rgb(c);
    return (rgb >> 16 & 0xff) | (rgb & 0xff00) | (rgb & 0xff) << 16 | 0xffu << 24;
}

void learn_colors(int size) {
    for (int c = 0; c < size; ++c)
        by_position[c] = rgba(colors::card_color(c, size));
    int moving = 0;
    std::uint32_t color_of_cycle[deal::max_cards];
    for (int i = 0; i < cycles.count(); ++i)
        color_of_cycle[i] =
            rgba(cycles.cycle(i).size() == 1 ? colors::fixed_card_color
                                             : colors::moving_cycle_color(moving++));
    for (int c = 0; c < size; ++c)
        by_cycle[c] = color_of_cycle[cycle_of[c]];
}

std::string_view typed_text(int length) {
    return {typed, std::min(static_cast<std::size_t>(std::max(length, 0)), sizeof typed - 1)};
}

// Whether the text was longer than the room it was written into, and so cut:
// no number, whatever its first bytes say.
bool cut_short(int length) {
    return static_cast<std::size_t>(std::max(length, 0)) > sizeof typed - 1;
}

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

// Says that the text is no integer `what`; -1.
int not_integer(std::string_view given, const char* what) {
    char value[64];
    text::not_integer_words(message, sizeof message,
                            shown_value(given, text::shown_length::value, value, sizeof value),
                            what);
    return -1;
}

void refresh_own_deal() {
    own_deal = !cards_given && rules.default_rules();
}

// The deal the fields describe for `hands` hands: with its given deck, or
// every hand's packets.
deal::description fields_deal(int hands) {
    return rules.dealt_to(hands,
                          cards_given ? std::optional<std::int64_t>{rules.cards} : std::nullopt);
}

// The limits of the hand count for the deal the fields describe. The page
// draws no empty deck.
deal::count_limits page_hand_limits() {
    const deal::count_limits limits = deal::hand_limits(own_deal, cards_given);
    return {std::max<std::int64_t>(limits.least, 1), limits.most};
}

// Whether listings and hands name the cards as playing cards, as deal-after
// --faces writes them, where the deck is a pack's at most.
bool faces = false;

// `count` cards and a newline, as numbers or as names; the end of what it
// wrote, which has room for either.
char* write_cards(const deal::card* cards, int count, char* out) {
    if (!faces || deck_size > deal::max_playing_cards)
        return text::format_listing(cards, count, out);
    out = text::format_faces(cards, count, out);
    *out++ = '\n';
    return out;
}
static_assert(text::faces_room(deal::max_playing_cards) <= text::listing_room_max);

// The hands that dealing `deck` as `d` dealt gives, a line each; the end of
// what it wrote.
char* deal_hands(const deal::hands& d, const deal::card* deck, char* out) {
    deal::card hand[deal::max_cards];
    for (int h = 0; h < d.count(); ++h) {
        const auto positions = d.hand(h);
        for (std::size_t i = 0; i < positions.size(); ++i)
            hand[i] = deck[positions[i]];
        out = write_cards(hand, static_cast<int>(positions.size()), out);
    }
    return out;
}

// The hands of each deal move of the routine, the first row its deck, as
// deal-after --hands prints them: after "move N: MOVE" where it deals twice
// or more.
void routine_hands() {
    static deal::card deck[deal::max_cards], next[deal::max_cards];
    static deal::hands move_dealt; // 40 KB: kept off the stack
    std::copy_n(rows[0], deck_size, deck);
    // Where the followed card is, for deals that gather its pile.
    int at = trick ? static_cast<int>(std::find(deck, deck + deck_size, followed_card) - deck) : -1;
    const auto moves = routine_.moves();
    const bool name = routine_.deal_count() > 1;
    text::appender a(hands_text, sizeof hands_text);
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (moves[i].kind == deal::move_kind::deal) {
            if (name) {
                a.add("move %zu: ", i + 1);
                a.at = text::move_text(moves[i], a.at, static_cast<std::size_t>(a.end - a.at) + 1);
                a.add("\n");
            }
            move_dealt.deal(moves[i].deal);
            // Many deals of a large deck are cut short where the room ends.
            if (static_cast<std::size_t>(a.end - a.at) <
                text::listing_room(deck_size) + static_cast<std::size_t>(move_dealt.count()))
                break;
            a.at = deal_hands(move_dealt, deck, a.at);
        }
        if (i + 1 < moves.size()) {
            const deal::permutation p = deal::move_permutation(moves[i], deck_size, at);
            p.apply(deck, next);
            std::copy_n(next, deck_size, deck);
            at = at >= 0 ? p[at] : -1;
        }
    }
    *a.at = '\0';
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE char* explorer_text() {
    return typed;
}
EMSCRIPTEN_KEEPALIVE int explorer_text_capacity() {
    return static_cast<int>(sizeof typed);
}
EMSCRIPTEN_KEEPALIVE const char* explorer_message() {
    return message;
}

// The numbers the page lays itself out by, all from here.
enum limit {
    limit_max_cards,
    limit_max_deal_hands,
    limit_max_own_hands,
    limit_max_packets,
    limit_max_round_digits,
    limit_max_rows,
    limit_max_line_cards,
    limit_max_dealt_cards,
    limit_max_playing_cards,
    limit_row_stride,
    limit_followed_colors,
    limit_max_cobweb_length,
};
EMSCRIPTEN_KEEPALIVE int explorer_limit(int which) {
    switch (which) {
    case limit_max_cards:
        return deal::max_cards;
    case limit_max_deal_hands:
        return deal::max_deal_hands;
    case limit_max_own_hands:
        return deal::max_hands;
    case limit_max_packets:
        return deal::max_packets;
    case limit_max_round_digits:
        return static_cast<int>(max_round_digits);
    case limit_max_rows:
        return max_rows;
    case limit_max_line_cards:
        return views::max_line_cards;
    case limit_max_dealt_cards:
        return max_dealt_cards;
    case limit_max_playing_cards:
        return max_playing_cards;
    case limit_row_stride:
        return deal::max_cards;
    case limit_followed_colors:
        return colors::followed_colors;
    case limit_max_cobweb_length:
        return views::max_cobweb_length;
    default:
        return 0;
    }
}

// The names that --rest, --first-card and --bottom-hand take (choice 0, 1
// and 2), the default first; nullptr past the last.
EMSCRIPTEN_KEEPALIVE const char* explorer_choice_name(int choice, int index) {
    const text::choice* const all[] = {&text::rest_choice, &text::first_card_choice,
                                       &text::bottom_hand_choice};
    if (choice < 0 || choice > 2 || index < 0 ||
        static_cast<std::size_t>(index) >= all[choice]->names.size())
        return nullptr;
    return all[choice]->names[static_cast<std::size_t>(index)];
}

// deal's own packets, as the packets field shows them.
EMSCRIPTEN_KEEPALIVE const char* explorer_own_packets() {
    static char text_[8 * deal::max_packets];
    text::appender(text_, sizeof text_).list(deal::description().packets());
    return text_;
}

// Each reader takes a field's text, `length` bytes written (which may be
// more than the text holds), into the deal the fields describe: 0 if it
// reads, else -1 with the fault in explorer_message().

EMSCRIPTEN_KEEPALIVE int explorer_read_packets(int length) {
    if (!text::read_deal_option(text::deal_option::packets, typed_text(length), rules, shown_value,
                                message, sizeof message))
        return -1;
    refresh_own_deal();
    return 0;
}

// An empty field is the default deck: every hand's packets.
EMSCRIPTEN_KEEPALIVE int explorer_read_cards(int length) {
    const std::string_view given = typed_text(length);
    if (given.empty()) {
        cards_given = false;
        refresh_own_deal();
        return 0;
    }
    if (cut_short(length))
        return not_integer(given, "card count");
    const auto count = text::read_integer(given, "card count", 1, deal::max_cards, shown_value,
                                          message, sizeof message);
    if (!count)
        return -1;
    cards_given = true;
    rules.cards = static_cast<std::int32_t>(*count);
    refresh_own_deal();
    return 0;
}

// The three choices by index among their names; -1 leaves one as it is.
EMSCRIPTEN_KEEPALIVE void explorer_set_choices(int rest, int first_card, int bottom_hand) {
    if (rest >= 0 && rest <= 2)
        rules.rest = static_cast<deal::rest>(rest);
    if (first_card >= 0 && first_card <= 1)
        rules.first_card = static_cast<deal::first_card>(first_card);
    if (bottom_hand >= 0 && bottom_hand <= 1)
        rules.bottom_hand = static_cast<deal::bottom_hand>(bottom_hand);
    refresh_own_deal();
}

// The hand count in the text for the deal the fields describe: the count, or
// -1 with the fault in explorer_message(). The page draws no empty deck.
EMSCRIPTEN_KEEPALIVE int explorer_read_hands(int length) {
    const std::string_view given = typed_text(length);
    text::integer_text count;
    if (cut_short(length) || !text::parse_integer(given, count))
        return not_integer(given, "hand count");
    if (!text::check_hand_count(count, rules, own_deal, cards_given, 1, message, sizeof message))
        return -1;
    return static_cast<int>(count.value());
}

// The routine in the text, for a deck of the size the Cards field gives,
// or none where the text is blank: 0 if it reads, else -1 with the fault in
// explorer_message(), as --routine says it.
EMSCRIPTEN_KEEPALIVE int explorer_read_routine(int length) {
    const std::string_view given = typed_text(length);
    routine_given = given.find_first_not_of(" \t") != std::string_view::npos;
    if (!routine_given)
        return 0;
    if (cut_short(length)) {
        std::snprintf(message, sizeof message, "a routine has at most %zu bytes here",
                      sizeof typed - 1);
        return -1;
    }
    const int cards = cards_given ? rules.cards : deal::max_playing_cards;
    if (!text::read_routine(given, cards, routine_, shown_value, message, sizeof message))
        return -1;
    return 0;
}
EMSCRIPTEN_KEEPALIVE int explorer_routine_given() {
    return routine_given;
}
// How many of the routine's moves deal hands.
EMSCRIPTEN_KEEPALIVE int explorer_routine_deals() {
    return routine_.deal_count();
}

// Cards as playing cards: listings and hands written as names (on 1, off
// 0); a card's name; and a card the follow field names, by number or by name,
// for the deck learnt: the card, or -1 with the fault in explorer_message().
EMSCRIPTEN_KEEPALIVE void explorer_set_faces(int on) {
    faces = on != 0;
}
EMSCRIPTEN_KEEPALIVE const char* explorer_card_name(int card) {
    static char name[text::card_name_room];
    if (card < 0 || card >= deal::max_playing_cards)
        return "";
    return text::card_name(card, name);
}
EMSCRIPTEN_KEEPALIVE int explorer_read_card(int length) {
    const std::string_view given = typed_text(length);
    text::card_reading reading = text::read_card(given, deck_size);
    if (cut_short(length))
        reading.fault = text::card_reading::not_a_card;
    if (reading.fault == text::card_reading::none)
        return reading.card;
    char value[64];
    text::card_fault_words(message, sizeof message, reading,
                           shown_value(given, text::shown_length::value, value, sizeof value),
                           deck_size);
    return -1;
}

// The moves a routine takes, as the buttons that append them show them: the
// name, and what a button appends.
EMSCRIPTEN_KEEPALIVE int explorer_move_count() {
    return static_cast<int>(text::moves().size());
}
EMSCRIPTEN_KEEPALIVE const char* explorer_move_name(int i) {
    return text::moves()[static_cast<std::size_t>(i)].name;
}
EMSCRIPTEN_KEEPALIVE const char* explorer_move_example(int i) {
    return text::moves()[static_cast<std::size_t>(i)].example;
}
EMSCRIPTEN_KEEPALIVE const char* explorer_move_help(int i) {
    return text::moves()[static_cast<std::size_t>(i)].help;
}

// The most hands the deal the fields describe supports.
EMSCRIPTEN_KEEPALIVE int explorer_most_hands() {
    std::int64_t most = page_hand_limits().most;
    if (!cards_given)
        most = std::min<std::int64_t>(most, deal::max_cards / rules.cards_per_hand());
    return static_cast<int>(most);
}

// The hand counts the landscape shows: every one the deal takes, but with a
// deck of given size no more than it has cards, as every count past that
// deals it one card a hand, alike.
static int landscape_hands() {
    const int most = explorer_most_hands();
    return cards_given ? std::min(most, static_cast<int>(rules.cards)) : most;
}

// The period at one point of the landscape: `x` hands, or the hands learnt
// and `x` cards.
static std::optional<deal::period> landscape_period(int by_cards, int x) {
    if (routine_given) {
        // A routine whose moves do not fit a deck of x cards (a cut deeper
        // than the deck, more hands than cards) has no point there.
        if (!landscape_routine.fit(x))
            return std::nullopt;
        landscape_cycles.learn(deal::round_permutation(landscape_routine));
        return deal::period(landscape_cycles);
    }
    deal::description d = fields_deal(by_cards ? described.hands : x);
    if (by_cards)
        d.cards = x;
    landscape_cycles.learn(deal::permutation(d));
    return deal::period(landscape_cycles);
}

// Learns the routine that explorer_read_routine has taken, or else the deal
// the fields describe for `hands` hands, which explorer_read_hands has
// taken: its hands, round, cycles, period and colors. A routine whose deals
// gather a chosen pile is learnt as if they followed no card.
EMSCRIPTEN_KEEPALIVE void explorer_learn(int hands) {
    const auto moves = routine_.moves();
    const bool one_deal = moves.size() == 1 && moves[0].kind == deal::move_kind::deal;
    if (routine_given) {
        described = one_deal ? moves[0].deal : deal::description{};
        deck_size = routine_.cards;
        round = deal::round_permutation(routine_);
    } else {
        described = fields_deal(hands);
        deck_size = described.cards;
    }
    dealt_hands = !routine_given || one_deal ? described.hands : 0;
    if (dealt_hands > 0)
        dealt.deal(described);
    if (!routine_given)
        round = deal::permutation(described, dealt);
    cycles.learn(round);
    period = deal::period(cycles);
    shown.learn(cycles);
    period_digits[text::period_digits] = '\0';
    period_text = text::period_text(period, period_digits + text::period_digits);

    for (int p = 0; p < deck_size; ++p) {
        cycle_of[p] = cycles.cycle_of(p);
        cycle_length[p] = static_cast<std::int32_t>(cycles.cycle(cycle_of[p]).size());
        goes_to[p] = round[p];
    }
    census_pairs = 0;
    for (const auto [length, count] : cycles.lengths()) {
        census[2 * census_pairs] = length;
        census[2 * census_pairs + 1] = count;
        ++census_pairs;
    }
    const auto order = dealt_hands > 0 ? dealt.order() : std::span<const std::int16_t>{};
    const auto passes = dealt.passes();
    for (std::size_t i = 0; i < order.size(); ++i) {
        deal_order[i] = order[i];
        deal_passes[i] = passes[i];
    }
    learn_colors(deck_size);
    for (int i = 0; i < colors::followed_colors; ++i)
        followed[i] = rgba(colors::followed_color(i));
}

EMSCRIPTEN_KEEPALIVE int explorer_cards() {
    return deck_size;
}
EMSCRIPTEN_KEEPALIVE int explorer_dealt_hands() {
    return dealt_hands;
}
EMSCRIPTEN_KEEPALIVE int explorer_own_deal() {
    return own_deal;
}
EMSCRIPTEN_KEEPALIVE const char* explorer_period() {
    return period_text;
}
// The period, where it is below 2^31; else 0.
EMSCRIPTEN_KEEPALIVE int explorer_small_period() {
    const auto small = period.small();
    return small && *small <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
               ? static_cast<int>(*small)
               : 0;
}
EMSCRIPTEN_KEEPALIVE int explorer_census_pairs() {
    return census_pairs;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_census() {
    return census;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_cycle_of() {
    return cycle_of;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_cycle_length() {
    return cycle_length;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_goes_to() {
    return goes_to;
}
EMSCRIPTEN_KEEPALIVE const std::uint32_t* explorer_colors(int which) {
    return which == 2 ? followed : which == 1 ? by_cycle : by_position;
}

// The cards dealt, from the top, and the hand each goes to; the rest, from
// the bottom up, is the stock.
EMSCRIPTEN_KEEPALIVE int explorer_dealt_count() {
    return dealt_hands > 0 ? static_cast<int>(dealt.order().size()) : 0;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_deal_order() {
    return deal_order;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_deal_passes() {
    return deal_passes;
}

// The deal's options as a command line gives them, --cards included where
// it was given ("" for deal's own); and its rules in words, for captions.
// With a routine, "--routine 'MOVES'" and "routine: MOVES", as
// deal-picture's caption has it.
EMSCRIPTEN_KEEPALIVE const char* explorer_options_text() {
    if (routine_given) {
        text::appender a(rules_words, sizeof rules_words);
        a.add("--routine '");
        a.at = text::routine_text(routine_, a.at, static_cast<std::size_t>(a.end - a.at) + 1);
        a.add("'");
        return rules_words;
    }
    text::options_text(described, cards_given, rules_words, sizeof rules_words);
    return rules_words;
}
EMSCRIPTEN_KEEPALIVE const char* explorer_rules_text() {
    if (routine_given) {
        text::appender a(rules_words, sizeof rules_words);
        a.add("routine: ");
        text::routine_text(routine_, a.at, static_cast<std::size_t>(a.end - a.at) + 1);
        return rules_words;
    }
    text::rules_text(described, rules_words, sizeof rules_words);
    return rules_words;
}

// The round as deal-cycles --gap, and --summary's lines, write them.
EMSCRIPTEN_KEEPALIVE const char* explorer_gap() {
    *text::gap_text(cycles, words) = '\0';
    return words;
}
EMSCRIPTEN_KEEPALIVE const char* explorer_cycle_type() {
    *text::cycle_type_text(cycles, words) = '\0';
    return words;
}
EMSCRIPTEN_KEEPALIVE int explorer_even() {
    return text::even(cycles);
}
EMSCRIPTEN_KEEPALIVE const char* explorer_fixed() {
    *text::fixed_text(cycles, words) = '\0';
    return words;
}

// Takes the round number in the text, as deal-after takes it: an optional
// sign, then digits, at most max_round_digits of them. 0 if taken; -1 if it is
// no integer; -2 if it has too many digits.
EMSCRIPTEN_KEEPALIVE int explorer_parse_round(int length) {
    if (length < 0)
        return -1;
    const std::size_t size = static_cast<std::size_t>(length);
    const std::size_t signed_ = size > 0 && (typed[0] == '+' || typed[0] == '-');
    if (size - signed_ > max_round_digits)
        return -2;
    const std::string_view number{typed, size};
    text::integer_text checked;
    if (!text::parse_integer(number, checked))
        return -1;
    if (trick) {
        const auto small = checked.value();
        if (small < 0)
            return -3;
        if (checked.value() > most_trick_round || size - signed_ > 19)
            return -4;
        trick_round = small;
    }
    shown.assign(number);
    return 0;
}

// Follows `card` (-1 for none): with a routine whose deals gather its pile,
// the deck then depends on where it is. Returns whether it does: the trick.
EMSCRIPTEN_KEEPALIVE int explorer_follow(int card) {
    followed_card = card >= 0 && card < deck_size ? card : -1;
    trick = routine_given && routine_.follows_card() && followed_card >= 0;
    if (trick)
        trick_deck.learn(routine_, followed_card);
    return trick;
}
// The followed card's way under the trick: the rounds before its positions
// repeat, and how many repeat.
EMSCRIPTEN_KEEPALIVE int explorer_trick_tail() {
    return trick_deck.card().tail();
}
EMSCRIPTEN_KEEPALIVE int explorer_trick_length() {
    return trick_deck.card().length();
}
EMSCRIPTEN_KEEPALIVE int explorer_routine_follows() {
    return routine_given && routine_.follows_card();
}

// The deck at the round taken and `count` rounds after it, one row each, from
// the bottom of the deck; the first row's listing in explorer_listing() and
// its hands in explorer_hands(). Returns the first row that is the starting
// order, or -1 if none is.
EMSCRIPTEN_KEEPALIVE int explorer_rows(int count) {
    count = std::clamp(count, 1, max_rows);
    if (trick)
        trick_deck.at(trick_round, rows[0]);
    else
        cycles.jump(shown, rows[0]);
    write_cards(rows[0], deck_size, listing)[-1] = '\0'; // the newline
    for (int row = 1; row < count; ++row) {
        if (trick)
            trick_deck.round(trick_deck.position(trick_round + row - 1))
                .apply(rows[row - 1], rows[row]);
        else
            round.apply(rows[row - 1], rows[row]);
    }
    if (routine_given)
        routine_hands();
    else
        *deal_hands(dealt, rows[0], hands_text) = '\0';
    if (trick) {
        for (int row = 0; row < count; ++row) {
            int p = 0;
            while (p < deck_size && rows[row][p] == p)
                ++p;
            if (p == deck_size)
                return row;
        }
        return -1;
    }
    return static_cast<int>(shown.rounds_to_start(count));
}

// A move of the routine dealt on screen, where the followed card is at `at`
// (-1 for none): its kind, its text, a cut's K, and where each position's
// card goes; a deal's hands, and the hand and the pass of each card dealt.
// Returns the cards dealt, or -1 for a move that deals none.
std::int32_t plan_goes_to[deal::max_cards];
std::int32_t plan_order[deal::max_cards];
std::int32_t plan_passes[deal::max_cards];
int plan_hands = 0;
EMSCRIPTEN_KEEPALIVE int explorer_moves() {
    return static_cast<int>(routine_.moves().size());
}
EMSCRIPTEN_KEEPALIVE int explorer_move_kind(int i) {
    return static_cast<int>(routine_.moves()[static_cast<std::size_t>(i)].kind);
}
EMSCRIPTEN_KEEPALIVE int explorer_move_cut(int i) {
    return routine_.moves()[static_cast<std::size_t>(i)].cut;
}
// Whether the move is a deal that gathers the followed card's pile.
EMSCRIPTEN_KEEPALIVE int explorer_move_chooses(int i) {
    const deal::move& m = routine_.moves()[static_cast<std::size_t>(i)];
    return m.kind == deal::move_kind::deal && m.deal.chosen_pile >= 0;
}
EMSCRIPTEN_KEEPALIVE const char* explorer_move_text(int i) {
    text::move_text(routine_.moves()[static_cast<std::size_t>(i)], rules_words, sizeof rules_words);
    return rules_words;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_plan_goes_to() {
    return plan_goes_to;
}
EMSCRIPTEN_KEEPALIVE int explorer_plan_move(int i, int at) {
    const deal::move& m = routine_.moves()[static_cast<std::size_t>(i)];
    const deal::permutation p = deal::move_permutation(m, deck_size, at);
    for (int x = 0; x < deck_size; ++x)
        plan_goes_to[x] = p[x];
    if (m.kind != deal::move_kind::deal)
        return -1;
    static deal::hands move_dealt; // 40 KB: kept off the stack
    move_dealt.deal(m.deal);
    const auto order = move_dealt.order();
    const auto passes = move_dealt.passes();
    for (std::size_t k = 0; k < order.size(); ++k) {
        plan_order[k] = order[k];
        plan_passes[k] = passes[k];
    }
    plan_hands = m.deal.hands;
    return static_cast<int>(order.size());
}
EMSCRIPTEN_KEEPALIVE int explorer_plan_hands() {
    return plan_hands;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_plan_order() {
    return plan_order;
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* explorer_plan_passes() {
    return plan_passes;
}

EMSCRIPTEN_KEEPALIVE const deal::card* explorer_row(int row) {
    return rows[row];
}

// The first row's listing, as deal-after prints it, less the newline.
EMSCRIPTEN_KEEPALIVE const char* explorer_listing() {
    return listing;
}

// The hands that dealing the first row gives, as deal-after --hands prints
// them, newlines and all.
EMSCRIPTEN_KEEPALIVE const char* explorer_hands() {
    return hands_text;
}

EMSCRIPTEN_KEEPALIVE std::uint32_t* explorer_palette() {
    return palette;
}

// A line of `width` pixels for each of the first `count` rows made by
// explorer_rows, in the palette's colors; what the rows look like at `width`.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* explorer_cell_lines(int count, int width) {
    count = std::clamp(count, 1, max_rows);
    width = std::clamp(width, 1, web::cell_lines::max_width);
    cells.fit(deck_size, width);
    for (int row = 0; row < count; ++row)
        cells.draw(rows[row], palette, cell_pixels + row * width);
    return cell_pixels;
}

// The landscape: the period of the deal the fields describe for every hand
// count it takes (by_cards 0), or for the hands learnt and every deck size
// (by_cards 1), as base-2 logarithms from explorer_landscape_values(), the
// first for 1. Returns how many.
EMSCRIPTEN_KEEPALIVE int explorer_landscape(int by_cards) {
    landscape_routine = routine_;
    const int most = by_cards ? deal::max_cards : landscape_hands();
    for (int x = 1; x <= most; ++x) {
        const auto p = landscape_period(by_cards, x);
        landscape[x - 1] = p ? static_cast<float>(p->log2()) : -1.0F;
    }
    return most;
}
EMSCRIPTEN_KEEPALIVE const float* explorer_landscape_values() {
    return landscape;
}

// The period of one point of the landscape, every digit.
EMSCRIPTEN_KEEPALIVE const char* explorer_landscape_period(int by_cards, int x) {
    landscape_routine = routine_;
    static char digits[text::period_digits + 1];
    digits[text::period_digits] = '\0';
    const auto p = landscape_period(by_cards, x);
    return p ? text::period_text(*p, digits + text::period_digits) : "";
}

// The fewest moves that bring a card from one position to another, as
// deal-solve finds them, in room the page can spare: a deck of 52 takes the
// most moves a search allows, a larger deck proportionally fewer.
std::int16_t solve_table[std::size_t{1} << 22];
std::int16_t solve_branches[std::size_t{1} << 16];
deal::search solver(solve_table, solve_branches);
char solve_texts[std::size_t{1} << 20];
std::size_t solve_begins[deal::max_search_moves + 1];
text::move_book solve_book(solve_texts, solve_begins);
char solved[std::size_t{1} << 16];

static bool take_move(void*, const deal::move& m) {
    return solve_book.add(m) && solver.add(m);
}

// Reads the moves allowed in the text and searches from position `from` to
// `to` of the deck learnt: the routine's length, its text in
// explorer_solved(); -1 where none reaches `to`; -2 with the fault in
// explorer_message().
EMSCRIPTEN_KEEPALIVE int explorer_solve(int length, int from, int to) {
    if (cut_short(length)) {
        std::snprintf(message, sizeof message, "the moves allowed have at most %zu bytes here",
                      sizeof typed - 1);
        return -2;
    }
    solver.reset(deck_size);
    solve_book.clear();
    if (!text::read_move_list(typed_text(length), deck_size, take_move, nullptr, shown_value,
                              message, sizeof message))
        return -2;
    const int found = solver.solve(from, to);
    if (found < 0)
        return -1;
    static int path[deal::max_cards];
    solver.first({path, static_cast<std::size_t>(found)});
    text::appender a(solved, sizeof solved);
    for (int i = 0; i < found; ++i) {
        const std::string_view move = solve_book[path[i]];
        a.add("%s%.*s", i == 0 ? "" : "; ", static_cast<int>(move.size()), move.data());
    }
    return found;
}
EMSCRIPTEN_KEEPALIVE const char* explorer_solved() {
    return solved;
}

} // extern "C"
