// deal-cycles: which positions travel together. Prints the cycles of one
// round, one line each: its length, a colon, then the positions that a card
// passes through one round apart, from the cycle's lowest position; or the
// round in GAP's notation, a summary, or when a card is at a position.

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "console/arguments.hpp"
#include "console/deal_options.hpp"
#include "console/numbers.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/routine.hpp"
#include "text/cycle_words.hpp"
#include "text/digits.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-cycles [OPTION...] COUNT\n"
    "       deal-cycles --help | --version\n"
    "Print the cycles of one round of a deck of COUNT hands, from 1 to {max_hands} for\n"
    "deal's own deal, one line each: the cycle's length, a colon, then the\n"
    "positions that a card passes through one round apart, from the cycle's\n"
    "lowest position. The least common multiple of the lengths is the period.\n"
    "Counts of 0 and below give the empty deck, which has no cycle: nothing is\n"
    "printed. With --routine, COUNT is the number of cards.\n"
    "      --gap           print instead the round as GAP writes a permutation:\n"
    "                      positions counted from 1, fixed ones left out, () for a\n"
    "                      round that moves nothing\n"
    "      --summary       print instead the cycle type, the sign (even or odd),\n"
    "                      the positions that never move and the period\n"
    "      --card C --at P print instead when card C is at position P: the first\n"
    "                      round and the rounds between two such, or \"never\"; C\n"
    "                      may be a card's name on a deck of at most {max_playing_cards},\n"
    "                      such as AS\n"
    "      --from-top      count every position from the top, 1 the top card:\n"
    "                      in the cycles, --summary, --at P and --gap\n" DEAL_EXACT_OPTIONS_HELP;

enum own_option {
    gap_option = console::round_option_count,
    summary_option,
    card_option,
    at_option,
    from_top_option
};
constexpr console::option own[] = {{"gap", 0, nullptr},
                                   {"summary", 0, nullptr},
                                   {"card", 0, "C"},
                                   {"at", 0, "P"},
                                   {"from-top", 0, nullptr}};
constexpr auto options = console::with_round_options(own);
constexpr console::command_line command = console::round_command(usage, options, 1, 1);

// The longest line: every position of the largest deck, each at most four
// digits and a separator, and a few bytes around them.
constexpr std::size_t line_room = text::cycle_words_room + text::period_digits + 64;
static_assert(line_room <= console::writer::capacity);

