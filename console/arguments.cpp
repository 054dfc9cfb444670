#include "console/arguments.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "console/quote.hpp"
#include "console/report.hpp"
#include "console/writer.hpp"
#include "facts/facts.hpp"

namespace console {

namespace {

void put(std::string_view text) {
    while (!text.empty()) {
        const std::size_t n = std::min(text.size(), writer::capacity);
        char* out = output.reserve(n);
        std::memcpy(out, text.data(), n);
        output.commit(out + n);
        text.remove_prefix(n);
    }
}

[[noreturn]] void print_and_exit(std::string_view text) {
    put(text);
    output.close();
    std::exit(EXIT_SUCCESS);
}

// A usage text with the facts it names written in.
void put_with_facts(const char* usage) {
    facts::with_facts(
        usage, [](void*, std::string_view piece, bool) { put(piece); }, nullptr);
}

// The help, its facts written in, and whatever the program adds to it.
[[noreturn]] void print_help(const command_line& line) {
    put_with_facts(line.usage);
    if (line.more_help)
        line.more_help();
    print_and_exit("");
}

[[noreturn]] void print_version() {
    char line[128];
    const int length =
        std::snprintf(line, sizeof line, "%s (deal) %s\n", program_name, DEAL_VERSION);
    print_and_exit({line, static_cast<std::size_t>(length)});
}

// --help and --version come before the program's own options, which is how
// the first fault found is told apart from a request for help.
constexpr int help = -1, version = -2, none = -3, ambiguous = -4;

bool is_option(std::string_view argument) {
    // "-" alone is an operand (standard input, by custom); "-1" a number.
    return argument.size() > 1 && argument[0] == '-' && !(argument[1] >= '0' && argument[1] <= '9');
}

// The option that a long name, or an unambiguous prefix of one, names.
int find_long(std::string_view name, std::span<const option> options) {
    int found = none;
    const auto consider = [&](int which, std::string_view full) {
        if (full == name)
            return true;
        if (full.starts_with(name))
            found = found == none ? which : ambiguous;
        return false;
    };
    if (consider(help, "help"))
        return help;
    if (consider(version, "version"))
        return version;
    for (std::size_t i = 0; i < options.size(); ++i)
        if (consider(static_cast<int>(i), options[i].name))
            return static_cast<int>(i);
    return found;
}

int find_short(char letter, std::span<const option> options) {
    for (std::size_t i = 0; i < options.size(); ++i)
        if (options[i].letter == letter)
            return static_cast<int>(i);
    return none;
}

// The first fault found, kept until the whole line has been read: --help or
// --version after it still wins.
struct fault {
    char text[200];
    bool found = false;

    template <class... Args>
    void set(const char* format, Args... args) {
        if (found)
            return;
        found = true;
        std::snprintf(text, sizeof text, format, args...);
    }
};

} // namespace

bool arguments::has(int which) const {
    for (std::size_t i = 0; i < option_count_; ++i)
        if (options_[i].which == which)
            return true;
    return false;
}

const char* arguments::value(int which) const {
    const char* found = nullptr;
    for (std::size_t i = 0; i < option_count_; ++i) {
        if (options_[i].which != which)
            continue;
        if (found) {
            report("option '--%s' given twice: it takes one value",
                   table_[static_cast<std::size_t>(which)].name);
            std::exit(EXIT_FAILURE);
        }
        found = options_[i].value;
    }
    return found;
}

namespace {

// The command line as it is read, argument by argument: each option found is
// handed to take(which, value), which gathers it, and the first fault is
// kept.
template <class Take>
struct line_reader {
    int argc;
    char** argv;
    const command_line& line;
    fault& error;
    const Take& take;

