// The command line of every program in the family, read one way: options
// before, between or after the operands; "--" ends the options anywhere; a
// long option may be shortened to any unambiguous prefix and take its value as
// --name=VALUE or as the next argument; short options may be grouped and take
// their value attached (-oFILE) or next (-o FILE). An argument that looks like
// a negative number (-1, -42) is an operand, since no program has a digit for
// an option. --help and --version are answered wherever they stand.
#pragma once

#include <cstddef>
#include <span>

#include "deal/limits.hpp"

namespace console {

struct option {
    const char* name;  // the long name, without "--"
    char letter;       // the short name, or 0 for none
    const char* value; // the value's name, as the help text calls it; nullptr if none is taken
};

// What a program takes on its command line.
struct command_line {
    // The --help text, whose first line is "usage: ...", with the facts it
    // names as {name} written in.
    const char* usage;
    std::span<const option> options;
    int least_operands;
    int most_operands; // -1 for any number
    // What the first missing operand is, for "missing ...", e.g. "hand count";
    // and where option `renames` is given, what it is called then.
    const char* missing;
    int renames = -1;
    const char* missing_then = nullptr;
    // What --help adds after the usage, if anything, written to standard
    // output.
    void (*more_help)() = nullptr;
};

// An option as given: which one (its index in command_line::options) and its
// value, if it takes one.
struct given_option {
    int which;
    const char* value;
};

class arguments {
public:
    static constexpr std::size_t most_options = deal::max_options;

    // Reads the command line. --help prints the usage and --version the
    // version, and the process ends with status 0; any other fault ends it
    // with status 1 after one line that names the fault and one that points
    // at --help. The operands are gathered, in order, at the front of argv.
    arguments(int argc, char** argv, const command_line& line);

    std::span<char* const> operands() const { return {operands_, operand_count_}; }
    std::span<const given_option> options() const { return {options_, option_count_}; }

    // Whether option `which` was given.
    bool has(int which) const;
    // The value of option `which`, which takes one, or nullptr if it was not
    // given; given twice, it is reported and the process ends with status 1.
    const char* value(int which) const;

private:
    std::span<const option> table_;
    char** operands_;
    std::size_t operand_count_ = 0;
    given_option options_[most_options];
    std::size_t option_count_ = 0;
};

// For a command line with no operands or options but --help and --version:
// any other argument is refused in one line that says the program takes none.
void no_arguments(int argc, char** argv, const char* usage);

} // namespace console
