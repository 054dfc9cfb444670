// Reads decimal integers from a file descriptor exactly as the C library's
// "%d" conversion does in the "C" locale, but from a fixed buffer: white space
// (blank, \t, \n, \v, \f, \r) is skipped, a sign may lead, the digits run to
// the first byte that is not one, and that byte stays unread. A sign with no
// digit behind it is used up by the failed read. However long an integer, the
// memory used stays the same.
#pragma once

#include <cstddef>

#include "console/integer_text.hpp"

namespace console {

enum class read_status : unsigned char {
    integer,     // one integer was read
    not_integer, // the text here does not begin an integer; it stays unread
    end,         // the input ended before an integer began
    error,       // the input could not be read; see reader::error()
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
    const char* next_ = buffer_;
    char* end_ = buffer_;
};

// Standard input, shared by everything that reads there.
extern reader input;

} // namespace console
