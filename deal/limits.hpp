// The sizes that bound every deal, every routine, deal's own deck and the
// programs' command lines, in one place: the programs check input against
// them, and the help, the manual pages and the page state them through the
// one table of facts (facts/).
#pragma once

#include <cstddef>
#include <cstdint>

namespace deal {

// A card is named by the deck position it held when the run began, or, on a
// deck that starts from a stack, by its number in a new deck.
using card = std::int32_t;

// A card lying face up in a deck carries this bit beside its number, which
// is below it for any deck.
inline constexpr card face_up = card{1} << 16;
constexpr card number_of(card c) {
    return c & (face_up - 1);
}
constexpr bool is_face_up(card c) {
    return (c & face_up) != 0;
}

// deal's own deal: five cards a hand, up to 1010 hands.
inline constexpr int hand_size = 5;
inline constexpr int max_hands = 1010;
// Counts of zero and below deal an empty deck. The lowest is the last at which
// five times the count, which the plain way of writing deal works out as a
// 32-bit int, still fits in 32 bits.
inline constexpr std::int64_t min_hands = INT32_MIN / hand_size;

// The largest deck of any deal or routine: the storage of deal's own deck.
inline constexpr int max_cards = hand_size * max_hands;
// More hands than cards leaves some without one; more than this many is
// beyond any deck.
inline constexpr int max_deal_hands = max_cards;
// A packet list longer than this is no longer a deal anyone plays.
inline constexpr int max_packets = 100;
inline constexpr int max_packet = max_cards;
// A routine longer than this is no longer a round anyone performs: its
// moves counted as written, a repeat's once.
inline constexpr int max_moves = 100;
// A move or group repeated (`faro out x8`) is repeated at most this many
// times: played as a power of its permutation, any count costs one pass
// along its cycles.
inline constexpr std::int64_t max_repeat = 1'000'000'000'000'000'000;
// A repeat that holds a move by chance or a deal with a chosen pile is
// played move by move: a round plays at most this many moves so.
inline constexpr std::int64_t max_played_moves = 10'000;
// The moves a search may choose from, ranges expanded; and the most
// shortest routines it lists.
inline constexpr int max_search_moves = 10'000;
inline constexpr std::int64_t max_search_answers = 1'000'000;
// A search for any card keeps each set of places the card may be in once, a
// bit a place: at most this many sets, and on decks of over 2112 cards as
// many as this many bytes of bits hold.
inline constexpr std::int64_t max_narrowing_sets = 1'000'000;
inline constexpr std::int64_t max_narrowing_bytes = std::int64_t{1} << 28;
// And it takes at most this many steps, a step a place moved by a move: a
// second or two.
inline constexpr std::int64_t max_narrowing_steps = 1'000'000'000;
constexpr std::int64_t narrowing_sets(int cards) {
    const std::int64_t bytes = (cards + 63) / 64 * 8;
    return bytes * max_narrowing_sets > max_narrowing_bytes ? max_narrowing_bytes / bytes
                                                            : max_narrowing_sets;
}
// A riffle cuts the deck into at most this many packets (`riffle A`): its
// chances then cost A times a plain riffle's.
inline constexpr int max_riffle_packets = 16;
// The group a set of moves generates is worked out in at most this many
// steps, a step a point mapped by a product of permutations: half a minute
// at most, where the usual groups, however large, take well under a second.
inline constexpr std::int64_t max_group_steps = 10'000'000'000;
// The most riffles whose mixing is asked about, and the most decimals a
// chance is written with.
inline constexpr int max_shuffles = 100;
inline constexpr int max_chance_digits = 30;
// A routine with a move by chance is played round by round, up to this many.
inline constexpr std::int64_t max_chance_rounds = 1'000'000;
// The largest deck and the most rounds whose chances a card's places are
// worked out with.
inline constexpr int max_chance_cards = max_cards;
inline constexpr std::int64_t max_chance_card_rounds = 1000;
// Up to this many cards they are worked out exactly while that is cheap: each
// riffle costs M^2 products of numbers that grow by M bits a riffle, and the
// riffles of R rounds cost about R^2 M^3 / 128 word products, at most
// max_chance_work, a second or two.
inline constexpr int max_exact_chance_cards = 520;
inline constexpr std::int64_t max_chance_work = 30'000'000'000;
// The most riffles a card's chances are worked out through exactly, on
// `cards` cards, at least one.
constexpr std::int64_t max_chance_riffles(int cards) {
    const std::int64_t cube = std::int64_t{cards} * cards * cards;
    std::int64_t r = 1;
    while ((r + 1) * (r + 1) * cube <= max_chance_work)
        ++r;
    return r;
}
// Past that, in floating point: R riffles on M cards cost 3RM^2/2 operations
// in doubles, R M^2 at most this, under a minute.
inline constexpr std::int64_t max_bounded_chance_work = 20'000'000'000;
constexpr std::int64_t max_bounded_chance_riffles(int cards) {
    return max_bounded_chance_work / (std::int64_t{cards} * cards);
}
// Decks of up to this many cards may be named as the cards of a new deck.
inline constexpr int max_playing_cards = 52;

// A range of counts or rounds on a command line ("A..B") holds at most this
// many values, and a command line at most this many options.
inline constexpr std::int64_t max_range_values = 1'000'000;
inline constexpr std::size_t max_options = 64;

constexpr bool hand_count_supported(std::int64_t count) {
    return count >= min_hands && count <= max_hands;
}

} // namespace deal
