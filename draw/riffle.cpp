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
