#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zelvana::soak {

// The verdicts of a soak run, from what the program left behind: its output,
// its memory over time and its stored settings. Each returns the fault, or
// nothing when the run was sound. Pure.
namespace SoakCheck {
// Sanitizer reports and crashes in the output.
std::optional<std::string> outputFault(const std::string& output);
// Resident sizes in kB sampled at even intervals: after the first quarter
// (warm-up), the last quarter may not exceed the second quarter's peak by
// more than a quarter plus 16 MB.
std::optional<std::string> memoryFault(const std::vector<std::size_t>& residentKilobytes);
// The most spaces the program reported at once: the sum of "of <m>" over
// the displays of one report.
std::size_t spacesSeen(const std::string& output);
// The stored `grid` text must decode and hold at least `spaces` records.
std::optional<std::string> gridFault(const std::optional<std::string>& storedGrid,
                                     std::size_t spaces);
}  // namespace SoakCheck

}  // namespace zelvana::soak
