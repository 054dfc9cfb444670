#include "deal/routine.hpp"

#include <algorithm>
#include <bit>
#include <numeric>

#include "deal/gathering.hpp"
#include "deal/hands.hpp"
#include "deal/played.hpp"

namespace deal {

namespace {

using positions = std::vector<std::int16_t>;

// Each builder gives where the card at each position of a deck of n cards
// goes, bottom first; `from_top` says where the card i-th from the top goes,
// counted from the top too.
template <class FromTop>
positions by_top(int n, FromTop from_top) {
    positions goes_to(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        goes_to[static_cast<std::size_t>(n - 1 - i)] =
            static_cast<std::int16_t>(n - 1 - from_top(i));
    return goes_to;
}

positions cut(int n, std::int32_t k) {
    // The top k go under the rest: every card rises k places, those above
    // the top wrapping round to the bottom.
    // No division a card: a landscape makes thousands of these.
    const int shift = ((k % n) + n) % n;
    positions goes_to(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p)
        goes_to[static_cast<std::size_t>(p)] =
            static_cast<std::int16_t>(p + shift < n ? p + shift : p + shift - n);
    return goes_to;
}

positions faro(int n, move_kind kind) {
    // The top half's card i-th from the top lands 2i-th (out) or 2i+1-th (in)
    // from the top; the other half's fill the places between.
    const bool out = kind == move_kind::faro_out;
    const int half = n - faro_lower_half(kind, n);
    return by_top(n, [&](int i) {
        return i < half ? 2 * i + (out ? 0 : 1) : 2 * (i - half) + (out ? 1 : 0);
    });
}

positions monge(int n) {
    // The pile grows both ways from the middle of room for twice the deck.
    positions pile(2 * static_cast<std::size_t>(n));
    int low = n, high = n;
    for (int i = 0; i < n; ++i) {
        const auto c = static_cast<std::int16_t>(n - 1 - i);
        if (i == 0 || i % 2 == 1)
            pile[static_cast<std::size_t>(high++)] = c;
        else
            pile[static_cast<std::size_t>(--low)] = c;
    }
    positions goes_to(static_cast<std::size_t>(n));
    for (int p = low; p < high; ++p)
        goes_to[static_cast<std::size_t>(pile[static_cast<std::size_t>(p)])] =
            static_cast<std::int16_t>(p - low);
    return goes_to;
}

// The top k cards turned over together and put back on top: their order
// reversed, each card turned face up or down; the rest stays.
permutation turn(int n, int k) {
    std::vector<std::int16_t> goes_to(static_cast<std::size_t>(n));
    std::vector<char> turns(goes_to.size());
    for (int p = 0; p < n; ++p) {
        const bool turned = p >= n - k;
        goes_to[static_cast<std::size_t>(p)] =
            static_cast<std::int16_t>(turned ? 2 * n - k - 1 - p : p);
        turns[static_cast<std::size_t>(p)] = turned;
    }
    return permutation(std::move(goes_to), std::move(turns));
}

positions down_under(int n, move_kind kind) {
    // The table's pile grows from the bottom of the new deck.
    positions goes_to(static_cast<std::size_t>(n));
    std::int16_t table = 0;
    for (const down_under_step& s : down_under_steps(kind, n))
        if (s.down)
            goes_to[static_cast<std::size_t>(s.position)] = table++;
    return goes_to;
}

} // namespace

bool routine::add(const move& m) {
    if (moves_.size() == static_cast<std::size_t>(max_moves))
        return false;
    moves_.push_back(m);
    return true;
}

void routine::repeat_from(int first, std::int64_t times) {
    // Every repeat from `first` on lies inside this one: it goes before them.
    const auto inside = std::find_if(repeats_.begin(), repeats_.end(),
                                     [first](const repeat& r) { return r.first >= first; });
    repeats_.insert(inside, {first, static_cast<std::int32_t>(moves_.size()), times});
}

std::vector<routine::item> routine::level(int first, int end, int from) const {
    std::vector<item> items;
    auto k = static_cast<std::size_t>(from);
    for (int i = first; i < end;) {
        if (k < repeats_.size() && repeats_[k].first == i) {
            items.push_back({-1, static_cast<std::int32_t>(k)});
            i = repeats_[k].end;
            // Past the repeats inside this one.
            for (++k; k < repeats_.size() && repeats_[k].first < i; ++k) {
            }
        } else {
            items.push_back({i, -1});
            ++i;
        }
    }
    return items;
}

namespace {

std::int64_t saturated_sum(std::int64_t a, std::int64_t b) {
    std::int64_t sum;
    return __builtin_add_overflow(a, b, &sum) ? INT64_MAX : sum;
}

std::int64_t saturated_product(std::int64_t a, std::int64_t b) {
    std::int64_t product;
    return __builtin_mul_overflow(a, b, &product) ? INT64_MAX : product;
}

// The sum over one level of the moves of `r`, `value(i)` for move i, and
// for a repeat `of_repeat(repeat, the sum over its moves)`, at most INT64_MAX.
template <class Value, class OfRepeat>
std::int64_t summed(const routine& r, int first, int end, int from, Value value,
                    OfRepeat of_repeat) {
    std::int64_t sum = 0;
    for (const routine::item& it : r.level(first, end, from)) {
        if (it.move_index >= 0) {
            sum = saturated_sum(sum, value(it.move_index));
            continue;
        }
        const repeat& g = r.repeats()[static_cast<std::size_t>(it.repeat_index)];
        const std::int64_t inner = summed(r, g.first, g.end, it.repeat_index + 1, value, of_repeat);
        sum = saturated_sum(sum, of_repeat(g, inner));
    }
    return sum;
}

} // namespace

std::int64_t routine::played_sum(const std::function<std::int64_t(const move&)>& weight) const {
    return summed(
        *this, 0, static_cast<int>(moves_.size()), 0,
        [&](int i) { return weight(moves_[static_cast<std::size_t>(i)]); },
        [](const repeat& g, std::int64_t inner) { return saturated_product(inner, g.times); });
}

std::int64_t routine::count_of(move_kind kind) const {
    return played_sum([kind](const move& m) { return m.kind == kind ? 1 : 0; });
}

std::int64_t routine::riffle_weight() const {
    return played_sum([](const move& m) -> std::int64_t {
        if (m.kind != move_kind::riffle)
            return 0;
        return std::max(1, static_cast<int>(std::bit_width(static_cast<unsigned>(m.packets - 1))));
    });
}

bool routine::exact_between(int first, int end) const {
    return std::none_of(moves_.begin() + first, moves_.begin() + end, [](const move& m) {
        return by_chance(m.kind) || (m.kind == move_kind::deal && m.deal.chosen_pile >= 0);
    });
}

std::int64_t routine::played_moves(bool spell_out) const {
    const std::int64_t most = max_played_moves + 1;
    const std::int64_t played = summed(
        *this, 0, static_cast<int>(moves_.size()), 0, [](int) { return 1; },
        [&](const repeat& g, std::int64_t inner) {
            return !spell_out && exact_between(g.first, g.end)
                       ? 1
                       : std::min(most, saturated_product(inner, g.times));
        });
    return std::min(most, played);
}

bool routine::fit(int deck) {
    for (const move& m : moves_)
        if ((m.kind == move_kind::cut && (m.cut < -deck || m.cut > deck)) ||
            ((m.kind == move_kind::turn || m.kind == move_kind::count) && m.cut > deck) ||
            (m.kind == move_kind::deal && m.deal.hands > deck))
            return false;
    cards = deck;
    for (move& m : moves_)
        m.deal.cards = deck;
    return true;
}

bool routine::follows_card() const {
    return std::any_of(moves_.begin(), moves_.end(), [](const move& m) {
        return m.kind == move_kind::deal && m.deal.chosen_pile >= 0;
    });
}

bool routine::turns_cards() const {
    return std::any_of(moves_.begin(), moves_.end(),
                       [](const move& m) { return m.kind == move_kind::turn; });
}

int routine::first_by_chance() const {
    const auto found =
        std::find_if(moves_.begin(), moves_.end(), [](const move& m) { return by_chance(m.kind); });
    return found == moves_.end() ? -1 : static_cast<int>(found - moves_.begin());
}

int faro_lower_half(move_kind kind, int cards) {
    // Out, the top half is the larger; in, the smaller.
    return kind == move_kind::faro_out ? cards / 2 : (cards + 1) / 2;
}

std::vector<down_under_step> down_under_steps(move_kind kind, int cards) {
    // The cards held, from the top, in a ring of room for the deck.
    const auto n = static_cast<std::size_t>(cards);
    std::vector<std::int16_t> held(n);
    for (std::size_t i = 0; i < n; ++i)
        held[i] = static_cast<std::int16_t>(n - 1 - i);
    std::vector<down_under_step> steps;
    steps.reserve(2 * n);
    std::size_t first = 0, count = n;
    bool down = kind == move_kind::down_under;
    while (count > 0) {
        const std::int16_t c = held[first];
        first = (first + 1) % n;
        if (down)
            --count;
        else
            held[(first + count - 1) % n] = c;
        steps.push_back({c, down});
        down = !down;
    }
    return steps;
}

permutation move_permutation(const move& m, int cards, int at) {
    switch (m.kind) {
    case move_kind::deal: {
        const hands dealt(m.deal);
        const int chosen = at >= 0 && m.deal.chosen_pile >= 0 ? dealt.hand_of(at) : -1;
        return permutation(m.deal, dealt, chosen);
    }
    case move_kind::cut:
        return permutation(cut(cards, m.cut));
    case move_kind::faro_out:
    case move_kind::faro_in:
        return permutation(faro(cards, m.kind));
    case move_kind::reverse:
        return permutation(by_top(cards, [&](int i) { return cards - 1 - i; }));
    case move_kind::monge:
        return permutation(monge(cards));
    case move_kind::down_under:
    case move_kind::under_down:
        return permutation(down_under(cards, m.kind));
    case move_kind::turn:
        return turn(cards, m.cut == 0 ? cards : m.cut);
    case move_kind::count:
        // Dealt one by one onto a pile, the top K come back in reverse.
        return permutation(by_top(cards, [&](int i) { return i < m.cut ? m.cut - 1 - i : i; }));
    case move_kind::riffle:
    case move_kind::random_cut:
        break;
    }
    return permutation::identity(cards);
}

permutation round_permutation(const routine& r) {
    // Composed in place, each step's permutation made once: a landscape
    // asks for thousands of rounds.
    const played_round played(r);
    permutation round = permutation::identity(r.cards);
    for (int i = 0; i < played.size(); ++i)
        round.follow_by(played.permutation_of(i));
    return round;
}

void follow_move(const move& m, int cards, std::span<std::int16_t> next) {
    if (m.kind == move_kind::deal && m.deal.chosen_pile >= 0) {
        const hands dealt(m.deal);
        gathering(m.deal, dealt).followed_steps(next);
        return;
    }
    const permutation one = move_permutation(m, cards);
    std::copy(one.goes_to().begin(), one.goes_to().end(), next.begin());
}

bool with_faces(const routine& r, const start& s) {
    return r.turns_cards() || s.any_face_up();
}

} // namespace deal
