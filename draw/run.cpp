#include "draw/run.hpp"

#include "draw/riffle.hpp"

namespace draw {

drawn_run::drawn_run(const deal::routine& r, std::uint64_t seed, int followed)
    : steps_(r), seed_(seed), followed_(followed), follows_(r.follows_card()),
      deck_(static_cast<std::size_t>(r.cards)), next_(deck_.size()) {
    for (int i = 0; i < steps_.size(); ++i)
        exact_.push_back(steps_.by_chance(i) ? deal::permutation() : steps_.permutation_of(i));
    restart();
}

void drawn_run::restart() {
    for (std::size_t p = 0; p < deck_.size(); ++p)
        deck_[p] = static_cast<deal::card>(p);
    at_ = followed_;
    played_ = 0;
}

deal::permutation drawn_run::made(int step, int at, generator& g) const {
    if (steps_.by_chance(step))
        return draw_permutation(*steps_.move_at(step), steps_.cards(), g);
    if (follows_)
        return steps_.permutation_of(step, at);
    return exact_[static_cast<std::size_t>(step)];
}

void drawn_run::play_to(std::int64_t round) {
    if (round < played_)
        restart();
    for (; played_ < round; ++played_) {
        auto g = generator::for_round(seed_, static_cast<std::uint64_t>(played_ + 1));
        for (int i = 0; i < steps_.size(); ++i) {
            const deal::permutation p = made(i, at_, g);
            p.apply(deck_.data(), next_.data());
            deck_.swap(next_);
            if (at_ >= 0)
                at_ = p[at_];
        }
    }
}

std::vector<deal::permutation> drawn_run::next_moves() const {
    std::vector<deal::permutation> drawn;
    auto g = generator::for_round(seed_, static_cast<std::uint64_t>(played_ + 1));
    int at = at_;
    for (int i = 0; i < steps_.size(); ++i) {
        drawn.push_back(made(i, at, g));
        if (at >= 0)
            at = drawn.back()[at];
    }
    return drawn;
}

} // namespace draw
