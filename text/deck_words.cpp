#include "text/deck_words.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "deal/pack.hpp"
#include "text/appender.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"

namespace text {

namespace {

bool separates(char c) {
    return c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The one reading of a deck's list into words: the next run of characters
// between separators from `at` on, and `at` past it; empty at the end.
std::string_view next_word(std::string_view list, std::size_t& at) {
    while (at < list.size() && separates(list[at]))
        ++at;
    const std::size_t first = at;
    while (at < list.size() && !separates(list[at]))
        ++at;
    return list.substr(first, at - first);
}

std::vector<deal::card> from_top(std::span<const int> order) {
    return {order.rbegin(), order.rend()};
}

// The stack that `word` names, in any letter case, as cards' names are read;
// -1 for none.
int stack_named(std::string_view word) {
    for (int s = 0; s < static_cast<int>(std::size(stack_names)); ++s) {
        const std::string_view name = stack_names[s];
        if (word.size() == name.size() &&
            std::equal(word.begin(), word.end(), name.begin(), [](char a, char b) {
                return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
            }))
            return s;
    }
    return -1;
}

// A list of cards from the top, read word by word into the deck, with the
// first fault in the family's words. Names make a packet of the pack's
// cards, each numbered by its place among them in a new deck's order.
class listed_deck {
public:
    listed_deck(std::string_view list, int cards, const fault_out& fault)
        : list_(list), cards_(cards), fault_(fault), words_(fault.words, fault.room),
          seen_(static_cast<std::size_t>(std::max(cards, deal::max_playing_cards))),
          // A word alone that is no card was meant for a stack's name.
          alone_(std::none_of(list.begin(), list.end(), separates)) {}

    // Reads every card into `bottom_first`, numbered, and the faces of a
    // packet of names into `faces`; false after a fault.
    bool read(std::vector<deal::card>& bottom_first, std::vector<int>& faces) {
        std::size_t at = 0;
        for (std::string_view word; !(word = next_word(list_, at)).empty();)
            if (!add(word))
                return false;
        if (static_cast<int>(top_down_.size()) != cards_)
            return miscounted();
        faces.clear();
        if (names_) {
            // The packet's faces in a new deck's order, and each card's number
            // its place among them.
            std::vector<int> number(deal::max_playing_cards, -1);
            for (int f = 0; f < deal::max_playing_cards; ++f)
                if (!seen_[static_cast<std::size_t>(f)].empty()) {
                    number[static_cast<std::size_t>(f)] = static_cast<int>(faces.size());
                    faces.push_back(f);
                }
            for (deal::card& c : top_down_)
                c = number[static_cast<std::size_t>(deal::number_of(c))] | (c & deal::face_up);
        }
        bottom_first = from_top(top_down_);
        return true;
    }

private:
    const char* shown(std::string_view value) { return fault_.shown(value, shown_, sizeof shown_); }

    // One card, a number or a name, or a span A..B of them, a '^' after it
    // if it lies face up.
    bool add(const std::string_view whole) {
        std::string_view token = whole;
        bool up = false;
        if (token.back() == '^') {
            token.remove_suffix(1);
            up = true;
            if (!token.empty() && token.back() == '^') {
                words_.add("%s marks a card face up twice: one '^' after it", shown(whole));
                return false;
            }
        }
        const std::size_t dots = token.find("..");
        const auto first = card_number(token.substr(0, dots), whole);
        if (!first)
            return false;
        std::optional<int> last = first;
        if (dots != std::string_view::npos && !(last = card_number(token.substr(dots + 2), whole)))
            return false;
        if (names_ && numbers_) {
            words_.add("%s: the deck mixes cards' numbers and names; give one or the other",
                       shown(whole));
            return false;
        }
        // A span runs either way, through the cards between in a new deck's
        // order (or the numbers between).
        const int step = *last >= *first ? 1 : -1;
        for (int c = *first;; c += step) {
            if (!once(c, whole, up))
                return false;
            if (c == *last)
                return true;
        }
    }

    // Card `number`, typed as `whole`, once in the deck.
    bool once(int number, std::string_view whole, bool up) {
        // Quoted as typed, and the first time too where it was typed
        // otherwise (AS, then A♠).
        if (const std::string_view before = seen_[static_cast<std::size_t>(number)];
            !before.empty()) {
            if (before.find("..") != std::string_view::npos ||
                whole.find("..") != std::string_view::npos) {
                char card[card_name_room], first[300];
                if (names_)
                    card_name(number, card);
                else
                    std::snprintf(card, sizeof card, "%d", number);
                fault_.shown(before, first, sizeof first);
                words_.add("%s and %s both list %s: give each card once", first, shown(whole),
                           card);
                return false;
            }
            words_.add("%s is in the deck twice", shown(whole));
            if (before != whole)
                words_.add(", first as %s", shown(before));
            return false;
        }
        seen_[static_cast<std::size_t>(number)] = whole;
        top_down_.push_back(number | (up ? deal::face_up : 0));
        return true;
    }

    // The card that `token` names, as typed in `whole`.
    std::optional<int> card_number(std::string_view token, std::string_view whole) {
        if (integer_text n; !token.empty() && parse_integer(token, n)) {
            if (n.value() < 0 || n.value() >= cards_) {
                range_words(fault_.words, fault_.room, "card", shown(token), 0, cards_ - 1);
                return std::nullopt;
            }
            numbers_ = true;
            return static_cast<int>(n.value());
        }
        if (const auto named = card_named(token)) {
            names_ = true;
            return *named;
        }
        if (alone_)
            words_.add("%s is no stack and no card: give new, si-stebbins, eight-kings or the "
                       "cards from the top, such as 'KS QS JS'",
                       shown(whole));
        else
            words_.add("%s is not a card: a number from 0 to %d, or a name such as AS, 10d or "
                       "Q\u2665, with a '^' after it for a card face up",
                       shown(whole), cards_ - 1);
        return std::nullopt;
    }

    // The list holds more or fewer cards than the deck: says how many, and
    // the first card missing where it can be told, from numbers or a whole
    // pack of names.
    bool miscounted() {
        words_.add("the deck lists %zu card%s and holds %d", top_down_.size(),
                   top_down_.size() == 1 ? "" : "s", cards_);
        if (static_cast<int>(top_down_.size()) >= cards_ ||
            (names_ && cards_ != deal::max_playing_cards))
            return false;
        const auto missing =
            std::find(seen_.begin(), seen_.begin() + cards_, std::string_view{}) - seen_.begin();
        char card[card_name_room];
        if (names_)
            card_name(static_cast<int>(missing), card);
        else
            std::snprintf(card, sizeof card, "%d", static_cast<int>(missing));
        words_.add(": %s is missing", card);
        return false;
    }

    std::string_view list_;
    int cards_;
    fault_out fault_;
    appender words_;
    char shown_[300];
    std::vector<deal::card> top_down_;
    // Each card listed, as it was typed.
    std::vector<std::string_view> seen_;
    bool alone_, names_ = false, numbers_ = false;
};

// How many cards a list's word stands for: a span's, or one; 0 for a word
// that is neither a card nor a span.
int cards_of_word(std::string_view token) {
    while (!token.empty() && token.back() == '^')
        token.remove_suffix(1);
    const std::size_t dots = token.find("..");
    const auto number = [](std::string_view t) -> std::optional<int> {
        if (integer_text n; !t.empty() && parse_integer(t, n))
            return static_cast<int>(std::clamp<std::int64_t>(n.value(), -1, 1 << 20));
        return card_named(t);
    };
    const auto first = number(token.substr(0, dots));
    if (!first)
        return 0;
    if (dots == std::string_view::npos)
        return 1;
    const auto last = number(token.substr(dots + 2));
    return last ? std::abs(*last - *first) + 1 : 0;
}

} // namespace

std::optional<int> deck_size(std::string_view order) {
    std::int64_t cards = 0;
    std::size_t at = 0;
    for (std::string_view token; !(token = next_word(order, at)).empty();) {
        const int stack = stack_named(token);
        if (stack == 0)
            return std::nullopt;
        cards += stack > 0 ? deal::max_playing_cards : cards_of_word(token);
    }
    if (cards == 0)
        return std::nullopt;
    return static_cast<int>(std::min<std::int64_t>(cards, deal::max_cards + 1));
}

bool may_name_own_stack(std::string_view order) {
    std::size_t at = 0;
    const std::string_view word = next_word(order, at);
    return !word.empty() && next_word(order, at).empty() && stack_named(word) < 0 &&
           cards_of_word(word) == 0 && word.front() != '.' &&
           word.find('/') == std::string_view::npos;
}

std::string_view without_comments(std::string_view file, std::vector<char>& room) {
    room.clear();
    bool comment = false;
    for (const char c : file) {
        if (c == '#')
            comment = true;
        else if (c == '\n')
            comment = false;
        room.push_back(comment ? ' ' : c);
    }
    return {room.data(), room.size()};
}

bool read_deck(std::string_view order, int cards, std::vector<deal::card>& bottom_first,
               show_value show, char* words, std::size_t room) {
    std::vector<int> faces;
    return read_deck(order, cards, bottom_first, faces, show, words, room);
}

std::optional<deal::start> read_start(std::string_view order, int cards, show_value show,
                                      char* words, std::size_t room) {
    std::vector<deal::card> bottom_first;
    std::vector<int> faces;
    if (!read_deck(order, cards, bottom_first, faces, show, words, room))
        return std::nullopt;
    return deal::start(std::move(bottom_first), std::move(faces));
}

bool read_deck(std::string_view order, int cards, std::vector<deal::card>& bottom_first,
               std::vector<int>& faces, show_value show, char* words, std::size_t room) {
    faces.clear();
    const fault_out fault{show, words, room};
    appender a(words, room);
    char shown[300];
    std::size_t first = 0;
    while (first < order.size() && separates(order[first]))
        ++first;
    std::size_t last = order.size();
    while (last > first && separates(order[last - 1]))
        --last;
    const std::string_view list = order.substr(first, last - first);
    if (list.empty()) {
        a.add("the deck %s holds no card: give new, si-stebbins, eight-kings or the cards "
              "from the top, such as 'KS QS JS'",
              fault.shown(order, shown, sizeof shown));
        return false;
    }
    const auto stack = [&](deal::pack_order top_down) {
        if (cards != deal::max_playing_cards) {
            a.add("%s is a stack of the %d cards of a pack, and the deck holds %d",
                  fault.shown(list, shown, sizeof shown), deal::max_playing_cards, cards);
            return false;
        }
        bottom_first = from_top(top_down);
        return true;
    };
    switch (stack_named(list)) {
    case 0:
        bottom_first.resize(static_cast<std::size_t>(cards));
        for (int p = 0; p < cards; ++p)
            bottom_first[static_cast<std::size_t>(p)] = p;
        return true;
    case 1:
        return stack(deal::si_stebbins());
    case 2:
        return stack(deal::eight_kings());
    default:
        return listed_deck(list, cards, fault).read(bottom_first, faces);
    }
}

} // namespace text
