#include "text/deal_words.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "text/appender.hpp"

namespace text {

std::optional<int> named(const choice& c, std::string_view name) {
    for (std::size_t i = 0; i < c.names.size(); ++i)
        if (name == c.names[i])
            return static_cast<int>(i);
    return std::nullopt;
}

char* range_words(char* out, std::size_t room, const char* what, const char* shown,
                  std::int64_t least, std::int64_t most) {
    appender a(out, room);
    a.add("%s %s is outside the supported range %lld to %lld", what, shown,
          static_cast<long long>(least), static_cast<long long>(most));
    return a.at;
}

char* not_integer_words(char* out, std::size_t room, const char* shown, const char* what) {
    appender a(out, room);
    a.add("%s is not an integer %s", shown, what);
    return a.at;
}

char* choice_words(char* out, std::size_t room, const choice& c, const char* shown) {
    appender a(out, room);
    a.add("%s is not %s: ", shown, c.what);
    for (std::size_t i = 0; i < c.names.size(); ++i)
        a.add("%s%s", i == 0 ? "" : i + 1 == c.names.size() ? " or " : ", ", c.names[i]);
    return a.at;
}

char* packets_words(char* out, std::size_t room, const packets_reading& reading,
                    const char* shown) {
    appender a(out, room);
    switch (reading.fault) {
    case packets_reading::none:
        break;
    case packets_reading::syntax:
        a.add("%s is not a list of packets: positive integers separated by commas, such as ",
              shown);
        a.list(std::span<const std::int32_t>(deal::own_packets));
        break;
    case packets_reading::out_of_range: {
        char packet[24];
        std::snprintf(packet, sizeof packet, "%lld", static_cast<long long>(reading.packet));
        return range_words(out, room, "packet", packet, 1, deal::max_packet);
    }
    case packets_reading::too_many:
        a.add("%s holds more than %d packets", shown, deal::max_packets);
        break;
    }
    return a.at;
}

char* too_many_cards_words(char* out, std::size_t room, std::int64_t hands,
                           const deal::description& rules) {
    appender a(out, room);
    a.add("%lld hands of packets ", static_cast<long long>(hands));
    a.list(rules.packets());
    a.add(" take %lld cards, more than the %d a deck can hold",
          static_cast<long long>(rules.default_cards(hands)), deal::max_cards);
    return a.at;
}

list_reading read_list(std::string_view list, std::int64_t least, std::int64_t most,
                       std::size_t most_count, std::vector<std::int32_t>& values) {
    values.clear();
    std::size_t at = 0;
    for (;;) {
        const std::size_t first = at;
        while (at < list.size() && list[at] >= '0' && list[at] <= '9')
            ++at;
        if (at == first || (at < list.size() && list[at] != ','))
            return {list_reading::syntax};
        if (values.size() == most_count)
            return {list_reading::too_many};
        // Leading zeros and all, clamped far above any value read here.
        std::int64_t value = 0;
        for (std::size_t i = first; i < at; ++i)
            value = std::min<std::int64_t>(value * 10 + (list[i] - '0'), std::int64_t{1} << 40);
        if (value < least || value > most)
            return {list_reading::out_of_range, value};
        values.push_back(static_cast<std::int32_t>(value));
        if (at == list.size())
            return {};
        ++at; // the comma, which must have a value after it
    }
}

packets_reading read_packets(std::string_view list, deal::description& d) {
    std::vector<std::int32_t> packets;
    const list_reading read = read_list(list, 1, deal::max_packet, deal::max_packets, packets);
    switch (read.fault) {
    case list_reading::none:
        d.set_packets(packets);
        return {};
    case list_reading::syntax:
        return {packets_reading::syntax};
    case list_reading::out_of_range:
        return {packets_reading::out_of_range, read.value};
    case list_reading::too_many:
        return {packets_reading::too_many};
    }
    return {};
}

char* options_text(const deal::description& d, bool with_cards, char* out, std::size_t room) {
    appender a(out, room);
    const char* gap = "";
    if (!d.default_packets()) {
        a.add("--packets ");
        a.list(d.packets());
        gap = " ";
    }
    if (with_cards) {
        a.add("%s--cards %d", gap, d.cards);
        gap = " ";
    }
    const auto option = [&](const choice& c, int value) {
        if (value != 0) {
            a.add("%s--%s %s", gap, c.option, c.names[static_cast<std::size_t>(value)]);
            gap = " ";
        }
    };
    option(rest_choice, static_cast<int>(d.rest));
    option(first_card_choice, static_cast<int>(d.first_card));
    option(bottom_hand_choice, static_cast<int>(d.bottom_hand));
    if (!d.gather().empty()) {
        a.add("%s--gather ", gap);
        a.list(d.gather());
        gap = " ";
    }
    if (d.chosen_pile >= 0)
        a.add("%s--chosen-pile %d", gap, d.chosen_pile);
    return a.at;
}

char* rules_text(const deal::description& d, char* out, std::size_t room) {
    appender a(out, room);
    const char* gap = "";
    if (!d.default_packets()) {
        a.add("packets ");
        a.list(d.packets());
        gap = ", ";
    }
    if (d.rest != deal::rest::again) {
        a.add("%sthe rest %s", gap, d.rest == deal::rest::top ? "on top" : "at the bottom");
        gap = ", ";
    }
    if (d.first_card == deal::first_card::bottom) {
        a.add("%seach hand's first card at its bottom", gap);
        gap = ", ";
    }
    if (d.bottom_hand == deal::bottom_hand::first) {
        a.add("%shand 0 at the bottom", gap);
        gap = ", ";
    }
    if (!d.gather().empty()) {
        a.add("%sgathered ", gap);
        a.list(d.gather());
        a.add(" from the top");
        gap = ", ";
    }
    if (d.chosen_pile >= 0)
        a.add("%sthe chosen pile under %d", gap, d.chosen_pile);
    return a.at;
}

} // namespace text
