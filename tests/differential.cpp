// Differential test: feeds the same seeded, generated inputs to deal and to
// the plain reference build, and demands identical standard output, byte for
// byte, an empty standard error and exit status 0 from both.
//
//   differential DEAL PLAIN [--count N] [--seed S] [--jobs J] [--only I]
//
// Input I of a run depends on the seed and I alone, so `--only I` replays a
// failure. A failing input is also saved as differential-failure-I.in.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// splitmix64: tiny, and the same sequence on every platform, which the
// standard library's distributions do not promise.
struct random_source {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    std::int64_t below(std::int64_t n) {
        return static_cast<std::int64_t>(next() % std::uint64_t(n));
    }
    std::int64_t between(std::int64_t lo, std::int64_t hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
};

constexpr std::string_view spaces = " \t\n\v\f\r";
// Texts that end an integer or stand where one should be.
constexpr std::string_view junk[] = {"x",    "abc",  ".",   std::string_view("\0", 1),
                                     "\xff", "-",    "+",   "--",
                                     "+-",   "-+",   ".5",  "e",
                                     "0x",   "\xa0", "- 1", "+ "};

std::string separator(random_source& r) {
    if (r.percent(70))
        return " ";
    std::string s;
    for (auto n = r.between(1, 3); n > 0; --n)
        s += spaces[static_cast<std::size_t>(r.below(spaces.size()))];
    return s;
}

std::string digits(random_source& r, std::int64_t length) {
    std::string s;
    for (; length > 0; --length)
        s += static_cast<char>('0' + r.below(10));
    return s;
}

// A hand count from anywhere in the supported range, written in any of the
// ways "%d" accepts; sometimes junk instead. Returns the count it means.
std::int64_t hand_count(random_source& r, std::string& text) {
    const auto pick = r.below(100);
    if (pick < 5) {
        text += junk[r.below(std::size(junk))];
        return 0;
    }
    std::int64_t count;
    if (pick < 35)
        count = r.between(0, 12);
    else if (pick < 60)
        count = r.between(13, 1010);
    else if (pick < 70)
        count = 1010;
    else if (pick < 85)
        count = -r.between(1, 1000);
    else if (pick < 95)
        count = -r.between(0, 429496729);
    else
        count = -429496729;
    if (count >= 0 && r.percent(15))
        text += '+';
    if (count < 0)
        text += '-';
    if (r.percent(15))
        text += std::string(static_cast<std::size_t>(r.between(1, 30)), '0');
    text += std::to_string(count < 0 ? -count : count);
    return count;
}

std::string generate(random_source& r) {
    std::string text;
    if (r.percent(20))
        text += separator(r);
    const std::int64_t hands = hand_count(r, text);
    // Keep the output of large decks to a few megabytes a run.
    const std::int64_t most = hands > 100 ? 20 : 300;
    const std::int64_t tokens = r.below(r.below(most) + 1) + (r.percent(90) ? 1 : 0);
    for (std::int64_t t = 0; t < tokens; ++t) {
        std::string token;
        if (r.percent(20))
            token += r.percent(50) ? '-' : '+';
        token += digits(r, r.percent(70) ? r.between(1, 3) : r.between(1, 40));
        // A token that starts with a sign may be glued to the one before it.
        if (!(token[0] == '-' || token[0] == '+') || r.percent(70))
            text += separator(r);
        text += token;
        if (r.percent(3)) {
            text += separator(r);
            text += junk[r.below(std::size(junk))];
        }
    }
    if (r.percent(50))
        text += separator(r);
    return text;
}

struct outcome {
    int status = -1;
    std::string out, err;
};

std::string contents(int fd) {
    struct stat st {};
    fstat(fd, &st);
    std::string s(static_cast<std::size_t>(st.st_size), '\0');
    if (pread(fd, s.data(), s.size(), 0) != st.st_size)
        s = "<unreadable>";
    return s;
}

// Files in memory for the three standard streams, made once per worker.
struct streams {
    int in = memfd_create("in", MFD_CLOEXEC);
    int out = memfd_create("out", MFD_CLOEXEC);
    int err = memfd_create("err", MFD_CLOEXEC);

