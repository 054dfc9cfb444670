#include "web/dealt.hpp"

#include <algorithm>
#include <cstddef>
#include <numeric>

#include "deal/limits.hpp"
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

// `count` cards and a newline, as numbers or as names, written where they go;
// with `marks`, a '^' after each face-up card and a blank after the others.
void write_cards(std::string& out, const deal::card* cards, int count, bool faces, bool marks) {
    const std::size_t at = out.size();
    out.resize(at + std::max(text::marked_listing_room(count), text::faces_room(count)));
    char* const line = out.data() + at;
    char* end = faces   ? text::format_faces(cards, count, line, marks)
                : marks ? text::format_marked_cards(cards, count, line)
                        : text::format_cards(cards, count, line);
    *end++ = '\n';
    out.resize(static_cast<std::size_t>(end - out.data()));
}

// "move N: MOVE" and a newline, before the hands of a routine's deal.
void write_move(std::string& out, std::size_t i, const deal::move& m) {
    char line[text::rules_room + 32];
    text::appender a(line, sizeof line);
    a.add("move %zu: ", i + 1);
    text::move_text(m, a.at, static_cast<std::size_t>(a.end - a.at) + 1);
    out += line;
    out += '\n';
}

// The hands of each deal move of the round, `deck` its deck, as deal-after
// --hands prints them: after "move N: MOVE" where it deals twice or more.
std::string hands_text(const deal_answer& learnt, std::vector<deal::card> deck, int at, bool faces,
                       bool marks, const std::vector<deal::permutation>* drawn) {
    const fields& f = learnt.f;
    const auto moves = f.round.moves();
    const bool name = f.round.deal_count() > 1;
    std::string out;
    std::vector<deal::card> hand, next(deck.size());
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (moves[i].kind == deal::move_kind::deal) {
            if (name)
                write_move(out, i, moves[i]);
            // Many deals of a large deck are cut short where the room ends.
            if (out.size() > hands_room)
                break;
            const deal::hands& dealt = learnt.dealt[i];
            for (int h = 0; h < dealt.count(); ++h) {
                hand.clear();
                for (const std::int16_t p : dealt.hand(h))
                    hand.push_back(deck[static_cast<std::size_t>(p)]);
                write_cards(out, hand.data(), static_cast<int>(hand.size()), faces, marks);
            }
        }
        if (i + 1 < moves.size()) {
            // Where a card is followed, its place may change how a deal
            // gathers; else each move is what was learnt.
            const deal::permutation followed = at >= 0 && !drawn
                                                   ? deal::move_permutation(moves[i], f.size, at)
                                                   : deal::permutation();
            const deal::permutation& p = drawn ? (*drawn)[i] : at >= 0 ? followed : learnt.moves[i];
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
                 int at, const std::vector<deal::permutation>* drawn) {
    const fields& f = deal.f;
    const bool faces = faces_asked(r, f);
    const bool marks = f.round.turns_cards() || f.start.any_face_up();
    std::vector<deal::card> deck(static_cast<std::size_t>(f.size));
    f.start.place(rows.data(), deck.data());
    std::string listing;
    write_cards(listing, deck.data(), f.size, faces, marks);
    listing.pop_back(); // the newline
    a.key("listing").utf8(std::move(listing));
    a.key("hands").utf8(hands_text(deal, deck, at, faces, marks, drawn));
    if (f.start.any_face_up())
        for (std::int32_t& c : rows)
            c ^= f.start[deal::number_of(c)] & deal::face_up;
}

} // namespace web
