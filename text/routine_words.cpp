#include "text/routine_words.hpp"

#include <algorithm>
#include <cstdio>

#include "text/appender.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"
#include "text/option_words.hpp"

namespace text {

namespace {

constexpr move_words all_moves[deal::move_kind_count] = {
    {deal::move_kind::deal, "deal", "H [OPTION...]", "deal 3",
     "a deal into H hands, 1 to the deck's size, as the deal options say"},
    {deal::move_kind::cut, "cut", "K", "cut 1",
     "the top K cards, in their order, under the rest, K at most the deck's size either "
     "way: a negative one moves the bottom -K cards to the top"},
    {deal::move_kind::faro_out, "faro out", "", "faro out",
     "the top half, the larger, and the rest interleaved perfectly, the top card staying on top"},
    {deal::move_kind::faro_in, "faro in", "", "faro in",
     "the top half, the smaller, and the rest interleaved, the rest's top card coming on top"},
    {deal::move_kind::reverse, "reverse", "", "reverse",
     "the deck's order reversed, each card's face as it was, as a deck is counted card by card "
     "onto the table"},
    {deal::move_kind::monge, "monge", "", "monge",
     "each card from the top onto a new pile, the second on top of the first, the third "
     "under them, and so on in turn"},
    {deal::move_kind::down_under, "down-under", "", "down-under",
     "cards from the top alternately down onto a pile and under the rest, the first down"},
    {deal::move_kind::under_down, "under-down", "", "under-down", "the same, the first under"},
    {deal::move_kind::turn, "turn", "[K]", "turn",
     "the top K cards, 1 to the deck's size, turned over together and put back on top, or the "
     "whole deck without K: their order reversed and each card turned face up or down"},
    {deal::move_kind::riffle, "riffle", "[A]", "riffle",
     "by chance: one riffle shuffle, the deck cut after a binomial count of cards and the cards "
     "dropped from the bottoms of the two packets, each with chance proportional to the cards it "
     "holds; deal-after --seed plays it; with A, 2 to 16, into A packets, each card into any "
     "one alike"},
    {deal::move_kind::random_cut, "cut random", "", "cut random",
     "by chance: a cut of K cards, K equally likely from 0 to the deck's size less one"},
};
static_assert(deal::max_riffle_packets == 16, "the riffle's words state its most packets");
constexpr bool follows_kinds() {
    for (int i = 0; i < deal::move_kind_count; ++i)
        if (static_cast<int>(all_moves[i].kind) != i)
            return false;
    return true;
}
static_assert(follows_kinds(), "the table of moves follows their enum");

// The moves' names for a sentence: "deal, cut, ... or under-down".
const char* move_names(char* out, std::size_t room) {
    appender a(out, room);
    for (int i = 0; i < deal::move_kind_count; ++i)
        a.add("%s%s",
              i == 0                           ? ""
              : i + 1 == deal::move_kind_count ? " or "
                                               : ", ",
              all_moves[i].name);
    return out;
}

// Any white space separates words, as the shell and a file written by hand
// may leave a newline or a tab between them.
bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
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

} // namespace

std::span<const move_words> moves() {
    return all_moves;
}

const move_words& words_of(deal::move_kind kind) {
    return all_moves[static_cast<std::size_t>(kind)];
}

namespace {

bool not_an_option(std::string_view word, const fault_out& fault) {
    char names[200], format[300];
    std::snprintf(format, sizeof format, "%%s is not an option of a deal move, which are %s",
                  option_names(names, sizeof names));
    return fault.say(format, word);
}

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
            return not_an_option(word, fault);
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
            return matches == 0 ? not_an_option(word, fault)
                                : fault.say("%s is ambiguous among a deal move's options", word);
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
        std::snprintf(fault.words, fault.room, "%s", gather_and_bottom_hand);
        return false;
    }
    m.deal = m.deal.dealt_to(count.value(), cards);
    return check_gathering(m.deal, fault.show, fault.words, fault.room);
}

