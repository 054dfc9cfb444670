// Microbenchmarks of the two per-token costs: one dealing round and the
// building of one listing, for decks of 1, 10 and 1010 hands.
#include <benchmark/benchmark.h>

#include "filter/deck.hpp"
#include "filter/round.hpp"
#include "text/listing.hpp"

namespace {

// A deck some rounds away from the starting order, so that the listing reads
// the card texts in a mixed order, as it does in a long run.
void start(int hands) {
    filter::N = hands;
    filter::set_starting_order();
    for (int r = 0; r < 10; ++r)
        filter::simulate_round();
}

void simulate_round(benchmark::State& state) {
    start(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        filter::simulate_round();
        benchmark::DoNotOptimize(filter::stack);
    }
    state.SetItemsProcessed(state.iterations() * filter::deck_size());
}
BENCHMARK(simulate_round)->Arg(1)->Arg(10)->Arg(deal::max_hands);

void format_stack(benchmark::State& state) {
    start(static_cast<int>(state.range(0)));
    static char listing[text::listing_room_max];
    const auto format_stack = [] {
        return text::format_listing(filter::stack, filter::deck_size(), listing);
    };
    for (auto _ : state) {
        char* end = format_stack();
        benchmark::DoNotOptimize(end);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * filter::deck_size());
    state.SetBytesProcessed(state.iterations() * (format_stack() - listing));
}
BENCHMARK(format_stack)->Arg(1)->Arg(10)->Arg(deal::max_hands);

} // namespace

BENCHMARK_MAIN();
