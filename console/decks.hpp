// The deck a program starts from, as --deck gives its order or --deck-file
// holds it: read, checked for a deck's size, and made the core's start, with
// every fault reported in one line.
#pragma once

#include <optional>
#include <string>

#include "deal/start.hpp"

namespace console {

// The order that --deck `order` or --deck-file `file` gives, whichever is
// given ("" for neither, which is new deck order); nothing after a report
// where both are given or the file cannot be read or holds no card. A
// --deck that names no stack of the family's and no card is the user's own
// stack of that name, a file of the --deck-file kind in the folder
// stacks_folder() gives, or a fault that names the folder.
std::optional<std::string> deck_order(const char* order, const char* file);

// The folder of the user's own stacks: $XDG_DATA_HOME/deal/stacks, or
// ~/.local/share/deal/stacks where XDG_DATA_HOME is unset, empty or not
// absolute.
std::string stacks_folder();

// The deck's name, for a caption: --deck's stack or list as given, or the
// name of --deck-file's file; "" for new deck order.
std::string deck_name(const char* order, const char* file);

// The start that `order` makes of a deck of `cards` cards; nothing after a
// report where it does not fit that deck.
std::optional<deal::start> start_of(const std::string& order, int cards);

} // namespace console
