// Feeds any bytes to the routine reader, and to the reader of the moves a
// search may choose from, the first two as the deck's size, and checks what
// must hold for every text:
//  - a fault is one line of printable text that names the routine or a move;
//  - a routine read holds at most max_moves moves, and what it writes of
//    itself reads back as the same round, its repeats too;
//  - a repeat played as a power of its permutation is the round its moves
//    make played one by one;
//  - the round is a permutation of the deck, or, where a chosen pile follows
//    a card, every card's way stays on the deck and comes back round; a
//    move by chance drawn twice from one seed is one permutation both times;
//  - read as a starting deck, it is every card once, or a one-line fault.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "deal/follow.hpp"
#include "deal/played.hpp"
#include "deal/routine.hpp"
#include "draw/riffle.hpp"
#include "text/deal_words.hpp"
#include "text/deck_words.hpp"
#include "text/routine_words.hpp"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_routine: %s\n", what);
        std::abort();
    }
}

const char* shown(std::string_view value, text::shown_length, char* out, std::size_t room) {
    std::snprintf(out, room, "'%.*s'", static_cast<int>(std::min<std::size_t>(value.size(), 60)),
                  value.data());
    // Whatever the value holds, a message shows no control byte.
    for (char* c = out; *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) < 0x20 || *c == 0x7f)
            *c = '?';
    return out;
}

deal::routine first, again;
deal::follower follower;
char words[text::words_room];
char written[64 * 1024];

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int cards = 1 + (data[0] | data[1] << 8) % deal::max_cards;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    // The same text as the moves a search may choose from.
    int taken = 0;
    const auto take = [](void* count, const deal::routine& step) {
        for (const deal::move& m : step.moves())
            check(m.kind != deal::move_kind::cut || std::abs(m.cut) <= deal::max_cards,
                  "cut off the deck");
        return ++*static_cast<int*>(count) <= deal::max_search_moves;
    };
    if (!text::read_move_list(text, cards, take, &taken, shown, words, sizeof words)) {
        const std::string_view said(words);
        check(!said.empty() && said.find('\n') == std::string_view::npos, "fault is not one line");
        check(said.starts_with("move ") || said.starts_with("the moves allowed"),
              "fault names neither the moves nor a move");
    }
    check(taken <= deal::max_search_moves, "more moves than a search takes");
    // The same text as a starting deck: a fault in one line, or every card
    // of the deck once, each perhaps face up.
    std::vector<deal::card> bottom_first;
    if (text::read_deck(text, cards, bottom_first, shown, words, sizeof words)) {
        check(static_cast<int>(bottom_first.size()) == cards, "a deck of another size");
        std::vector<char> seen(bottom_first.size());
        for (const deal::card c : bottom_first) {
            const int number = deal::number_of(c);
            check((c & ~(deal::face_up | (deal::face_up - 1))) == 0 && number < cards &&
                      !seen[static_cast<std::size_t>(number)],
                  "a deck is no order of its cards");
            seen[static_cast<std::size_t>(number)] = 1;
        }
    } else {
        const std::string_view said(words);
        check(!said.empty() && said.find('\n') == std::string_view::npos,
              "deck fault is not one line");
    }
    if (!text::read_routine(text, cards, first, shown, words, sizeof words)) {
        const std::string_view said(words);
        check(!said.empty() && said.find('\n') == std::string_view::npos, "fault is not one line");
        check(said.starts_with("move ") || said.starts_with("moves ") ||
                  said.starts_with("the routine "),
              "fault names neither the routine nor a move");
        return 0;
    }
    check(first.moves().size() <= deal::max_moves, "more moves than a routine holds");
    check(first.cards == cards, "routine for another deck");

    text::routine_text(first, written, sizeof written);
    check(text::read_routine(written, cards, again, shown, words, sizeof words),
          "a routine's own text does not read back");
    check(again.moves().size() == first.moves().size() &&
              again.repeats().size() == first.repeats().size(),
          "read back with other moves");
    check(first.played_moves() <= deal::max_played_moves, "more moves played one by one");

    if (first.first_by_chance() >= 0) {
        // Each move drawn twice from one seed: the same permutation both
        // times, and a permutation.
        auto once = draw::generator::for_round(static_cast<std::uint64_t>(cards), 1);
        auto twice = draw::generator::for_round(static_cast<std::uint64_t>(cards), 1);
        for (const deal::move& m : first.moves()) {
            const deal::permutation a = draw::draw_permutation(m, cards, once);
            const deal::permutation b = draw::draw_permutation(m, cards, twice);
            std::array<bool, deal::max_cards> seen{};
            for (int p = 0; p < cards; ++p) {
                check(a[p] == b[p], "one seed drew two moves");
                check(a[p] >= 0 && a[p] < cards && !seen[static_cast<std::size_t>(a[p])],
                      "a drawn move is no permutation");
                seen[static_cast<std::size_t>(a[p])] = true;
            }
        }
        return 0;
    }
    if (!first.follows_card()) {
        const deal::permutation round = deal::round_permutation(first);
        const deal::permutation back = deal::round_permutation(again);
        // Every repeat spelled out, where that is few enough moves.
        deal::permutation spelled = round;
        if (first.played_moves(true) <= deal::max_played_moves) {
            const deal::played_round each(first, true);
            spelled = deal::permutation::identity(cards);
            for (int i = 0; i < each.size(); ++i)
                spelled.follow_by(each.permutation_of(i));
        }
        std::array<bool, deal::max_cards> seen{};
        for (int p = 0; p < cards; ++p) {
            check(round[p] == back[p] && round.turns(p) == back.turns(p),
                  "read back as another round");
            check(round[p] == spelled[p] && round.turns(p) == spelled.turns(p),
                  "a repeat's power is not its moves played one by one");
            check(round[p] >= 0 && round[p] < cards && !seen[static_cast<std::size_t>(round[p])],
                  "round is no permutation");
            seen[static_cast<std::size_t>(round[p])] = true;
        }
        return 0;
    }
    follower.learn(first);
    for (int p = 0; p < cards; ++p)
        check(follower.next(p) >= 0 && follower.next(p) < cards, "followed card leaves the deck");
    follower.start(cards - 1);
    check(follower.tail() + follower.length() <= cards && follower.length() >= 1,
          "followed card's way is longer than the deck");
    return 0;
}
