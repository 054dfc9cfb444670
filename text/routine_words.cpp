#include "text/routine_words.hpp"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "text/appender.hpp"
#include "text/deal_words.hpp"
#include "text/integer_text.hpp"

namespace text {

namespace {

// The count of a repeat, `word` being x or X and then digits: 0 where it is
// none, -1 where it is out of range (said in `fault`'s words).
std::int64_t repeat_count(std::string_view word, const fault_out& fault) {
    if (word.size() < 2 || (word[0] != 'x' && word[0] != 'X') ||
        !std::all_of(word.begin() + 1, word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    const std::string_view digits = word.substr(1);
    // Read to one past the limit, never past what 64 bits hold.
    std::int64_t n = 0;
    for (const char c : digits) {
        const int d = c - '0';
        if (n > (deal::max_repeat - d) / 10) {
            n = deal::max_repeat + 1;
            break;
        }
        n = n * 10 + d;
    }
    if (n >= 1 && n <= deal::max_repeat)
        return n;
    integer_text shown;
    shown.digits(digits.data(), digits.data() + digits.size());
    char buffer[integer_text::shown_max + 4];
    range_words(fault.words, fault.room, "repeat count", written(shown, buffer, sizeof buffer), 1,
                deal::max_repeat);
    return -1;
}

// The reader of a routine's grammar: moves separated by ';', groups in
// brackets, repeats after either; `what` names the whole in faults ("the
// routine", or a group a search takes as one step).
class routine_reader {
public:
    routine_reader(std::string_view text, int cards, deal::routine& r, const char* what,
                   const fault_out& fault)
        : text_(text), cards_(cards), r_(r), what_(what), fault_(fault) {}

    bool read() {
        r_.clear();
        r_.cards = cards_;
        if (trimmed(text_).empty())
            return whole("the %s %s holds no move: give moves separated by ';', such as "
                         "'faro out; cut 26'");
        if (!sequence(0))
            return false;
        if (r_.played_moves() > deal::max_played_moves) {
            std::snprintf(fault_.words, fault_.room,
                          "the %s plays more than %lld moves a round one by one: a repeat that "
                          "holds a move by chance or a deal with a chosen pile is played move by "
                          "move",
                          what_, static_cast<long long>(deal::max_played_moves));
            return false;
        }
        return true;
    }

private:
    void skip_blanks() {
        while (at_ < text_.size() && is_blank(text_[at_]))
            ++at_;
    }
    // A fault about the whole text, `format` taking what_ and the text shown.
    [[gnu::noinline]] bool whole(const char* format) {
        char buffer[600];
        std::snprintf(fault_.words, fault_.room, format, what_,
                      fault_.show(text_, shown_length::move, buffer, sizeof buffer));
        return false;
    }
    // Items separated by ';', up to a ')' that closes the group at `depth`,
    // or the end.
    bool sequence(int depth) {
        for (;;) {
            if (!item(depth))
                return false;
            skip_blanks();
            if (at_ == text_.size())
                return depth == 0 || whole("the %s %s opens a group with '(' that no ')' closes");
            if (text_[at_] == ')')
                return depth > 0 || whole("the %s %s closes a group with ')' that no '(' opens");
            if (text_[at_] != ';')
                return after_group();
            ++at_;
        }
    }
    [[gnu::noinline]] bool after_group() {
        std::size_t end = at_;
        while (end < text_.size() && !is_blank(text_[end]) && text_[end] != ';' &&
               text_[end] != ')')
            ++end;
        char buffer[600], word[300];
        std::snprintf(fault_.words, fault_.room,
                      "the %s %s has %s after a group: give ';' between moves, or a repeat such "
                      "as x3",
                      what_, fault_.show(text_, shown_length::move, buffer, sizeof buffer),
                      fault_.shown(text_.substr(at_, end - at_), word, sizeof word));
        return false;
    }
    bool item(int depth) {
        skip_blanks();
        if (at_ < text_.size() && text_[at_] == '(')
            return group(depth);
        std::size_t end = at_;
        while (end < text_.size() && text_[end] != ';' && text_[end] != ')')
            ++end;
        const std::string_view piece = trimmed(text_.substr(at_, end - at_));
        at_ = end;
        return move(piece);
    }
    bool group(int depth) {
        // Each group holds a move at least: no routine nests deeper than it
        // has moves, and the reader's stack stays shallow.
        if (depth >= deal::max_moves) {
            char buffer[600];
            std::snprintf(fault_.words, fault_.room, "the %s %s nests groups more than %d deep",
                          what_, fault_.show(text_, shown_length::move, buffer, sizeof buffer),
                          deal::max_moves);
            return false;
        }
        const std::size_t open = at_++;
        const auto first = static_cast<int>(r_.moves().size());
        const int first_number = number_ + 1;
        if (!sequence(depth + 1))
            return false;
        if (at_ == text_.size())
            return whole("the %s %s opens a group with '(' that no ')' closes");
        ++at_;
        return group_repeat(open, first, first_number);
    }
    // The repeat after the group that opened at `open`, if any: its moves
    // from `first`, written as moves `first_number` on.
    [[gnu::noinline]] bool group_repeat(std::size_t open, int first, int first_number) {
        skip_blanks();
        std::size_t end = at_;
        while (end < text_.size() && !is_blank(text_[end]) && text_[end] != ';' &&
               text_[end] != ')')
            ++end;
        char reason[words_room];
        const std::int64_t times =
            repeat_count(text_.substr(at_, end - at_), {fault_.show, reason, sizeof reason});
        if (times < 0) {
            char moves[64], buffer[600];
            std::snprintf(moves, sizeof moves,
                          first_number == number_ ? "move %d" : "moves %d to %d", first_number,
                          number_);
            std::snprintf(fault_.words, fault_.room, "%s of the %s, %s: %s", moves, what_,
                          fault_.show(text_.substr(open, end - open), shown_length::move, buffer,
                                      sizeof buffer),
                          reason);
            return false;
        }
        if (times > 0) {
            at_ = end;
            r_.repeat_from(first, times);
        }
        return true;
    }
    // A move as written, perhaps with a repeat after it.
    [[gnu::noinline]] bool move(std::string_view piece) {
        ++number_;
        char reason[words_room];
        const fault_out said{fault_.show, reason, sizeof reason};
        std::string_view words = piece;
        const std::size_t last = words.find_last_of(" \t\n\r\v\f");
        std::int64_t times = 0;
        if (last != std::string_view::npos) {
            times = repeat_count(words.substr(last + 1), said);
            if (times > 0)
                words = trimmed(words.substr(0, last));
        }
        const auto first = static_cast<int>(r_.moves().size());
        moves_.clear();
        if (times < 0) {
        } else if (piece.empty()) {
            std::snprintf(reason, sizeof reason, "%s", "no move is there");
        } else if (read_move(words, cards_, moves_, said)) {
            for (const deal::move& m : moves_)
                if (!r_.add(m)) {
                    std::snprintf(fault_.words, fault_.room, "the %s holds more than %d moves",
                                  what_, deal::max_moves);
                    return false;
                }
            if (times > 0)
                r_.repeat_from(first, times);
            return true;
        }
        char buffer[600];
        std::snprintf(fault_.words, fault_.room, "move %d of the %s, %s: %s", number_, what_,
                      fault_.show(piece, shown_length::move, buffer, sizeof buffer), reason);
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int cards_;
    deal::routine& r_;
    const char* what_;
    fault_out fault_;
    int number_ = 0;
    std::vector<deal::move> moves_;
};

} // namespace

bool read_routine(std::string_view text, int cards, deal::routine& r, show_value show, char* words,
                  std::size_t room) {
    return routine_reader(text, cards, r, "routine", {show, words, room}).read();
}

namespace {

// The token around `at`: the run of characters that are neither blanks nor
// '=', which is how an option's value is set off.
std::string_view token_around(std::string_view text, std::size_t at) {
    const auto stop = [](char c) { return is_blank(c) || c == '='; };
    std::size_t begin = at, end = at;
    while (begin > 0 && !stop(text[begin - 1]))
        --begin;
    while (end < text.size() && !stop(text[end]))
        ++end;
    return text.substr(begin, end - begin);
}

// A move allowed, with at most one range A..B in it: the text on either
// side of the range, and its ends; one value, and the move whole, where
// there is none.
struct ranged_move {
    std::string_view before, after;
    std::int64_t least = 0, most = 0;
    bool ranged = false;
};
// A move with its range's value written in: as long as the move, and a
// number.
constexpr std::size_t most_ranged_move = 4096;

// Reads the range of `piece`, where there is one; false with the fault in
// `reason`, of `room` bytes.
bool read_range(std::string_view piece, ranged_move& move, const fault_out& fault, char* reason,
                std::size_t room) {
    move.before = piece;
    const std::size_t dots = piece.find("..");
    if (dots == std::string_view::npos)
        return true;
    const std::string_view range = token_around(piece, dots);
    const std::size_t at = static_cast<std::size_t>(range.data() - piece.data());
    const std::size_t split = dots - at;
    integer_text a, b;
    char buffer[300];
    if (!parse_integer(range.substr(0, split), a) || !parse_integer(range.substr(split + 2), b)) {
        std::snprintf(reason, room, "%s is not a range of integers A..B",
                      fault.shown(range, buffer, sizeof buffer));
        return false;
    }
    if (piece.find("..", at + range.size()) != std::string_view::npos) {
        std::snprintf(reason, room, "%s",
                      "a move takes one range: give the others as moves of their own");
        return false;
    }
    if (b.value() < a.value()) {
        std::snprintf(reason, room, "range %s runs backwards: its first end must be the lower",
                      fault.shown(range, buffer, sizeof buffer));
        return false;
    }
    move = {piece.substr(0, at), piece.substr(at + range.size()), a.value(), b.value(), true};
    if (piece.size() > most_ranged_move) {
        std::snprintf(reason, room, "a move with a range has at most %zu bytes", most_ranged_move);
        return false;
    }
    return true;
}

// Whether `piece` is a move alone: no group, and no repeat after it.
bool plain_move(std::string_view piece) {
    const std::size_t last = piece.find_last_of(" \t\n\r\v\f");
    const std::string_view word = last == std::string_view::npos ? piece : piece.substr(last + 1);
    const bool repeat =
        word.size() > 1 && (word[0] == 'x' || word[0] == 'X') &&
        std::all_of(word.begin() + 1, word.end(), [](char c) { return c >= '0' && c <= '9'; });
    return piece.find('(') == std::string_view::npos && !repeat;
}

// Reads the step of `move` for each value of its range, for a deck of
// `cards` cards, and hands each to take(context, step); false with the
// fault in `reason`, of `room` bytes.
bool take_each(const ranged_move& move, int cards, take_move take, void* context, show_value show,
               char* reason, std::size_t room) {
    char expanded[most_ranged_move + 32];
    deal::routine step;
    std::vector<deal::move> one_move;
    for (std::int64_t v = move.least; v <= move.most; ++v) {
        std::string_view one = move.before;
        if (move.ranged) {
            const int n = std::snprintf(expanded, sizeof expanded, "%.*s%lld%.*s",
                                        static_cast<int>(move.before.size()), move.before.data(),
                                        static_cast<long long>(v),
                                        static_cast<int>(move.after.size()), move.after.data());
            one = {expanded, static_cast<std::size_t>(n)};
        }
        // A move alone is read as a move, its faults said as its own; a
        // group, or a move repeated, as a routine of its own.
        one_move.clear();
        if (plain_move(one)) {
            if (!read_move(one, cards, one_move, {show, reason, room}))
                return false;
            step.clear();
            step.cards = cards;
            for (const deal::move& m : one_move)
                step.add(m);
        } else if (!routine_reader(one, cards, step, "group", {show, reason, room}).read()) {
            return false;
        }
        if (step.first_by_chance() >= 0) {
            std::snprintf(reason, room, "%s",
                          "a move by chance takes no card to one place: allow exact moves");
            return false;
        }
        if (!take(context, step)) {
            std::snprintf(reason, room, "%s",
                          "there is no room for so many moves on so large a deck");
            return false;
        }
    }
    return true;
}

// Whether `piece` holds a ';' outside brackets: more than one move.
bool several_moves(std::string_view piece) {
    int depth = 0;
    for (const char c : piece) {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (c == ';' && depth <= 0)
            return true;
    }
    return false;
}

} // namespace

bool read_move_list(std::string_view text, int cards, take_move take, void* context,
                    show_value show, char* words, std::size_t room) {
    const fault_out fault{show, words, room};
    if (trimmed(text).empty())
        return fault.say("the moves allowed, %s, are none: give moves separated by '|', such "
                         "as 'faro in | faro out'",
                         text);
    char reason[words_room];
    int number = 0;
    std::int64_t total = 0;
    for (;;) {
        const std::size_t end = std::min(text.find('|'), text.size());
        const std::string_view piece = trimmed(text.substr(0, end));
        ++number;
        const auto bad = [&]() {
            char buffer[600];
            std::snprintf(words, room, "move %d of the moves allowed, %s: %s", number,
                          show(piece, shown_length::move, buffer, sizeof buffer), reason);
            return false;
        };
        if (piece.empty() || several_moves(piece)) {
            std::snprintf(reason, sizeof reason, "%s",
                          piece.empty() ? "no move is there"
                                        : "each move allowed is one move or a group in brackets: "
                                          "separate them by '|', or bracket them, such as "
                                          "'(cut 1; faro out)'");
            return bad();
        }
        ranged_move move;
        if (!read_range(piece, move, fault, reason, sizeof reason))
            return bad();
        if (move.most - move.least >= deal::max_search_moves - total) {
            std::snprintf(words, room,
                          "the moves allowed come to more than %d, ranges counted value by value",
                          deal::max_search_moves);
            return false;
        }
        total += move.most - move.least + 1;
        if (!take_each(move, cards, take, context, show, reason, sizeof reason))
            return bad();
        if (end == text.size())
            return true;
        text.remove_prefix(end + 1);
    }
}

namespace {

// The routine's moves from `first` to `end`, at one level of its repeats
// from index `from`, as text.
void write_level(const deal::routine& r, int first, int end, int from, appender& a);

// Whether a level's items are one move as written: a move, and the other
// piles of its deal.
bool one_written_move(const deal::routine& r, std::span<const deal::routine::item> items) {
    return std::all_of(items.begin(), items.end(), [&](const deal::routine::item& it) {
        return it.move_index >= 0 &&
               (&it == items.data() ||
                r.moves()[static_cast<std::size_t>(it.move_index)].another_pile);
    });
}

void write_level(const deal::routine& r, int first, int end, int from, appender& a) {
    const auto items = r.level(first, end, from);
    const auto moves = r.moves();
    for (std::size_t j = 0; j < items.size(); ++j) {
        const deal::routine::item& it = items[j];
        if (it.move_index >= 0) {
            // A deal and the piles after it, written as one.
            std::size_t n = 1;
            while (j + n < items.size() &&
                   static_cast<std::size_t>(items[j + n].move_index) ==
                       static_cast<std::size_t>(it.move_index) + n &&
                   moves[static_cast<std::size_t>(it.move_index) + n].another_pile)
                ++n;
            a.add("%s", j == 0 ? "" : "; ");
            a.at = move_text(moves.subspan(static_cast<std::size_t>(it.move_index), n), a.at,
                             static_cast<std::size_t>(a.end - a.at) + 1);
            j += n - 1;
            continue;
        }
        const deal::repeat& g = r.repeats()[static_cast<std::size_t>(it.repeat_index)];
        const bool bare = one_written_move(r, r.level(g.first, g.end, it.repeat_index + 1));
        a.add("%s%s", j == 0 ? "" : "; ", bare ? "" : "(");
        write_level(r, g.first, g.end, it.repeat_index + 1, a);
        a.add("%s x%lld", bare ? "" : ")", static_cast<long long>(g.times));
    }
}

} // namespace

char* routine_text(const deal::routine& r, char* out, std::size_t room) {
    appender a(out, room);
    write_level(r, 0, static_cast<int>(r.moves().size()), 0, a);
    return a.at;
}

namespace {

// A run of a search's steps written as one: a step, or deals that differ
// in their piles alone, as one deal with its piles listed.
using unit = std::vector<int>;

// The deal a step is, where it is one deal with a chosen pile, else nullptr.
const deal::move* pile_deal(const deal::routine& step) {
    const auto moves = step.moves();
    return moves.size() == 1 && step.repeats().empty() && moves[0].kind == deal::move_kind::deal &&
                   moves[0].deal.chosen_pile >= 0
               ? &moves[0]
               : nullptr;
}

std::vector<unit> units_of(std::span<const deal::routine> steps, std::span<const int> path) {
    const auto deal_at = [&](std::size_t i) {
        return pile_deal(steps[static_cast<std::size_t>(path[i])]);
    };
    std::vector<unit> units;
    for (std::size_t i = 0; i < path.size();) {
        std::size_t n = 1;
        bool piles_differ = false;
        if (const deal::move* first = deal_at(i)) {
            while (i + n < path.size() && deal_at(i + n) &&
                   same_but_pile(*first, *deal_at(i + n))) {
                piles_differ = piles_differ || path[i + n] != path[i];
                ++n;
            }
        }
        // Deals with one pile throughout are a step repeated.
        if (!piles_differ)
            n = 1;
        units.emplace_back(path.begin() + static_cast<std::ptrdiff_t>(i),
                           path.begin() + static_cast<std::ptrdiff_t>(i + n));
        i += n;
    }
    return units;
}

void write_unit(std::span<const deal::routine> steps, const unit& u, std::string& out) {
    char text[words_room];
    if (u.size() == 1) {
        routine_text(steps[static_cast<std::size_t>(u[0])], text, sizeof text);
    } else {
        std::vector<deal::move> piles;
        for (const int s : u)
            piles.push_back(steps[static_cast<std::size_t>(s)].moves()[0]);
        move_text(piles, text, sizeof text);
    }
    out += text;
}

// Whether a unit, repeated, needs no brackets: it is one move as written.
bool bare(std::span<const deal::routine> steps, const unit& u) {
    const deal::routine& first = steps[static_cast<std::size_t>(u[0])];
    return u.size() > 1 || one_written_move(first, first.level());
}

void write_units(std::span<const deal::routine> steps, std::span<const unit> units,
                 std::string& out) {
    for (std::size_t i = 0; i < units.size();) {
        // The run of blocks of `b` units, all alike, from i that saves the
        // most units, the shortest block among equals.
        std::size_t best = 1, times = 1;
        for (std::size_t b = 1; 2 * b <= units.size() - i; ++b) {
            std::size_t k = 1;
            while (i + (k + 1) * b <= units.size() &&
                   std::equal(units.begin() + static_cast<std::ptrdiff_t>(i),
                              units.begin() + static_cast<std::ptrdiff_t>(i + b),
                              units.begin() + static_cast<std::ptrdiff_t>(i + k * b)))
                ++k;
            if (k > 1 && b * (k - 1) > best * (times - 1)) {
                best = b;
                times = k;
            }
        }
        if (i > 0)
            out += "; ";
        if (times == 1) {
            write_unit(steps, units[i++], out);
            continue;
        }
        const bool brackets = best > 1 || !bare(steps, units[i]);
        out += brackets ? "(" : "";
        write_units(steps, units.subspan(i, best), out);
        out += brackets ? ") x" : " x";
        out += std::to_string(times);
        i += best * times;
    }
}

} // namespace

std::string collapsed_text(std::span<const deal::routine> steps, std::span<const int> path) {
    std::string out;
    const std::vector<unit> units = units_of(steps, path);
    write_units(steps, units, out);
    return out;
}

char* backwards_words(char* out, std::size_t room, const char* shown) {
    appender a(out, room);
    a.add("%s runs backwards, and a deal with a chosen pile cannot be undone: give rounds from 0",
          shown);
    return a.at;
}

} // namespace text
