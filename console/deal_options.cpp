#include "console/deal_options.hpp"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <type_traits>

#include "console/numbers.hpp"
#include "console/quote.hpp"
#include "console/ranges.hpp"
#include "console/report.hpp"
#include "text/deal_words.hpp"

namespace console {

namespace {

[[noreturn]] void refused() {
    std::exit(EXIT_FAILURE);
}

// The count or range of counts that `argument` names (a range only with
// `ranges`): each end read as an integer and held to `check`, which reports
// what is wrong with it, then the range's size.
template <class Check>
std::optional<count_range> read_counts(const char* argument, bool ranges, const char* what,
                                       Check check) {
    const auto range = ranges ? split_range(argument) : std::nullopt;
    const std::string_view ends[] = {range ? range->first : std::string_view{argument},
                                     range ? range->last : std::string_view{argument}};
    count_range counts{};
    for (int i = 0; i < (range ? 2 : 1); ++i) {
        text::integer_text count;
        if (!text::parse_integer(ends[i], count)) {
            report_not_integer(argument, what);
            return std::nullopt;
        }
        if (!check(count))
            return std::nullopt;
        (i == 0 ? counts.first : counts.last) = count.value();
    }
    if (!range)
        counts.last = counts.first;
    else if (!range_size(argument, *range))
        return std::nullopt;
    return counts;
}

void read_choice(const text::choice& c, const char* value, auto& field) {
    const auto index = text::named(c, value);
    if (!index) {
        char words[text::words_room];
        text::choice_words(words, sizeof words, c, quoted(value).c_str());
        report("%s", words);
        refused();
    }
    field = static_cast<std::remove_reference_t<decltype(field)>>(*index);
}

} // namespace

deal_options::deal_options(const arguments& given, bool cards_ranges) {
    // Each option's value, none given twice.
    const char* values[deal_option_count];
    for (int which = 0; which < deal_option_count; ++which)
        any_given_ |= (values[which] = given.value(which)) != nullptr;

    if (const char* value = values[cards_option]) {
        const auto cards = read_counts(value, cards_ranges, "card count", [](const auto& count) {
            return in_range(count, "card count", 1, deal::max_cards).has_value();
        });
        if (!cards)
            refused();
        cards_given_ = true;
        cards_ = *cards;
    }
    if (const char* value = values[packets_option]) {
        const auto reading = text::read_packets(value, rules_);
        if (reading.fault != text::packets_reading::none) {
            char words[text::words_room];
            text::packets_words(words, sizeof words, reading, quoted(value).c_str());
            report("%s", words);
            refused();
        }
    }
    if (const char* value = values[rest_option])
        read_choice(text::rest_choice, value, rules_.rest);
    if (const char* value = values[first_card_option])
        read_choice(text::first_card_choice, value, rules_.first_card);
    if (const char* value = values[bottom_hand_option])
        read_choice(text::bottom_hand_choice, value, rules_.bottom_hand);
}

bool deal_options::check_hands(const text::integer_text& count, std::int64_t least) const {
    const deal::count_limits limits = deal::hand_limits(default_deal(), cards_given_);
    const auto hands = in_range(count, "hand count", std::max(least, limits.least), limits.most);
    if (!hands)
        return false;
    if (!cards_given_ && !deal::cards_fit(rules_, *hands)) {
        char words[text::words_room];
        text::too_many_cards_words(words, sizeof words, *hands, rules_);
        report("%s", words);
        return false;
    }
    return true;
}

std::optional<count_range> deal_options::hand_counts(const char* argument, bool ranges,
                                                     std::int64_t least) const {
    return read_counts(argument, ranges, "hand count",
                       [&](const auto& count) { return check_hands(count, least); });
}

std::optional<std::int32_t> deal_options::hand_count(const text::integer_text& count) const {
    if (!check_hands(count, deal::min_hands))
        return std::nullopt;
    return static_cast<std::int32_t>(count.value());
}

deal::description deal_options::describe(std::int64_t hands, std::int64_t cards) const {
    return rules_.dealt_to(hands, cards_given_ ? std::optional{cards} : std::nullopt);
}

} // namespace console