// A riffle's packets, A, the word after "riffle" where there is one.
bool read_riffle(std::string_view& rest_text, deal::move& m, const fault_out& fault) {
    m.kind = deal::move_kind::riffle;
    const std::string_view a = next_word(rest_text);
    if (a.empty())
        return true;
    integer_text count;
    if (!parse_integer(a, count))
        return fault.say("%s is not an integer number of packets to riffle", a);
    if (count.value() < 2 || count.value() > deal::max_riffle_packets) {
        char buffer[300];
        range_words(fault.words, fault.room, "riffle", written(count, buffer, sizeof buffer), 2,
                    deal::max_riffle_packets);
        return false;
    }
    m.packets = static_cast<std::int32_t>(count.value());
    return true;
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
        if (same_letters(k, "random")) {
            m.kind = deal::move_kind::random_cut;
        } else {
            if (k.empty()) {
                std::snprintf(fault.words, fault.room,
                              "cut needs K, the number of cards to take from the top, from %d to "
                              "%d, or random",
                              -cards, cards);
                return false;
            }
            integer_text count;
            if (!parse_integer(k, count))
                return fault.say("%s is not an integer number of cards to cut, nor random", k);
            if (count.value() < -cards || count.value() > cards) {
                char buffer[300];
                range_words(fault.words, fault.room, "cut", written(count, buffer, sizeof buffer),
                            -cards, cards);
                return false;
            }
            m.cut = static_cast<std::int32_t>(count.value());
        }
    } else if (same_letters(name, "turn")) {
        m.kind = deal::move_kind::turn;
        if (const std::string_view k = next_word(rest_text); !k.empty()) {
            integer_text count;
            if (!parse_integer(k, count))
                return fault.say("%s is not an integer number of cards to turn", k);
            if (count.value() < 1 || count.value() > cards) {
                char buffer[300];
                range_words(fault.words, fault.room, "turn", written(count, buffer, sizeof buffer),
                            1, cards);
                return false;
            }
            m.cut = static_cast<std::int32_t>(count.value());
        }
    } else if (same_letters(name, "riffle")) {
        if (!read_riffle(rest_text, m, fault))
            return false;
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
        if (!known) {
            char names[200], format[300];
            std::snprintf(format, sizeof format, "%%s is not a move: %s",
                          move_names(names, sizeof names));
            return fault.say(format, name);
        }
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
        char reason[words_room];
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
    const auto stop = [](char c) { return is_blank(c) || c == '='; };
    std::size_t begin = at, end = at;
    while (begin > 0 && !stop(text[begin - 1]))
        --begin;
    while (end < text.size() && !stop(text[end]))
        ++end;
    return text.substr(begin, end - begin);
}

// A move allowed, with at most one range A..B in it: the text on either
// side of the range, and its ends; one value, and the move whole, where
// there is none.
struct ranged_move {
    std::string_view before, after;
    std::int64_t least = 0, most = 0;
    bool ranged = false;
};
// A move with its range's value written in: as long as the move, and a
// number.
constexpr std::size_t most_ranged_move = 4096;

// Reads the range of `piece`, where there is one; false with the fault in
// `reason`, of `room` bytes.
bool read_range(std::string_view piece, ranged_move& move, const fault_out& fault, char* reason,
                std::size_t room) {
    move.before = piece;
    const std::size_t dots = piece.find("..");
    if (dots == std::string_view::npos)
        return true;
    const std::string_view range = token_around(piece, dots);
    const std::size_t at = static_cast<std::size_t>(range.data() - piece.data());
    const std::size_t split = dots - at;
    integer_text a, b;
    char buffer[300];
    if (!parse_integer(range.substr(0, split), a) || !parse_integer(range.substr(split + 2), b)) {
        std::snprintf(reason, room, "%s is not a range of integers A..B",
                      fault.shown(range, buffer, sizeof buffer));
        return false;
    }
    if (piece.find("..", at + range.size()) != std::string_view::npos) {
        std::snprintf(reason, room, "%s",
                      "a move takes one range: give the others as moves of their own");
        return false;
    }
    if (b.value() < a.value()) {
        std::snprintf(reason, room, "range %s runs backwards: its first end must be the lower",
                      fault.shown(range, buffer, sizeof buffer));
        return false;
    }
    move = {piece.substr(0, at), piece.substr(at + range.size()), a.value(), b.value(), true};
    if (piece.size() > most_ranged_move) {
        std::snprintf(reason, room, "a move with a range has at most %zu bytes", most_ranged_move);
        return false;
    }
    return true;
}

