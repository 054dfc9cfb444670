#include "text/routine_words.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

#include "text/appender.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"

namespace text {

namespace {

constexpr move_words all_moves[] = {
    {deal::move_kind::deal, "deal", "H [OPTION...]", "deal 3",
     "a deal into H hands, 1 to the deck's size, as the deal options say"},
    {deal::move_kind::cut, "cut", "K", "cut 1",
     "the top K cards, in their order, under the rest, K at most the deck's size either "
     "way: a negative one moves the bottom -K cards to the top"},
    {deal::move_kind::faro_out, "faro out", "", "faro out",
     "the top half, the larger, and the rest interleaved perfectly, the top card staying on top"},
    {deal::move_kind::faro_in, "faro in", "", "faro in",
     "the top half, the smaller, and the rest interleaved, the rest's top card coming on top"},
    {deal::move_kind::reverse, "reverse", "", "reverse", "the deck turned over"},
    {deal::move_kind::monge, "monge", "", "monge",
     "each card from the top onto a new pile, the second on top of the first, the third "
     "under them, and so on in turn"},
    {deal::move_kind::down_under, "down-under", "", "down-under",
     "cards from the top alternately down onto a pile and under the rest, the first down"},
    {deal::move_kind::under_down, "under-down", "", "under-down", "the same, the first under"},
};

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && is_blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The next blank-separated word of `s`, taken off its front.
std::string_view next_word(std::string_view& s) {
    s = trimmed(s);
    std::size_t n = 0;
    while (n < s.size() && !is_blank(s[n]))
        ++n;
    const std::string_view word = s.substr(0, n);
    s.remove_prefix(n);
    return word;
}

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        if (c != b[i])
            return false;
    }
    return true;
}

// A comma-separated list of integers from 0, each at most `most`, into
// `out`; its length, or -1 if it is no such list or holds more than `room`.
long read_list(std::string_view list, std::int64_t most, std::int16_t* out, std::size_t room) {
    std::size_t count = 0, at = 0;
    for (;;) {
        const std::size_t first = at;
        std::int64_t value = 0;
        while (at < list.size() && list[at] >= '0' && list[at] <= '9')
            value = std::min<std::int64_t>(value * 10 + (list[at++] - '0'), most + 1);
        if (at == first || (at < list.size() && list[at] != ',') || value > most || count == room)
            return -1;
        out[count++] = static_cast<std::int16_t>(value);
        if (at == list.size())
            return static_cast<long>(count);
        ++at;
    }
}

// Where the words go, and how values are shown in them.
struct fault_out {
    show_value show;
    char* words;
    std::size_t room;

    const char* shown(std::string_view value, char* buffer, std::size_t size) const {
        return show(value, shown_length::value, buffer, size);
    }
    // "SHOWN TEXT", as `format` puts them.
    bool say(const char* format, std::string_view value) const {
        char buffer[300];
        std::snprintf(words, room, format, shown(value, buffer, sizeof buffer));
        return false;
    }
};

// An integer as it was written, which holds nothing but a sign and digits:
// shown as it is, as the programs show a number out of range.
const char* written(const integer_text& n, char* out, std::size_t room) {
    std::snprintf(out, room, "%s%s", n.shown(), n.cut() ? "..." : "");
    return out;
}

} // namespace

bool check_integer(const integer_text& n, const char* what, std::int64_t least, std::int64_t most,
                   char* words, std::size_t room) {
    if (n.value() >= least && n.value() <= most)
        return true;
    char shown[integer_text::shown_max + 4];
    range_words(words, room, what, written(n, shown, sizeof shown), least, most);
    return false;
}

std::optional<std::int64_t> read_integer(std::string_view given, const char* what,
                                         std::int64_t least, std::int64_t most, show_value show,
                                         char* words, std::size_t room) {
    integer_text n;
    if (!parse_integer(given, n)) {
        char buffer[300];
        not_integer_words(words, room, show(given, shown_length::value, buffer, sizeof buffer),
                          what);
        return std::nullopt;
    }
    if (!check_integer(n, what, least, most, words, room))
        return std::nullopt;
    return n.value();
}

