#pragma once

namespace filter {

// Deals the deck from the top into N hands of five (two cards each, two more,
// then one) and stacks the hands back, the last hand at the bottom. Expects a
// supported hand count; does nothing for an empty deck.
void simulate_round();

} // namespace filter
