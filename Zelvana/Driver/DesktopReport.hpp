#pragma once

#include <string>
#include <vector>

namespace zelvana::driver {

// What a person sees of the simulated desktop: the space each display shows,
// one line per display, e.g. `display 1 "Built-in": space 2 of 3`.
std::vector<std::string> describeShownSpaces();

}  // namespace zelvana::driver
