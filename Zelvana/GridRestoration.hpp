#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "Tools/WindowInfo.hpp"
#include "Zelvana/SpaceGrid.hpp"

namespace zelvana::switcher {
class SpaceSwitcher;
}

namespace zelvana::core {

class ScreenManager;

// Rebuilding the grid at launch from the stored spaces and the anchors the
// system restored, and the window list a new space may trust. Main thread.
namespace restoration {

// A stored space idle longer than this (30 days) has its anchor closed.
inline constexpr double kInactivityLimit = 2'592'000;

// Matches each stored space of the setting `grid` with its restored anchor,
// closes the long-idle ones, moves cells stored under an older number of the
// same display to its current number, and adopts restored anchors that no
// stored space names. A relaunch keeps the stored staleness.
std::unique_ptr<SpaceGrid> restoreGrid(switcher::SpaceSwitcher& switcher,
                                       ScreenManager& screenManager, StoredStaleness staleness);

// When the setting `grid` holds a value that does not read as spaces, keeps
// it in a file of its own beside the saved desktop, before any save replaces
// it. False when it could not be kept: the caller must not save.
bool keepUnreadableGridAside();

// A space for an anchor: nothing of its own yet.
std::shared_ptr<Space> spaceForAnchor(const std::shared_ptr<switcher::SpaceAnchor>& anchor);

// The on-screen windows of layer 0 larger than 40 by 40, except the window
// manager's and the application's own; none when two of our active anchors
// show on one display, as during a switch, when the list cannot be told apart.
std::optional<std::vector<tools::WindowInfo>> guaranteedWindowList(
    const switcher::SpaceSwitcher& switcher);

}  // namespace restoration

}  // namespace zelvana::core
