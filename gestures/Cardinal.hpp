#pragma once

#include "input/Cardinal.hpp"

namespace zelvana::gestures {

// A swipe's four directions are the arrow keys' four, with the same raw values.
using input::Cardinal;
using input::cardinalFromRawValue;
using input::kAllCardinals;
using input::rawValue;

}  // namespace zelvana::gestures
