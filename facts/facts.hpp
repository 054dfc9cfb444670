// The numbers and words that help texts, manual pages and the explorer page
// state, each taken from where it is defined: the limits of decks, deals and
// command lines, deal's own packets, the most values a range holds, what the
// pictures and the page lay out by. One table, below the console and the
// page alike: a text names a fact as {name}, and with_facts() writes it in,
// so that no help and no manual page states a limit by hand, and the page
// asks for each. Nothing here allocates: deal itself prints its help with it
// and needs no C++ runtime library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace facts {

// A fact: its name, as a text writes it between braces, and its value, a
// number or, where `list_length` is not 0, a list of numbers. Held in arrays
// rather than pointers, so that the table needs no relocation when a
// program starts: deal's start costs what it did before the table.
struct fact {
    char name[32];
    std::int64_t number = 0;
    std::int32_t list[8] = {};
    std::size_t list_length = 0;

    std::span<const std::int32_t> values() const { return {list, list_length}; }
};

// Every fact, once.
std::span<const fact> table();

// The fact named `name`, or nullptr.
const fact* find(std::string_view name);

// A fact's value as texts write it, "1010" or "2,2,1", NUL-terminated into
// `out`, of `room` bytes, cut short there; returns `out`.
inline constexpr std::size_t value_room = 64;
const char* value_text(const fact& f, char* out, std::size_t room = value_room);

// Hands `text` to `put`, piece by piece, with every {name} of a fact
// replaced by its value, handed as a piece of its own with `is_fact` set;
// any other text, braces included, as it is.
using piece_sink = void (*)(void* context, std::string_view piece, bool is_fact);
void with_facts(std::string_view text, piece_sink put, void* context);

} // namespace facts
