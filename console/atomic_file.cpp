#include "console/atomic_file.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits.h>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace console {

namespace {

// The file that is replaced, symbolic links followed, and the temporary
// beside it, where a signal handler can reach it.
char target[PATH_MAX];
char temporary[PATH_MAX + 8];
volatile std::sig_atomic_t have_temporary = 0;

constexpr int ending_signals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE};

extern "C" void remove_and_die(int signal) {
    if (have_temporary)
        unlink(temporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Removes the temporary on the signals that end a process, except those the
// caller ignores (nohup, trap '' HUP): they stay ignored.
void catch_ending_signals() {
    for (const int s : ending_signals) {
        struct sigaction old;
        if (sigaction(s, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction now {};
        now.sa_handler = remove_and_die;
        sigemptyset(&now.sa_mask);
        sigaction(s, &now, nullptr);
    }
}

// Follows `path` through symbolic links, up to the limit the kernel sets,
// into `target`; a link that points nowhere gives the name it points at, as
// the shell's ">" would create it.
bool resolve(const char* path) {
    if (std::snprintf(target, sizeof target, "%s", path) >= static_cast<int>(sizeof target)) {
        errno = ENAMETOOLONG;
        return false;
    }
    for (int hops = 0; hops < 40; ++hops) {
        char link[PATH_MAX];
        const ssize_t length = readlink(target, link, sizeof link - 1);
        if (length < 0)
            return errno == EINVAL || errno == ENOENT; // not a link, or nothing there
        link[length] = '\0';
        if (link[0] == '/') {
            std::memcpy(target, link, static_cast<std::size_t>(length) + 1);
            continue;
        }
        // A relative link is read from the link's own directory.
        char* slash = std::strrchr(target, '/');
        const std::size_t kept = slash ? static_cast<std::size_t>(slash - target) + 1 : 0;
        if (kept + static_cast<std::size_t>(length) + 1 > sizeof target) {
            errno = ENAMETOOLONG;
            return false;
        }
        std::memcpy(target + kept, link, static_cast<std::size_t>(length) + 1);
    }
    errno = ELOOP;
    return false;
}

} // namespace

bool atomic_file::fail() {
    error_ = errno;
    return false;
}

bool atomic_file::open(const char* path) {
    if (!resolve(path))
        return fail();
    struct stat old;
    existed_ = stat(target, &old) == 0;
    if (existed_ && S_ISDIR(old.st_mode)) {
        errno = EISDIR;
        return fail();
    }
    if (existed_ && !S_ISREG(old.st_mode)) {
        straight_ = true;
        fd_ = ::open(target, O_WRONLY | O_TRUNC | O_CLOEXEC);
        return fd_ >= 0 || fail();
    }
    if (existed_) {
        // Whether the user may write it, as the shell's ">" would find out;
        // opening without truncating changes nothing.
        const int probe = ::open(target, O_WRONLY | O_CLOEXEC);
        if (probe < 0)
            return fail();
        close(probe);
        mode_ = old.st_mode & 07777;
        owner_ = old.st_uid;
        group_ = old.st_gid;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode_ = 0666 & ~mask;
    }

    if (std::snprintf(temporary, sizeof temporary, "%s.XXXXXX", target) >=
        static_cast<int>(sizeof temporary)) {
        errno = ENAMETOOLONG;
        return fail();
    }
    // No signal may land between making the temporary and noting that it
    // exists: they wait until both are done, and then find it noted.
    sigset_t ending, before;
    sigemptyset(&ending);
    for (const int s : ending_signals)
        sigaddset(&ending, s);
    sigprocmask(SIG_BLOCK, &ending, &before);
    catch_ending_signals();
    fd_ = mkstemp(temporary);
    const int made = errno;
    if (fd_ >= 0)
        have_temporary = 1;
    sigprocmask(SIG_SETMASK, &before, nullptr);
    errno = made;
    return fd_ >= 0 || fail();
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
    if (straight_) {
        if (close(std::exchange(fd_, -1)) != 0)
            return fail();
        return true;
    }
    // The owner first: a change of owner clears the set-user-ID bits that
    // the mode then puts back. Only the owner or root may give a file away;
    // anyone else's replacement is theirs, as any file they write.
    if (existed_ && fchown(fd_, owner_, group_) != 0) {
        // The group alone, where the user is one of it.
        if (errno != EPERM ||
            (fchown(fd_, static_cast<uid_t>(-1), group_) != 0 && errno != EPERM)) {
            error_ = errno;
            discard();
            return false;
        }
    }
    if (fchmod(fd_, mode_) != 0 || fsync(fd_) != 0 || close(std::exchange(fd_, -1)) != 0 ||
        rename(temporary, target) != 0) {
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
