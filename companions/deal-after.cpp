// deal-after: the deck after any number of rounds, at once, in deal's own
// listing format; or the hands that dealing it then gives; or where one card
// is.
//
//   deal-after [OPTION...] COUNT ROUNDS...   one answer for each ROUNDS (or range A..B)
//   deal-after [OPTION...] COUNT             the round numbers from standard input

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/arguments.hpp"
#include "console/deal_options.hpp"
#include "console/listing.hpp"
#include "console/numbers.hpp"
#include "console/quote.hpp"
#include "console/ranges.hpp"
#include "console/reader.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "deal/cycles.hpp"
#include "deal/follow.hpp"
#include "deal/hands.hpp"
#include "deal/limits.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "deal/routine.hpp"
#include "draw/run.hpp"
#include "exact/mixing.hpp"
#include "exact/place_chances.hpp"
#include "text/cards.hpp"
#include "text/count_words.hpp"
#include "text/deal_words.hpp"
#include "text/listing.hpp"
#include "text/routine_words.hpp"
#include "text/shown.hpp"

namespace {

constexpr const char usage[] =
    "usage: deal-after [OPTION...] COUNT [ROUNDS...]\n"
    "       deal-after --help | --version\n"
    "For each ROUNDS, print the deck of COUNT hands, from 1 to {max_hands} for deal's own\n"
    "deal, as deal lists it after that many rounds. ROUNDS is an integer of any\n"
    "length, or a range A..B of them; a negative one runs the deal backwards. With\n"
    "COUNT alone, read the round numbers from standard input, as deal reads its\n"
    "input. Counts of 0 and below give the empty deck, whose listing is an empty\n"
    "line. With --routine, COUNT is the number of cards.\n"
    "      --hands         print instead the hands that dealing that deck gives: a\n"
    "                      line per hand, hand 0 first, its cards in the order it\n"
    "                      receives them; an empty line between two rounds' hands;\n"
    "                      with --routine, each deal move's hands, after a line\n"
    "                      \"move N: MOVE\" where the round deals more than once\n"
    "      --where C       print instead the position of card C, a number or, on a\n"
    "                      deck of at most {max_playing_cards}, a name such as AS, 10d or Q\u2665, "
    "or\n"
    "                      of cards C1,C2,... in that order, a blank between; with\n"
    "                      --hands, the hand it is dealt to and its place there,\n"
    "                      from 0, or \"stock\" where it is not dealt\n"
    "      --from-top      write positions counted from the top, 1 the top card,\n"
    "                      and listings and hands from the top card down, each\n"
    "                      hand as it lies once gathered\n"
    "      --chosen-card C the card the spectator chose, which the chosen piles\n"
    "                      follow: the listings, hands and --where C1,C2,... of\n"
    "                      that trick, round after round\n"
    "      --rising        after each listing, a line of its own: the number of\n"
    "                      rising sequences of that deck against its starting\n"
    "                      order, one more than the number of cards that lie\n"
    "                      below the card that started just under them\n"
    "      --chances       with --where C, print instead where card C may be and\n"
    "                      with what chance: a line of P:p pairs, each position P\n"
    "                      it may be at, increasing, and the chance p, exactly\n"
    "                      rounded, for rounds 0 to {max_chance_card_rounds}, and as many\n"
    "                      riffles R in all as R M^2 stays under\n"
    "                      {max_bounded_chance_work} on M cards\n"
    "      --digits D      the decimals of --chances, 0 to {max_chance_digits}; 6 without it\n"
    "      --seed N        draw the chances of moves by chance (riffle, cut random)\n"
    "                      from N, 0 to 18446744073709551615: the same N, the same\n"
    "                      decks on every machine; without it a seed is drawn\n"
    "                      and told on standard error. Such a routine is played\n"
    "                      round by round, rounds 0 to {max_chance_rounds}. Not with\n"
    "                      --chances, which weighs every draw\n"
    "      --faces         write the cards as the playing cards of a new deck, A\u2660\n"
    "                      at the bottom to A\u2665 on top, or of the packet --deck\n"
    "                      names, for decks of at most {max_playing_cards}\n" DEAL_OPTIONS_HELP;

enum own_option {
    hands_option = console::round_option_count,
    where_option,
    faces_option,
    from_top_option,
    rising_option,
    seed_option,
    chances_option,
    digits_option,
    chosen_card_option
};
constexpr console::option own[] = {
    {"hands", 0, nullptr},    {"where", 0, "C"},      {"faces", 0, nullptr},
    {"from-top", 0, nullptr}, {"rising", 0, nullptr}, {"seed", 0, "N"},
    {"chances", 0, nullptr},  {"digits", 0, "D"},     {"chosen-card", 0, "C"}};
constexpr auto options = console::with_round_options(own);
constexpr console::command_line command = console::round_command(usage, options, 1, -1);

struct answer {
    bool hands = false;
    bool faces = false;
    // The cards asked for, by where each starts; positions written from
    // the top, 1 the top card, with --from-top, and listings read from the
    // top card too.
    std::vector<int> where;
    bool from_top = false;
    bool rising = false;
    // Where the card the spectator chose starts, that chosen piles follow,
    // or -1 where --where's card is followed.
    int chosen = -1;
    // The seed that a routine's moves by chance are drawn from.
    std::uint64_t seed = 0;
    // Whether the chances of where the card is are asked, with how many
    // decimals.
    bool chances = false;
    int digits = 6;
};

// What every answer is made from, learnt once: the round, its cycles or the
// followed card's way, each move's effect and hands, and the round number
// being read.
class after {
public:
    after(deal::routine round, deal::start start, const answer& asked);

