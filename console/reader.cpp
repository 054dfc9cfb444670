#include "console/reader.hpp"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

namespace console {

reader input{STDIN_FILENO};

namespace {

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

struct no_sink {
    void sign(char) {}
    void digits(const char*, const char*) {}
};

} // namespace

bool reader::refill() {
    if (ended_)
        return false;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer_, capacity);
        if (got > 0) {
            next_ = buffer_;
            end_ = buffer_ + got;
            *end_ = '\0';
            return true;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A non-blocking descriptor handed down by the caller: wait for
            // input rather than mistake a quiet writer for a broken one.
            pollfd ready{fd_, POLLIN, 0};
            if (poll(&ready, 1, -1) >= 0 || errno == EINTR)
                continue;
        }
        if (got < 0)
            error_ = errno;
        // The end, once seen, stays: a terminal's end-of-file is not undone
        // by typing on, just as a stream's end-of-file flag is not.
        ended_ = true;
        next_ = end_ = buffer_;
        *end_ = '\0';
        return false;
    }
}

template <class Sink>
read_status reader::scan(Sink& sink) {
    // Worked on in a local, which the compiler keeps in a register; next_ is
    // brought up to date wherever refill() or the caller needs it.
    const char* at = next_;
    for (;;) {
        while (class_of(at) == space)
            ++at;
        if (at != end_)
            break;
        if (!refill())
            return error_ != 0 ? read_status::error : read_status::end;
        at = next_;
    }

    byte_class first = class_of(at);
    if (first == sign) {
        sink.sign(*at++);
        if (at == end_) {
            if (!refill())
                return error_ != 0 ? read_status::error : read_status::not_integer;
            at = next_;
        }
        first = class_of(at);
    }
    if (first != digit) {
        next_ = at;
        return read_status::not_integer;
    }

    for (;;) {
        const char* run = at;
        while (class_of(at) == digit)
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

read_status reader::skip_integer() {
    no_sink sink;
    return scan(sink);
}

read_status reader::read_integer(integer_text& integer) {
    integer = {};
    return scan(integer);
}

} // namespace console