char* put(char* out, std::int64_t n) {
    return std::to_chars(out, out + 20, n).ptr;
}
char* put(char* out, const char* text) {
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

// A cycle whose turns bring its cards back turned over has a '^' after its
// length: they are back as they started after twice that many rounds.
void print_cycle(std::span<const std::int16_t> cycle, bool turned, int first) {
    char* out = console::output.reserve(line_room);
    out = put(out, static_cast<std::int64_t>(cycle.size()));
    if (turned)
        *out++ = '^';
    *out++ = ':';
    for (const int p : cycle) {
        *out++ = ' ';
        out = put(out, p + first);
    }
    *out++ = '\n';
    console::output.end_line(out);
}

// GAP reads cycles as "(1,5,3)(2,4)", each point mapped to the next: the
// positions, or, where a card may lie face up, each position face down and
// face up, 2M points, which may run past the writer's room.
void print_gap(const deal::cycles& cycles) {
    std::vector<char> line(32 + 7 * static_cast<std::size_t>(cycles.size()) + 1);
    char* end = text::gap_text(cycles, line.data());
    *end++ = '\n';
    for (const char* at = line.data(); at != end;) {
        const auto n = std::min(static_cast<std::size_t>(end - at), console::writer::capacity);
        char* out = console::output.reserve(n);
        std::memcpy(out, at, n);
        console::output.commit(out + n);
        at += n;
    }
    console::output.end_line(console::output.reserve(0));
}

// A line of the summary, "LABEL: WORDS", the words written by `words`; no
// blank after the colon where there are none, as for the empty deck.
template <class Words>
void print_summary_line(const char* label, Words words) {
    char* out = put(console::output.reserve(line_room), label);
    const char* const listed = out;
    out = words(out);
    if (out == listed)
        --out;
    *out++ = '\n';
    console::output.end_line(out);
}

// Told with the cards' faces, the cycle type marks the turned cycles, and
// the cards that stay but turn over every round are not called fixed.
void print_summary(const deal::cycles& cycles, int first, bool faces) {
    print_summary_line("cycle type: ", [&](char* out) {
        return faces ? text::faced_cycle_type_text(cycles, out)
                     : text::cycle_type_text(cycles, out);
    });
    print_summary_line("sign: ",
                       [&](char* out) { return put(out, text::even(cycles) ? "even" : "odd"); });
    print_summary_line("fixed positions: ",
                       [&](char* out) { return text::fixed_text(cycles, out, first); });
    if (faces)
        print_summary_line("turned in place: ",
                           [&](char* out) { return text::fixed_text(cycles, out, first, true); });
    print_summary_line("period: ",
                       [&](char* out) { return text::append_period(deal::period(cycles), out); });
}

// After which rounds card C is at position P: the rounds that take it along
// its cycle from C to P, and every cycle's length after them.
void print_when(const deal::cycles& cycles, int card, int at) {
    char* out = console::output.reserve(64);
    if (cycles.cycle_of(card) != cycles.cycle_of(at)) {
        out = put(out, "never");
    } else {
        const auto length = static_cast<int>(cycles.cycle(cycles.cycle_of(card)).size());
        out = put(out, ((cycles.place_of(at) - cycles.place_of(card)) % length + length) % length);
        *out++ = ' ';
        out = put(out, length);
    }
    *out++ = '\n';
    console::output.end_line(out);
}

// The round with its positions counted from the top, less one: position p
// of M is M - 1 - p, so that one more is its place from the top.
deal::permutation counted_from_top(const deal::permutation& round) {
    const int size = round.size();
    std::vector<std::int16_t> goes_to(static_cast<std::size_t>(size));
    std::vector<char> turns(goes_to.size());
    for (int p = 0; p < size; ++p) {
        goes_to[static_cast<std::size_t>(size - 1 - p)] =
            static_cast<std::int16_t>(size - 1 - round[p]);
        turns[static_cast<std::size_t>(size - 1 - p)] = round.turns(p);
    }
    return deal::permutation(std::move(goes_to), std::move(turns));
}

// What the command line asks, read and checked: the round, the deck it
// starts from, and which answer; for --card C --at P, the card and the
// position.
struct request {
    explicit request(const console::arguments& given) : arguments(given) {}
    const console::arguments& arguments;
    deal::routine round;
    std::optional<deal::start> start;
    bool from_top = false;
    std::optional<std::int64_t> card, position;
};

// The round of COUNT and the deck it starts from; false after a report.
bool read_round(request& r) {
    const console::deal_options deal(r.arguments);
    const auto hands = deal.hand_counts(r.arguments.operands()[0]);
    if (!hands)
        return false;
    r.round = deal.routine_for(hands->first, deal.cards().first);
    r.start = deal.start_for(r.round.cards);
    r.from_top = r.arguments.has(from_top_option);
    return r.start.has_value();
}

// --card C --at P, which go together, and the one answer asked for.
bool read_answer(request& r) {
    const int size = r.round.cards;
    const char* const card = r.arguments.value(card_option);
    const char* const at = r.arguments.value(at_option);
    if ((card != nullptr) != (at != nullptr)) {
        console::report(card ? "--card C needs --at P: the position to find the card at"
                             : "--at P needs --card C: the card to find there");
        return false;
    }
    if (card) {
        if (size == 0) {
            console::report("the empty deck has no card and no position");
            return false;
        }
        if (!(r.card = console::card_argument(card, *r.start)) ||
            !(r.position = r.from_top ? console::integer_argument(at, "place from the top", 1, size)
                                      : console::integer_argument(at, "position", 0, size - 1)))
            return false;
    }
    if (r.arguments.has(gap_option) + r.arguments.has(summary_option) + (card != nullptr) > 1) {
        console::report("--gap, --summary and --card each ask for something else: give one");
        return false;
    }
    return true;
}

// The cycles of the round, or what else was asked of them.
int run(const request& r) {
    const bool from_top = r.from_top;
    const int size = r.round.cards;
    // Counted from the top, every position is written one more than the
    // round's so counted: 1 the top card.
    const deal::permutation permutation = from_top
                                              ? counted_from_top(deal::round_permutation(r.round))
                                              : deal::round_permutation(r.round);
    const int first = from_top ? 1 : 0;
    const auto counted = [&](int p) { return from_top ? size - 1 - p : p; };
    deal::cycles cycles;
    cycles.learn(permutation);
    const bool faces = deal::with_faces(r.round, *r.start);
    if (r.arguments.has(gap_option)) {
        deal::cycles points;
        if (faces)
            points.learn(permutation.doubled());
        print_gap(faces ? points : cycles);
    } else if (r.arguments.has(summary_option))
        print_summary(cycles, first, faces);
    else if (r.card)
        print_when(cycles, counted(r.start->position_of(static_cast<int>(*r.card))),
                   static_cast<int>(*r.position) - first);
    else
        for (int i = 0; i < cycles.count(); ++i)
            print_cycle(cycles.cycle(i), cycles.turned(i), first);
    console::output.close();
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-cycles";
    const console::arguments arguments(argc, argv, command);
    request r(arguments);
    if (!read_round(r) || !read_answer(r))
        return EXIT_FAILURE;
    return run(r);
}
