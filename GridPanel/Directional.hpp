#pragma once

#include "input/Cardinal.hpp"
#include "input/Directional.hpp"

namespace zelvana::gridpanel {

// The panel's directions are the trigger's: the same cases, order and raw
// values (1 to 8, 1 to 4), so a direction passes between them unchanged.
using input::Cardinal;
using input::cardinalFromRawValue;
using input::Directional;
using input::directionalFromRawValue;
using input::kAllCardinals;
using input::kAllDirectionals;
using input::rawValue;

}  // namespace zelvana::gridpanel
