#include "console/integer_text.hpp"

namespace console {

void integer_text::keep(const char* from, const char* to) {
    for (; from != to && length_ < shown_max; ++from)
        shown_[length_++] = *from;
    length_ += static_cast<std::size_t>(to - from);
}

void integer_text::digits(const char* from, const char* to) {
    keep(from, to);
    for (; from != to && magnitude_ < clamp; ++from)
        magnitude_ = magnitude_ * 10 + (*from - '0');
    if (magnitude_ > clamp)
        magnitude_ = clamp;
}

bool parse_integer(std::string_view text, integer_text& integer) {
    integer = {};
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        integer.sign(text[at++]);
    const std::size_t first = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
        ++at;
    if (at == first || at != text.size())
        return false;
    integer.digits(text.data() + first, text.data() + at);
    return true;
}

} // namespace console