    // The answer for the round number read into `rounds`.
    // False where the answer cannot be given, the fault told.
    bool print();
    deal::round_number rounds;

private:
    void learn_moves();
    void learn_rounds();
    void print_cards(const deal::card* cards, int count, bool reversed) const;
    void print_move(int step) const;
    void print_hands(int chosen_at);
    void print_dealt_at(int p, int chosen_at) const;
    // Where the card that started at `from` lies in deck_.
    int lies_at(int from) const;
    void print_rising();
    void print_deck();
    // Each card asked for at the position `position` gives it, in the order
    // asked, a blank between.
    template <class Position>
    void print_positions(Position position) const {
        char* const line = console::output.reserve(12 * asked_.where.size() + 1);
        char* out = line;
        for (const int from : asked_.where) {
            if (out != line)
                *out++ = ' ';
            const int p = position(from);
            out = std::to_chars(out, out + 12, asked_.from_top ? size_ - p : p).ptr;
        }
        *out++ = '\n';
        console::output.end_line(out);
    }
    // The positions of the cards asked for in deck_, which holds the deck.
    void print_positions_in_deck();
    void print_drawn(std::int64_t round);
    bool print_chances(std::int64_t round);

    const deal::routine round_;
    const deal::start start_;
    const answer asked_;
    const int size_;
    const bool follows_;
    // Whether each deal's answer follows a line that names it: where the
    // round deals more than once; and whether cards are written with their
    // faces marked: where one may lie face up.
    const bool name_moves_;
    const bool marks_;
    // Whether a move is made by chance; then the run as drawn so far.
    const bool chance_;
    std::optional<draw::drawn_run> drawn_;
    std::optional<exact::place_chances> card_chances_;
    deal::cycles cycles_;
    deal::follower follower_;
    // The trick for the card the spectator chose, round after round.
    deal::followed_deck trick_;
    std::vector<deal::card> deck_, next_deck_;
    // Where each card lies, by where it started, for counting rising
    // sequences.
    std::vector<int> lies_at_;
    // The round's steps with every repeat spelled out, for its deals; each
    // move's number as written, and each deal move's hands and the hand
    // and place each position is dealt to, or -1 for the stock.
    deal::played_round played_;
    std::vector<int> written_number_;
    struct learnt_move {
        deal::hands dealt;
        std::vector<std::int16_t> hand_at, place_at;
    };
    std::vector<learnt_move> moves_;
    bool first_round_ = true;
};

after::after(deal::routine round, deal::start start, const answer& asked)
    : round_(std::move(round)), start_(std::move(start)), asked_(asked), size_(round_.cards),
      follows_(round_.follows_card()), name_moves_(round_.deal_count() > 1),
      marks_(deal::with_faces(round_, start_)), chance_(round_.first_by_chance() >= 0),
      deck_(static_cast<std::size_t>(size_)), next_deck_(deck_.size()) {
    if (asked_.hands)
        learn_moves();
    if (asked_.chances)
        card_chances_.emplace(round_, asked_.where.front(), asked_.digits);
    learn_rounds();
}

void after::learn_moves() {
    played_ = deal::played_round(round_, true);
    const auto size = static_cast<std::size_t>(size_);
    int written = 0;
    for (const deal::move& m : round_.moves()) {
        written += m.another_pile ? 0 : 1;
        written_number_.push_back(written);
        learnt_move& learnt = moves_.emplace_back();
        if (m.kind != deal::move_kind::deal)
            continue;
        learnt.dealt = deal::hands(m.deal);
        learnt.hand_at.assign(size, -1);
        learnt.place_at.assign(size, -1);
        for (int h = 0; h < learnt.dealt.count(); ++h) {
            const auto positions = learnt.dealt.hand(h);
            for (std::size_t j = 0; j < positions.size(); ++j) {
                const auto p = static_cast<std::size_t>(positions[j]);
                learnt.hand_at[p] = static_cast<std::int16_t>(h);
                learnt.place_at[p] = static_cast<std::int16_t>(j);
            }
        }
    }
}

void after::learn_rounds() {
    if (chance_ || asked_.chances) {
        // Round numbers are read as for a round that moves nothing; the
        // rounds are played one by one.
        cycles_.learn(deal::permutation::identity(size_));
        rounds.learn(cycles_);
        if (chance_) {
            const int followed = asked_.chosen >= 0     ? asked_.chosen
                                 : asked_.where.empty() ? -1
                                                        : asked_.where.front();
            drawn_.emplace(round_, asked_.seed, followed);
        }
    } else if (follows_ && asked_.chosen >= 0) {
        trick_.learn(round_, asked_.chosen);
        rounds.learn_moduli(trick_.moduli());
    } else if (follows_) {
        follower_.learn(round_);
        follower_.start(asked_.where.front());
        rounds.learn(follower_.lengths());
    } else {
        cycles_.learn(deal::round_permutation(round_));
        rounds.learn(cycles_);
    }
}

// The cards, from the bottom or, `reversed`, from the top.
void after::print_cards(const deal::card* cards, int count, bool reversed) const {
    std::vector<deal::card> turned;
    if (reversed) {
        turned.assign(cards, cards + count);
        std::reverse(turned.begin(), turned.end());
        cards = turned.data();
    }
    if (!asked_.faces && !marks_) {
        console::print_listing(cards, count);
        return;
    }
    char* out = console::output.reserve(
        std::max(text::faces_room(count), text::marked_listing_room(count)));
    out = asked_.faces ? text::format_faces(cards, count, out, marks_, start_.faces())
                       : text::format_marked_cards(cards, count, out);
    *out++ = '\n';
    console::output.end_line(out);
}

// "move N: MOVE", before each deal's answer where the round deals more than
// once: N its number as written, MOVE the deal with the pile it gathers.
void after::print_move(int step) const {
    if (!name_moves_)
        return;
    constexpr std::size_t room = text::rules_room + 32;
    static_assert(room <= console::writer::capacity);
    const int m = played_.move_index(step);
    char* const line = console::output.reserve(room);
    char* out =
        line + std::snprintf(line, 24, "move %d: ", written_number_[static_cast<std::size_t>(m)]);
    out = text::move_text(*played_.move_at(step), out, room - static_cast<std::size_t>(out - line));
    *out++ = '\n';
    console::output.end_line(out);
}

// The hands of each deal the round plays, the deck in deck_ and the chosen
// card, if any, at `chosen_at`.
void after::print_hands(int chosen_at) {
    if (!std::exchange(first_round_, false)) {
        char* out = console::output.reserve(1);
        *out++ = '\n';
        console::output.end_line(out);
    }
    std::vector<deal::card> hand;
    for (int i = 0; i < played_.size(); ++i) {
        const deal::move& m = *played_.move_at(i);
        if (m.kind == deal::move_kind::deal) {
            print_move(i);
            const deal::hands& dealt =
                moves_[static_cast<std::size_t>(played_.move_index(i))].dealt;
            // Read from the top, a hand dealt face down is read from its last card.
            const bool reversed = asked_.from_top && m.deal.first_card == deal::first_card::bottom;
            for (int h = 0; h < dealt.count(); ++h) {
                hand.clear();
                for (const std::int16_t p : dealt.hand(h))
                    hand.push_back(deck_[static_cast<std::size_t>(p)]);
                print_cards(hand.data(), static_cast<int>(hand.size()), reversed);
            }
        }
        if (i + 1 < played_.size()) {
            const deal::permutation moved = played_.permutation_of(i, chosen_at);
            moved.apply(deck_.data(), next_deck_.data());
            deck_.swap(next_deck_);
            chosen_at = chosen_at < 0 ? -1 : moved[chosen_at];
        }
    }
}

// The rising sequences of the deck in deck_, its cards named by where they
// started: one more than the cards that now lie below the one that started
// just under them, where the deck breaks a run of consecutive cards. The
// empty deck has none.
void after::print_rising() {
    lies_at_.resize(deck_.size());
    for (std::size_t p = 0; p < deck_.size(); ++p)
        lies_at_[static_cast<std::size_t>(deal::number_of(deck_[p]))] = static_cast<int>(p);
    int rising = size_ > 0 ? 1 : 0;
    for (std::size_t c = 1; c < lies_at_.size(); ++c)
        rising += lies_at_[c] < lies_at_[c - 1] ? 1 : 0;
    char* out = console::output.reserve(16);
    out = std::to_chars(out, out + 12, rising).ptr;
    *out++ = '\n';
    console::output.end_line(out);
}

// Where the card asked for, at position p as the round starts, is dealt in
// each deal of the round, the chosen card at `chosen_at` (or the card
// asked for, -1).
void after::print_dealt_at(int p, int chosen_at) const {
    for (int i = 0; i < played_.size(); ++i) {
        const std::size_t m = static_cast<std::size_t>(played_.move_index(i));
        const learnt_move& learnt = moves_[m];
        const auto at = static_cast<std::size_t>(p);
        if (played_.move_at(i)->kind == deal::move_kind::deal) {
            print_move(i);
            char* out = console::output.reserve(32);
            if (learnt.hand_at[at] < 0) {
                out = std::copy_n("stock", 5, out);
            } else {
                out = std::to_chars(out, out + 12, learnt.hand_at[at]).ptr;
                *out++ = ' ';
                out = std::to_chars(out, out + 12, learnt.place_at[at]).ptr;
            }
            *out++ = '\n';
            console::output.end_line(out);
        }
        const deal::permutation moved = played_.permutation_of(i, chosen_at < 0 ? p : chosen_at);
        p = moved[p];
        if (chosen_at >= 0)
            chosen_at = moved[chosen_at];
    }
}

void after::print_positions_in_deck() {
    lies_at_.resize(deck_.size());
    for (std::size_t p = 0; p < deck_.size(); ++p)
        lies_at_[static_cast<std::size_t>(deal::number_of(deck_[p]))] = static_cast<int>(p);
    print_positions([this](int from) { return lies_at_[static_cast<std::size_t>(from)]; });
}

void after::print_drawn(std::int64_t round) {
    drawn_->play_to(round);
    const auto drawn = drawn_->deck();
    deck_.assign(drawn.begin(), drawn.end());
    if (!asked_.where.empty()) {
        print_positions_in_deck();
        return;
    }
    print_deck();
}

// The deck in deck_, each card by where it started, as its listing, and
// its rising sequences where they are asked.
void after::print_deck() {
    std::vector<deal::card> started;
    if (asked_.rising)
        started = deck_;
    start_.place(deck_.data(), deck_.data());
    print_cards(deck_.data(), size_, asked_.from_top);
    if (asked_.rising) {
        deck_.swap(started);
        print_rising();
    }
}

// "P:p" for each position the card may be at, increasing as they are
// written, a blank between.
bool after::print_chances(std::int64_t round) {
    const exact::place_chances::written chances = card_chances_->after(round);
    if (chances.unsettled >= 0) {
        const int p = chances.unsettled;
        console::report("the chance of position %d after round %lld lies too close to halfway "
                        "between two numbers of %d decimals to be rounded: give another --digits",
                        asked_.from_top ? size_ - p : p, static_cast<long long>(round),
                        asked_.digits);
        return false;
    }
    std::string line;
    for (int i = 0; i < size_; ++i) {
        const int p = asked_.from_top ? size_ - 1 - i : i;
        const auto& chance = chances.chances[static_cast<std::size_t>(p)];
        if (!chance)
            continue;
        if (!line.empty())
            line += ' ';
        line += std::to_string(asked_.from_top ? size_ - p : p);
        line += ':';
        line += *chance;
    }
    line += '\n';
    console::output.write(line);
    return true;
}

int after::lies_at(int from) const {
    return static_cast<int>(
        std::find_if(deck_.begin(), deck_.end(),
                     [from](deal::card c) { return deal::number_of(c) == from; }) -
        deck_.begin());
}

bool after::print() {
    if (asked_.chances)
        return print_chances(*rounds.small());
    if (chance_) {
        print_drawn(*rounds.small());
        return true;
    }
    if (!asked_.where.empty() && asked_.chosen < 0) {
        // Each card along its cycle, or the followed card along its way.
        const auto position = [this](int from) {
            if (follows_)
                return follower_.at(rounds);
            const std::size_t length = cycles_.cycle(cycles_.cycle_of(from)).size();
            return cycles_.after(from, rounds.modulo(length));
        };
        if (asked_.hands)
            print_dealt_at(position(asked_.where.front()), -1);
        else
            print_positions(position);
        return true;
    }
    if (follows_)
        trick_.at(rounds, deck_.data());
    else
        cycles_.jump(rounds, deck_.data());
    const int chosen_at = asked_.chosen < 0 ? -1 : lies_at(asked_.chosen);
    if (!asked_.where.empty()) {
        if (asked_.hands)
            print_dealt_at(lies_at(asked_.where.front()), chosen_at);
        else
            print_positions_in_deck();
        return true;
    }
    if (asked_.hands) {
        start_.place(deck_.data(), deck_.data());
        print_hands(chosen_at);
        return true;
    }
    print_deck();
    return true;
}

// Says that the round number `shown` runs backwards where the round cannot.
void report_backwards(const char* shown) {
    char words[text::words_room];
    text::backwards_words(words, sizeof words, shown);
    console::report("%s", words);
}

// A round number, or a range of them; false, after a report, if it is neither,
// or if it runs backwards where the round cannot, or, for a routine with a
// move by chance (`by_chance`), lies past the rounds it is played to.
bool check_rounds(const char* argument, bool backwards, std::int64_t most) {
    const bool by_chance = most >= 0;
    const auto range = console::split_range(argument);
    text::integer_text checked;
    const bool integers =
        range ? text::parse_integer(range->first, checked) : text::parse_integer(argument, checked);
    text::integer_text last;
    if (!integers || (range && !text::parse_integer(range->last, last))) {
        console::report_not_integer(argument, "number of rounds");
        return false;
    }
    if (!backwards && !by_chance && checked.value() < 0) {
        report_backwards(console::quoted(argument).c_str());
        return false;
    }
    if (by_chance && (!console::in_range(checked, "number of rounds", 0, most) ||
                      (range && !console::in_range(last, "number of rounds", 0, most))))
        return false;
    return !range || console::range_size(argument, *range).has_value();
}

// The seed of --seed: an integer from 0 to 2^64 - 1.
std::optional<std::uint64_t> seed_argument(const char* argument) {
    char words[text::words_room];
    const auto seed = text::read_seed(argument, console::shown_quoted, words, sizeof words);
    if (!seed)
        console::report("%s", words);
    return seed;
}

int from_arguments(after& answers, std::span<char* const> arguments) {
    for (const char* argument : arguments) {
        const auto range = console::split_range(argument);
        answers.rounds.assign(range ? range->first : argument);
        const std::int64_t count = range ? *console::range_size(argument, *range) : 1;
        for (std::int64_t i = 0; i < count; ++i) {
            if (i > 0)
                answers.rounds.advance(1);
            if (!answers.print())
                return EXIT_FAILURE;
        }
    }
    return EXIT_SUCCESS;
}

int from_input(after& answers, bool backwards, std::int64_t most) {
    const bool by_chance = most >= 0;
    console::read_status status;
    // The round number goes into the answers, and its first bytes beside,
    // for a message.
    struct both {
        deal::round_number& rounds;
        text::integer_text shown;
        void sign(char c) {
            rounds.sign(c);
            shown.sign(c);
        }
        void digits(const char* from, const char* to) {
            rounds.digits(from, to);
            shown.digits(from, to);
        }
    } number{answers.rounds, {}};
    while ((status = console::input.read(number)) == console::read_status::integer) {
        // A round number that a read error cut short is not the number that
        // was given: it gets no answer, only the error.
        if (console::input.error() != 0) {
            status = console::read_status::error;
            break;
        }
        if (!backwards && !by_chance && answers.rounds.negative()) {
            char shown[text::integer_text::shown_max + 4];
            report_backwards(
                console::quoted(text::written(number.shown, shown, sizeof shown)).c_str());
            console::output.close();
            return EXIT_FAILURE;
        }
        if (by_chance && !console::in_range(number.shown, "number of rounds", 0, most)) {
            console::output.close();
            return EXIT_FAILURE;
        }
        if (!answers.print()) {
            console::output.close();
            return EXIT_FAILURE;
        }
        answers.rounds.clear();
        number.shown = {};
    }
    if (status == console::read_status::error)
        console::fail_reading();
    return EXIT_SUCCESS;
}

// What the command line asks, read and checked: the round and the deck it
// starts from, the answer asked for each round number, and the round
// numbers.
struct request {
    explicit request(const console::arguments& given) : arguments(given) {}
    const console::arguments& arguments;
    std::optional<console::deal_options> deal;
    deal::routine round;
    std::optional<deal::start> start;
    answer asked;
    bool by_chance = false;
    // Whether round numbers may run backwards; the most rounds played one by
    // one, or -1 where any round is jumped to.
    bool backwards = false;
    std::int64_t most = -1;
    std::span<char* const> round_numbers;
};

// The round of COUNT and the deck it starts from; false after a report.
bool read_round(request& r) {
    const bool follows = r.arguments.has(where_option) || r.arguments.has(chosen_card_option);
    r.deal.emplace(r.arguments, false, follows, true);
    const auto counts = r.deal->hand_counts(r.arguments.operands()[0]);
    if (!counts)
        return false;
    r.round = r.deal->routine_for(counts->first, r.deal->cards().first);
    r.start = r.deal->start_for(r.round.cards);
    r.by_chance = r.round.first_by_chance() >= 0;
    return r.start.has_value();
}

// --hands, --faces, --from-top and --rising, each checked against the round
// and the others.
bool read_listing_options(request& r) {
    const bool where = r.arguments.has(where_option);
    const int size = r.round.cards;
    answer& asked = r.asked;
    asked.hands = r.arguments.has(hands_option);
    asked.faces = r.arguments.has(faces_option);
    if (asked.hands && r.round.deal_count() == 0) {
        console::report("--hands shows the hands of a deal, and the routine %s deals none",
                        console::quoted(r.deal->routine_text()).c_str());
        return false;
    }
    if (asked.hands && r.round.played_moves(true) > deal::max_played_moves) {
        console::report("--hands shows the hands of every deal a round plays, and the routine %s "
                        "plays more than %lld moves a round",
                        console::quoted(r.deal->routine_text()).c_str(),
                        static_cast<long long>(deal::max_played_moves));
        return false;
    }
    if (asked.faces && (where || size > deal::max_playing_cards)) {
        if (where)
            console::report("--faces writes cards as playing cards, and --where C prints a "
                            "position: give one");
        else
            console::report("--faces names the cards of a pack of %d, and the deck holds %d",
                            deal::max_playing_cards, size);
        return false;
    }
    asked.from_top = r.arguments.has(from_top_option);
    asked.rising = r.arguments.has(rising_option);
    if (asked.rising && (where || asked.hands)) {
        console::report("--rising counts the rising sequences of a listing, and %s: give one",
                        where ? "--where C prints a position" : "--hands prints the hands");
        return false;
    }
    return true;
}

// The card the spectator chose, for --chosen-card, by where it starts.
bool read_chosen_card(request& r) {
    const char* const chosen = r.arguments.value(chosen_card_option);
    if (!chosen)
        return true;
    if (!r.round.follows_card()) {
        console::report("%s", console::no_chosen_pile);
        return false;
    }
    const auto card = console::card_argument(chosen, *r.start);
    if (!card)
        return false;
    r.asked.chosen = r.start->position_of(*card);
    return true;
}

// The cards of --where, each by where it starts.
bool read_where(request& r) {
    const char* const where = r.arguments.value(where_option);
    if (!where)
        return true;
    if (r.round.cards == 0) {
        console::report("the empty deck holds no card %s", console::quoted(where).c_str());
        return false;
    }
    const auto cards = console::card_list_argument(where, *r.start);
    if (!cards)
        return false;
    for (const int card : *cards)
        r.asked.where.push_back(r.start->position_of(card));
    const bool one_followed = r.round.follows_card() && r.asked.chosen < 0;
    if (r.asked.where.size() > 1 && (r.asked.hands || one_followed)) {
        console::report(r.asked.hands ? "--hands with --where tells where one card is dealt: "
                                        "give one card"
                                      : "a deal with a chosen pile follows one card: give one "
                                        "card to --where, or name it with --chosen-card");
        return false;
    }
    return true;
}

// --chances and its --digits, and --seed, checked against the round and
// the cards asked for.
bool read_chance_options(request& r) {
    answer& asked = r.asked;
    if (r.by_chance && asked.hands) {
        console::report("--hands shows the hands of exact moves, and the routine %s has a move "
                        "by chance",
                        console::quoted(r.deal->routine_text()).c_str());
        return false;
    }
    asked.chances = r.arguments.has(chances_option);
    if (const char* digits = r.arguments.value(digits_option)) {
        if (!asked.chances) {
            console::report("--digits gives the decimals of --chances: give --chances too");
            return false;
        }
        const auto given =
            console::integer_argument(digits, "decimal count", 0, deal::max_chance_digits);
        if (!given)
            return false;
        asked.digits = static_cast<int>(*given);
    }
    if (asked.chances && asked.chosen >= 0) {
        console::report("--chances follows the card of --where through the chosen piles: give no "
                        "--chosen-card");
        return false;
    }
    if (asked.chances && (asked.where.size() != 1 || asked.hands)) {
        console::report(asked.where.empty()
                            ? "--chances tells where a card may be: give --where C"
                            : "--chances tells where one card may be: give one card to "
                              "--where, and no --hands");
        return false;
    }
    if (const char* seed = r.arguments.value(seed_option)) {
        if (asked.chances) {
            console::report("--seed draws the moves by chance, and --chances weighs every draw, "
                            "which no seed changes: give one");
            return false;
        }
        const auto given = seed_argument(seed);
        if (!given)
            return false;
        asked.seed = *given;
    }
    return true;
}

// Every round number, checked before anything is printed: whether it may
// run backwards, and how far a round played one by one may go.
bool read_round_numbers(request& r) {
    const answer& asked = r.asked;
    r.backwards = deal::runs_backwards(r.round) && !r.by_chance && !asked.chances;
    r.most = asked.chances ? exact::most_chance_rounds(r.round)
             : r.by_chance ? deal::max_chance_rounds
                           : -1;
    r.round_numbers = r.arguments.operands().subspan(1);
    for (const char* argument : r.round_numbers)
        if (!check_rounds(argument, r.backwards, r.most))
            return false;
    return true;
}

// The answers, for the round numbers given or read from standard input.
int run(request& r) {
    if (!r.arguments.has(seed_option) && r.by_chance && !r.asked.chances) {
        // A fresh seed, told so that a run worth keeping can be played again.
        std::random_device device;
        r.asked.seed = (std::uint64_t{device()} << 32) ^ device();
        console::report("seed %llu: give --seed %llu to play this run again",
                        static_cast<unsigned long long>(r.asked.seed),
                        static_cast<unsigned long long>(r.asked.seed));
    }
    after answers(std::move(r.round), std::move(*r.start), r.asked);
    const int status = r.round_numbers.empty() ? from_input(answers, r.backwards, r.most)
                                               : from_arguments(answers, r.round_numbers);
    console::output.close();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    console::program_name = "deal-after";
    const console::arguments arguments(argc, argv, command);
    request r(arguments);
    if (!read_round(r) || !read_listing_options(r) || !read_chosen_card(r) || !read_where(r) ||
        !read_chance_options(r) || !read_round_numbers(r))
        return EXIT_FAILURE;
    return run(r);
}
