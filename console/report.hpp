// One-line diagnostics on standard error, each led by the program's name.
#pragma once

#include <string_view>

namespace console {

// Set by each program's main before anything can go wrong.
extern const char* program_name;

// Writes "<program>: <message>" and a newline to standard error.
[[gnu::format(printf, 1, 2)]] void report(const char* format, ...);

// Reports that a command-line argument is not an integer `what`, quoted.
void report_not_integer(std::string_view argument, const char* what);

// Writes "<program>: <what>: <reason for err>" and ends the process with status 1.
[[noreturn]] void fail(const char* what, int err);

} // namespace console
