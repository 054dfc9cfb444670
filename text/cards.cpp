#include "text/cards.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "text/appender.hpp"
#include "text/count_words.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"

namespace text {

namespace {

// The suits' words, in the order of deal::suit, from the bottom of a new
// deck up.
struct suit_words {
    const char* symbol;
    char letter;
    const char* name;
};
constexpr suit_words suits[deal::suit_count] = {{"\u2660", 'S', "spades"},
                                                {"\u2666", 'D', "diamonds"},
                                                {"\u2663", 'C', "clubs"},
                                                {"\u2665", 'H', "hearts"}};
constexpr const char* ranks[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
constexpr const char* rank_words[] = {"ace",   "two",  "three", "four", "five",  "six", "seven",
                                      "eight", "nine", "ten",   "jack", "queen", "king"};

using deal::rank_of;

const suit_words& suit_of(int card) {
    return suits[static_cast<int>(deal::suit_of(card))];
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

char* card_name(int card, char* out) {
    std::snprintf(out, card_name_room, "%s%s", ranks[rank_of(card)], suit_of(card).symbol);
    return out;
}

const char* card_words(int card, char* out, std::size_t room) {
    std::snprintf(out, room, "the %s of %s", rank_words[rank_of(card)], suit_of(card).name);
    return out;
}

int card_name_width(int card) {
    return rank_of(card) == 9 ? 3 : 2;
}

std::optional<int> card_named(std::string_view name) {
    int rank = -1;
    std::size_t used = 1;
    if (name.size() >= 2 && name[0] == '1' && name[1] == '0') {
        rank = 9;
        used = 2;
    } else if (!name.empty()) {
        const char r = upper(name[0]);
        const char* const letters = "A23456789TJQK";
        if (const char* at = std::strchr(letters, r); at && r != '\0')
            rank = static_cast<int>(at - letters);
    }
    if (rank < 0)
        return std::nullopt;
    const std::string_view suit_text = name.substr(used);
    for (int s = 0; s < deal::suit_count; ++s) {
        if (suit_text == suits[s].symbol ||
            (suit_text.size() == 1 && upper(suit_text[0]) == suits[s].letter))
            return deal::card_of(rank, static_cast<deal::suit>(s));
    }
    return std::nullopt;
}

card_reading read_card(std::string_view given, int cards, std::span<const int> faces) {
    integer_text number;
    if (parse_integer(given, number)) {
        if (number.value() < 0 || number.value() >= cards)
            return {card_reading::out_of_range, 0};
        return {card_reading::none, static_cast<int>(number.value())};
    }
    const auto named = card_named(given);
    if (!named)
        return {card_reading::not_a_card, 0};
    if (cards > deal::max_playing_cards)
        return {card_reading::names_too_many, *named};
    if (faces.empty())
        return *named < cards ? card_reading{card_reading::none, *named}
                              : card_reading{card_reading::not_in_deck, *named};
    const auto found = std::find(faces.begin(), faces.end(), *named);
    if (found != faces.end())
        return {card_reading::none, static_cast<int>(found - faces.begin())};
    // A deck of the pack's first cards lacks the others as any small deck does.
    const bool first_cards = faces.back() == static_cast<int>(faces.size()) - 1;
    return {first_cards ? card_reading::not_in_deck : card_reading::not_in_packet, *named};
}

char* card_fault_words(char* out, std::size_t room, const card_reading& reading, const char* shown,
                       int cards) {
    appender a(out, room);
    char words[32];
    switch (reading.fault) {
    case card_reading::none:
        break;
    case card_reading::not_a_card:
        if (cards <= deal::max_playing_cards)
            a.add("%s is not a card: a number from 0 to %d, or a name such as AS, 10d or Q\u2665",
                  shown, cards - 1);
        else
            a.add("%s is not an integer card", shown);
        break;
    case card_reading::out_of_range:
        return range_words(out, room, "card", shown, 0, cards - 1);
    case card_reading::names_too_many:
        a.add("%s names a playing card, but a deck of %d cards has more than the %d of a pack: "
              "give the card's number",
              shown, cards, deal::max_playing_cards);
        break;
    case card_reading::not_in_deck:
        a.add("%s is %s, card %d, which a deck of %d cards does not hold", shown,
              card_words(reading.card, words, sizeof words), reading.card, cards);
        break;
    case card_reading::not_in_packet:
        a.add("%s is %s, which the packet of %d cards does not hold", shown,
              card_words(reading.card, words, sizeof words), cards);
        break;
    }
    return a.at;
}

std::optional<int> read_card(std::string_view given, int cards, show_value show, char* words,
                             std::size_t room, std::span<const int> faces) {
    if (integer_text number; parse_integer(given, number)) {
        if (!check_integer(number, "card", 0, cards - 1, words, room))
            return std::nullopt;
        return static_cast<int>(number.value());
    }
    const card_reading reading = read_card(given, cards, faces);
    if (reading.fault == card_reading::none)
        return reading.card;
    char shown[300];
    card_fault_words(words, room, reading, show(given, shown_length::value, shown, sizeof shown),
                     cards);
    return std::nullopt;
}

bool read_cards(std::string_view list, int cards, std::vector<int>& numbers, show_value show,
                char* words, std::size_t room, std::span<const int> faces) {
    numbers.clear();
    for (;;) {
        const std::size_t comma = list.find(',');
        const auto card = read_card(list.substr(0, comma), cards, show, words, room, faces);
        if (!card)
            return false;
        numbers.push_back(*card);
        if (comma == std::string_view::npos)
            return true;
        list.remove_prefix(comma + 1);
    }
}

char* format_faces(const deal::card* cards, int count, char* out, bool marks,
                   std::span<const int> faces) {
    for (int i = 0; i < count; ++i) {
        const int n = deal::number_of(cards[i]);
        const int number = faces.empty() ? n : faces[static_cast<std::size_t>(n)];
        if (card_name_width(number) == 2)
            *out++ = ' ';
        char name[card_name_room];
        card_name(number, name);
        for (const char* c = name; *c != '\0'; ++c)
            *out++ = *c;
        if (marks)
            *out++ = deal::is_face_up(cards[i]) ? '^' : ' ';
        *out++ = ' ';
    }
    return out;
}

} // namespace text