    // "--name", "--name=VALUE" or "--name VALUE", at argument `at`; returns
    // the last argument it used.
    int read_long(int at) const {
        const std::string_view argument = argv[at];
        const std::string_view body = argument.substr(2);
        const std::size_t equals = body.find('=');
        const std::string_view name = body.substr(0, equals);
        const int which = find_long(name, line.options);
        if (which == none || which == ambiguous) {
            error.set(which == none ? "unknown option %s" : "ambiguous option %s",
                      quoted(argument.substr(0, 2 + name.size())).c_str());
            return at;
        }
        const char* value =
            which >= 0 ? line.options[static_cast<std::size_t>(which)].value : nullptr;
        const char* full = which == help      ? "help"
                           : which == version ? "version"
                                              : line.options[static_cast<std::size_t>(which)].name;
        if (!value && equals != std::string_view::npos)
            error.set("option '--%s' takes no value", full);
        else if (value && equals != std::string_view::npos)
            take(which, argv[at] + 2 + equals + 1);
        else if (value && at + 1 < argc && !is_option(argv[at + 1]))
            take(which, argv[++at]);
        else if (value)
            error.set("option '--%s' needs a value (%s)", full, value);
        else
            take(which, nullptr);
        return at;
    }

    // A group of letters, the last of which may take a value, attached or
    // the next argument; returns the last argument it used.
    int read_letters(int at) const {
        const std::string_view argument = argv[at];
        for (std::size_t i = 1; i < argument.size(); ++i) {
            const int which = find_short(argument[i], line.options);
            if (which == none) {
                const char shown[] = {'-', argument[i]};
                error.set("unknown option %s", quoted(std::string_view{shown, 2}).c_str());
                break;
            }
            const char* value = line.options[static_cast<std::size_t>(which)].value;
            if (!value) {
                take(which, nullptr);
            } else if (i + 1 < argument.size()) {
                take(which, argv[at] + i + 1);
                break;
            } else if (at + 1 < argc && !is_option(argv[at + 1])) {
                take(which, argv[++at]);
            } else {
                error.set("option '-%c' needs a value (%s)", argument[i], value);
            }
        }
        return at;
    }
};

} // namespace

arguments::arguments(int argc, char** argv, const command_line& line)
    : table_(line.options), operands_(argv + 1) {
    fault error;
    bool wants_help = false, wants_version = false;
    const auto take = [&](int which, const char* value) {
        if (which == help)
            wants_help = true;
        else if (which == version)
            wants_version = true;
        else if (option_count_ == most_options)
            error.set("more than %zu options", most_options);
        else
            options_[option_count_++] = {which, value};
    };
    const line_reader<decltype(take)> reader{argc, argv, line, error, take};
    bool options_ended = false;
    for (int at = 1; at < argc; ++at) {
        const std::string_view argument = argv[at];
        if (options_ended || !is_option(argument))
            operands_[operand_count_++] = argv[at];
        else if (argument == "--")
            options_ended = true;
        else if (argument.starts_with("--"))
            at = reader.read_long(at);
        else
            at = reader.read_letters(at);
    }

    if (wants_help)
        print_help(line);
    if (wants_version)
        print_version();
    const auto operands = static_cast<int>(operand_count_);
    if (operands < line.least_operands)
        error.set("missing %s",
                  line.renames >= 0 && has(line.renames) ? line.missing_then : line.missing);
    else if (line.most_operands >= 0 && operands > line.most_operands)
        error.set("extra operand %s", quoted(operands_[line.most_operands]).c_str());
    if (error.found) {
        report("%s", error.text);
        std::fprintf(stderr, "Try '%s --help' for more information.\n", program_name);
        std::exit(EXIT_FAILURE);
    }
}

void no_arguments(int argc, char** argv, const char* usage) {
    for (int at = 1; at < argc; ++at) {
        const std::string_view argument = argv[at];
        if (argument == "--")
            break;
        if (argument.size() > 2 && argument.starts_with("--")) {
            const int which = find_long(argument.substr(2), {});
            if (which == help) {
                put_with_facts(usage);
                print_and_exit("");
            }
            if (which == version)
                print_version();
        }
    }
    // A leading "--" ends the options, there being none, as it does anywhere.
    const int first = argc > 1 && std::string_view{argv[1]} == "--" ? 2 : 1;
    if (first < argc) {
        report("unexpected argument %s; %s takes no arguments and reads standard input",
               quoted(argv[first]).c_str(), program_name);
        std::exit(EXIT_FAILURE);
    }
}

} // namespace console
