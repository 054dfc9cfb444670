// What explorer_deal answers and the page keeps while the deal is shown, to
// hand back for the rows and the plan of a round: the fields read, the
// round's permutation, cycles and round numbers learnt once; and what the
// calls that take it back share: the listing and the hands of a deck as
// deal-after prints them, and the rows in the starting order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "deal/cycles.hpp"
#include "deal/hands.hpp"
#include "deal/period.hpp"
#include "deal/permutation.hpp"
#include "deal/round_number.hpp"
#include "web/answer.hpp"
#include "web/fields.hpp"
#include "web/request.hpp"

namespace web {

struct deal_answer : answer {
    fields f;
    deal::permutation round;
    deal::cycles cycles;
    deal::round_number rounds; // learnt for the cycles, with no number read
    // The hands each move deals, none for a move that is no deal, and each
    // move's permutation where no card is followed.
    std::vector<deal::hands> dealt;
    std::vector<deal::permutation> moves;
};

// The period's digits, every one.
std::string period_string(const deal::period& p);

// Room in `a` for the rows asked ("count" of them, 1 to views::max_page_rows,
// and to `most`) of a deck of `size`.
std::span<std::int32_t> rows_room(answer& a, const request& r, int size,
                                  std::int64_t most = INT64_MAX);

// The rows of `rows`, each a deck of `size`, that are in the starting order.
std::vector<std::int32_t> starting_rows(std::span<const std::int32_t> rows, int size);

// The first row's listing and the hands the next round deals from it (each
// move's permutation `drawn`, where the round is drawn), the followed card at
// `at`; then each row's cards by where they start, a face turned up where it
// lies so, its start's face and the turns since both counted.
void finish_rows(answer& a, const deal_answer& deal, const request& r, std::span<std::int32_t> rows,
                 int at, const std::vector<deal::permutation>* drawn = nullptr);

} // namespace web
