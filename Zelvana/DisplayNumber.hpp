#pragma once

#include <cstdint>

namespace zelvana::core {

// The unsigned 32-bit "NSScreenNumber" of a display; every per-display map is
// keyed by it.
using DisplayNumber = std::uint32_t;

}  // namespace zelvana::core
