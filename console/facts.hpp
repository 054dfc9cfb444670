// The numbers and words that help texts and manual pages state, each taken
// from where it is defined: the limits of decks and deals, deal's own
// packets, the most values a range holds. A text names one as {name}, and
// with_facts() writes it in, so that no help and no manual page states a
// limit by hand. Nothing here allocates: deal itself prints its help with it
// and needs no C++ runtime library.
#pragma once

#include <array>
#include <string_view>

namespace console {

struct fact {
    const char* name;
    char value[24];
};
inline constexpr std::size_t fact_count = 26;
std::array<fact, fact_count> facts();

// Hands `text` to `put`, piece by piece, with every {name} of a fact
// replaced by its value, handed as a piece of its own with `is_fact` set;
// any other text, braces included, as it is.
using piece_sink = void (*)(void* context, std::string_view piece, bool is_fact);
void with_facts(std::string_view text, piece_sink put, void* context);

} // namespace console
