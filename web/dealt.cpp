#include "web/dealt.hpp"

#include <algorithm>
#include <cstddef>
#include <numeric>

#include "deal/limits.hpp"
#include "deal/played.hpp"
#include "text/appender.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"
#include "text/digits.hpp"
#include "text/listing.hpp"
#include "text/routine_words.hpp"
#include "views/limits.hpp"

namespace web {

namespace {

// The hands of a routine of many deals are cut short past this many bytes.
constexpr std::size_t hands_room = 4 * text::listing_room_max;

// `count` cards and a newline, as numbers or as names, written where they go,
// in their order or `reversed`; with `marks`, a '^' after each face-up card
// and a blank after the others.
void write_cards(std::string& out, const deal::card* cards, int count, const listing_style& style,
                 bool reversed) {
    std::vector<deal::card> turned;
    if (reversed) {
        turned.assign(cards, cards + count);
        std::reverse(turned.begin(), turned.end());
        cards = turned.data();
    }
    const std::size_t at = out.size();
    out.resize(at + std::max(text::marked_listing_room(count), text::faces_room(count)));
    char* const line = out.data() + at;
    char* end = style.faces   ? text::format_faces(cards, count, line, style.marks, style.names)
                : style.marks ? text::format_marked_cards(cards, count, line)
                              : text::format_cards(cards, count, line);
    *end++ = '\n';
    out.resize(static_cast<std::size_t>(end - out.data()));
}

// "move N: MOVE" and a newline, before the hands of a routine's deal: N its
// number as written.
void write_move(std::string& out, int number, const deal::move& m) {
    char line[text::rules_room + 32];
    text::appender a(line, sizeof line);
    a.add("move %d: ", number);
    text::move_text(m, a.at, static_cast<std::size_t>(a.end - a.at) + 1);
    out += line;
    out += '\n';
}

// Each move's number as the routine is written: a deal that is another pile
// of the one before it shares its number.
std::vector<int> written_numbers(const deal::routine& r) {
    std::vector<int> numbers;
    int written = 0;
    for (const deal::move& m : r.moves()) {
        written += m.another_pile ? 0 : 1;
        numbers.push_back(written);
    }
    return numbers;
}

// The hands of each deal the round plays, `deck` its deck, as deal-after
// --hands prints them: every repeat spelled out, "move N: MOVE" before each
// deal where the round deals twice or more, each hand from its top card
// where the deck is read from the top. Where the round is drawn, its steps
// and each one's permutation as drawn.
std::string hands_text(const deal_answer& learnt, std::vector<deal::card> deck, int at,
                       const listing_style& style, const drawn_steps* drawn) {
    const fields& f = learnt.f;
    deal::played_round spelled;
    if (!drawn) {
        if (f.round.played_moves(true) > deal::max_played_moves)
            return "The hands are not shown: spelled out, this routine plays more than " +
                   std::to_string(deal::max_played_moves) + " moves a round.";
        spelled = deal::played_round(f.round, true);
    }
    const deal::played_round& steps = drawn ? *drawn->steps : spelled;
    const bool name = f.round.deal_count() > 1;
    const std::vector<int> numbers = written_numbers(f.round);
    std::string out;
    std::vector<deal::card> hand, next(deck.size());
    for (int i = 0; i < steps.size(); ++i) {
        const deal::move* m = steps.move_at(i);
        if (m && m->kind == deal::move_kind::deal) {
            const auto index = static_cast<std::size_t>(steps.move_index(i));
            if (name)
                write_move(out, numbers[index], *m);
            // Many deals of a large deck are cut short where the room ends.
            if (out.size() > hands_room)
                break;
            // Read from the top, a hand dealt face down starts from its last card.
            const bool reversed = style.from_top && m->deal.first_card == deal::first_card::bottom;
            const deal::hands& dealt = learnt.dealt[index];
            for (int h = 0; h < dealt.count(); ++h) {
                hand.clear();
                for (const std::int16_t p : dealt.hand(h))
                    hand.push_back(deck[static_cast<std::size_t>(p)]);
                write_cards(out, hand.data(), static_cast<int>(hand.size()), style, reversed);
            }
        }
        if (i + 1 < steps.size()) {
            // Where a card is followed, its place may change how a deal
            // gathers.
            const deal::permutation p =
                drawn ? drawn->moves[static_cast<std::size_t>(i)] : steps.permutation_of(i, at);
            p.apply(deck.data(), next.data());
            deck.swap(next);
            at = at >= 0 ? p[at] : -1;
        }
    }
    return out;
}

} // namespace

std::string period_string(const deal::period& p) {
    char digits[text::period_digits];
    return {text::period_text(p, digits + sizeof digits), digits + sizeof digits};
}

std::span<std::int32_t> rows_room(answer& a, const request& r, int size, std::int64_t most) {
    const int count = clamped(r, "count", 1,
                              static_cast<int>(std::min<std::int64_t>(views::max_page_rows, most)));
    return a.key("rows").ints_room(static_cast<std::size_t>(count) *
                                   static_cast<std::size_t>(size));
}

std::vector<std::int32_t> starting_rows(std::span<const std::int32_t> rows, int size) {
    const auto stride = static_cast<std::size_t>(size);
    std::vector<std::int32_t> start(stride), found;
    std::iota(start.begin(), start.end(), 0);
    for (std::size_t i = 0; i * stride < rows.size(); ++i)
        if (std::equal(start.begin(), start.end(),
                       rows.begin() + static_cast<std::ptrdiff_t>(i * stride)))
            found.push_back(static_cast<std::int32_t>(i));
    return found;
}

void finish_rows(answer& a, const deal_answer& deal, const request& r, std::span<std::int32_t> rows,
                 int at, const drawn_steps* drawn) {
    const fields& f = deal.f;
    const listing_style style{faces_asked(r, f), f.round.turns_cards() || f.start.any_face_up(),
                              r["from-top"] == "1", f.start.faces()};
    std::vector<deal::card> deck(static_cast<std::size_t>(f.size));
    f.start.place(rows.data(), deck.data());
    std::string listing;
    write_cards(listing, deck.data(), f.size, style, style.from_top);
    listing.pop_back(); // the newline
    a.key("listing").utf8(std::move(listing));
    a.key("hands").utf8(hands_text(deal, deck, at, style, drawn));
    if (f.start.any_face_up())
        for (std::int32_t& c : rows)
            c ^= f.start[deal::number_of(c)] & deal::face_up;
}

} // namespace web
