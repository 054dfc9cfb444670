#include "filter/round.hpp"

#include <cstdint>
#include <cstring>

#include "filter/deck.hpp"

namespace filter {

namespace {

// A hand's first four slots fit one 16-byte register. With the vector
// extensions of GCC and Clang a hand is dealt and gathered in a few register
// shuffles instead of ten separate card moves.
using four_cards = card __attribute__((vector_size(16)));
using two_pairs = std::uint64_t __attribute__((vector_size(16)));

// {p[1], p[0], q[1], q[0]}: two pairs of adjacent cards, each pair turned
// over, as dealing from the top turns them. The builtin rather than
// std::bit_cast, which the libc++ of the WebAssembly build lacks.
inline four_cards turned_pairs(const card* p, const card* q) {
    std::uint64_t lower, upper;
    std::memcpy(&lower, p, sizeof lower);
    std::memcpy(&upper, q, sizeof upper);
    const auto cards = __builtin_bit_cast(four_cards, (two_pairs{lower, upper}));
    return __builtin_shufflevector(cards, cards, 1, 0, 3, 2);
}

} // namespace

void simulate_round() {
    if (N <= 0)
        return; // the empty deck: nothing to deal
    const int n = N;
    using hand_slots = card[hand_size];

    // The deal comes from the top in three passes over the hands in ascending
    // order: two cards each, two more each, then one each. Each hand takes
    // what the three passes give it in one visit: its first pair lies 2i
    // cards below the top, its second pair 2N cards below that, and its last
    // card i cards below the top of the N that the passes leave last.
    const card* pair = stack + hand_size * n;
    const card* last = stack + n;
    for (hand_slots* hand = cards; hand != cards + n; ++hand) {
        pair -= 2;
        const four_cards slots = turned_pairs(pair, pair - 2 * n);
        std::memcpy(*hand, &slots, sizeof slots);
        (*hand)[4] = *--last;
    }

    // The last hand goes down first, each hand from its last slot to its first.
    card* out = stack;
    for (const hand_slots* hand = cards + n; hand != cards; out += hand_size) {
        --hand;
        four_cards slots;
        std::memcpy(&slots, *hand, sizeof slots);
        slots = __builtin_shufflevector(slots, slots, 3, 2, 1, 0);
        out[0] = (*hand)[4];
        std::memcpy(out + 1, &slots, sizeof slots);
    }
}

} // namespace filter
