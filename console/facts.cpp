#include "console/facts.hpp"

#include <cstdint>
#include <span>

#include "console/ranges.hpp"
#include "deal/description.hpp"
#include "deal/limits.hpp"
#include "text/appender.hpp"
#include "views/limits.hpp"

namespace console {

namespace {

std::string number(std::int64_t n) {
    return std::to_string(n);
}

std::string own_packets() {
    char text[64];
    text::appender(text, sizeof text).list(std::span<const std::int32_t>(deal::own_packets));
    return text;
}

} // namespace

std::vector<fact> facts() {
    return {
        {"max_hands", number(deal::max_hands)},
        {"min_hands", number(deal::min_hands)},
        {"max_cards", number(deal::max_cards)},
        {"max_deal_hands", number(deal::max_deal_hands)},
        {"max_packets", number(deal::max_packets)},
        {"max_packet", number(deal::max_packet)},
        {"max_moves", number(deal::max_moves)},
        {"max_search_moves", number(deal::max_search_moves)},
        {"max_search_answers", number(deal::max_search_answers)},
        {"max_playing_cards", number(deal::max_playing_cards)},
        {"max_range_values", number(max_range_values)},
        {"max_rounds", number(views::max_rounds)},
        {"own_packets", own_packets()},
    };
}

std::string with_facts(std::string_view text, std::string (*shown)(std::string_view)) {
    const std::vector<fact> all = facts();
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t open = text.find('{');
        out += text.substr(0, open);
        if (open == std::string_view::npos)
            break;
        text.remove_prefix(open);
        const std::size_t close = text.find('}');
        bool known = false;
        if (close != std::string_view::npos) {
            for (const fact& f : all) {
                if (text.substr(1, close - 1) == f.name) {
                    out += shown ? shown(f.value) : f.value;
                    text.remove_prefix(close + 1);
                    known = true;
                    break;
                }
            }
        }
        if (!known) {
            out += '{';
            text.remove_prefix(1);
        }
    }
    return out;
}

} // namespace console
