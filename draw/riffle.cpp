#include "draw/riffle.hpp"

#include <vector>

namespace draw {

deal::permutation draw_permutation(const deal::move& m, int cards, generator& g) {
    if (m.kind == deal::move_kind::random_cut) {
        deal::move cut{
            deal::move_kind::cut,
            static_cast<std::int32_t>(g.below(static_cast<std::uint64_t>(cards > 0 ? cards : 1))),
            {}};
        return deal::move_permutation(cut, cards);
    }
    if (m.kind != deal::move_kind::riffle)
        return deal::move_permutation(m, cards);
    // The packets' sizes, from the top one down: two cut after a binomial
    // count; more, each card into one of them, each equally likely.
    const auto packets = static_cast<std::size_t>(m.packets);
    std::vector<int> left(packets, 0);
    if (packets == 2) {
        left[0] = g.heads(cards);
        left[1] = cards - left[0];
    } else {
        for (int c = 0; c < cards; ++c)
            ++left[static_cast<std::size_t>(g.below(packets))];
    }
    // Positions count from the bottom: each packet is dropped from its
    // bottom card up, the packet whose cards left, added to those of the
    // packets above it, first exceed a count below the cards left in all,
    // onto a new deck that grows from the bottom.
    std::vector<int> next(packets);
    for (std::size_t p = packets, below = 0; p-- > 0;) {
        next[p] = static_cast<int>(below);
        below += static_cast<std::size_t>(left[p]);
    }
    std::vector<std::int16_t> goes_to(static_cast<std::size_t>(cards));
    for (int placed = 0; placed < cards; ++placed) {
        auto drawn = g.below(static_cast<std::uint64_t>(cards - placed));
        std::size_t p = 0;
        while (drawn >= static_cast<std::uint64_t>(left[p]))
            drawn -= static_cast<std::uint64_t>(left[p++]);
        --left[p];
        goes_to[static_cast<std::size_t>(next[p]++)] = static_cast<std::int16_t>(placed);
    }
    return deal::permutation(std::move(goes_to));
}

} // namespace draw
