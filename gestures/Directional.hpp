#pragma once

#include "input/Directional.hpp"

namespace zelvana::gestures {

// The eight directions of gesture steps are the trigger's eight, with the same
// cases, order and raw values.
using input::Directional;
using input::directionalFromRawValue;
using input::kAllDirectionals;
using input::rawValue;

}  // namespace zelvana::gestures
