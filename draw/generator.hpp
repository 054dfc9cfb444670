// Chance drawn from a seed the user can give, the same on every machine, in
// every build and on the page: a generator and ways of drawing of the
// project's own, not a standard library's distributions, which differ from
// one library to the next.
//
// The generator is SplitMix64 (Steele, Lea and Flood, 2014): a 64-bit state
// advanced by a constant and mixed into each output. A count below n is
// drawn by rejection, so that every value is exactly as likely; a coin by
// one bit.
#pragma once

#include <cstdint>

namespace draw {

class generator {
public:
    explicit generator(std::uint64_t seed) : state_(seed) {}
    // The generator of round `round` of a run drawn from `seed`: its state
    // the seed exclusive-or the round mixed as an output is, so that each
    // round has a stream of its own and any round can be played again alone.
    static generator for_round(std::uint64_t seed, std::uint64_t round);
    // The next 64 random bits.
    std::uint64_t next();
    // A count from 0 to n - 1, each equally likely; n at least 1.
    std::uint64_t below(std::uint64_t n);
    // How many of n fair coins fall heads: Binomial(n, 1/2).
    int heads(int n);

private:
    std::uint64_t state_;
};

} // namespace draw