bool check_hand_count(const integer_text& count, const deal::description& rules, bool own_deal,
                      bool cards_given, std::int64_t least, char* words, std::size_t room) {
    const deal::count_limits limits = deal::hand_limits(own_deal, cards_given);
    if (!check_integer(count, "hand count", std::max(least, limits.least), limits.most, words,
                       room))
        return false;
    if (!cards_given && !deal::cards_fit(rules, count.value())) {
        too_many_cards_words(words, room, count.value(), rules);
        return false;
    }
    return true;
}

std::span<const move_words> moves() {
    return all_moves;
}

const move_words& words_of(deal::move_kind kind) {
    return all_moves[static_cast<std::size_t>(kind)];
}

bool read_deal_option(deal_option o, std::string_view value, deal::description& d, show_value show,
                      char* words, std::size_t room) {
    const fault_out fault{show, words, room};
    char buffer[300];
    switch (o) {
    case deal_option::packets: {
        const auto reading = read_packets(value, d);
        if (reading.fault == packets_reading::none)
            return true;
        packets_words(words, room, reading, fault.shown(value, buffer, sizeof buffer));
        return false;
    }
    case deal_option::rest:
    case deal_option::first_card:
    case deal_option::bottom_hand: {
        const choice& c = o == deal_option::rest         ? rest_choice
                          : o == deal_option::first_card ? first_card_choice
                                                         : bottom_hand_choice;
        const auto index = named(c, value);
        if (!index) {
            choice_words(words, room, c, fault.shown(value, buffer, sizeof buffer));
            return false;
        }
        if (o == deal_option::rest)
            d.rest = static_cast<deal::rest>(*index);
        else if (o == deal_option::first_card)
            d.first_card = static_cast<deal::first_card>(*index);
        else
            d.bottom_hand = static_cast<deal::bottom_hand>(*index);
        return true;
    }
    case deal_option::gather: {
        static std::array<std::int16_t, deal::max_deal_hands> order;
        const long count = read_list(value, deal::max_deal_hands - 1, order.data(), order.size());
        if (count < 0)
            return fault.say("%s is not a list of hands: each hand's number once, from 0, "
                             "separated by commas, such as 2,0,1",
                             value);
        d.set_gather({order.data(), static_cast<std::size_t>(count)});
        return true;
    }
    case deal_option::chosen_pile: {
        integer_text t;
        if (!parse_integer(value, t))
            return fault.say("%s is not an integer chosen pile", value);
        if (t.value() < 0 || t.value() >= deal::max_deal_hands) {
            range_words(words, room, "chosen pile", written(t, buffer, sizeof buffer), 0,
                        deal::max_deal_hands - 1);
            return false;
        }
        d.chosen_pile = static_cast<std::int32_t>(t.value());
        return true;
    }
    }
    return true;
}

bool check_gathering(const deal::description& d, show_value show, char* words, std::size_t room) {
    switch (deal::check(d)) {
    case deal::fault::gather_not_hands: {
        char list[80];
        appender(list, sizeof list).list(d.gather());
        char buffer[300];
        std::snprintf(words, room,
                      "--gather %s does not name each of the %d hands once: their numbers, 0 "
                      "to %d, in the order they lie from the top",
                      show(list, shown_length::value, buffer, sizeof buffer), d.hands, d.hands - 1);
        return false;
    }
    case deal::fault::chosen_pile_out_of_range: {
        char value[24];
        std::snprintf(value, sizeof value, "%d", d.chosen_pile);
        range_words(words, room, "chosen pile", value, 0, d.hands - 1);
        return false;
    }
    default:
        return true;
    }
}

