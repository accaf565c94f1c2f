#pragma once

#include <cstdint>

#include "switcher/SpaceAnchorVisibility.hpp"

namespace zelvana::switcher {

// The switcher's tunables, shared by reference between the switcher and
// whoever sets them; read at each use.
struct SpaceSwitcherOptions {
    // The switcher trims when it holds more anchors than this.
    std::int64_t anchorCountCap = 50;
    SpaceAnchorVisibility visibility = SpaceAnchorVisibility::hidden;
};

}  // namespace zelvana::switcher
