#include "console/numbers.hpp"

#include <cstdio>

#include "console/quote.hpp"
#include "console/report.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"

namespace console {

std::optional<std::int64_t> in_range(const text::integer_text& number, const char* what,
                                     std::int64_t least, std::int64_t most) {
    if (number.value() >= least && number.value() <= most)
        return number.value();
    char shown[text::integer_text::shown_max + 4];
    std::snprintf(shown, sizeof shown, "%s%s", number.shown(), number.cut() ? "..." : "");
    char words[text::words_room];
    text::range_words(words, sizeof words, what, shown, least, most);
    report("%s", words);
    return std::nullopt;
}

std::optional<std::int64_t> integer_argument(const char* argument, const char* what,
                                             std::int64_t least, std::int64_t most) {
    text::integer_text number;
    if (!text::parse_integer(argument, number)) {
        report_not_integer(argument, what);
        return std::nullopt;
    }
    return in_range(number, what, least, most);
}

std::optional<int> card_argument(const char* argument, int cards) {
    text::integer_text number;
    if (text::parse_integer(argument, number)) {
        const auto card = in_range(number, "card", 0, cards - 1);
        return card ? std::optional<int>{static_cast<int>(*card)} : std::nullopt;
    }
    const text::card_reading reading = text::read_card(argument, cards);
    if (reading.fault == text::card_reading::none)
        return reading.card;
    char words[text::words_room];
    text::card_fault_words(words, sizeof words, reading, quoted(argument).c_str(), cards);
    report("%s", words);
    return std::nullopt;
}

std::optional<std::int32_t> supported_hand_count(const text::integer_text& count) {
    const auto hands = in_range(count, "hand count", deal::min_hands, deal::max_hands);
    if (!hands)
        return std::nullopt;
    return static_cast<std::int32_t>(*hands);
}

} // namespace console
