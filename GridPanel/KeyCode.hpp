#pragma once

#include <cstdint>
#include <map>

#include "GridPanel/Directional.hpp"

namespace zelvana::gridpanel::KeyCode {

// The arrow keys by hardware key code, for the panel's keyboard navigation.
const std::map<std::uint16_t, Directional>& arrowDirections();

}  // namespace zelvana::gridpanel::KeyCode
