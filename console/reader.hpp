// Reads decimal integers from a file descriptor exactly as the C library's
// "%d" conversion does in the "C" locale, but from a fixed buffer: white space
// (blank, \t, \n, \v, \f, \r) is skipped, a sign may lead, the digits run to
// the first byte that is not one, and that byte stays unread. A sign with no
// digit behind it is used up by the failed read. However long an integer, the
// memory used stays the same.
#pragma once

#include <array>
#include <cstddef>

#include "text/integer_text.hpp"

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

    read_status read_integer(text::integer_text& integer);

    // Reads one integer into `sink`, which takes its sign, sign(char), and
    // then its digits, digits(from, to), a run at a time as they arrive.
    template <class Sink>
    read_status read(Sink& sink);

    // The errno of the failed read, once a read has reported read_status::error.
    int error() const { return error_; }

private:
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

namespace reading {

enum byte_class : unsigned char { other, space, sign, digit };

// Exactly the white space of isspace() in the "C" locale; no other byte, NUL
// and everything above 127 included, can start or continue an integer.
constexpr std::array<byte_class, 256> byte_classes = [] {
    std::array<byte_class, 256> table{};
    for (const char c : {' ', '\t', '\n', '\v', '\f', '\r'})
        table[static_cast<unsigned char>(c)] = space;
    table['+'] = table['-'] = sign;
    for (unsigned char c = '0'; c <= '9'; ++c)
        table[c] = digit;
    return table;
}();

inline byte_class class_of(const char* c) {
    return byte_classes[static_cast<unsigned char>(*c)];
}

} // namespace reading

template <class Sink>
read_status reader::read(Sink& sink) {
    // Worked on in a local, which the compiler keeps in a register; next_ is
    // brought up to date wherever refill() or the caller needs it.
    const char* at = next_;
    for (;;) {
        while (reading::class_of(at) == reading::space)
            ++at;
        if (at != end_)
            break;
        if (!refill())
            return error_ != 0 ? read_status::error : read_status::end;
        at = next_;
    }

    reading::byte_class first = reading::class_of(at);
    if (first == reading::sign) {
        sink.sign(*at++);
        if (at == end_) {
            if (!refill())
                return error_ != 0 ? read_status::error : read_status::not_integer;
            at = next_;
        }
        first = reading::class_of(at);
    }
    if (first != reading::digit) {
        next_ = at;
        return read_status::not_integer;
    }

    for (;;) {
        const char* run = at;
        while (reading::class_of(at) == reading::digit)
            ++at;
        sink.digits(run, at);
        // An integer cut short by the end of input or by a read error still
        // counts; the next read reports what stopped it.
        if (at != end_) {
            next_ = at;
            return read_status::integer;
        }
        if (!refill())
            return read_status::integer;
        at = next_;
    }
}

// Standard input, shared by everything that reads there.
extern reader input;

// Ends the process after standard input failed: what standard output holds
// goes out first, so that no line already made is lost, then the read error
// is reported, with status 1.
[[noreturn]] void fail_reading();

} // namespace console
