#include "deal/round.hpp"

#include "deal/deck.hpp"

namespace deal {

void simulate_round() {
    const int n = N > 0 ? N : 0;

    // Every pass takes cards from the top of what the earlier passes left,
    // visiting the hands in ascending order.
    const card* top = stack + hand_size * n;
    for (int i = 0; i < n; ++i) {
        cards[i][0] = top[-1 - 2 * i];
        cards[i][1] = top[-2 - 2 * i];
    }
    top -= 2 * n;
    for (int i = 0; i < n; ++i) {
        cards[i][2] = top[-1 - 2 * i];
        cards[i][3] = top[-2 - 2 * i];
    }
    top -= 2 * n;
    for (int i = 0; i < n; ++i)
        cards[i][4] = top[-1 - i];

    // The last hand goes down first, each hand's last card at the bottom.
    card* out = stack;
    for (int h = n - 1; h >= 0; --h)
        for (int s = hand_size - 1; s >= 0; --s)
            *out++ = cards[h][s];
}

} // namespace deal
