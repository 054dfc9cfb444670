// Preloaded: every write() to standard output takes nothing and reports no
// error. A writer that retried it would never end; deal must call it a write
// error.
#include <cstddef>
#include <dlfcn.h>

#include <unistd.h>

extern "C" ssize_t write(int fd, const void* data, std::size_t size) {
    using write_function = ssize_t (*)(int, const void*, std::size_t);
    static const auto real = reinterpret_cast<write_function>(dlsym(RTLD_NEXT, "write"));
    return fd == STDOUT_FILENO ? 0 : real(fd, data, size);
}
