#pragma once

#include <string>
#include <vector>

#include "platform/core/Weak.hpp"
#include "switcher/SpaceAnchor.hpp"
#include "switcher/SpaceSwitcherDelegate.hpp"

namespace zelvana::switcher {

// Records every report by anchor id.
class RecordingSwitcherDelegate final : public SpaceSwitcherDelegate {
public:
    std::vector<std::vector<std::string>> added;
    std::vector<std::string> removed;
    std::vector<std::string> changedScreen;

    void anchorsAdded(const std::vector<std::shared_ptr<SpaceAnchor>>& anchors) override {
        std::vector<std::string> ids;
        for (const auto& anchor : anchors) ids.push_back(anchor->id());
        added.push_back(ids);
    }
    void anchorRemoved(const std::shared_ptr<SpaceAnchor>& anchor) override {
        removed.push_back(anchor->id());
    }
    void anchorChangedScreen(const std::shared_ptr<SpaceAnchor>& anchor) override {
        changedScreen.push_back(anchor->id());
    }
    platform::WeakFactory<RecordingSwitcherDelegate> weak{this};
};

}  // namespace zelvana::switcher