namespace {

// Reads a deal move's hand count and options, the text after "deal".
bool read_deal_move(std::string_view rest_text, int cards, deal::move& m, const fault_out& fault) {
    const std::string_view count_text = next_word(rest_text);
    if (count_text.empty()) {
        std::snprintf(fault.words, fault.room, "deal needs H, the number of hands, from 1 to %d",
                      cards);
        return false;
    }
    integer_text count;
    if (!parse_integer(count_text, count))
        return fault.say("%s is not an integer hand count", count_text);
    char buffer[300];
    if (count.value() < 1 || count.value() > cards) {
        range_words(fault.words, fault.room, "hand count", written(count, buffer, sizeof buffer), 1,
                    cards);
        return false;
    }
    m.deal = deal::description();
    bool given[deal_option_count] = {};
    for (std::string_view word; !(word = next_word(rest_text)).empty();) {
        if (word.size() < 3 || word.substr(0, 2) != "--")
            return fault.say("%s is not an option of a deal move, which are --packets, --rest, "
                             "--first-card, --bottom-hand, --gather and --chosen-pile",
                             word);
        std::string_view name = word.substr(2), value;
        const std::size_t equals = name.find('=');
        const bool attached = equals != std::string_view::npos;
        if (attached) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        int found = -1, matches = 0;
        for (int o = 0; o < deal_option_count; ++o) {
            const std::string_view full = deal_options[o].name;
            if (full.substr(0, name.size()) == name) {
                ++matches;
                found = o;
                if (full.size() == name.size()) {
                    matches = 1;
                    break;
                }
            }
        }
        if (matches != 1) {
            if (std::string_view{"cards"}.substr(0, name.size()) == name && !name.empty())
                return fault.say("%s is not an option of a deal move: it deals the whole deck, "
                                 "whose size is COUNT",
                                 word);
            return fault.say(matches == 0
                                 ? "%s is not an option of a deal move, which are --packets, "
                                   "--rest, --first-card, --bottom-hand, --gather and --chosen-pile"
                                 : "%s is ambiguous among a deal move's options",
                             word);
        }
        const char* const full = deal_options[found].name;
        if (!attached) {
            value = next_word(rest_text);
            if (value.empty()) {
                std::snprintf(fault.words, fault.room, "option '--%s' needs a value: %s", full,
                              deal_options[found].value);
                return false;
            }
        }
        if (given[found]) {
            std::snprintf(fault.words, fault.room, "option '--%s' given twice: it takes one value",
                          full);
            return false;
        }
        given[found] = true;
        if (!read_deal_option(static_cast<deal_option>(found), value, m.deal, fault.show,
                              fault.words, fault.room))
            return false;
    }
    if (given[static_cast<int>(deal_option::gather)] &&
        given[static_cast<int>(deal_option::bottom_hand)]) {
        std::snprintf(fault.words, fault.room, "%s",
                      "--gather and --bottom-hand both say how the hands are gathered: give one");
        return false;
    }
    m.deal = m.deal.dealt_to(count.value(), cards);
    return check_gathering(m.deal, fault.show, fault.words, fault.room);
}

bool read_move(std::string_view text, int cards, deal::move& m, const fault_out& fault) {
    std::string_view rest_text = text;
    const std::string_view name = next_word(rest_text);
    m = deal::move{};
    if (same_letters(name, "deal")) {
        m.kind = deal::move_kind::deal;
        return read_deal_move(rest_text, cards, m, fault);
    }
    if (same_letters(name, "cut")) {
        m.kind = deal::move_kind::cut;
        const std::string_view k = next_word(rest_text);
        if (k.empty()) {
            std::snprintf(fault.words, fault.room,
                          "cut needs K, the number of cards to take from the top, from %d to %d",
                          -cards, cards);
            return false;
        }
        integer_text count;
        if (!parse_integer(k, count))
            return fault.say("%s is not an integer number of cards to cut", k);
        if (count.value() < -cards || count.value() > cards) {
            char buffer[300];
            range_words(fault.words, fault.room, "cut", written(count, buffer, sizeof buffer),
                        -cards, cards);
            return false;
        }
        m.cut = static_cast<std::int32_t>(count.value());
    } else if (same_letters(name, "faro")) {
        const std::string_view side = next_word(rest_text);
        if (side.empty()) {
            std::snprintf(fault.words, fault.room, "%s", "faro needs its kind: out or in");
            return false;
        }
        if (same_letters(side, "out"))
            m.kind = deal::move_kind::faro_out;
        else if (same_letters(side, "in"))
            m.kind = deal::move_kind::faro_in;
        else
            return fault.say("%s is not a faro: out or in", side);
    } else {
        bool known = false;
        for (const move_words& w : all_moves)
            if (w.arguments[0] == '\0' && same_letters(name, w.name) &&
                w.kind != deal::move_kind::faro_out && w.kind != deal::move_kind::faro_in) {
                m.kind = w.kind;
                known = true;
            }
        if (!known)
            return fault.say("%s is not a move: deal, cut, faro out, faro in, reverse, monge, "
                             "down-under or under-down",
                             name);
    }
    if (const std::string_view extra = next_word(rest_text); !extra.empty())
        return fault.say("%s is more than the move takes", extra);
    return true;
}

} // namespace

