// The fields of a request as the core reads them: the deal's, by the one
// reader of a deal's options that the programs read theirs by, the routine,
// the deck and the seed; the round, the cards followed and the page's own
// numbers. A value is shown in a fault in quotation marks, cut where the
// programs cut theirs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "deal/description.hpp"
#include "deal/routine.hpp"
#include "deal/start.hpp"
#include "text/shown.hpp"
#include "web/answer.hpp"
#include "web/request.hpp"

namespace web {

// A value as a fault shows it: in quotation marks, cut after as many bytes
// as the programs show (text::shown_most), never inside a character.
const char* shown_value(std::string_view value, text::shown_length length, char* out,
                        std::size_t room);
std::string shown(std::string_view value);

// The round the fields describe, read as the programs read their options, or
// the first field at fault and what is wrong with it.
struct fields {
    std::string fault_field, fault;
    deal::description rules;
    bool cards_given = false;
    bool own_deal = true;
    bool routine_given = false;
    // Whether a move of the routine is made by chance, and the seed its
    // chances are drawn from.
    bool chance = false;
    std::uint64_t seed = 0;
    // The routine, or the deal as a routine of one deal move.
    deal::routine round;
    // The deal dealt on screen: the deal's, or a routine's that is a single
    // deal move; and its hand count, 0 for any other routine.
    deal::description described;
    int dealt_hands = 0;
    int size = 0;
    // The deck the run starts from: new deck order, or the Deck field's.
    deal::start start;

    bool ok() const { return fault_field.empty(); }
    bool faulted(std::string_view field, const char* words);
    // The deal of `hands` hands with the fields' other values.
    deal::description deal_of(std::int64_t hands) const;
    // The most hands the deal supports; the page draws no empty deck.
    int most_hands() const;
};

// Reads the fields of `r` into `f` and says in `a` what is wrong with them,
// if anything ("fault": null, or the field and its message); whether they
// read, for the call to go on.
bool read_into(const request& r, fields& f, answer& a);

// A round number typed, as deal-after takes it, and whether the round shown
// follows a card through chosen piles: then it runs from 0 to
// views::max_trick_round. What is wrong with it, or nothing.
struct round_reading {
    std::string fault;
    bool trick = false;
    std::int64_t trick_round = 0;
};
// A round of `round`, with the card starting at `followed` (-1 for none)
// followed: a trick where that card's pile is gathered where the routine
// says, which runs forwards only.
round_reading read_round(std::string_view text, const deal::routine& round, int followed);
// The round number of a routine with moves by chance, 0 to
// deal::max_chance_rounds, or the fault in `words`.
std::optional<std::int64_t> chance_round(const request& r, char* words, std::size_t room);

// The card `given` names, by its number or its name, as the programs read a
// card, or with `list` the cards it names separated by commas, as they read
// a list of cards, for the deck the fields start from: where each starts,
// in the order given; or nothing, the fault in `fault`.
std::optional<std::vector<std::int32_t>> read_followed(std::string_view given, bool list,
                                                       const fields& f, std::string& fault);

// The position a request names by number, where it is one of a deck of
// `size`; -1 for none.
int position_in(std::string_view text, int size);
// The integer field `field` of `r`, within `least` to `most`: the page's
// own numbers, which it keeps in range, read without a fault.
int clamped(const request& r, const char* field, int least, int most);
// Whether the request asks for cards named as playing cards, and the deck
// is a pack's at most.
bool faces_asked(const request& r, const fields& f);

} // namespace web
