#include "deal/rounds_modulo.hpp"

#include <array>
#include <limits>

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

} // namespace

rounds_modulo::rounds_modulo(round_count period) : period_(period) {
    // residue * 10^k + (k digits) < period * 10^k must fit in 128 bits.
    constexpr round_count most = std::numeric_limits<round_count>::max();
    while (step_ < 19 && period_ <= most / powers_of_ten[static_cast<std::size_t>(step_) + 1])
        ++step_;
}

void rounds_modulo::assign(std::string_view integer) {
    clear();
    if (!integer.empty() && (integer[0] == '+' || integer[0] == '-')) {
        sign(integer[0]);
        integer.remove_prefix(1);
    }
    digits(integer.data(), integer.data() + integer.size());
}

void rounds_modulo::digits(const char* from, const char* to) {
    while (from != to) {
        const auto take = static_cast<std::size_t>(to - from < step_ ? to - from : step_);
        std::uint64_t value = 0;
        for (const char* end = from + take; from != end; ++from)
            value = value * 10 + static_cast<std::uint64_t>(*from - '0');
        residue_ = (residue_ * powers_of_ten[take] + value) % period_;
    }
}

} // namespace deal
