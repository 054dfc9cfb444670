#include "draw/generator.hpp"

#include <bit>

namespace draw {

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

} // namespace draw
