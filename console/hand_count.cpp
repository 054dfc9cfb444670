#include "console/hand_count.hpp"

#include "console/report.hpp"
#include "deal/deck.hpp"

namespace console {

std::optional<std::int32_t> supported_hand_count(const integer_text& count) {
    if (deal::hand_count_supported(count.value()))
        return static_cast<std::int32_t>(count.value());
    report("hand count %s%s is outside the supported range %lld to %d", count.shown(),
           count.cut() ? "..." : "", static_cast<long long>(deal::min_hands), deal::max_hands);
    return std::nullopt;
}

std::optional<std::int32_t> hand_count_argument(const char* argument) {
    integer_text text;
    if (!parse_integer(argument, text)) {
        report_not_integer(argument, "hand count");
        return std::nullopt;
    }
    return supported_hand_count(text);
}

} // namespace console
