#include "deal/round.hpp"

#include "deal/deck.hpp"

namespace deal {

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
        const card* second = first - 2 * n;
        card* hand = cards[i];
        hand[0] = first[1];
        hand[1] = first[0];
        hand[2] = second[1];
        hand[3] = second[0];
        hand[4] = stack[n - 1 - i];
    }

    // The last hand goes down first, each hand from its last slot to its first.
    card* out = stack;
    for (int h = n - 1; h >= 0; --h, out += hand_size) {
        const card* hand = cards[h];
        out[0] = hand[4];
        out[1] = hand[3];
        out[2] = hand[2];
        out[3] = hand[1];
        out[4] = hand[0];
    }
}

} // namespace deal
