#pragma once

#include <memory>
#include <vector>

namespace zelvana::switcher {

class SpaceAnchor;

// What the switcher reports about its anchors. Main thread.
class SpaceSwitcherDelegate {
public:
    virtual ~SpaceSwitcherDelegate() = default;
    // After every refresh (possibly empty), after a display gained an anchor,
    // and for each anchor restored at launch.
    virtual void anchorsAdded(const std::vector<std::shared_ptr<SpaceAnchor>>& anchors) = 0;
    // An anchor the switcher closed itself (trimming).
    virtual void anchorRemoved(const std::shared_ptr<SpaceAnchor>& anchor) = 0;
    // The display holding the anchor changed.
    virtual void anchorChangedScreen(const std::shared_ptr<SpaceAnchor>& anchor) = 0;
};

}  // namespace zelvana::switcher
