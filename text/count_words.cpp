#include "text/count_words.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "text/deal_words.hpp"

namespace text {

bool check_integer(const integer_text& n, const char* what, std::int64_t least, std::int64_t most,
                   char* words, std::size_t room) {
    if (n.value() >= least && n.value() <= most)
        return true;
    char shown[integer_text::shown_max + 4];
    range_words(words, room, what, written(n, shown, sizeof shown), least, most);
    return false;
}

std::optional<std::int64_t> read_integer(std::string_view given, const char* what,
                                         std::int64_t least, std::int64_t most, show_value show,
                                         char* words, std::size_t room) {
    integer_text n;
    if (!parse_integer(given, n)) {
        char buffer[300];
        not_integer_words(words, room, show(given, shown_length::value, buffer, sizeof buffer),
                          what);
        return std::nullopt;
    }
    if (!check_integer(n, what, least, most, words, room))
        return std::nullopt;
    return n.value();
}

std::optional<std::uint64_t> read_seed(std::string_view given, show_value show, char* words,
                                       std::size_t room) {
    integer_text n;
    char buffer[300];
    if (!parse_integer(given, n)) {
        not_integer_words(words, room, show(given, shown_length::value, buffer, sizeof buffer),
                          "seed");
        return std::nullopt;
    }
    // Read as any integer is: a sign may lead, and -0 is 0.
    std::string_view digits = given;
    const bool negative = digits[0] == '-';
    if (digits[0] == '+' || negative)
        digits.remove_prefix(1);
    std::uint64_t seed = 0;
    const char* const end = digits.data() + digits.size();
    if (const auto [at, error] = std::from_chars(digits.data(), end, seed);
        error == std::errc() && at == end && (!negative || seed == 0))
        return seed;
    std::snprintf(words, room, "seed %s is outside the supported range 0 to %llu",
                  written(n, buffer, sizeof buffer), static_cast<unsigned long long>(UINT64_MAX));
    return std::nullopt;
}

bool check_hand_count(const integer_text& count, const deal::description& rules, bool own_deal,
                      bool cards_given, std::int64_t least, char* words, std::size_t room) {
    const deal::count_limits limits = deal::hand_limits(own_deal, cards_given);
    if (!check_integer(count, "hand count", std::max(least, limits.least), limits.most, words,
                       room))
        return false;
    if (!cards_given && !deal::cards_fit(rules, count.value())) {
        too_many_cards_words(words, room, count.value(), rules);
        return false;
    }
    return true;
}

} // namespace text
