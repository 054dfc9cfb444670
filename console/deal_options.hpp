// The options that describe a round, read the same way by every companion:
// the deal's --cards, --packets, --rest, --first-card, --bottom-hand, --gather
// and --chosen-pile, each with deal's own as its default, or a --routine of
// moves; and the count, of hands or, with a routine, of cards, whose range
// depends on them. A deal is a routine of one deal move, so that every
// program answers for both alike.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "console/arguments.hpp"
#include "console/ranges.hpp"
#include "deal/description.hpp"
#include "deal/routine.hpp"
#include "deal/start.hpp"
#include "text/integer_text.hpp"
#include "text/option_words.hpp"
#include "text/shown.hpp"

namespace console {

// The round's options come first in a program's table, at these indices:
// --cards, then the deal's options as the routine reader lists them, then
// --routine.
enum round_option_index {
    cards_option,
    packets_option,
    gather_option = packets_option + static_cast<int>(text::deal_option::gather),
    chosen_pile_option = packets_option + static_cast<int>(text::deal_option::chosen_pile),
    routine_option = packets_option + text::deal_option_count,
    deck_option,
    deck_file_option,
    round_option_count
};
constexpr std::array<option, round_option_count> round_option_table() {
    std::array<option, round_option_count> all{};
    all[cards_option] = {"cards", 0, "M"};
    for (int i = 0; i < text::deal_option_count; ++i)
        all[static_cast<std::size_t>(packets_option + i)] = {text::deal_options[i].name, 0,
                                                             text::deal_options[i].value};
    all[routine_option] = {"routine", 0, "TEXT"};
    all[deck_option] = {"deck", 0, "ORDER"};
    all[deck_file_option] = {"deck-file", 0, "FILE"};
    return all;
}
inline constexpr auto round_options = round_option_table();

// The round's options followed by a program's own, whose indices then start
// at round_option_count.
template <std::size_t N = 0>
constexpr std::array<option, round_option_count + N> with_round_options(const option (&own)[N]) {
    std::array<option, round_option_count + N> all{};
    for (std::size_t i = 0; i < round_option_count; ++i)
        all[i] = round_options[i];
    for (std::size_t i = 0; i < N; ++i)
        all[round_option_count + i] = own[i];
    return all;
}
constexpr std::array<option, round_option_count> with_round_options() {
    return round_options;
}

// What --help adds for a program that takes a routine or moves, written to
// standard output: each move as the routine reader knows it, described in
// words wrapped to the help's width.
void moves_help();

// The command line of a program that takes the round's options: its COUNT
// a hand count, or with --routine a card count, and --help telling the moves.
constexpr command_line round_command(const char* usage, std::span<const option> options,
                                     int least_operands, int most_operands) {
    return {usage,        options,        least_operands, most_operands,
            "hand count", routine_option, "card count",   moves_help};
}

// Said where --chosen-card names a card that no chosen pile follows.
inline constexpr const char* no_chosen_pile =
    "--chosen-card C names the card that a chosen pile follows, and the round gathers none: give "
    "a deal --chosen-pile T";

// How a value shows in a program's message: quoted, with escapes.
const char* shown_quoted(std::string_view value, text::shown_length length, char* out,
                         std::size_t room);

class deal_options {
public:
    // Reads the round's options among those given. A bad one is reported,
    // and the process ends with status 1. With `cards_ranges`, --cards may
    // be a range; with `follows`, the program follows a card, which a
    // chosen pile needs; with `by_chance`, it plays moves by chance.
    deal_options(const arguments& given, bool cards_ranges = false, bool follows = false,
                 bool by_chance = false);

    // Whether none of the options was given: deal's own deal, in its own words.
    bool default_deal() const { return !any_given_; }
    bool cards_given() const { return cards_given_; }
    count_range cards() const { return cards_; }
    // Whether the round is a routine, whose count is a number of cards; and
    // its text as given.
    bool routine_given() const { return routine_text_ != nullptr; }
    const char* routine_text() const { return routine_text_; }

    // The count or counts that an operand names, checked: a range only with
    // `ranges`, and no count below `least` (for a program that draws no
    // empty deck). A bad one is reported, and nothing returned.
    std::optional<count_range> hand_counts(const char* argument, bool ranges = false,
                                           std::int64_t least = deal::min_hands) const;
    // The same for a count read from standard input.
    std::optional<std::int32_t> hand_count(const text::integer_text& count) const;

    // The deal of `hands` hands, checked by hand_counts or hand_count, and
    // `cards` cards, one of cards() where --cards was given. Not for a routine.
    deal::description describe(std::int64_t hands, std::int64_t cards = 0) const;

    // The routine of a round for a count checked as above (and `cards`, as
    // for describe): the routine read for that deck, or the deal as a
    // routine of one move.
    deal::routine routine_for(std::int64_t count, std::int64_t cards = 0) const;

