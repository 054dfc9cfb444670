// A file written whole or not at all. The bytes go into a temporary file
// beside it, which replaces it only once complete and on disk: a run that
// fails, or that a signal ends, leaves the old file as it was and no
// temporary behind. One at a time per process.
//
// A file is replaced only where the shell's ">" could write it: one that the
// user may not open for writing is refused, "Permission denied". A symbolic
// link is followed, and its target replaced beside it. A replaced file keeps
// its mode, and its owner and group where the process may set them; it gets a
// new inode, so that other hard links to it keep the old contents. What is
// not a regular file (a terminal, a pipe, /dev/null) cannot be replaced and is
// written straight through.
#pragma once

#include <cstddef>

#include <sys/types.h>

namespace console {

class atomic_file {
public:
    // Makes the temporary file beside `path`, or opens what `path` names if it
    // is not a regular file; false, with error() set, if it cannot.
    bool open(const char* path);

    // Appends; false, with error() set, if the bytes could not all be written.
    bool write(const void* data, std::size_t size);

    // Puts the file in place of `path`; false, with error() set, if it
    // cannot. The temporary is gone either way.
    bool commit();

    // Removes the temporary, leaving `path` untouched.
    void discard();

    ~atomic_file() { discard(); }

    int error() const { return error_; }

private:
    bool fail();

    int fd_ = -1;
    int error_ = 0;
    bool straight_ = false; // written through, not replaced
    bool existed_ = false;
    mode_t mode_ = 0;
    uid_t owner_ = 0;
    gid_t group_ = 0;
};

} // namespace console
