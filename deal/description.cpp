#include "deal/description.hpp"

#include <algorithm>
#include <iterator>

namespace deal {

namespace {

// std::ranges::equal is missing from the WebAssembly build's libc++.
bool same(std::span<const std::int32_t> a, std::span<const std::int32_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

description::description() : packets_(std::begin(own_packets), std::end(own_packets)) {}

bool description::set_packets(std::span<const std::int32_t> packets) {
    if (packets.empty() || packets.size() > static_cast<std::size_t>(max_packets))
        return false;
    packets_.assign(packets.begin(), packets.end());
    return true;
}

bool description::set_gather(std::span<const std::int16_t> order) {
    if (order.size() > static_cast<std::size_t>(max_deal_hands))
        return false;
    gather_.assign(order.begin(), order.end());
    return true;
}

int description::gathered(int i) const {
    if (!gather_.empty())
        return gather_[static_cast<std::size_t>(i)];
    return bottom_hand == bottom_hand::last ? i : hands - 1 - i;
}

std::int64_t description::cards_per_hand() const {
    std::int64_t sum = 0;
    for (const std::int32_t p : packets())
        sum += p;
    return sum;
}

std::int64_t description::default_cards(std::int64_t count) const {
    return count > 0 ? count * cards_per_hand() : 0;
}

description description::dealt_to(std::int64_t count, std::optional<std::int64_t> deck) const {
    description d = *this;
    d.hands = static_cast<std::int32_t>(count);
    d.cards = static_cast<std::int32_t>(deck ? *deck : default_cards(count));
    return d;
}

bool description::default_packets() const {
    return same(packets(), own_packets);
}

bool description::default_rules() const {
    const description own;
    return default_packets() && rest == own.rest && first_card == own.first_card &&
           bottom_hand == own.bottom_hand && gather_.empty() && chosen_pile < 0;
}

fault check(const description& d) {
    for (const std::int32_t p : d.packets())
        if (p < 1 || p > max_packet)
            return fault::packet_out_of_range;
    if (d.cards < 0 || d.cards > max_cards)
        return fault::cards_out_of_range;
    if (d.hands > max_deal_hands || (d.cards > 0 && d.hands < 1))
        return fault::hands_out_of_range;
    if (d.cards == 0 && d.hands > 0)
        return fault::cards_out_of_range;
    if (const auto order = d.gather(); !order.empty()) {
        if (static_cast<std::int64_t>(order.size()) != d.hands)
            return fault::gather_not_hands;
        std::vector<char> named(order.size());
        for (const int h : order) {
            if (h < 0 || h >= d.hands || named[static_cast<std::size_t>(h)])
                return fault::gather_not_hands;
            named[static_cast<std::size_t>(h)] = true;
        }
    }
    if (d.chosen_pile >= 0 && d.chosen_pile >= d.hands)
        return fault::chosen_pile_out_of_range;
    return fault::none;
}

count_limits hand_limits(bool own_deal, bool cards_given) {
    if (own_deal)
        return {min_hands, max_hands};
    return {cards_given ? 1 : min_hands, max_deal_hands};
}

description default_deal(std::int32_t hands) {
    return description().dealt_to(hands, std::nullopt);
}

} // namespace deal