    outcome run(const char* program, const std::string& input) {
        if (ftruncate(in, 0) != 0 || pwrite(in, input.data(), input.size(), 0) < 0 ||
            lseek(in, 0, SEEK_SET) != 0 || ftruncate(out, 0) != 0 || ftruncate(err, 0) != 0 ||
            lseek(out, 0, SEEK_SET) != 0 || lseek(err, 0, SEEK_SET) != 0) {
            std::perror("differential: memfd");
            std::exit(2);
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in, 0);
        posix_spawn_file_actions_adddup2(&actions, out, 1);
        posix_spawn_file_actions_adddup2(&actions, err, 2);
        char* argv[] = {const_cast<char*>(program), nullptr};
        pid_t pid;
        outcome result;
        if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0) {
            std::fprintf(stderr, "differential: cannot run %s\n", program);
            std::exit(2);
        }
        posix_spawn_file_actions_destroy(&actions);
        int wstatus;
        while (waitpid(pid, &wstatus, 0) < 0)
            ;
        result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
        result.out = contents(out);
        result.err = contents(err);
        return result;
    }
};

std::string shown(const std::string& s) {
    std::string t;
    for (const char c : s.substr(0, 60)) {
        const auto byte = static_cast<unsigned char>(c);
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        t += (byte >= ' ' && byte < 127) ? std::string(1, c) : std::string(escaped);
    }
    return t + (s.size() > 60 ? "..." : "");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(
            stderr,
            "usage: differential DEAL PLAIN [--count N] [--seed S] [--jobs J] [--only I]\n");
        return 2;
    }
    const char* deal = argv[1];
    const char* plain = argv[2];
    std::int64_t count = 400, first = 0;
    std::uint64_t seed = 20261208;
    unsigned jobs = 1;
    for (int a = 3; a + 1 < argc; a += 2) {
        const std::string flag = argv[a];
        const char* value = argv[a + 1];
        if (flag == "--count")
            count = std::atoll(value);
        else if (flag == "--seed")
            seed = std::strtoull(value, nullptr, 10);
        else if (flag == "--jobs")
            jobs = static_cast<unsigned>(std::max(1, std::atoi(value)));
        else if (flag == "--only")
            first = std::atoll(value), count = 1;
    }

    std::atomic<std::int64_t> passed{0}, failed{0}, done{0};
    auto work = [&](unsigned worker) {
        streams io;
        for (std::int64_t i = first + worker; i < first + count; i += jobs) {
            random_source r{seed ^ (std::uint64_t(i) * 0xd1b54a32d192ed03u)};
            const std::string input = generate(r);
            const outcome want = io.run(plain, input);
            const outcome got = io.run(deal, input);
            if (const auto so_far = ++done; so_far % 100'000 == 0)
                std::fprintf(stderr, "differential: %lld inputs run\n",
                             static_cast<long long>(so_far));
            if (got.out == want.out && got.status == 0 && want.status == 0 && got.err.empty()) {
                ++passed;
                continue;
            }
            ++failed;
            const std::string saved = "differential-failure-" + std::to_string(i) + ".in";
            if (FILE* f = std::fopen(saved.c_str(), "wb")) {
                std::fwrite(input.data(), 1, input.size(), f);
                std::fclose(f);
            }
            std::fprintf(stderr,
                         "input %lld (%s): deal exit %d, %zu bytes out, stderr \"%s\"; "
                         "reference exit %d, %zu bytes out; saved as %s\n",
                         static_cast<long long>(i), shown(input).c_str(), got.status,
                         got.out.size(), shown(got.err).c_str(), want.status, want.out.size(),
                         saved.c_str());
        }
    };
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < jobs; ++w)
        workers.emplace_back(work, w);
    for (auto& w : workers)
        w.join();

    std::printf("differential (seed %llu): %lld passed, %lld failed\n",
                static_cast<unsigned long long>(seed), static_cast<long long>(passed.load()),
                static_cast<long long>(failed.load()));
    return failed == 0 && passed == count ? 0 : 1;
}
