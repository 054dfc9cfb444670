// Preloaded before libfiu's wrappers of the POSIX functions (the library that
// `fiu-run -x` preloads), this decides call by call whether read() or write()
// fails, and with which errno, from a seeded generator, so that every run can
// be replayed; and it counts the failures that it caused.
//
//   DEAL_FAULT_SEED    the seed
//   DEAL_FAULT_READ    "P:E1,E2,..." each call fails with probability P, with
//                      one of the errnos E (soft faults, such as EINTR);
//                      "/K:H" after it: the K-th call fails with errno H
//   DEAL_FAULT_WRITE   the same for write()
//   DEAL_FAULT_SHORT   "P": each read() and write() is cut short, to a random
//                      part of its count, with probability P (libfiu's
//                      "reduce" points)
//   DEAL_FAULT_REPORT  a file that gets, at exit, the faults that hit:
//                      "read SOFT HARD write SOFT HARD short CUT"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fiu-control.h>
#include <fiu.h>

namespace {

struct point {
    const char* name;
    const char* variable;
    double probability = 0;
    int errnos[8] = {};
    int errno_count = 0;
    unsigned long hard_call = 0; // 0: none
    int hard_errno = 0;
    unsigned long calls = 0;
    unsigned long soft_hits = 0, hard_hits = 0;
    std::uint64_t state = 0;
};

point points[] = {{"posix/io/rw/read", "DEAL_FAULT_READ"},
                  {"posix/io/rw/write", "DEAL_FAULT_WRITE"},
                  {"posix/io/rw/read/reduce", "DEAL_FAULT_SHORT"},
                  {"posix/io/rw/write/reduce", "DEAL_FAULT_SHORT"}};

std::uint64_t next(std::uint64_t& state) { // splitmix64
    std::uint64_t z = (state += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
}

int decide(const char* name, int*, void** failinfo, unsigned int*) {
    for (point& p : points) {
        if (std::strcmp(p.name, name) != 0)
            continue;
        ++p.calls;
        if (p.calls == p.hard_call) {
            ++p.hard_hits;
            *failinfo = reinterpret_cast<void*>(static_cast<std::intptr_t>(p.hard_errno));
            return 1;
        }
        const std::uint64_t draw = next(p.state);
        if (static_cast<double>(draw >> 11) * 0x1p-53 >= p.probability)
            return 0;
        ++p.soft_hits;
        if (p.errno_count > 0) {
            const int e = p.errnos[next(p.state) % static_cast<unsigned>(p.errno_count)];
            *failinfo = reinterpret_cast<void*>(static_cast<std::intptr_t>(e));
        }
        return 1;
    }
    return 0;
}

__attribute__((constructor)) void start() {
    const char* seed = std::getenv("DEAL_FAULT_SEED");
    fiu_init(0);
    for (point& p : points) {
        const char* setting = std::getenv(p.variable);
        if (!setting)
            continue;
        p.state = (seed ? std::strtoull(seed, nullptr, 10) : 0) ^ std::strlen(p.name);
        char* at = nullptr;
        p.probability = std::strtod(setting, &at);
        while (*at == ':' || *at == ',') {
            const long e = std::strtol(at + 1, &at, 10);
            if (p.errno_count < 8 && e > 0)
                p.errnos[p.errno_count++] = static_cast<int>(e);
        }
        if (*at == '/') {
            p.hard_call = std::strtoul(at + 1, &at, 10);
            p.hard_errno = *at == ':' ? static_cast<int>(std::strtol(at + 1, &at, 10)) : 5;
        }
        fiu_enable_external(p.name, 1, nullptr, 0, decide);
    }
}

__attribute__((destructor)) void report() {
    const char* path = std::getenv("DEAL_FAULT_REPORT");
    if (!path)
        return;
    if (FILE* out = std::fopen(path, "w")) {
        std::fprintf(out, "read %lu %lu write %lu %lu short %lu\n", points[0].soft_hits,
                     points[0].hard_hits, points[1].soft_hits, points[1].hard_hits,
                     points[2].soft_hits + points[3].soft_hits);
        std::fclose(out);
    }
}

} // namespace
