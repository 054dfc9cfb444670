// Reads decimal integers from a file descriptor exactly as the C library's
// "%d" conversion does in the "C" locale, but from a fixed buffer: white space
// (blank, \t, \n, \v, \f, \r) is skipped, a sign may lead, the digits run to
// the first byte that is not one, and that byte stays unread. A sign with no
// digit behind it is used up by the failed read. However long an integer, the
// memory used stays the same.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace console {

enum class read_status : unsigned char {
    integer,     // one integer was read
    not_integer, // the text here does not begin an integer; it stays unread
    end,         // the input ended before an integer began
    error,       // the input could not be read; see reader::error()
};

// An integer as it was read: its value, clamped far outside the 32-bit range
// so that a huge one still compares as huge, and its text for messages.
struct integer_text {
    static constexpr std::int64_t clamp = std::int64_t{1} << 40;
    static constexpr std::size_t shown_max = 24;

    std::int64_t value = 0;
    std::size_t length = 0;                  // of the text as written, sign included
    std::array<char, shown_max + 1> shown{}; // the first shown_max bytes, terminated

    bool cut() const { return length > shown_max; }
};

class reader {
public:
    static constexpr std::size_t capacity = std::size_t{64} << 10;

    explicit reader(int fd) : fd_(fd) { *end_ = '\0'; }
    reader(const reader&) = delete;
    reader& operator=(const reader&) = delete;

    // Reads one integer and forgets its value: the hot path of the program.
    read_status skip_integer();

    read_status read_integer(integer_text& integer);

    // The errno of the failed read, once a read has reported read_status::error.
    int error() const { return error_; }

private:
    template <class Sink>
    read_status scan(Sink& sink);
    bool refill();

    int fd_;
    int error_ = 0;
    bool ended_ = false;
    // One byte past the data always holds a NUL, which no loop below walks
    // over, so the loops test for the end of the data only where they stop.
    char buffer_[capacity + 1];
    char* next_ = buffer_;
    char* end_ = buffer_;
};

// Standard input, shared by everything that reads there.
extern reader input;

} // namespace console
