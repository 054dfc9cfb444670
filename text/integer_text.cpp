#include "text/integer_text.hpp"

namespace text {

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

bool parse_integer(std::string_view written, integer_text& integer) {
    integer = {};
    std::size_t at = 0;
    if (at < written.size() && (written[at] == '+' || written[at] == '-'))
        integer.sign(written[at++]);
    const std::size_t first = at;
    while (at < written.size() && written[at] >= '0' && written[at] <= '9')
        ++at;
    if (at == first || at != written.size())
        return false;
    integer.digits(written.data() + first, written.data() + at);
    return true;
}

} // namespace text