bool read_routine(std::string_view text, int cards, deal::routine& r, show_value show, char* words,
                  std::size_t room) {
    const fault_out fault{show, words, room};
    r.clear();
    r.cards = cards;
    if (trimmed(text).empty())
        return fault.say("the routine %s holds no move: give moves separated by ';', such as "
                         "'faro out; cut 26'",
                         text);
    int number = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(';'), text.size());
        const std::string_view piece = trimmed(text.substr(0, end));
        ++number;
        if (number > deal::max_moves) {
            std::snprintf(words, room, "the routine holds more than %d moves", deal::max_moves);
            return false;
        }
        static char reason[words_room];
        deal::move m;
        bool read = !piece.empty();
        if (read)
            read = read_move(piece, cards, m, {show, reason, sizeof reason});
        else
            std::snprintf(reason, sizeof reason, "%s", "no move is there");
        if (!read) {
            char buffer[600];
            std::snprintf(words, room, "move %d of the routine, %s: %s", number,
                          show(piece, shown_length::move, buffer, sizeof buffer), reason);
            return false;
        }
        r.add(m);
        if (end == text.size())
            return true;
        text.remove_prefix(end + 1);
    }
}

namespace {

// The token around `at`: the run of characters that are neither blanks nor
// '=', which is how an option's value is set off.
std::string_view token_around(std::string_view text, std::size_t at) {
    const auto stop = [](char c) { return c == ' ' || c == '\t' || c == '='; };
    std::size_t begin = at, end = at;
    while (begin > 0 && !stop(text[begin - 1]))
        --begin;
    while (end < text.size() && !stop(text[end]))
        ++end;
    return text.substr(begin, end - begin);
}

} // namespace

