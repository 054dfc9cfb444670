#include "deal/narrowing.hpp"

#include <algorithm>
#include <bit>

namespace deal {

namespace {

// Any two sets that differ should seldom share a slot: each word mixed in
// by a multiply that spreads every bit upwards.
std::uint64_t hash_of(std::span<const std::uint64_t> bits) {
    std::uint64_t h = 0x9e37'79b9'7f4a'7c15;
    for (const std::uint64_t w : bits) {
        h = (h ^ w) * 0xff51'afd7'ed55'8ccd;
        h ^= h >> 32;
    }
    return h;
}

} // namespace

narrowing::narrowing(const search& moves, std::int64_t most_sets, std::int64_t most_steps)
    : moves_(moves), most_(most_sets), most_steps_(most_steps),
      words_(static_cast<std::size_t>(moves.cards() + 63) / 64) {}

int narrowing::apply(int m, std::int32_t s, std::span<std::uint64_t> out) const {
    std::fill(out.begin(), out.end(), 0);
    const auto bits = set(s);
    int moved = 0;
    for (std::size_t w = 0; w < words_; ++w)
        for (std::uint64_t word = bits[w]; word != 0; word &= word - 1) {
            const int p = static_cast<int>(w * 64) + std::countr_zero(word);
            const auto q = static_cast<unsigned>(moves_.where(m, p));
            out[q / 64] |= std::uint64_t{1} << (q % 64);
            ++moved;
        }
    return moved;
}

std::int32_t narrowing::find(std::span<const std::uint64_t> bits) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash_of(bits) & mask;; at = (at + 1) & mask) {
        const std::int32_t s = slots_[at];
        if (s < 0 || std::equal(bits.begin(), bits.end(), set(s).begin()))
            return s;
    }
}

bool narrowing::keep(std::span<const std::uint64_t> bits, std::int32_t parent, int m) {
    const auto kept = static_cast<std::int32_t>(parent_.size());
    if (kept >= most_)
        return false;
    sets_.insert(sets_.end(), bits.begin(), bits.end());
    parent_.push_back(parent);
    move_.push_back(static_cast<std::int16_t>(m));
    depth_.push_back(parent < 0 ? 0 : depth_[ix(parent)] + 1);
    // Slots at most half full, so that a search for a set seldom looks far.
    if (2 * parent_.size() > slots_.size()) {
        slots_.assign(std::bit_ceil(std::max<std::size_t>(64, 4 * parent_.size())), -1);
        for (std::int32_t s = 0; s <= kept; ++s)
            slot(s);
    } else {
        slot(kept);
    }
    return true;
}

void narrowing::slot(std::int32_t s) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash_of(set(s)) & mask;
    while (slots_[at] >= 0)
        at = (at + 1) & mask;
    slots_[at] = s;
}

template <class Done>
std::int32_t narrowing::run(Done done) {
    sets_.clear();
    parent_.clear();
    move_.clear();
    depth_.clear();
    routes_.clear();
    slots_.clear();
    std::vector<std::uint64_t> room(words_, ~std::uint64_t{0});
    if (const std::size_t spare = words_ * 64 - static_cast<std::size_t>(moves_.cards()); spare > 0)
        room.back() >>= spare;
    keep(room, -1, -1);
    if (done(0))
        return 0;
    std::int64_t steps = 0;
    for (std::int32_t s = 0; ix(s) < parent_.size(); ++s)
        for (int m = 0; m < moves_.moves(); ++m) {
            if ((steps += apply(m, s, room)) > most_steps_)
                return -3;
            if (find(room) >= 0)
                continue;
            if (!keep(room, s, m))
                return -2;
            const auto kept = static_cast<std::int32_t>(parent_.size() - 1);
            if (done(kept))
                return kept;
        }
    return -1;
}

narrowing::outcome narrowing::solve(int to) {
    std::vector<std::uint64_t> single(words_);
    single[ix(to) / 64] = std::uint64_t{1} << (to % 64);
    const std::int32_t found = run(
        [&](std::int32_t s) { return std::equal(single.begin(), single.end(), set(s).begin()); });
    target_ = std::max(found, 0);
    return found == -3   ? outcome::too_long
           : found == -2 ? outcome::too_many
           : found < 0   ? outcome::never
                         : outcome::found;
}

narrowing::outcome narrowing::closest() {
    const auto size = [this](std::int32_t s) {
        int n = 0;
        for (const std::uint64_t w : set(s))
            n += std::popcount(w);
        return n;
    };
    // No set is smaller than one place, and the first reached is the
    // shortest routine's.
    const std::int32_t found = run([&](std::int32_t s) { return size(s) == 1; });
    if (found < -1)
        return found == -2 ? outcome::too_many : outcome::too_long;
    target_ = std::max(found, 0);
    if (found < 0)
        for (std::int32_t s = 1; ix(s) < parent_.size(); ++s)
            if (size(s) < size(target_))
                target_ = s;
    return outcome::found;
}

std::vector<int> narrowing::places() const {
    std::vector<int> out;
    const auto bits = set(target_);
    for (std::size_t w = 0; w < words_; ++w)
        for (std::uint64_t word = bits[w]; word != 0; word &= word - 1)
            out.push_back(static_cast<int>(w * 64) + std::countr_zero(word));
    return out;
}

void narrowing::first(std::span<int> out) const {
    for (std::int32_t s = target_; parent_[ix(s)] >= 0; s = parent_[ix(s)])
        out[ix(depth_[ix(s)] - 1)] = move_[ix(s)];
}

std::int32_t narrowing::leads(int m, std::int32_t s, std::span<std::uint64_t> room) const {
    apply(m, s, room);
    const std::int32_t next = find(room);
    return next >= 0 && depth_[ix(next)] == depth_[ix(s)] + 1 && routes_[ix(next)] > 0 ? next : -1;
}

std::int64_t narrowing::count(std::int64_t most) {
    // From the answer back towards the whole deck, the sets in the order
    // they were reached backwards: every set a shortest routine goes on to
    // is counted before the sets that lead to it.
    routes_.assign(parent_.size(), 0);
    routes_[ix(target_)] = 1;
    std::vector<std::uint64_t> room(words_);
    for (std::int32_t s = target_ - 1; s >= 0; --s) {
        if (depth_[ix(s)] >= length())
            continue;
        std::int64_t n = 0;
        for (int m = 0; m < moves_.moves() && n <= most; ++m)
            if (const std::int32_t next = leads(m, s, room); next >= 0)
                n = std::min(most + 1, n + routes_[ix(next)]);
        routes_[ix(s)] = n;
    }
    return routes_[0];
}

} // namespace deal