    // The deck a run of `cards` cards starts from: new deck order, or the
    // one --deck or --deck-file gives, checked for that many cards. A bad one
    // is reported, and nothing returned.
    std::optional<deal::start> start_for(int cards) const;

private:
    bool check_count(const text::integer_text& count, std::int64_t least) const;

    deal::description rules_;
    bool any_given_ = false;
    bool cards_given_ = false;
    count_range cards_{0, 0};
    const char* routine_text_ = nullptr;
    bool follows_ = false;
    bool by_chance_ = false;
    // The deck's order as given, or as the file holds it.
    bool deck_given_ = false;
    std::string deck_text_;
};

} // namespace console

// The round's options in a program's --help, after its own lines.
// The deal options' help, in parts: the deal's own options, the chosen pile
// for a program that follows a card, a routine with an example, the deck.
#define DEAL_DEAL_OPTIONS_HELP                                                                     \
    "The deal is deal's own (packets {own_packets}) unless these say otherwise:\n"                 \
    "      --cards M       a deck of the cards 0 to M-1, M from 1 to {max_cards} (default:\n"      \
    "                      every hand's packets, 5 a hand for deal's own)\n"                       \
    "      --packets LIST  the cards each pass gives every hand, one at a time, such\n"            \
    "                      as 1 (a card at a time) or 3,2\n"                                       \
    "      --rest WHAT     again (the passes go round until no card is left), top or\n"            \
    "                      bottom (the cards the passes leave go on top of or under\n"             \
    "                      the gathered hands)\n"                                                  \
    "      --first-card WHERE  top (each hand picked up with its first card on top)\n"             \
    "                      or bottom (dealt face down, the first card at the bottom)\n"            \
    "      --bottom-hand WHICH last (the last hand at the bottom of the deck) or\n"                \
    "                      first\n"                                                                \
    "      --gather LIST   the hands in the order they lie in the gathered deck, from\n"           \
    "                      the top down, such as 2,0,1\n"
#define DEAL_CHOSEN_PILE_HELP                                                                      \
    "      --chosen-pile T the hand that holds the followed card (--where C, or\n"                 \
    "                      --chosen-card C) gathered with T hands above it, the\n"                 \
    "                      others in their order; in a deal move, piles T1,T2,...\n"               \
    "                      deal once for each\n"
#define DEAL_CHANCES_CHOSEN_PILE_HELP                                                              \
    "      --chosen-pile T with --chosen-card C or --view chances: the hand that\n"                \
    "                      holds the card followed gathered with T hands above\n"                  \
    "                      it, the others in their order; in a deal move, piles\n"                 \
    "                      T1,T2,... deal once for each\n"
#define DEAL_ROUTINE_HELP(EXAMPLE)                                                                 \
    "Or a round of several moves, COUNT then being the number of cards, 1 to {max_cards}:\n"       \
    "      --routine TEXT  moves separated by ';', such as 'faro out; cut 26' or\n"                \
    "                      " EXAMPLE ", a deal's options\n"                                        \
    "                      being those above but --cards; a move, or moves in\n"                   \
    "                      brackets, followed by xN, N from 1 to {max_repeat},\n"                  \
    "                      is done N times: 'faro out x8', '(cut 1; faro out) x26'\n"
#define DEAL_DECK_HELP                                                                             \
    "The deck starts in new deck order, face down, unless these say otherwise:\n"                  \
    "      --deck ORDER    new, si-stebbins, eight-kings, a stack of your own saved\n"             \
    "                      in $XDG_DATA_HOME/deal/stacks, or the cards from the top,\n"            \
    "                      separated by commas or blanks: the numbers 0 to COUNT-1,\n"             \
    "                      or names of a pack's cards, any of them once, a packet\n"               \
    "                      such as 'KH QH JH'; A..B is a span, such as AS..8D; a\n"                \
    "                      '^' after a card starts it face up, such as 'AS^ 2S 3S'\n"              \
    "      --deck-file FILE the same, read from FILE, '#' starting a comment\n"
// For a program that follows a card, and for one that answers for the whole
// deck, which takes no chosen pile.
#define DEAL_OPTIONS_HELP                                                                          \
    DEAL_DEAL_OPTIONS_HELP DEAL_CHOSEN_PILE_HELP DEAL_ROUTINE_HELP(                                \
        "'deal 3 --packets 1 --chosen-pile 1'") DEAL_DECK_HELP
// For deal-picture, which follows a card in its chances alone.
#define DEAL_PICTURE_OPTIONS_HELP                                                                  \
    DEAL_DEAL_OPTIONS_HELP DEAL_CHANCES_CHOSEN_PILE_HELP DEAL_ROUTINE_HELP(                        \
        "'deal 3 --packets 1 --rest top'") DEAL_DECK_HELP
#define DEAL_EXACT_OPTIONS_HELP                                                                    \
    DEAL_DEAL_OPTIONS_HELP DEAL_ROUTINE_HELP("'deal 3 --packets 1 --rest top'") DEAL_DECK_HELP
