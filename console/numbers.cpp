#include "console/numbers.hpp"

#include <cstdio>

#include "console/deal_options.hpp"
#include "console/report.hpp"
#include "text/cards.hpp"
#include "text/count_words.hpp"
#include "text/deal_words.hpp"

namespace console {

std::optional<std::int64_t> in_range(const text::integer_text& number, const char* what,
                                     std::int64_t least, std::int64_t most) {
    char words[text::words_room];
    if (text::check_integer(number, what, least, most, words, sizeof words))
        return number.value();
    report("%s", words);
    return std::nullopt;
}

std::optional<std::int64_t> integer_argument(const char* argument, const char* what,
                                             std::int64_t least, std::int64_t most) {
    char words[text::words_room];
    const auto value =
        text::read_integer(argument, what, least, most, shown_quoted, words, sizeof words);
    if (!value)
        report("%s", words);
    return value;
}

std::optional<int> card_argument(const char* argument, const deal::start& start) {
    char words[text::words_room];
    const auto card =
        text::read_card(argument, start.size(), shown_quoted, words, sizeof words, start.faces());
    if (!card)
        report("%s", words);
    return card;
}

std::optional<std::vector<int>> card_list_argument(const char* argument, const deal::start& start) {
    char words[text::words_room];
    std::vector<int> numbers;
    if (!text::read_cards(argument, start.size(), numbers, shown_quoted, words, sizeof words,
                          start.faces())) {
        report("%s", words);
        return std::nullopt;
    }
    return numbers;
}

std::optional<std::int32_t> supported_hand_count(const text::integer_text& count) {
    const auto hands = in_range(count, "hand count", deal::min_hands, deal::max_hands);
    if (!hands)
        return std::nullopt;
    return static_cast<std::int32_t>(*hands);
}

} // namespace console
