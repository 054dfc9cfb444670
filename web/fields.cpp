#include "web/fields.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "deal/follow.hpp"
#include "deal/limits.hpp"
#include "text/cards.hpp"
#include "text/count_words.hpp"
#include "text/deal_words.hpp"
#include "text/deck_words.hpp"
#include "text/integer_text.hpp"
#include "text/option_words.hpp"
#include "text/routine_words.hpp"
#include "views/limits.hpp"

namespace web {

const char* shown_value(std::string_view value, text::shown_length length, char* out,
                        std::size_t room) {
    const std::size_t most = text::shown_most(length);
    std::size_t kept = value.size();
    if (kept > most) {
        // Cut before the character that the last byte kept would split.
        kept = most - 1;
        while (kept > 0 && (static_cast<unsigned char>(value[kept]) & 0xc0) == 0x80)
            --kept;
    }
    std::snprintf(out, room, "\xe2\x80\x9c%.*s%s\xe2\x80\x9d", static_cast<int>(kept), value.data(),
                  kept < value.size() ? "\xe2\x80\xa6" : "");
    return out;
}

std::string shown(std::string_view value) {
    // The quotation marks and the ellipsis take three bytes each.
    char buffer[text::shown_most(text::shown_length::value) + 10];
    return shown_value(value, text::shown_length::value, buffer, sizeof buffer);
}

bool fields::faulted(std::string_view field, const char* words) {
    fault_field = field;
    fault = words;
    return false;
}

deal::description fields::deal_of(std::int64_t hands) const {
    return rules.dealt_to(hands,
                          cards_given ? std::optional<std::int64_t>{rules.cards} : std::nullopt);
}

int fields::most_hands() const {
    std::int64_t most = deal::hand_limits(own_deal, cards_given).most;
    if (!cards_given)
        most = std::min<std::int64_t>(most, deal::max_cards / rules.cards_per_hand());
    return static_cast<int>(most);
}

namespace {

// The Deck field's deck for the deck of the fields, into `f`; false where it
// does not fit.
bool read_start(const request& r, fields& f) {
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

// The card count, the deck's size where it says one, and the deal's
// options, in the order the programs read --cards, --deck and the deal's
// options: the first at fault is the one they would name. The page's fields
// are named as the options are.
bool read_deal(const request& r, fields& f) {
    char words[text::words_room];
    if (const std::string_view cards = r["cards"]; !cards.empty()) {
        const auto count = text::read_integer(cards, "card count", 1, deal::max_cards, shown_value,
                                              words, sizeof words);
        if (!count)
            return f.faulted("cards", words);
        f.cards_given = true;
        f.rules.cards = static_cast<std::int32_t>(*count);
    }
    if (const auto size = text::cards_of_deck(r["deck"], f.cards_given)) {
        f.cards_given = true;
        f.rules.cards = *size;
    }
    // The packets are always read, so that an empty field is said to be
    // one; a choice left empty keeps deal's own.
    text::option_values values;
    values[static_cast<int>(text::deal_option::packets)] = r["packets"];
    for (const text::deal_option o :
         {text::deal_option::rest, text::deal_option::first_card, text::deal_option::bottom_hand}) {
        const std::string_view value = r[text::deal_options[static_cast<int>(o)].name];
        if (!value.empty())
            values[static_cast<int>(o)] = value;
    }
    if (const auto o = text::read_deal_options(values, f.rules, shown_value, words, sizeof words))
        return f.faulted(text::deal_options[static_cast<int>(*o)].name, words);
    f.own_deal = !f.cards_given && f.rules.default_rules();
    return true;
}

// A routine's deck is the Cards field's, a pack where it is empty, and its
// deals carry their own hands: the Hands field waits until it is cleared.
bool read_routine(const request& r, fields& f, std::string_view routine) {
    char words[text::words_room];
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
    return true;
}

// The deal into the Hands field's count of hands, as a routine of one deal.
bool read_hands(const request& r, fields& f) {
    char words[text::words_room];
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
    return true;
}

bool read_fields(const request& r, fields& f) {
    if (!read_deal(r, f))
        return false;
    const std::string_view routine = r["routine"];
    f.routine_given = routine.find_first_not_of(" \t") != std::string_view::npos;
    if (f.routine_given ? !read_routine(r, f, routine) : !read_hands(r, f))
        return false;
    return read_start(r, f);
}

} // namespace

bool read_into(const request& r, fields& f, answer& a) {
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

namespace {

constexpr bool power_of_ten(std::int64_t n) {
    return n == 1 || (n > 0 && n % 10 == 0 && power_of_ten(n / 10));
}
static_assert(power_of_ten(views::max_trick_round));

// views::max_trick_round as a person reads it: 10¹⁸.
std::string trick_rounds_words() {
    int zeros = 0;
    for (std::int64_t n = views::max_trick_round; n > 1; n /= 10)
        ++zeros;
    static constexpr const char* superscripts[] = {"\u2070", "\u00b9", "\u00b2", "\u00b3",
                                                   "\u2074", "\u2075", "\u2076", "\u2077",
                                                   "\u2078", "\u2079"};
    std::string words = "with a chosen pile, rounds run from 0 to 10";
    for (const char digit : std::to_string(zeros))
        words += superscripts[digit - '0'];
    return words;
}

} // namespace

round_reading read_round(std::string_view text, const deal::routine& round, int followed) {
    round_reading reading;
    const bool trick = reading.trick = !deal::runs_backwards(round) && followed >= 0;
    const std::size_t signed_ = !text.empty() && (text[0] == '+' || text[0] == '-');
    const auto most_digits = static_cast<std::size_t>(views::max_round_digits);
    text::integer_text checked;
    if (text.empty()) {
        reading.fault = "type a round number, such as 0, 12 or -1";
    } else if (text.size() - signed_ > most_digits &&
               text.find_first_not_of("0123456789", signed_) == std::string_view::npos) {
        reading.fault = "a round number has at most " + std::to_string(most_digits) +
                        " digits; this one has " + std::to_string(text.size() - signed_);
    } else if (!text::parse_integer(text, checked)) {
        reading.fault = shown(text) + " is not a whole number";
    } else if (trick && checked.value() < 0) {
        char words[text::words_room];
        text::backwards_words(words, sizeof words, shown(text).c_str());
        reading.fault = words;
    } else if (trick) {
        // integer_text holds a value exactly up to 2^40 only: a trick's
        // round, up to 10^18, is read whole here.
        const std::string_view digits = text.substr(signed_);
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), reading.trick_round);
        if (error != std::errc{} || end != digits.data() + digits.size() ||
            reading.trick_round > views::max_trick_round)
            reading.fault = trick_rounds_words();
    }
    return reading;
}

std::optional<std::int64_t> chance_round(const request& r, char* words, std::size_t room) {
    return text::read_integer(r["round"], "round number", 0, deal::max_chance_rounds, shown_value,
                              words, room);
}

std::optional<std::vector<std::int32_t>> read_followed(std::string_view given, bool list,
                                                       const fields& f, std::string& fault) {
    std::vector<int> cards;
    char words[text::words_room];
    if (list && !text::read_cards(given, f.size, cards, shown_value, words, sizeof words)) {
        fault = words;
        return std::nullopt;
    }
    if (!list) {
        const auto card = text::read_card(given, f.size, shown_value, words, sizeof words);
        if (!card) {
            fault = words;
            return std::nullopt;
        }
        cards.push_back(*card);
    }
    std::vector<std::int32_t> positions;
    for (const int card : cards)
        positions.push_back(f.start.position_of(card));
    return positions;
}

int position_in(std::string_view text, int size) {
    text::integer_text n;
    return text::parse_integer(text, n) && n.value() >= 0 && n.value() < size
               ? static_cast<int>(n.value())
               : -1;
}

int clamped(const request& r, const char* field, int least, int most) {
    return std::clamp(static_cast<int>(std::strtol(std::string(r[field]).c_str(), nullptr, 10)),
                      least, most);
}

bool faces_asked(const request& r, const fields& f) {
    return r["faces"] == "1" && f.size <= deal::max_playing_cards;
}

} // namespace web
