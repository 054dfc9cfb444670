#include "deal/pack.hpp"

namespace deal {

namespace {

// Clubs, hearts, spades, diamonds: the order of both cyclic stacks.
constexpr suit cycle_of_suits[suit_count] = {suit::clubs, suit::hearts, suit::spades,
                                             suit::diamonds};

template <class RankAt>
pack_order stack(RankAt rank_at) {
    pack_order order{};
    for (int i = 0; i < max_playing_cards; ++i)
        order[static_cast<std::size_t>(i)] = card_of(rank_at(i), cycle_of_suits[i % suit_count]);
    return order;
}

} // namespace

pack_order si_stebbins() {
    return stack([](int i) { return 3 * i % rank_count; });
}

pack_order eight_kings() {
    // Eight kings threatened to save ninety-five queens for one sick knave.
    constexpr int ranks[rank_count] = {7, 12, 2, 9, 1, 6, 8, 4, 11, 3, 0, 5, 10};
    return stack([&](int i) { return ranks[i % rank_count]; });
}

} // namespace deal
