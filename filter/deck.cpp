#include "filter/deck.hpp"

namespace filter {

std::int32_t N;
card stack[deck_capacity];
card cards[max_hands][hand_size];

void set_starting_order() {
    const int size = deck_size();
    for (int p = 0; p < size; ++p)
        stack[p] = p;
}

} // namespace filter
