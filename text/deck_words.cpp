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

} // namespace

std::optional<int> deck_size(std::string_view order) {
    int tokens = 0;
    bool names = false;
    for (std::size_t at = 0; at < order.size();) {
        while (at < order.size() && separates(order[at]))
            ++at;
        const std::size_t first = at;
        while (at < order.size() && !separates(order[at]))
            ++at;
        std::string_view token = order.substr(first, at - first);
        if (token.empty())
            break;
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
        break;
    }

    // The cards from the top, each a number or a name, a '^' after a face-up one.
    std::vector<int> top_down;
    bool names = false, numbers = false;
    // Each card listed, as it was typed.
    std::vector<std::string_view> seen(
        static_cast<std::size_t>(std::max(cards, deal::max_playing_cards)));
    // A word alone that is no card was meant for a stack's name.
    const bool alone = std::none_of(list.begin(), list.end(), separates);
    for (std::size_t at = 0; at < list.size();) {
        std::size_t end = at;
        while (end < list.size() && !separates(list[end]))
            ++end;
        std::string_view token = list.substr(at, end - at);
        at = end;
        while (at < list.size() && separates(list[at]))
            ++at;
        if (token.empty())
            continue;
        const std::string_view whole = token;
        bool up = false;
        if (token.back() == '^') {
            token.remove_suffix(1);
            up = true;
            if (!token.empty() && token.back() == '^') {
                a.add("%s marks a card face up twice: one '^' after it",
                      fault.shown(whole, shown, sizeof shown));
                return false;
            }
        }
        int number;
        if (integer_text n; !token.empty() && parse_integer(token, n)) {
            if (n.value() < 0 || n.value() >= cards) {
                range_words(words, room, "card", fault.shown(token, shown, sizeof shown), 0,
                            cards - 1);
                return false;
            }
            number = static_cast<int>(n.value());
            numbers = true;
        } else if (const auto named = card_named(token)) {
            if (cards != deal::max_playing_cards) {
                a.add("%s names a playing card, and a deck of names is the %d cards of a pack, "
                      "where the deck holds %d: give the cards' numbers",
                      fault.shown(whole, shown, sizeof shown), deal::max_playing_cards, cards);
                return false;
            }
            number = *named;
            names = true;
        } else if (alone) {
            a.add("%s is no stack and no card: give new, si-stebbins, eight-kings or the cards "
                  "from the top, such as 'KS QS JS'",
                  fault.shown(whole, shown, sizeof shown));
            return false;
        } else {
            a.add("%s is not a card: a number from 0 to %d, or a name such as AS, 10d or "
                  "Q\u2665, with a '^' after it for a card face up",
                  fault.shown(whole, shown, sizeof shown), cards - 1);
            return false;
        }
        if (names && numbers) {
            a.add("%s: the deck mixes cards' numbers and names; give one or the other",
                  fault.shown(whole, shown, sizeof shown));
            return false;
        }
        // Quoted as typed, and the first time too where it was typed
        // otherwise (AS, then A♠).
        if (const std::string_view before = seen[static_cast<std::size_t>(number)];
            !before.empty()) {
            a.add("%s is in the deck twice", fault.shown(whole, shown, sizeof shown));
            if (before != whole)
                a.add(", first as %s", fault.shown(before, shown, sizeof shown));
            return false;
        }
        seen[static_cast<std::size_t>(number)] = whole;
        top_down.push_back(number | (up ? deal::face_up : 0));
    }
    if (static_cast<int>(top_down.size()) != cards) {
        const auto missing =
            std::find(seen.begin(), seen.begin() + cards, std::string_view{}) - seen.begin();
        char card[card_name_room];
        if (names)
            card_name(static_cast<int>(missing), card);
        else
            std::snprintf(card, sizeof card, "%d", static_cast<int>(missing));
        a.add("the deck lists %zu card%s and holds %d", top_down.size(),
              top_down.size() == 1 ? "" : "s", cards);
        if (static_cast<int>(top_down.size()) < cards)
            a.add(": %s is missing", card);
        return false;
    }
    bottom_first = from_top(top_down);
    return true;
}

} // namespace text
