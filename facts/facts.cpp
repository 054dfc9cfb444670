#include "facts/facts.hpp"

#include <algorithm>

#include "colors/colormap.hpp"
#include "deal/description.hpp"
#include "deal/limits.hpp"
#include "floating/riffle_curve.hpp"
#include "text/appender.hpp"
#include "views/limits.hpp"

namespace facts {

namespace {

template <std::size_t N, std::size_t Length>
constexpr fact listed(const char (&name)[N], const std::int32_t (&values)[Length]) {
    static_assert(N <= sizeof fact::name && Length <= std::size(fact{}.list));
    fact f{};
    std::copy(name, name + N, f.name);
    std::copy(values, values + Length, f.list);
    f.list_length = Length;
    return f;
}

constexpr fact every[] = {
    {"max_hands", deal::max_hands},
    {"min_hands", deal::min_hands},
    {"max_cards", deal::max_cards},
    {"max_deal_hands", deal::max_deal_hands},
    {"max_packets", deal::max_packets},
    {"max_packet", deal::max_packet},
    {"max_moves", deal::max_moves},
    {"max_repeat", deal::max_repeat},
    {"max_played_moves", deal::max_played_moves},
    {"max_search_moves", deal::max_search_moves},
    {"max_search_answers", deal::max_search_answers},
    {"max_narrowing_sets", deal::max_narrowing_sets},
    {"max_narrowing_mib", deal::max_narrowing_bytes >> 20},
    {"max_narrowing_steps", deal::max_narrowing_steps},
    {"max_group_steps", deal::max_group_steps},
    {"max_shuffles", deal::max_shuffles},
    {"max_riffle_packets", deal::max_riffle_packets},
    {"max_chance_digits", deal::max_chance_digits},
    {"max_chance_rounds", deal::max_chance_rounds},
    {"max_chance_cards", deal::max_chance_cards},
    {"max_chance_card_rounds", deal::max_chance_card_rounds},
    {"max_chance_work", deal::max_chance_work},
    {"max_exact_chance_cards", deal::max_exact_chance_cards},
    {"max_bounded_chance_work", deal::max_bounded_chance_work},
    {"max_playing_cards", deal::max_playing_cards},
    {"max_range_values", deal::max_range_values},
    {"max_options", deal::max_options},
    {"followed_colors", colors::followed_colors},
    {"max_rounds", views::max_rounds},
    {"max_page_rows", views::max_page_rows},
    {"max_round_digits", views::max_round_digits},
    {"max_dealt_cards", views::max_dealt_cards},
    {"max_dealt_steps", views::max_dealt_steps},
    {"max_trick_round", views::max_trick_round},
    {"max_line_cards", views::max_line_cards},
    {"max_cobweb_length", views::max_cobweb_length},
    {"most_followed", views::most_followed},
    {"max_curve_cards", floating::max_curve_cards},
    listed("own_packets", deal::own_packets),
};

} // namespace

std::span<const fact> table() {
    return every;
}

const fact* find(std::string_view name) {
    for (const fact& f : every)
        if (name == f.name)
            return &f;
    return nullptr;
}

const char* value_text(const fact& f, char* out, std::size_t room) {
    text::appender a(out, room);
    if (f.list_length == 0)
        a.add("%lld", static_cast<long long>(f.number));
    else
        a.list(f.values());
    return out;
}

void with_facts(std::string_view text, piece_sink put, void* context) {
    // Pieces made from pointers, not substr(), which may throw and so would
    // bring the C++ runtime library into deal.
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at != end) {
        const char* const open = std::find(at, end, '{');
        put(context, {at, static_cast<std::size_t>(open - at)}, false);
        if (open == end)
            return;
        const char* const close = std::find(open, end, '}');
        const fact* found =
            close == end ? nullptr : find({open + 1, static_cast<std::size_t>(close - open - 1)});
        if (found) {
            char value[value_room];
            put(context, value_text(*found, value), true);
            at = close + 1;
        } else {
            put(context, {open, 1}, false);
            at = open + 1;
        }
    }
}

} // namespace facts
