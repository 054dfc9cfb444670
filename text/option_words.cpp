#include "text/option_words.hpp"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "text/appender.hpp"
#include "text/deal_words.hpp"
#include "text/deck_words.hpp"
#include "text/integer_text.hpp"

namespace text {

const char* option_names(char* out, std::size_t room) {
    appender a(out, room);
    for (int i = 0; i < deal_option_count; ++i)
        a.add("%s--%s",
              i == 0                       ? ""
              : i + 1 == deal_option_count ? " and "
                                           : ", ",
              deal_options[i].name);
    return out;
}

std::optional<deal_option> read_deal_options(const option_values& values, deal::description& d,
                                             show_value show, char* words, std::size_t room) {
    for (int i = 0; i < deal_option_count; ++i) {
        const auto o = static_cast<deal_option>(i);
        if (values[i] && !read_deal_option(o, *values[i], d, show, words, room))
            return o;
    }
    if (values[static_cast<int>(deal_option::gather)] &&
        values[static_cast<int>(deal_option::bottom_hand)]) {
        std::snprintf(words, room, "%s", gather_and_bottom_hand);
        return deal_option::gather;
    }
    return std::nullopt;
}

std::optional<int> cards_of_deck(std::string_view deck, bool cards_given) {
    return cards_given ? std::nullopt : deck_size(deck);
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
        std::vector<std::int32_t> hands;
        if (read_list(value, 0, deal::max_deal_hands - 1, deal::max_deal_hands, hands).fault !=
            list_reading::none)
            return fault.say("%s is not a list of hands: each hand's number once, from 0, "
                             "separated by commas, such as 2,0,1",
                             value);
        const std::vector<std::int16_t> order(hands.begin(), hands.end());
        d.set_gather(order);
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

} // namespace text
