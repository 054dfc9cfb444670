#include "deal/round_number.hpp"

#include <algorithm>
#include <numeric>

#include "deal/cycles.hpp"

namespace deal {

namespace {

constexpr std::array<std::uint64_t, 20> powers_of_ten = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t p = 1;
    for (auto& power : powers) {
        power = p;
        p *= 10;
    }
    return powers;
}();
constexpr std::size_t step_digits = 19;

// (residue * scale + add) mod modulus, with residue below the modulus and
// scale and add below 2^64: the quotient then fits in 64 bits, which is what
// one hardware division needs.
inline std::uint64_t scaled_residue(std::uint64_t residue, std::uint64_t scale, std::uint64_t add,
                                    std::uint64_t modulus) {
    __extension__ using wide = unsigned __int128;
    const wide x = static_cast<wide>(residue) * scale + add;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    std::uint64_t quotient, remainder;
    __asm__("divq %4"
            : "=a"(quotient), "=d"(remainder)
            : "a"(static_cast<std::uint64_t>(x)), "d"(static_cast<std::uint64_t>(x >> 64)),
              "rm"(modulus));
    (void)quotient;
    return remainder;
#else
    return static_cast<std::uint64_t>(x % modulus);
#endif
}

} // namespace

void round_number::learn(const cycles& round) {
    learn(round.return_lengths());
}

void round_number::learn(std::span<const length_count> lengths) {
    groups_.clear();
    group_of_length_.assign(
        lengths.empty() ? 1 : static_cast<std::size_t>(lengths.back().length) + 1, 0);
    for (const auto [cycle_length, count] : lengths)
        group_of_length_[static_cast<std::size_t>(cycle_length)] =
            static_cast<std::uint8_t>(join(static_cast<std::uint64_t>(cycle_length)));
    clear();
}

void round_number::learn_moduli(std::span<const std::uint64_t> moduli) {
    groups_.clear();
    group_of_length_.clear();
    for (const std::uint64_t m : moduli)
        join(m);
    clear();
}

std::size_t round_number::join(std::uint64_t length) {
    // Joined to the last group while its least common multiple still fits
    // in 64 bits, else a group of its own.
    std::uint64_t joined = 0;
    if (groups_.empty() ||
        __builtin_mul_overflow(groups_.back().modulus / std::gcd(groups_.back().modulus, length),
                               length, &joined))
        groups_.push_back({length, 0});
    else
        groups_.back().modulus = joined;
    return groups_.size() - 1;
}

void round_number::clear() {
    for (group& g : groups_)
        g.residue = 0;
    negative_ = small_negative_ = false;
    magnitude_ = 0;
}

std::optional<std::int64_t> round_number::small() const {
    if (magnitude_ >= magnitude_cap)
        return std::nullopt;
    const auto m = static_cast<std::int64_t>(magnitude_);
    return small_negative_ ? -m : m;
}

void round_number::assign(std::string_view integer) {
    clear();
    if (!integer.empty() && (integer[0] == '+' || integer[0] == '-')) {
        sign(integer[0]);
        integer.remove_prefix(1);
    }
    digits(integer.data(), integer.data() + integer.size());
}

void round_number::digits(const char* from, const char* to) {
    const auto end = groups_.end();
    while (from != to) {
        const auto take = std::min(static_cast<std::size_t>(to - from), step_digits);
        std::uint64_t value = 0;
        for (const char* stop = from + take; from != stop; ++from)
            value = value * 10 + static_cast<std::uint64_t>(*from - '0');
        for (auto g = groups_.begin(); g != end; ++g)
            g->residue = scaled_residue(g->residue, powers_of_ten[take], value, g->modulus);
        magnitude_ = magnitude_ >= magnitude_cap / powers_of_ten[take]
                         ? magnitude_cap
                         : std::min(magnitude_ * powers_of_ten[take] + value, magnitude_cap);
    }
}

std::uint64_t round_number::signed_residue(const group& g) const {
    return negative_ && g.residue != 0 ? g.modulus - g.residue : g.residue;
}

std::uint64_t round_number::modulo(std::size_t length) const {
    return signed_residue(groups_[group_of_length_[length]]) % length;
}

std::uint64_t round_number::modulo_of(std::uint64_t modulus) const {
    for (const group& g : groups_)
        if (g.modulus % modulus == 0)
            return signed_residue(g) % modulus;
    return 0;
}

void round_number::advance(std::uint64_t rounds) {
    for (group& g : groups_) {
        const std::uint64_t now = signed_residue(g);
        const std::uint64_t add = rounds % g.modulus;
        // now + add < 2 * modulus, which may pass 2^64: subtract rather than add.
        g.residue = add >= g.modulus - now ? add - (g.modulus - now) : now + add;
    }
    if (const auto now = small(); now && rounds < magnitude_cap) {
        const std::int64_t next = *now + static_cast<std::int64_t>(rounds);
        small_negative_ = next < 0;
        magnitude_ = std::min(static_cast<std::uint64_t>(next < 0 ? -next : next), magnitude_cap);
    } else if (!small_negative_) {
        magnitude_ = magnitude_cap;
    }
    negative_ = false;
}

std::int64_t round_number::rounds_to_start(std::int64_t most) const {
    for (std::int64_t t = 0; t < most; ++t) {
        const bool all = std::all_of(groups_.begin(), groups_.end(), [&](const group& g) {
            const std::uint64_t r = signed_residue(g);
            const auto add = static_cast<std::uint64_t>(t) % g.modulus;
            return add == (g.modulus - r) % g.modulus;
        });
        if (all)
            return t;
    }
    return -1;
}

} // namespace deal
