#include "deal/period.hpp"

#include <bitset>
#include <utility>

#include "deal/deck.hpp"
#include "deal/round.hpp"

namespace deal {

namespace {

round_count gcd(round_count a, round_count b) {
    while (b != 0)
        a = std::exchange(b, a % b);
    return a;
}

} // namespace

std::optional<round_count> period(std::int32_t hands) {
    N = hands;
    set_starting_order();
    simulate_round();

    // After one round, position p holds the card that came from position
    // stack[p]; following that link from any position walks its cycle.
    std::bitset<deck_capacity> seen;
    round_count rounds = 1;
    for (int start = 0; start < deck_size(); ++start) {
        if (seen[static_cast<std::size_t>(start)])
            continue;
        round_count length = 0;
        for (int p = start; !seen[static_cast<std::size_t>(p)]; p = stack[p]) {
            seen[static_cast<std::size_t>(p)] = true;
            ++length;
        }
        if (__builtin_mul_overflow(rounds / gcd(rounds, length), length, &rounds))
            return std::nullopt;
    }
    return rounds;
}

} // namespace deal
