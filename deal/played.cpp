#include "deal/played.hpp"

#include <algorithm>

#include "deal/cycles.hpp"

namespace deal {

played_round::played_round(const routine& r, bool spell_out) : routine_(r) {
    add_level(0, static_cast<int>(r.moves().size()), 0, spell_out);
}

void played_round::add_level(int first, int end, int from, bool spell_out) {
    for (const routine::item& it : routine_.level(first, end, from)) {
        if (it.move_index >= 0) {
            steps_.push_back(it.move_index);
            continue;
        }
        const repeat& g = routine_.repeats()[static_cast<std::size_t>(it.repeat_index)];
        const std::size_t begin = steps_.size(), powers = powers_.size();
        add_level(g.first, g.end, it.repeat_index + 1, spell_out);
        if (spell_out || !routine_.exact_between(g.first, g.end)) {
            // Spelled out: the group's steps again, time after time.
            const std::size_t once = steps_.size() - begin;
            for (std::int64_t t = 1; t < g.times; ++t)
                for (std::size_t s = 0; s < once; ++s)
                    steps_.push_back(steps_[begin + s]);
            continue;
        }
        // The group's steps made one permutation, and that raised to the
        // power along its cycles.
        permutation group = permutation::identity(routine_.cards);
        for (std::size_t s = begin; s < steps_.size(); ++s)
            group.follow_by(permutation_of(static_cast<int>(s)));
        steps_.resize(begin);
        powers_.resize(powers);
        cycles along;
        along.learn(group);
        powers_.push_back(along.power(static_cast<std::uint64_t>(g.times)));
        steps_.push_back(-static_cast<std::int32_t>(powers_.size()));
    }
}

const move* played_round::move_at(int i) const {
    const int m = move_index(i);
    return m < 0 ? nullptr : &routine_.moves()[static_cast<std::size_t>(m)];
}

bool played_round::by_chance(int i) const {
    const move* m = move_at(i);
    return m && deal::by_chance(m->kind);
}

permutation played_round::permutation_of(int i, int at) const {
    if (const move* m = move_at(i))
        return move_permutation(*m, routine_.cards, at);
    return powers_[static_cast<std::size_t>(-1 - move_index(i))];
}

void played_round::follow(int i, std::span<std::int16_t> next) const {
    if (const move* m = move_at(i)) {
        follow_move(*m, routine_.cards, next);
        return;
    }
    const auto goes_to = powers_[static_cast<std::size_t>(-1 - move_index(i))].goes_to();
    std::copy(goes_to.begin(), goes_to.end(), next.begin());
}

} // namespace deal
