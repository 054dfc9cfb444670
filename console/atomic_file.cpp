#include "console/atomic_file.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace console {

namespace {

// The temporary's name, where a signal handler can reach it.
char temporary[4096];
volatile std::sig_atomic_t have_temporary = 0;

extern "C" void remove_and_die(int signal) {
    if (have_temporary)
        unlink(temporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

bool atomic_file::open(const char* path) {
    path_ = path;
    if (std::snprintf(temporary, sizeof temporary, "%s.XXXXXX", path) >=
        static_cast<int>(sizeof temporary)) {
        error_ = ENAMETOOLONG;
        return false;
    }
    for (const int s : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE})
        std::signal(s, remove_and_die);
    fd_ = mkstemp(temporary);
    if (fd_ < 0) {
        error_ = errno;
        return false;
    }
    have_temporary = 1;
    return true;
}

bool atomic_file::write(const void* data, std::size_t size) {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd_, next, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error_ = written == 0 ? ENOSPC : errno;
            return false;
        }
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool atomic_file::commit() {
    struct stat old;
    mode_t mode;
    if (stat(path_, &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (fchmod(fd_, mode) != 0 || fsync(fd_) != 0 || close(std::exchange(fd_, -1)) != 0 ||
        rename(temporary, path_) != 0) {
        error_ = errno;
        discard();
        return false;
    }
    have_temporary = 0;
    return true;
}

void atomic_file::discard() {
    if (fd_ >= 0)
        close(std::exchange(fd_, -1));
    if (have_temporary) {
        unlink(temporary);
        have_temporary = 0;
    }
}

} // namespace console
