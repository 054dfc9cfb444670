// A number of rounds of any length, kept modulo the lengths of a
// permutation's cycles as its digits arrive, so that a count of a million
// digits costs one pass over them and a few bytes of memory, and no jump ever
// needs the period, which may run to hundreds of bits, as a machine number.
//
// The distinct cycle lengths are gathered into groups whose least common
// multiple fits in 64 bits; the number is kept modulo each group's, which
// any of the group's lengths divides. Nineteen digits at a time go into every
// group with one 128-by-64-bit division.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "deal/cycles.hpp"
#include "deal/description.hpp"

namespace deal {

class round_number {
public:
    // Makes ready for the cycles of `round`, and forgets any number read.
    void learn(const cycles& round);
    // The same for cycles of these lengths, ascending, each at most max_cards.
    void learn(std::span<const length_count> lengths);
    // The same for numbers to be taken modulo each of `moduli`, each from 1
    // to 2^32, by modulo_of().
    void learn_moduli(std::span<const std::uint64_t> moduli);

    // The number's text as the reader gives it: sign(c), then digits(from,
    // to) a run at a time.
    void sign(char c) { small_negative_ = negative_ = c == '-'; }
    void digits(const char* from, const char* to);

    // Takes, in place of any number read, the whole of `integer`: an optional
    // sign and then digits, as a command line or a page gives a round number.
    void assign(std::string_view integer);

    // Forgets the number read: zero rounds.
    void clear();

    // The number modulo `length`, which must be one of the cycle lengths
    // learnt: from 0 to length - 1, a negative number running the deal
    // backwards, which is as far forwards as a multiple of the length less it.
    std::uint64_t modulo(std::size_t length) const;
    // The same for one of the moduli learnt, or any divisor of one.
    std::uint64_t modulo_of(std::uint64_t modulus) const;

    // The number itself where its magnitude is below 2^62: what a walk of
    // a few rounds, before any cycle is reached, needs.
    std::optional<std::int64_t> small() const;
    // Whether the number is below zero.
    bool negative() const { return small_negative_ && magnitude_ != 0; }

    // Adds `rounds` to the number.
    void advance(std::uint64_t rounds);

    // The fewest rounds from 0 to `most` - 1 that, added to the number, give a
    // multiple of the period, where the deck is in its starting order; -1 if
    // none of them does.
    std::int64_t rounds_to_start(std::int64_t most) const;

    // How many groups of cycle lengths the number is reduced modulo, for the
    // tests.
    int group_count() const { return static_cast<int>(groups_.size()); }

private:
    struct group {
        std::uint64_t modulus;
        std::uint64_t residue; // of the magnitude read, below the modulus
    };
    // Puts `length` into the last group, or a new one: that group's index.
    std::size_t join(std::uint64_t length);
    // The residue of the number itself, sign taken into account.
    std::uint64_t signed_residue(const group& g) const;

    // At most a group for each distinct length.
    std::vector<group> groups_;
    // The group of each length learnt, up to the longest.
    std::vector<std::uint8_t> group_of_length_;
    bool negative_ = false;
    // The magnitude read, held at the cap once it passes it.
    static constexpr std::uint64_t magnitude_cap = std::uint64_t{1} << 62;
    std::uint64_t magnitude_ = 0;
    bool small_negative_ = false;
};

} // namespace deal
