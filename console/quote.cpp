#include "console/quote.hpp"

#include <cstdint>

namespace console {

namespace {

// The length of the well-formed UTF-8 sequence of a printable character that
// starts `s` (of `size` bytes), or 0: overlong forms, surrogates, code
// points past U+10FFFF and the C1 controls U+0080 to U+009F are not.
std::size_t printable_sequence(const unsigned char* s, std::size_t size) {
    const unsigned char lead = s[0];
    std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 ? 2 : 0;
    if (lead > 0xf4 || length == 0 || length > size)
        return 0;
    std::uint32_t code = lead & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xc0) != 0x80)
            return 0;
        code = code << 6 | (s[i] & 0x3f);
    }
    constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff) ||
        (code >= 0x80 && code <= 0x9f))
        return 0;
    return length;
}

} // namespace

quoted::quoted(std::string_view argument, std::size_t most) {
    most = most < shown_most ? most : shown_most;
    char* out = text_;
    *out++ = '\'';
    const auto* s = reinterpret_cast<const unsigned char*>(argument.data());
    std::size_t at = 0;
    const std::size_t shown = argument.size() < most ? argument.size() : most;
    while (at < shown) {
        const unsigned char c = s[at];
        if (c >= 0x20 && c < 0x7f && c != '\\' && c != '\'') {
            *out++ = static_cast<char>(c);
            ++at;
            continue;
        }
        if (c >= 0x80) {
            // A whole character or none: a sequence cut at the limit is
            // shown as escapes, like any broken one.
            const std::size_t length = printable_sequence(s + at, shown - at);
            for (std::size_t i = 0; i < length; ++i)
                *out++ = static_cast<char>(s[at + i]);
            if (length != 0) {
                at += length;
                continue;
            }
        }
        *out++ = '\\';
        switch (c) {
        case '\n':
            *out++ = 'n';
            break;
        case '\t':
            *out++ = 't';
            break;
        case '\r':
            *out++ = 'r';
            break;
        case '\\':
            *out++ = '\\';
            break;
        case '\'':
            *out++ = '\'';
            break;
        default:
            constexpr char hex[] = "0123456789abcdef";
            *out++ = 'x';
            *out++ = hex[c >> 4];
            *out++ = hex[c & 15];
        }
        ++at;
    }
    if (argument.size() > most)
        for (int i = 0; i < 3; ++i)
            *out++ = '.';
    *out++ = '\'';
    *out = '\0';
}

} // namespace console
