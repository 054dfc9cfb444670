#include "draw/riffle.hpp"

#include <vector>

namespace draw {

namespace {

// A riffle into `packets` packets, from the top one down: each card falls
// into one of them, each equally likely, so that their sizes are
// multinomial; then, as two packets are, each is dropped from its bottom
// card up with chance proportional to the cards it still holds.
deal::permutation riffle_into(int packets, int cards, generator& g) {
    std::vector<int> left(static_cast<std::size_t>(packets), 0);
    for (int c = 0; c < cards; ++c)
        ++left[static_cast<std::size_t>(g.below(static_cast<std::uint64_t>(packets)))];
    // The next card of each packet to drop: its bottom one, counted from
    // the bottom of the deck, the lowest packet's first.
    std::vector<int> next(left.size());
    for (int p = packets - 1, below = 0; p >= 0; --p) {
        next[static_cast<std::size_t>(p)] = below;
        below += left[static_cast<std::size_t>(p)];
    }
    std::vector<std::int16_t> goes_to(static_cast<std::size_t>(cards));
    for (int placed = 0; placed < cards; ++placed) {
        auto drawn = static_cast<int>(g.below(static_cast<std::uint64_t>(cards - placed)));
        std::size_t p = 0;
        while (drawn >= left[p])
            drawn -= left[p++];
        --left[p];
        goes_to[static_cast<std::size_t>(next[p]++)] = static_cast<std::int16_t>(placed);
    }
    return deal::permutation(std::move(goes_to));
}

} // namespace

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
    if (m.packets != 2)
        return riffle_into(m.packets, cards, g);
    // Positions count from the bottom: the top packet is the top `upper`
    // cards, the lower packet the rest, each dropped from its bottom card up
    // onto a new deck that grows from the bottom.
    const int upper = g.heads(cards);
    std::vector<std::int16_t> goes_to(static_cast<std::size_t>(cards));
    int top_next = cards - upper, bottom_next = 0, placed = 0;
    int top_left = upper, bottom_left = cards - upper;
    while (top_left + bottom_left > 0) {
        const bool from_top = g.below(static_cast<std::uint64_t>(top_left + bottom_left)) <
                              static_cast<std::uint64_t>(top_left);
        const int from = from_top ? top_next++ : bottom_next++;
        (from_top ? top_left : bottom_left) -= 1;
        goes_to[static_cast<std::size_t>(from)] = static_cast<std::int16_t>(placed++);
    }
    return deal::permutation(std::move(goes_to));
}

} // namespace draw
