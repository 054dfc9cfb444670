#include "text/move_words.hpp"

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
    {deal::move_kind::count, "count", "K", "count 5",
     "the top K cards, 1 to the deck's size, dealt one at a time onto a pile that is put back on "
     "top: their order reversed, each card's face as it was"},
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

} // namespace

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && is_blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back()))
        s.remove_suffix(1);
    return s;
}

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

// The deal option `word` names, shortened to any unambiguous prefix, with
// its value where it is attached; -1 after a fault.
int option_named(std::string_view word, std::string_view& name, std::string_view& value,
                 bool& attached, const fault_out& fault) {
    if (word.size() < 3 || word.substr(0, 2) != "--")
        return not_an_option(word, fault), -1;
    name = word.substr(2);
    const std::size_t equals = name.find('=');
    attached = equals != std::string_view::npos;
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
    if (matches == 1)
        return found;
    if (std::string_view{"cards"}.substr(0, name.size()) == name && !name.empty())
        fault.say("%s is not an option of a deal move: it deals the whole deck, whose size is "
                  "COUNT",
                  word);
    else if (matches == 0)
        not_an_option(word, fault);
    else
        fault.say("%s is ambiguous among a deal move's options", word);
    return -1;
}

// Reads a deal move's options into `d`, a list of chosen piles into `piles`
// as written; false after a fault.
bool read_deal_options(std::string_view rest_text, deal::description& d, std::string_view& piles,
                       const fault_out& fault) {
    bool given[deal_option_count] = {};
    for (std::string_view word; !(word = next_word(rest_text)).empty();) {
        std::string_view name, value;
        bool attached = false;
        const int found = option_named(word, name, value, attached, fault);
        if (found < 0)
            return false;
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
        const auto option = static_cast<deal_option>(found);
        if (option == deal_option::chosen_pile && value.find(',') != std::string_view::npos)
            piles = value;
        else if (!read_deal_option(option, value, d, fault.show, fault.words, fault.room))
            return false;
    }
    if (given[static_cast<int>(deal_option::gather)] &&
        given[static_cast<int>(deal_option::bottom_hand)]) {
        std::snprintf(fault.words, fault.room, "%s", gather_and_bottom_hand);
        return false;
    }
    return true;
}

// Reads a deal move's hand count and options, the text after "deal": a
// move, or a move for each pile of a list of chosen piles.
bool read_deal_move(std::string_view rest_text, int cards, std::vector<deal::move>& out,
                    const fault_out& fault) {
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
    deal::move m;
    m.kind = deal::move_kind::deal;
    std::string_view piles_text;
    if (!read_deal_options(rest_text, m.deal, piles_text, fault))
        return false;
    m.deal = m.deal.dealt_to(count.value(), cards);
    std::vector<std::int32_t> piles;
    if (piles_text.empty())
        piles.push_back(m.deal.chosen_pile);
    else if (read_list(piles_text, 0, deal::max_deal_hands, deal::max_deal_hands, piles).fault !=
             list_reading::none)
        return fault.say("%s is not a list of chosen piles: integers separated by commas, "
                         "such as 1,2,0",
                         piles_text);
    for (std::size_t i = 0; i < piles.size(); ++i) {
        m.deal.chosen_pile = piles[i];
        m.another_pile = i > 0;
        if (!check_gathering(m.deal, fault.show, fault.words, fault.room))
            return false;
        out.push_back(m);
    }
    return true;
}

