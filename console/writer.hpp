// Buffered output to a file descriptor: callers build text straight into the
// buffer, which goes out in large blocks, or line by line on a terminal as a
// line-buffered stream would do. Any failure to write ends the process with
// "write error" and the reason, so none is ever reported as success.
#pragma once

#include <cassert>
#include <cstddef>
#include <string_view>

namespace console {

class writer {
public:
    // The default capacity of a Linux pipe: a block then fills the pipe in one
    // write while the reader drains the previous one. Larger blocks made the
    // writer wait on every write and measured up to a third slower into a pipe.
    static constexpr std::size_t capacity = std::size_t{64} << 10;

    explicit writer(int fd);
    writer(const writer&) = delete;
    writer& operator=(const writer&) = delete;

    // Room for at least `size` bytes, flushing first if the buffer lacks it.
    char* reserve(std::size_t size) {
        assert(size <= capacity);
        if (capacity - used_ < size)
            flush();
        return buffer_ + used_;
    }

    // Keeps the bytes written into the reserved room up to `end`.
    void commit(char* end) { used_ = static_cast<std::size_t>(end - buffer_); }

    // Like commit, for text that ends a line: on a terminal it is shown now.
    void end_line(char* end) {
        commit(end);
        if (interactive_)
            flush();
    }

    // Copies `text` in, in pieces where it is longer than the buffer; text
    // that ends in a newline ends a line.
    void write(std::string_view text);

    void flush();

    // Flushes, then closes the descriptor, whose errors count as write errors.
    void close();

private:
    int fd_;
    bool interactive_;
    std::size_t used_ = 0;
    alignas(64) char buffer_[capacity];
};

// Standard output, shared by everything that writes there.
extern writer output;

} // namespace console
