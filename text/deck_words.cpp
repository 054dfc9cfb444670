#include "text/deck_words.hpp"

#include <algorithm>
#include <cstdio>

#include "deal/pack.hpp"
#include "text/appender.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"

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
// first fault in the family's words.
class listed_deck {
public:
    listed_deck(std::string_view list, int cards, const fault_out& fault)
        : list_(list), cards_(cards), fault_(fault), words_(fault.words, fault.room),
          seen_(static_cast<std::size_t>(std::max(cards, deal::max_playing_cards))),
          // A word alone that is no card was meant for a stack's name.
          alone_(std::none_of(list.begin(), list.end(), separates)) {}

    // Reads every card into `bottom_first`; false after a fault.
    bool read(std::vector<deal::card>& bottom_first) {
        std::size_t at = 0;
        for (std::string_view word; !(word = next_word(list_, at)).empty();)
            if (!add(word))
                return false;
        if (static_cast<int>(top_down_.size()) != cards_)
            return miscounted();
        bottom_first = from_top(top_down_);
        return true;
    }

private:
    const char* shown(std::string_view value) { return fault_.shown(value, shown_, sizeof shown_); }

    // One card, a number or a name, a '^' after it if it lies face up.
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
        const auto number = card_number(token, whole);
        if (!number)
            return false;
        if (names_ && numbers_) {
            words_.add("%s: the deck mixes cards' numbers and names; give one or the other",
                       shown(whole));
            return false;
        }
        // Quoted as typed, and the first time too where it was typed
        // otherwise (AS, then A♠).
        if (const std::string_view before = seen_[static_cast<std::size_t>(*number)];
            !before.empty()) {
            words_.add("%s is in the deck twice", shown(whole));
            if (before != whole)
                words_.add(", first as %s", shown(before));
            return false;
        }
        seen_[static_cast<std::size_t>(*number)] = whole;
        top_down_.push_back(*number | (up ? deal::face_up : 0));
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
            if (cards_ != deal::max_playing_cards) {
                words_.add("%s names a playing card, and a deck of names is the %d cards of a "
                           "pack, where the deck holds %d: give the cards' numbers",
                           shown(whole), deal::max_playing_cards, cards_);
                return std::nullopt;
            }
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
    // the first card missing.
    bool miscounted() {
        const auto missing =
            std::find(seen_.begin(), seen_.begin() + cards_, std::string_view{}) - seen_.begin();
        char card[card_name_room];
        if (names_)
            card_name(static_cast<int>(missing), card);
        else
            std::snprintf(card, sizeof card, "%d", static_cast<int>(missing));
        words_.add("the deck lists %zu card%s and holds %d", top_down_.size(),
                   top_down_.size() == 1 ? "" : "s", cards_);
        if (static_cast<int>(top_down_.size()) < cards_)
            words_.add(": %s is missing", card);
        return false;
    }

    std::string_view list_;
    int cards_;
    fault_out fault_;
    appender words_;
    char shown_[300];
    std::vector<int> top_down_;
    // Each card listed, as it was typed.
    std::vector<std::string_view> seen_;
    bool alone_, names_ = false, numbers_ = false;
};

} // namespace

std::optional<int> deck_size(std::string_view order) {
    int tokens = 0;
    bool names = false;
    std::size_t at = 0;
    for (std::string_view token; !(token = next_word(order, at)).empty();) {
        if (stack_named(token) == 0)
            return std::nullopt;
        while (!token.empty() && token.back() == '^')
            token.remove_suffix(1);
        integer_text n;
        names = names || !parse_integer(token, n);
        ++tokens;
    }
    if (tokens == 0)
        return std::nullopt;
    return names ? deal::max_playing_cards : tokens;
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
        return listed_deck(list, cards, fault).read(bottom_first);
    }
}

} // namespace text
