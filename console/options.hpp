// The options that every companion program takes before its operands:
// --help, --version and "--", the end of the options.
#pragma once

namespace console {

// Answers --help (the usage on standard output) or --version and ends the
// process with status 0; otherwise returns the index of the first operand,
// past a leading "--". The usage's first line is "usage: ...".
int companion_options(int argc, char** argv, const char* usage);

// Writes the usage to standard error and ends the process with status 1.
[[noreturn]] void usage_error(const char* usage);

} // namespace console
