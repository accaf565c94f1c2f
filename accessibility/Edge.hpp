#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Flags.hpp"

namespace zelvana::accessibility {

// The bits of a set of window edges; none is named until a caller needs one.
enum class EdgeFlag : std::int64_t {};
ZELVANA_FLAGS(EdgeFlag)

// A set of edge flags over the bits of a signed 64-bit raw value.
using Edge = platform::Flags<EdgeFlag>;

// The raw value in base 2, lowercase, no prefix ("101" for 5, "-101" for -5).
std::string description(Edge edge);

}  // namespace zelvana::accessibility