bool read_move_list(std::string_view text, int cards, take_move take, void* context,
                    show_value show, char* words, std::size_t room) {
    const fault_out fault{show, words, room};
    if (trimmed(text).empty())
        return fault.say("the moves allowed, %s, are none: give moves separated by '|', such "
                         "as 'faro in | faro out'",
                         text);
    static char reason[words_room];
    // A move with its range's value written in: as long as the move, and a
    // number.
    static char expanded[4096 + 32];
    int number = 0;
    std::int64_t total = 0;
    for (;;) {
        const std::size_t end = std::min(text.find('|'), text.size());
        const std::string_view piece = trimmed(text.substr(0, end));
        ++number;
        const auto bad = [&]() {
            char buffer[600];
            std::snprintf(words, room, "move %d of the moves allowed, %s: %s", number,
                          show(piece, shown_length::move, buffer, sizeof buffer), reason);
            return false;
        };
        if (piece.empty()) {
            std::snprintf(reason, sizeof reason, "%s", "no move is there");
            return bad();
        }
        if (piece.find(';') != std::string_view::npos) {
            std::snprintf(reason, sizeof reason, "%s",
                          "each move allowed is one move: separate them by '|'");
            return bad();
        }
        // A range, where there is one: its ends, and the text on either side.
        const std::size_t dots = piece.find("..");
        std::int64_t least = 0, most = 0;
        std::string_view before = piece, after;
        if (dots != std::string_view::npos) {
            const std::string_view range = token_around(piece, dots);
            const std::size_t at = static_cast<std::size_t>(range.data() - piece.data());
            const std::size_t split = dots - at;
            integer_text a, b;
            char buffer[300];
            if (!parse_integer(range.substr(0, split), a) ||
                !parse_integer(range.substr(split + 2), b)) {
                std::snprintf(reason, sizeof reason, "%s is not a range of integers A..B",
                              fault.shown(range, buffer, sizeof buffer));
                return bad();
            }
            if (piece.find("..", at + range.size()) != std::string_view::npos) {
                std::snprintf(reason, sizeof reason, "%s",
                              "a move takes one range: give the others as moves of their own");
                return bad();
            }
            if (b.value() < a.value()) {
                std::snprintf(reason, sizeof reason,
                              "range %s runs backwards: its first end must be the lower",
                              fault.shown(range, buffer, sizeof buffer));
                return bad();
            }
            least = a.value();
            most = b.value();
            before = piece.substr(0, at);
            after = piece.substr(at + range.size());
            if (piece.size() > sizeof expanded - 32) {
                std::snprintf(reason, sizeof reason, "a move with a range has at most %zu bytes",
                              sizeof expanded - 32);
                return bad();
            }
        }
        if (most - least >= deal::max_search_moves - total) {
            std::snprintf(words, room,
                          "the moves allowed come to more than %d, ranges counted value by value",
                          deal::max_search_moves);
            return false;
        }
        total += most - least + 1;
        for (std::int64_t v = least; v <= most; ++v) {
            std::string_view one = piece;
            if (dots != std::string_view::npos) {
                const int n = std::snprintf(expanded, sizeof expanded, "%.*s%lld%.*s",
                                            static_cast<int>(before.size()), before.data(),
                                            static_cast<long long>(v),
                                            static_cast<int>(after.size()), after.data());
                one = {expanded, static_cast<std::size_t>(n)};
            }
            deal::move m;
            if (!read_move(one, cards, m, {show, reason, sizeof reason}))
                return bad();
            if (!take(context, m)) {
                std::snprintf(reason, sizeof reason, "%s",
                              "there is no room for so many moves on so large a deck");
                return bad();
            }
        }
        if (end == text.size())
            return true;
        text.remove_prefix(end + 1);
    }
}

bool move_book::add(const deal::move& m) {
    if (count_ + 2 > begin_.size())
        return false;
    if (count_ == 0)
        begin_[0] = 0;
    const std::size_t at = begin_[count_];
    char* const end = move_text(m, text_.data() + at, text_.size() - at);
    // A text that filled the room may have been cut short: there was none.
    const auto used = static_cast<std::size_t>(end - text_.data());
    if (used + 1 >= text_.size())
        return false;
    begin_[++count_] = used;
    return true;
}

char* move_text(const deal::move& m, char* out, std::size_t room) {
    appender a(out, room);
    a.add("%s", words_of(m.kind).name);
    if (m.kind == deal::move_kind::cut) {
        a.add(" %d", m.cut);
    } else if (m.kind == deal::move_kind::deal) {
        a.add(" %d", m.deal.hands);
        static char options[rules_room];
        options_text(m.deal, false, options, sizeof options);
        if (options[0] != '\0')
            a.add(" %s", options);
    }
    return a.at;
}

char* routine_text(const deal::routine& r, char* out, std::size_t room) {
    appender a(out, room);
    for (std::size_t i = 0; i < r.moves().size(); ++i) {
        a.add("%s", i == 0 ? "" : "; ");
        a.at = move_text(r.moves()[i], a.at, static_cast<std::size_t>(a.end - a.at) + 1);
    }
    return a.at;
}

} // namespace text
