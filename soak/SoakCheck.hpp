#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvana::soak {

// The verdicts of a soak run, from what the program left behind: its output,
// its memory over time and its stored settings. Each returns the fault, or
// nothing when the run was sound. Pure.
namespace SoakCheck {
// Sanitizer reports and crashes in the output.
std::optional<std::string> outputFault(const std::string& output);
// How the run ended, from its wait status: status 0, or 1 after refused
// script lines (a random script asks for what cannot always be done).
std::optional<std::string> exitFault(int waitStatus, const std::string& output);
// Resident sizes in kB sampled at even intervals: after the first quarter
// (warm-up), the last quarter may not exceed the second quarter's peak by
// more than a quarter plus 16 MB.
std::optional<std::string> memoryFault(const std::vector<std::size_t>& residentKilobytes);
// The spaces the displays' reports showed, each counted once, since the
// last "snapshot: " line ending in `forgetting`: the picture taken when the
// program forgot every space.
std::size_t spacesSeen(const std::string& output, std::string_view forgetting);
// The stored `grid` text must decode (empty once every space was forgotten)
// and hold what the anchor cap allows: at most `anchorCap` + 1 records, the
// anchors the switcher keeps, and at least as many of the `spaces` seen.
std::optional<std::string> gridFault(const std::optional<std::string>& storedGrid,
                                     std::size_t spaces, std::size_t anchorCap);
}  // namespace SoakCheck

}  // namespace zelvana::soak
