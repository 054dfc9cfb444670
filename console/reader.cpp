#include "console/reader.hpp"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

#include "console/report.hpp"
#include "console/writer.hpp"

namespace console {

reader input{STDIN_FILENO};

void fail_reading() {
    output.close();
    fail("read error", input.error());
}

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

namespace {

struct no_sink {
    void sign(char) {}
    void digits(const char*, const char*) {}
};

} // namespace

read_status reader::skip_integer() {
    no_sink sink;
    return read(sink);
}

read_status reader::read_integer(text::integer_text& integer) {
    integer = {};
    return read(integer);
}

} // namespace console
