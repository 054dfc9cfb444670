// A file written whole or not at all. The bytes go into a temporary file
// beside it, which replaces it only once complete and on disk: a run that
// fails, or that a signal ends, leaves the old file as it was and no
// temporary behind. One at a time per process.
#pragma once

#include <cstddef>

namespace console {

class atomic_file {
public:
    // Makes the temporary file beside `path`; false, with error() set, if it
    // cannot be made.
    bool open(const char* path);

    // Appends; false, with error() set, if the bytes could not all be written.
    bool write(const void* data, std::size_t size);

    // Puts the file in place of `path`, with the old file's permissions or
    // those a new file would have; false, with error() set, if it cannot.
    // The temporary is gone either way.
    bool commit();

    // Removes the temporary, leaving `path` untouched.
    void discard();

    ~atomic_file() { discard(); }

    int error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
    const char* path_ = nullptr;
};

} // namespace console
