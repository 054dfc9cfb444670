#include "console/facts.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>

#include "colors/colormap.hpp"
#include "console/arguments.hpp"
#include "console/ranges.hpp"
#include "deal/description.hpp"
#include "deal/limits.hpp"
#include "text/appender.hpp"
#include "views/limits.hpp"

namespace console {

namespace {

fact number(const char* name, std::int64_t n) {
    fact f{name, {}};
    std::snprintf(f.value, sizeof f.value, "%lld", static_cast<long long>(n));
    return f;
}

fact own_packets() {
    fact f{"own_packets", {}};
    text::appender(f.value, sizeof f.value).list(std::span<const std::int32_t>(deal::own_packets));
    return f;
}

} // namespace

std::array<fact, fact_count> facts() {
    return {
        number("max_hands", deal::max_hands),
        number("min_hands", deal::min_hands),
        number("max_cards", deal::max_cards),
        number("max_deal_hands", deal::max_deal_hands),
        number("max_packets", deal::max_packets),
        number("max_packet", deal::max_packet),
        number("max_moves", deal::max_moves),
        number("max_search_moves", deal::max_search_moves),
        number("max_search_answers", deal::max_search_answers),
        number("max_narrowing_sets", deal::max_narrowing_sets),
        number("max_narrowing_mib", deal::max_narrowing_bytes >> 20),
        number("max_narrowing_steps", deal::max_narrowing_steps),
        number("max_shuffles", deal::max_shuffles),
        number("max_chance_digits", deal::max_chance_digits),
        number("max_chance_rounds", deal::max_chance_rounds),
        number("max_chance_cards", deal::max_chance_cards),
        number("max_chance_card_rounds", deal::max_chance_card_rounds),
        number("max_chance_work", deal::max_chance_work),
        number("max_exact_chance_cards", deal::max_exact_chance_cards),
        number("max_bounded_chance_work", deal::max_bounded_chance_work),
        number("followed_colors", colors::followed_colors),
        number("max_playing_cards", deal::max_playing_cards),
        number("max_range_values", max_range_values),
        number("max_options", static_cast<std::int64_t>(arguments::most_options)),
        number("max_rounds", views::max_rounds),
        own_packets(),
    };
}

void with_facts(std::string_view text, piece_sink put, void* context) {
    // Pieces made from pointers, not substr(), which may throw and so would
    // bring the C++ runtime library into deal.
    const std::array<fact, fact_count> all = facts();
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at != end) {
        const char* const open = std::find(at, end, '{');
        put(context, {at, static_cast<std::size_t>(open - at)}, false);
        if (open == end)
            return;
        const char* const close = std::find(open, end, '}');
        const fact* found = nullptr;
        for (const fact& f : all)
            if (close != end &&
                std::string_view(open + 1, static_cast<std::size_t>(close - open - 1)) == f.name)
                found = &f;
        if (found) {
            put(context, found->value, true);
            at = close + 1;
        } else {
            put(context, {open, 1}, false);
            at = open + 1;
        }
    }
}

} // namespace console
