#include "deal/cycles.hpp"

#include <algorithm>

#include "deal/round_number.hpp"

namespace deal {

void cycles::learn(const permutation& round) {
    size_ = round.size();
    const auto size = static_cast<std::size_t>(size_);
    // A position not yet on a cycle has none: cycle_of_ marks what is seen.
    // Plain pointers into the room kept from the last round learnt: a
    // landscape learns thousands.
    cycle_of_.assign(size, -1);
    positions_.resize(size);
    begin_.resize(size + 1);
    place_.resize(size);
    std::int16_t* const cycle_of = cycle_of_.data();
    std::int16_t* const place_of = place_.data();
    std::int16_t* const positions = positions_.data();
    const std::int16_t* const goes_to = round.goes_to().data();
    int filled = 0;
    count_ = 0;
    for (int start = 0; start < size_; ++start) {
        if (cycle_of[start] >= 0)
            continue;
        begin_[static_cast<std::size_t>(count_)] = filled;
        int place = 0;
        for (int p = start; cycle_of[p] < 0; p = goes_to[p]) {
            cycle_of[p] = static_cast<std::int16_t>(count_);
            place_of[p] = static_cast<std::int16_t>(place++);
            positions[filled++] = static_cast<std::int16_t>(p);
        }
        ++count_;
    }
    begin_[static_cast<std::size_t>(count_)] = filled;
    begin_.resize(static_cast<std::size_t>(count_) + 1);

    // The parity of the turns along each cycle, where any card is turned.
    turned_.clear();
    parity_.clear();
    if (round.turns_any()) {
        turned_.resize(static_cast<std::size_t>(count_));
        parity_.resize(size);
        for (int i = 0; i < count_; ++i) {
            char parity = 0;
            for (const std::int16_t p : cycle(i)) {
                parity_[static_cast<std::size_t>(p)] = parity;
                parity = static_cast<char>(parity ^ round.turns(p));
            }
            turned_[static_cast<std::size_t>(i)] = parity;
        }
    }

    // The lengths, and the return lengths, in ascending order, with how many
    // cycles have each: sorted, then counted off.
    const auto tally = [this](std::vector<length_count>& out, bool returns) {
        std::vector<std::int16_t> all(static_cast<std::size_t>(count_));
        for (int i = 0; i < count_; ++i)
            all[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(
                returns ? return_length(i) : static_cast<int>(cycle(i).size()));
        std::sort(all.begin(), all.end());
        out.clear();
        for (const std::int16_t length : all) {
            if (out.empty() || out.back().length != length)
                out.push_back({length, 0});
            ++out.back().count;
        }
    };
    tally(lengths_, false);
    return_lengths_.clear();
    if (!turned_.empty())
        tally(return_lengths_, true);
}

bool cycles::turned_along(int i, std::size_t k, std::size_t steps) const {
    if (turned_.empty())
        return false;
    const auto c = cycle(i);
    const std::size_t length = c.size();
    const auto parity = [&](std::size_t place) {
        return parity_[static_cast<std::size_t>(c[place])];
    };
    // A whole lap turns a card as often as the cycle does; the rest of the
    // way, from place k on, by the parities at its ends.
    bool turned = steps >= length && turned_[static_cast<std::size_t>(i)];
    const std::size_t end = k + steps % length;
    if (end < length)
        turned ^= (parity(end) ^ parity(k)) != 0;
    else
        turned ^= (turned_[static_cast<std::size_t>(i)] ^ parity(end - length) ^ parity(k)) != 0;
    return turned;
}

int cycles::after(int from, std::uint64_t rounds) const {
    const auto c = cycle(cycle_of(from));
    const std::uint64_t at =
        (static_cast<std::uint64_t>(place_of(from)) + rounds % c.size()) % c.size();
    return c[static_cast<std::size_t>(at)];
}

permutation cycles::power(std::uint64_t rounds) const {
    return power(std::vector<std::uint64_t>(static_cast<std::size_t>(count_), rounds));
}

permutation cycles::power(std::span<const std::uint64_t> rounds) const {
    const auto size = static_cast<std::size_t>(size_);
    std::vector<std::int16_t> goes_to(size);
    std::vector<char> turns(size);
    for (int i = 0; i < count_; ++i) {
        const auto c = cycle(i);
        const std::size_t length = c.size();
        const std::uint64_t times = rounds[static_cast<std::size_t>(i)];
        const std::size_t shift = times % length;
        const std::size_t steps = times % (2 * length);
        for (std::size_t j = 0; j < length; ++j) {
            const auto p = static_cast<std::size_t>(c[j]);
            goes_to[p] = c[(j + shift) % length];
            turns[p] = turned_along(i, j, steps);
        }
    }
    return permutation(std::move(goes_to), std::move(turns));
}

void cycles::jump(const round_number& rounds, card* deck) const {
    // The card at position c[j] after r rounds started at c[j - r], so the
    // cycle's cards read as the cycle itself turned back by r mod length;
    // each is turned over as often as the way there turns it.
    for (int i = 0; i < count_; ++i) {
        const auto c = cycle(i);
        const std::size_t length = c.size();
        const auto back =
            static_cast<std::size_t>(rounds.modulo(static_cast<std::size_t>(return_length(i))));
        const std::size_t shift = back % length;
        for (std::size_t j = 0; j < length; ++j) {
            const std::size_t from = j >= shift ? j - shift : j + length - shift;
            deck[c[j]] = c[from] | (turned_along(i, from, back) ? face_up : 0);
        }
    }
}

} // namespace deal
