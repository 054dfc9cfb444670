#include "draw/run.hpp"

#include "draw/riffle.hpp"

namespace draw {

drawn_run::drawn_run(const deal::routine& r, std::uint64_t seed, int followed)
    : routine_(r), seed_(seed), followed_(followed), follows_(r.follows_card()),
      deck_(static_cast<std::size_t>(r.cards)), next_(deck_.size()) {
    for (const deal::move& m : routine_.moves())
        exact_.push_back(deal::by_chance(m.kind) ? deal::permutation()
                                                 : deal::move_permutation(m, r.cards));
    restart();
}

void drawn_run::restart() {
    for (std::size_t p = 0; p < deck_.size(); ++p)
        deck_[p] = static_cast<deal::card>(p);
    at_ = followed_;
    played_ = 0;
}

deal::permutation drawn_run::made(std::size_t move, int at, generator& g) const {
    const deal::move& m = routine_.moves()[move];
    if (deal::by_chance(m.kind))
        return draw_permutation(m, routine_.cards, g);
    if (follows_)
        return deal::move_permutation(m, routine_.cards, at);
    return exact_[move];
}

void drawn_run::play_to(std::int64_t round) {
    if (round < played_)
        restart();
    const auto moves = routine_.moves();
    for (; played_ < round; ++played_) {
        auto g = generator::for_round(seed_, static_cast<std::uint64_t>(played_ + 1));
        for (std::size_t i = 0; i < moves.size(); ++i) {
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
    for (std::size_t i = 0; i < routine_.moves().size(); ++i) {
        drawn.push_back(made(i, at, g));
        if (at >= 0)
            at = drawn.back()[at];
    }
    return drawn;
}

} // namespace draw
