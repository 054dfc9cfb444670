#include "deal/start.hpp"

#include <algorithm>
#include <numeric>

namespace deal {

start start::new_deck(int size) {
    std::vector<card> cards(static_cast<std::size_t>(std::max(size, 0)));
    std::iota(cards.begin(), cards.end(), card{0});
    return start(std::move(cards));
}

start::start(std::vector<card> bottom_first, std::vector<int> faces)
    : cards_(std::move(bottom_first)), position_(cards_.size()), faces_(std::move(faces)),
      named_(!faces_.empty()) {
    if (faces_.empty() && cards_.size() <= static_cast<std::size_t>(max_playing_cards)) {
        faces_.resize(cards_.size());
        std::iota(faces_.begin(), faces_.end(), 0);
    }
    for (std::size_t p = 0; p < cards_.size(); ++p) {
        position_[static_cast<std::size_t>(number_of(cards_[p]))] = static_cast<int>(p);
        any_face_up_ = any_face_up_ || is_face_up(cards_[p]);
        is_new_ = is_new_ && cards_[p] == static_cast<card>(p);
    }
}

int start::card_showing(int face) const {
    const auto found = std::lower_bound(faces_.begin(), faces_.end(), face);
    return found != faces_.end() && *found == face ? static_cast<int>(found - faces_.begin()) : -1;
}

void start::place(const card* moved, card* deck) const {
    if (is_new_) {
        if (moved != deck)
            std::copy(moved, moved + size(), deck);
        return;
    }
    for (int q = 0; q < size(); ++q) {
        const card m = moved[q];
        deck[q] = cards_[static_cast<std::size_t>(number_of(m))] ^ (m & face_up);
    }
}

} // namespace deal
