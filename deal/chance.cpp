#include "deal/chance.hpp"

#include <bit>
#include <vector>

namespace deal {

namespace {

// SplitMix64's output function: every bit of `z` spread over every other.
std::uint64_t mixed(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58'476d'1ce4'e5b9;
    z = (z ^ (z >> 27)) * 0x94d0'49bb'1331'11eb;
    return z ^ (z >> 31);
}

} // namespace

generator generator::for_round(std::uint64_t seed, std::uint64_t round) {
    return generator(seed ^ mixed(round));
}

std::uint64_t generator::next() {
    return mixed(state_ += 0x9e37'79b9'7f4a'7c15);
}

std::uint64_t generator::below(std::uint64_t n) {
    // The largest multiple of n that 64 bits hold, and draws past it thrown
    // back, so that each remainder is as likely as every other.
    const std::uint64_t limit = n * (UINT64_MAX / n);
    std::uint64_t x;
    do
        x = next();
    while (x >= limit);
    return x % n;
}

int generator::heads(int n) {
    int count = 0;
    for (; n >= 64; n -= 64)
        count += std::popcount(next());
    if (n > 0)
        count += std::popcount(next() >> (64 - n));
    return count;
}

permutation draw_permutation(const move& m, int cards, generator& g) {
    if (m.kind == move_kind::random_cut) {
        move cut{
            move_kind::cut,
            static_cast<std::int32_t>(g.below(static_cast<std::uint64_t>(cards > 0 ? cards : 1))),
            {}};
        return move_permutation(cut, cards);
    }
    if (m.kind != move_kind::riffle)
        return move_permutation(m, cards);
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
    return permutation(std::move(goes_to));
}

} // namespace deal
