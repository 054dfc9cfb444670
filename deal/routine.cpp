#include "deal/routine.hpp"

#include <algorithm>

#include "deal/hands.hpp"

namespace deal {

namespace {

// Each builder fills `goes_to` for a deck of n cards, bottom first; `from_top`
// says where the card i-th from the top goes, counted from the top too.
template <class FromTop>
void by_top(int n, std::int32_t* goes_to, FromTop from_top) {
    for (int i = 0; i < n; ++i)
        goes_to[n - 1 - i] = n - 1 - from_top(i);
}

void cut(int n, std::int32_t k, std::int32_t* goes_to) {
    // The top k go under the rest: every card rises k places, those above
    // the top wrapping round to the bottom.
    // No division a card: a landscape makes thousands of these.
    const int shift = ((k % n) + n) % n;
    for (int p = 0; p < n; ++p)
        goes_to[p] = p + shift < n ? p + shift : p + shift - n;
}

void faro(int n, bool out, std::int32_t* goes_to) {
    // The top half's card i-th from the top lands 2i-th (out) or 2i+1-th (in)
    // from the top; the other half's fill the places between.
    const int half = out ? (n + 1) / 2 : n / 2;
    by_top(n, goes_to, [&](int i) {
        return i < half ? 2 * i + (out ? 0 : 1) : 2 * (i - half) + (out ? 1 : 0);
    });
}

void monge(int n, std::int32_t* goes_to) {
    // The pile grows both ways from the middle of room for twice the deck.
    static std::array<std::int32_t, 2 * max_cards> pile;
    int low = n, high = n;
    for (int i = 0; i < n; ++i) {
        const std::int32_t c = n - 1 - i;
        if (i == 0 || i % 2 == 1)
            pile[static_cast<std::size_t>(high++)] = c;
        else
            pile[static_cast<std::size_t>(--low)] = c;
    }
    for (int p = low; p < high; ++p)
        goes_to[pile[static_cast<std::size_t>(p)]] = p - low;
}

void down_under(int n, bool down_first, std::int32_t* goes_to) {
    // The cards held, from the top, in a ring; the table's pile grows from
    // the bottom of the new deck.
    static std::array<std::int32_t, max_cards> held;
    for (int i = 0; i < n; ++i)
        held[static_cast<std::size_t>(i)] = n - 1 - i;
    int first = 0, count = n, table = 0;
    bool down = down_first;
    while (count > 0) {
        const std::int32_t c = held[static_cast<std::size_t>(first)];
        first = (first + 1) % n;
        if (down) {
            goes_to[c] = table++;
            --count;
        } else {
            held[static_cast<std::size_t>((first + count - 1) % n)] = c;
        }
        down = !down;
    }
}

} // namespace

bool routine::add(const move& m) {
    if (count_ == moves_.size())
        return false;
    moves_[count_++] = m;
    return true;
}

bool routine::fit(int deck) {
    for (const move& m : moves())
        if ((m.kind == move_kind::cut && (m.cut < -deck || m.cut > deck)) ||
            (m.kind == move_kind::deal && m.deal.hands > deck))
            return false;
    cards = deck;
    for (std::size_t i = 0; i < count_; ++i)
        moves_[i].deal.cards = deck;
    return true;
}

bool routine::follows_card() const {
    return std::any_of(moves().begin(), moves().end(), [](const move& m) {
        return m.kind == move_kind::deal && m.deal.chosen_pile >= 0;
    });
}

int routine::deal_count() const {
    return static_cast<int>(std::count_if(moves().begin(), moves().end(),
                                          [](const move& m) { return m.kind == move_kind::deal; }));
}

permutation move_permutation(const move& m, int cards) {
    if (m.kind == move_kind::deal)
        return permutation(m.deal);
    static std::array<std::int32_t, max_cards> goes_to;
    std::int32_t* const out = goes_to.data();
    switch (m.kind) {
    case move_kind::deal:
        break;
    case move_kind::cut:
        cut(cards, m.cut, out);
        break;
    case move_kind::faro_out:
    case move_kind::faro_in:
        faro(cards, m.kind == move_kind::faro_out, out);
        break;
    case move_kind::reverse:
        by_top(cards, out, [&](int i) { return cards - 1 - i; });
        break;
    case move_kind::monge:
        monge(cards, out);
        break;
    case move_kind::down_under:
    case move_kind::under_down:
        down_under(cards, m.kind == move_kind::down_under, out);
        break;
    }
    return permutation(std::span<const std::int32_t>(out, static_cast<std::size_t>(cards)));
}

permutation move_permutation(const move& m, int cards, int at) {
    const description& d = m.deal;
    if (m.kind != move_kind::deal || d.chosen_pile < 0)
        return move_permutation(m, cards);
    static hands dealt; // 40 KB: kept off the stack, which is small on the page
    dealt.deal(d);
    int chosen = -1;
    for (int h = 0; h < dealt.count() && chosen < 0; ++h) {
        const auto hand = dealt.hand(h);
        if (std::find(hand.begin(), hand.end(), at) != hand.end())
            chosen = h;
    }
    description plain = d;
    plain.chosen_pile = -1;
    // A card left in the rest leaves the hands in their order.
    if (chosen < 0)
        return permutation(plain, dealt);
    // The gathering order from the top, the chosen hand moved to place T.
    static std::array<std::int16_t, max_deal_hands> order;
    std::size_t n = 0;
    for (int i = 0; i < dealt.count(); ++i) {
        const int h = d.gathered(i);
        if (h == chosen)
            continue;
        if (static_cast<int>(n) == d.chosen_pile)
            order[n++] = static_cast<std::int16_t>(chosen);
        order[n++] = static_cast<std::int16_t>(h);
    }
    if (n < static_cast<std::size_t>(dealt.count()))
        order[n++] = static_cast<std::int16_t>(chosen);
    plain.set_gather({order.data(), n});
    // The gathering order changes no hand: the cards dealt stand.
    return permutation(plain, dealt);
}

permutation round_permutation(const routine& r) {
    // Composed in place, each move's permutation made once and nothing
    // copied whole: a landscape asks for thousands of rounds.
    static std::array<std::int32_t, max_cards> goes_to;
    const auto cards = static_cast<std::size_t>(r.cards);
    for (std::size_t p = 0; p < cards; ++p)
        goes_to[p] = static_cast<std::int32_t>(p);
    for (const move& m : r.moves()) {
        const permutation one = move_permutation(m, r.cards);
        for (std::size_t p = 0; p < cards; ++p)
            goes_to[p] = one[goes_to[p]];
    }
    return permutation(std::span<const std::int32_t>(goes_to.data(), cards));
}

void follow_move(const move& m, int cards, std::int16_t* next) {
    static hands dealt; // 40 KB: kept off the stack, which is small on the page
    const description& d = m.deal;
    if (m.kind != move_kind::deal || d.chosen_pile < 0) {
        std::copy_n(move_permutation(m, cards).goes_to().begin(), cards, next);
        return;
    }
    dealt.deal(d);
    // The stock stays where it goes without a chosen pile.
    const permutation plain(d, dealt);
    std::copy_n(plain.goes_to().begin(), cards, next);

    // The hands' sizes and places, in their gathered order from the top, and
    // how many cards lie above each place.
    const int count = dealt.count();
    static std::array<int, max_deal_hands> place_of;
    static std::array<int, max_deal_hands + 1> above;
    above[0] = 0;
    for (int i = 0; i < count; ++i) {
        const int h = d.gathered(i);
        place_of[static_cast<std::size_t>(h)] = i;
        above[static_cast<std::size_t>(i) + 1] =
            above[static_cast<std::size_t>(i)] + static_cast<int>(dealt.hand(h).size());
    }
    const int stock_above = d.rest == rest::top ? dealt.stock_size() : 0;
    const int t = d.chosen_pile;
    for (int h = 0; h < count; ++h) {
        const auto hand = dealt.hand(h);
        const int size = static_cast<int>(hand.size());
        // The first t hands of the order without this one lie above it.
        const int over = place_of[static_cast<std::size_t>(h)] >= t
                             ? above[static_cast<std::size_t>(t)]
                             : above[static_cast<std::size_t>(t) + 1] - size;
        for (int j = 0; j < size; ++j) {
            const int from_top =
                stock_above + over + (d.first_card == first_card::top ? j : size - 1 - j);
            next[hand[static_cast<std::size_t>(j)]] =
                static_cast<std::int16_t>(cards - 1 - from_top);
        }
    }
}

} // namespace deal
