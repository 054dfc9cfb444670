#include "console/deal_options.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "console/decks.hpp"
#include "console/numbers.hpp"
#include "console/quote.hpp"
#include "console/ranges.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "text/count_words.hpp"
#include "text/deal_words.hpp"
#include "text/deck_words.hpp"
#include "text/routine_words.hpp"

namespace console {

namespace {

// Said where a program that follows no card is given a chosen pile.
constexpr const char* chosen_pile_alone =
    "--chosen-pile follows a card: only deal-after --where C or --chosen-card C and deal-picture "
    "--chosen-card C or --view chances take it";

[[noreturn]] void refused() {
    std::exit(EXIT_FAILURE);
}

// Reads the routine for a deck of `cards` cards into `made`; false after a
// report.
bool read_routine(const char* text, std::int64_t cards, deal::routine& made) {
    char words[text::words_room];
    if (text::read_routine(text, static_cast<int>(cards), made, shown_quoted, words, sizeof words))
        return true;
    // A routine that the largest deck takes and this one does not is too
    // big for this deck: said, for a range of deck sizes, with its size.
    deal::routine largest;
    char ignored[text::words_room];
    if (cards < deal::max_cards &&
        text::read_routine(text, deal::max_cards, largest, shown_quoted, ignored, sizeof ignored))
        report("deck of %lld card%s: %s", static_cast<long long>(cards), cards == 1 ? "" : "s",
               words);
    else
        report("%s", words);
    return false;
}

} // namespace

void moves_help() {
    std::string help = "The moves of a routine:\n";
    for (const text::move_words& m : text::moves()) {
        std::string head =
            std::string("      ") + m.name + (m.arguments[0] ? " " : "") + m.arguments;
        help += head;
        // The words from column 22, on the head's line where it leaves room.
        std::size_t column = head.size();
        std::string_view words = m.help;
        bool first = true;
        while (!words.empty()) {
            const std::size_t space = words.find(' ');
            const std::string_view word = words.substr(0, space);
            if (first && column < 21) {
                help.append(22 - column, ' ');
                column = 22;
            } else if (first || column + 1 + word.size() > 79) {
                help += "\n                      ";
                column = 22;
            } else {
                help += ' ';
                ++column;
            }
            first = false;
            help += word;
            column += word.size();
            words.remove_prefix(space == std::string_view::npos ? words.size() : space + 1);
        }
        help += '\n';
    }
    char* out = output.reserve(help.size());
    std::copy(help.begin(), help.end(), out);
    output.commit(out + help.size());
}

const char* shown_quoted(std::string_view value, text::shown_length length, char* out,
                         std::size_t room) {
    const quoted q(value, text::shown_most(length));
    const std::string_view shown = q.c_str();
    const std::size_t n = std::min(shown.size(), room - 1);
    std::copy_n(shown.data(), n, out);
    out[n] = '\0';
    return out;
}

deal_options::deal_options(const arguments& given, bool cards_ranges, bool follows, bool by_chance)
    : follows_(follows), by_chance_(by_chance) {
    // Each option's value, none given twice.
    const char* values[round_option_count];
    for (int which = 0; which < round_option_count; ++which)
        any_given_ |= (values[which] = given.value(which)) != nullptr;
    routine_text_ = values[routine_option];

    if (const auto deck = deck_order(values[deck_option], values[deck_file_option])) {
        deck_given_ = values[deck_option] || values[deck_file_option];
        deck_text_ = *deck;
    } else {
        refused();
    }

    if (routine_text_) {
        for (int which = 0; which < routine_option; ++which) {
            if (values[which] == nullptr)
                continue;
            if (which == cards_option)
                report("--cards is not taken with --routine, where COUNT is the number of cards");
            else
                report("--%s %s belongs to a deal move with --routine, such as 'deal 4 --%s ...'",
                       round_options[static_cast<std::size_t>(which)].name,
                       quoted(values[which]).c_str(),
                       round_options[static_cast<std::size_t>(which)].name);
            refused();
        }
        // A text that holds no move at all is refused at once; any other
        // fault shows for the decks it is read for.
        deal::routine none;
        if (std::string_view{routine_text_}.find_first_not_of(" \t\n\r\v\f") ==
                std::string_view::npos &&
            !read_routine(routine_text_, 1, none))
            refused();
        return;
    }

    if (const char* value = values[cards_option]) {
        const auto cards = read_counts(value, cards_ranges, "card count", [](const auto& count) {
            return in_range(count, "card count", 1, deal::max_cards).has_value();
        });
        if (!cards)
            refused();
        cards_given_ = true;
        cards_ = *cards;
    }
    // A stack of a pack or a list of cards is the deal's deck where --cards
    // does not say otherwise.
    if (const auto size =
            deck_given_ ? text::cards_of_deck(deck_text_, cards_given_) : std::nullopt) {
        cards_given_ = true;
        cards_ = {*size, *size};
    }
    text::option_values deal_values;
    for (int i = 0; i < text::deal_option_count; ++i)
        if (const char* value = values[packets_option + i])
            deal_values[i] = value;
    char words[text::words_room];
    if (text::read_deal_options(deal_values, rules_, shown_quoted, words, sizeof words)) {
        report("%s", words);
        refused();
    }
    if (values[chosen_pile_option] && !follows) {
        report("%s", chosen_pile_alone);
        refused();
    }
}

bool deal_options::check_count(const text::integer_text& count, std::int64_t least) const {
    if (routine_given()) {
        const auto cards =
            in_range(count, "card count", std::max<std::int64_t>(least, 1), deal::max_cards);
        deal::routine made;
        if (!cards || !read_routine(routine_text_, *cards, made))
            return false;
        if (made.follows_card() && !follows_) {
            report("%s", chosen_pile_alone);
            return false;
        }
        if (const int m = made.first_by_chance(); m >= 0 && !by_chance_) {
            char move[text::rules_room + 32];
            text::move_text(made.moves()[static_cast<std::size_t>(m)], move, sizeof move);
            report("move %d of the routine, %s, is made by chance, and %s answers for exact "
                   "moves: deal-after plays it",
                   m + 1, quoted(move).c_str(), program_name);
            return false;
        }
        return start_for(static_cast<int>(*cards)).has_value();
    }
    char words[text::words_room];
    if (!text::check_hand_count(count, rules_, default_deal(), cards_given_, least, words,
                                sizeof words)) {
        report("%s", words);
        return false;
    }
    // Every deck size of --cards deals the same hands: the first stands for all.
    const deal::description d = describe(count.value(), cards_.first);
    if (!text::check_gathering(d, shown_quoted, words, sizeof words)) {
        report("%s", words);
        return false;
    }
    return start_for(std::max(d.cards, 0)).has_value();
}

std::optional<count_range> deal_options::hand_counts(const char* argument, bool ranges,
                                                     std::int64_t least) const {
    return read_counts(argument, ranges, routine_given() ? "card count" : "hand count",
                       [&](const text::integer_text& first) {
                           // Each count of a range is checked, as a routine may
                           // fit some decks and not others.
                           return check_count(first, least);
                       });
}

std::optional<std::int32_t> deal_options::hand_count(const text::integer_text& count) const {
    if (!check_count(count, deal::min_hands))
        return std::nullopt;
    return static_cast<std::int32_t>(count.value());
}

deal::description deal_options::describe(std::int64_t hands, std::int64_t cards) const {
    return rules_.dealt_to(hands, cards_given_ ? std::optional{cards} : std::nullopt);
}

std::optional<deal::start> deal_options::start_for(int cards) const {
    return deck_given_ ? start_of(deck_text_, cards) : deal::start::new_deck(cards);
}

deal::routine deal_options::routine_for(std::int64_t count, std::int64_t cards) const {
    deal::routine made;
    if (routine_given()) {
        read_routine(routine_text_, count, made);
        return made;
    }
    const deal::description d = describe(count, cards);
    made.cards = std::max(d.cards, 0);
    if (d.cards > 0) {
        deal::move m;
        m.kind = deal::move_kind::deal;
        m.deal = d;
        made.add(m);
    }
    return made;
}

} // namespace console