// Reads the move of `move` for each value of its range, for a deck of
// `cards` cards, and hands each to take(context, m); false with the fault
// in `reason`, of `room` bytes.
bool take_each(const ranged_move& move, int cards, take_move take, void* context, show_value show,
               char* reason, std::size_t room) {
    char expanded[most_ranged_move + 32];
    for (std::int64_t v = move.least; v <= move.most; ++v) {
        std::string_view one = move.before;
        if (move.ranged) {
            const int n = std::snprintf(expanded, sizeof expanded, "%.*s%lld%.*s",
                                        static_cast<int>(move.before.size()), move.before.data(),
                                        static_cast<long long>(v),
                                        static_cast<int>(move.after.size()), move.after.data());
            one = {expanded, static_cast<std::size_t>(n)};
        }
        deal::move m;
        if (!read_move(one, cards, m, {show, reason, room}))
            return false;
        if (deal::by_chance(m.kind)) {
            std::snprintf(reason, room, "%s",
                          "a move by chance takes no card to one place: allow exact moves");
            return false;
        }
        if (!take(context, m)) {
            std::snprintf(reason, room, "%s",
                          "there is no room for so many moves on so large a deck");
            return false;
        }
    }
    return true;
}

} // namespace

bool read_move_list(std::string_view text, int cards, take_move take, void* context,
                    show_value show, char* words, std::size_t room) {
    const fault_out fault{show, words, room};
    if (trimmed(text).empty())
        return fault.say("the moves allowed, %s, are none: give moves separated by '|', such "
                         "as 'faro in | faro out'",
                         text);
    char reason[words_room];
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
        if (piece.empty() || piece.find(';') != std::string_view::npos) {
            std::snprintf(reason, sizeof reason, "%s",
                          piece.empty() ? "no move is there"
                                        : "each move allowed is one move: separate them by '|'");
            return bad();
        }
        ranged_move move;
        if (!read_range(piece, move, fault, reason, sizeof reason))
            return bad();
        if (move.most - move.least >= deal::max_search_moves - total) {
            std::snprintf(words, room,
                          "the moves allowed come to more than %d, ranges counted value by value",
                          deal::max_search_moves);
            return false;
        }
        total += move.most - move.least + 1;
        if (!take_each(move, cards, take, context, show, reason, sizeof reason))
            return bad();
        if (end == text.size())
            return true;
        text.remove_prefix(end + 1);
    }
}

char* move_text(const deal::move& m, char* out, std::size_t room) {
    appender a(out, room);
    a.add("%s", words_of(m.kind).name);
    if (m.kind == deal::move_kind::cut || (m.kind == deal::move_kind::turn && m.cut != 0)) {
        a.add(" %d", m.cut);
    } else if (m.kind == deal::move_kind::riffle && m.packets != 2) {
        a.add(" %d", m.packets);
    } else if (m.kind == deal::move_kind::deal) {
        a.add(" %d", m.deal.hands);
        char options[rules_room];
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

namespace text {

char* backwards_words(char* out, std::size_t room, const char* shown) {
    appender a(out, room);
    a.add("%s runs backwards, and a deal with a chosen pile cannot be undone: give rounds from 0",
          shown);
    return a.at;
}

} // namespace text
