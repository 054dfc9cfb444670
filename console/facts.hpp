// The numbers and words that help texts and manual pages state, each taken
// from where it is defined: the limits of decks and deals, deal's own
// packets, the most values a range holds. A text names one as {name}, and
// with_facts() writes it in, so that no help and no manual page states a
// limit by hand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace console {

struct fact {
    const char* name;
    std::string value;
};
std::vector<fact> facts();

// `text` with every {name} of a fact replaced by its value, as `shown`
// writes it (a manual page escapes its hyphens); any other text, braces
// included, as it is.
std::string with_facts(std::string_view text, std::string (*shown)(std::string_view) = nullptr);

} // namespace console
