// An integer as it was read, sign and digits fed in as they come: its value,
// exact within any 64-bit range that matters here and clamped far outside
// the 32-bit range beyond it, so that a huge integer still compares as huge,
// and the first bytes of its text for messages. Takes no memory per digit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace text {

class integer_text {
public:
    static constexpr std::int64_t clamp = std::int64_t{1} << 40;
    static constexpr std::size_t shown_max = 24;

    void sign(char c) {
        negative_ = c == '-';
        keep(&c, &c + 1);
    }
    void digits(const char* from, const char* to);

    std::int64_t value() const { return negative_ ? -magnitude_ : magnitude_; }

    // The text as written, cut after shown_max bytes.
    const char* shown() const { return shown_.data(); }
    bool cut() const { return length_ > shown_max; }

private:
    void keep(const char* from, const char* to);

    bool negative_ = false;
    std::int64_t magnitude_ = 0;
    std::size_t length_ = 0;
    std::array<char, shown_max + 1> shown_{}; // stays NUL-terminated
};

// Reads the whole of `written` as one integer, an optional sign and then
// digits; false if it holds anything else.
bool parse_integer(std::string_view written, integer_text& integer);

} // namespace text
