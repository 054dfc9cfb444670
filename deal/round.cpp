#include "deal/round.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "deal/deck.hpp"

namespace deal {

namespace {

// A hand's first four slots fit one 16-byte register. With the vector
// extensions of GCC and Clang a hand is dealt and gathered in a few register
// shuffles instead of ten separate card moves.
using four_cards = card __attribute__((vector_size(16)));
using two_pairs = std::uint64_t __attribute__((vector_size(16)));

// {p[1], p[0], q[1], q[0]}: two pairs of adjacent cards, each pair turned
// over, as dealing from the top turns them.
inline four_cards turned_pairs(const card* p, const card* q) {
    std::uint64_t lower, upper;
    std::memcpy(&lower, p, sizeof lower);
    std::memcpy(&upper, q, sizeof upper);
    const auto cards = std::bit_cast<four_cards>(two_pairs{lower, upper});
    return __builtin_shufflevector(cards, cards, 1, 0, 3, 2);
}

} // namespace

void simulate_round() {
    const int n = N > 0 ? N : 0;

    // The deal comes from the top in three passes over the hands in ascending
    // order: two cards each, two more each, then one each. Each hand takes
    // what the three passes give it in one visit: its first pair lies 2i
    // cards below the top, its second pair 2N cards below that, and its last
    // card i cards below the top of the N that the passes leave last.
    const card* top = stack + hand_size * n; // just above the top card
    for (int i = 0; i < n; ++i) {
        const card* first = top - 2 - 2 * i;
        const four_cards slots = turned_pairs(first, first - 2 * n);
        std::memcpy(cards[i], &slots, sizeof slots);
        cards[i][4] = stack[n - 1 - i];
    }

    // The last hand goes down first, each hand from its last slot to its first.
    card* out = stack;
    for (int h = n - 1; h >= 0; --h, out += hand_size) {
        four_cards slots;
        std::memcpy(&slots, cards[h], sizeof slots);
        slots = __builtin_shufflevector(slots, slots, 3, 2, 1, 0);
        out[0] = cards[h][4];
        std::memcpy(out + 1, &slots, sizeof slots);
    }
}

} // namespace deal