// A move's K, `what` from `least` to `most`, into m.cut; false after a
// fault, `needs` said where it is missing (nullptr where it may be).
bool read_k(std::string_view k, const char* what, const char* needs, int least, int most,
            deal::move& m, const fault_out& fault) {
    if (k.empty()) {
        if (needs)
            std::snprintf(fault.words, fault.room, needs, least, most);
        return needs == nullptr;
    }
    integer_text count;
    if (!parse_integer(k, count)) {
        char format[80];
        std::snprintf(format, sizeof format, "%%s is not an integer number of cards to %s", what);
        return fault.say(format, k);
    }
    if (count.value() < least || count.value() > most) {
        char buffer[300];
        range_words(fault.words, fault.room, what, written(count, buffer, sizeof buffer), least,
                    most);
        return false;
    }
    m.cut = static_cast<std::int32_t>(count.value());
    return true;
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

// A faro, or a move that takes no argument, from its name; false after a
// fault.
bool read_plain_move(std::string_view name, std::string_view& rest_text, deal::move& m,
                     const fault_out& fault) {
    if (same_letters(name, "faro")) {
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
        return true;
    }
    for (const move_words& w : all_moves)
        if (w.arguments[0] == '\0' && same_letters(name, w.name) &&
            w.kind != deal::move_kind::faro_out && w.kind != deal::move_kind::faro_in) {
            m.kind = w.kind;
            return true;
        }
    char names[200], format[300];
    std::snprintf(format, sizeof format, "%%s is not a move: %s", move_names(names, sizeof names));
    return fault.say(format, name);
}

} // namespace

bool read_move(std::string_view text, int cards, std::vector<deal::move>& out,
               const fault_out& fault) {
    std::string_view rest_text = text;
    const std::string_view name = next_word(rest_text);
    if (same_letters(name, "deal"))
        return read_deal_move(rest_text, cards, out, fault);
    deal::move m;
    bool read = true;
    if (same_letters(name, "cut")) {
        m.kind = deal::move_kind::cut;
        const std::string_view k = next_word(rest_text);
        if (same_letters(k, "random")) {
            m.kind = deal::move_kind::random_cut;
        } else if (k.empty()) {
            std::snprintf(fault.words, fault.room,
                          "cut needs K, the number of cards to take from the top, from %d to %d, "
                          "or random",
                          -cards, cards);
            return false;
        } else {
            integer_text count;
            if (!parse_integer(k, count))
                return fault.say("%s is not an integer number of cards to cut, nor random", k);
            read = read_k(k, "cut", nullptr, -cards, cards, m, fault);
        }
    } else if (same_letters(name, "turn")) {
        m.kind = deal::move_kind::turn;
        read = read_k(next_word(rest_text), "turn", nullptr, 1, cards, m, fault);
    } else if (same_letters(name, "count")) {
        m.kind = deal::move_kind::count;
        read = read_k(next_word(rest_text), "count",
                      "count needs K, the number of cards to count off the top, from %d to %d", 1,
                      cards, m, fault);
    } else if (same_letters(name, "riffle")) {
        read = read_riffle(rest_text, m, fault);
    } else {
        read = read_plain_move(name, rest_text, m, fault);
    }
    if (!read)
        return false;
    if (const std::string_view extra = next_word(rest_text); !extra.empty())
        return fault.say("%s is more than the move takes", extra);
    out.push_back(m);
    return true;
}

char* move_text(const deal::move& m, char* out, std::size_t room) {
    appender a(out, room);
    a.add("%s", words_of(m.kind).name);
    if (m.kind == deal::move_kind::cut || m.kind == deal::move_kind::count ||
        (m.kind == deal::move_kind::turn && m.cut != 0)) {
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

char* move_text(std::span<const deal::move> piles, char* out, std::size_t room) {
    appender a(out, room);
    a.at = move_text(piles.front(), a.at, static_cast<std::size_t>(a.end - a.at) + 1);
    // The chosen pile is the last option written: the others follow it.
    for (const deal::move& m : piles.subspan(1))
        a.add(",%d", m.deal.chosen_pile);
    return a.at;
}

bool same_but_pile(const deal::move& a, const deal::move& b) {
    if (a.kind != deal::move_kind::deal || b.kind != deal::move_kind::deal ||
        a.deal.chosen_pile < 0 || b.deal.chosen_pile < 0 || a.deal.hands != b.deal.hands)
        return false;
    deal::description x = a.deal, y = b.deal;
    x.chosen_pile = y.chosen_pile = 0;
    char one[rules_room], other[rules_room];
    options_text(x, true, one, sizeof one);
    options_text(y, true, other, sizeof other);
    return std::string_view{one} == other;
}

} // namespace text
