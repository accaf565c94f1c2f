#pragma once

#include <string_view>

namespace zelvana::logging {

// Writes one line (the text and a line feed) to standard output in a single
// write, so lines from several destination queues never interleave.
void printLine(std::string_view text);

// Stops the process on a programming or packaging error.
[[noreturn]] void fatalError(std::string_view message);

}  // namespace zelvana::logging
