#include "console/writer.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <poll.h>
#include <unistd.h>

#include "console/report.hpp"

namespace console {

writer output{STDOUT_FILENO};

writer::writer(int fd) : fd_(fd), interactive_(isatty(fd) == 1) {}

void writer::write(std::string_view text) {
    const bool line = !text.empty() && text.back() == '\n';
    while (!text.empty()) {
        const std::size_t n = std::min(text.size(), capacity);
        char* const out = reserve(n);
        std::memcpy(out, text.data(), n);
        commit(out + n);
        text.remove_prefix(n);
    }
    if (line)
        end_line(buffer_ + used_);
}

void writer::flush() {
    const char* next = buffer_;
    std::size_t left = used_;
    while (left > 0) {
        const ssize_t written = ::write(fd_, next, left);
        if (written > 0) {
            next += written;
            left -= static_cast<std::size_t>(written);
            continue;
        }
        if (written == 0)
            fail("write error", ENOSPC); // a write that takes nothing would loop forever
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // A non-blocking descriptor handed down by the caller: wait for room
            // instead of failing on a reader that is merely slow.
            pollfd ready{fd_, POLLOUT, 0};
            if (poll(&ready, 1, -1) >= 0 || errno == EINTR)
                continue;
        }
        fail("write error", errno);
    }
    used_ = 0;
}

void writer::close() {
    flush();
    // EBADF here means there never was an output to fail: had anything been
    // written to it, the write itself would have failed already.
    if (::close(fd_) != 0 && errno != EINTR && errno != EBADF)
        fail("write error", errno);
}

} // namespace console
