#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GridPanel/AutoClose.hpp"
#include "GridPanel/GridPanelDelegate.hpp"
#include "GridPanel/GridPanelState.hpp"
#include "Zelvana/GridSaveQueue.hpp"
#include "Zelvana/PreferencesDelegate.hpp"
#include "Zelvana/SpaceGrid.hpp"
#include "Zelvana/StatusMenuActions.hpp"
#include "Zelvana/TriggerSession.hpp"
#include "gestures/GestureDelegate.hpp"
#include "input/ModifierTriggerDelegate.hpp"
#include "platform/appkit/ActionTarget.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"
#include "platform/foundation/Date.hpp"
#include "switcher/SpaceSwitcherDelegate.hpp"

namespace zelvana::gridpanel {
class GridPanelOptions;
class GridPanelWindowController;
}  // namespace zelvana::gridpanel
namespace zelvana::gestures {
class Gestures;
}
namespace zelvana::input {
class ModifierTrigger;
}
namespace zelvana::input::eventmonitor {
class PassiveEventMonitor;
}
namespace zelvana::platform {
class MenuItem;
}
namespace zelvana::switcher {
class SpaceSwitcher;
}

namespace zelvana::core {

class ScreenManager;

// The hub: creates and wires the grid panel, the switcher's options, the
// modifier trigger and monitor, the gestures and the model of spaces, and
// turns every trigger (shortcuts, modifier changes, arrows, gestures, panel
// events, menu items, notifications) into panel states and space switches.
// One for the process, made by the launch. Main thread only.
class ZelvanaManager final : public switcher::SpaceSwitcherDelegate,
                             public gridpanel::GridPanelDelegate,
                             public gestures::GestureDelegate,
                             public input::ModifierTriggerDelegate,
                             public PreferencesDelegate,
                             public StatusMenuActions,
                             public platform::ActionTarget {
public:
    using GridPanelState = gridpanel::GridPanelState;
    using AutoClose = gridpanel::AutoClose;
    using Rows = SpaceGrid::Rows;

    // A modifier-less "show" held longer than this commits on release.
    static constexpr double holdThreshold = TriggerSession::holdThreshold;
    // The deferred start-up steps run this long after creation.
    static constexpr double startUpDelay = 1.0;
    // The panel's corner radius.
    static constexpr double panelRadius = 10.0;

    // Restores the grids, registers the shortcut handlers and schedules the
    // deferred start-up at once.
    ZelvanaManager();
    ~ZelvanaManager() override;
    ZelvanaManager(const ZelvanaManager&) = delete;
    ZelvanaManager& operator=(const ZelvanaManager&) = delete;

    GridPanelState gridState() const { return session_.gridState(); }
    std::optional<TriggerSource> triggerSource() const { return session_.source(); }
    bool isOpenLikeMissionControl() const { return session_.isOpenLikeMissionControl(); }
    std::optional<platform::Date> lastShowDown() const { return session_.lastShowDown(); }
    SpaceGrid& spaceGrid() { return *spaceGrid_; }
    ScreenManager& screenManager() { return *screenManager_; }
    switcher::SpaceSwitcher& spaceSwitcher() { return *spaceSwitcher_; }
    gridpanel::GridPanelWindowController& gridPanel() { return *gridPanel_; }
    input::ModifierTrigger& modifierTrigger() { return *modifierTrigger_; }
    gestures::Gestures* gestureManager() { return gestureManager_.get(); }
    GridSaveQueue& saveQueue() { return saveQueue_; }

    // Shortcuts, modifier flags and commit.
    void showKeyDown() override;
    void showKeyUp();
    void cycleReverseKeyDown();
    void commitSelection();
    void switchToSpaceWithId(const std::string& id);
    void handleFlagsChanged(const std::optional<platform::Event>& event);
    // Registers "cycleReverse" (the "show" shortcut plus Shift) in
    // repetition mode, or withdraws it.
    static void updateReverseShortcut();

    // Grid refresh and persistence. A refresh tells whether the main display
    // has a space to show and which neighbour its step highlighted, if any.
    struct Refresh {
        bool showsSpaces = false;
        std::shared_ptr<Space> highlighted;
    };
    Refresh refreshGrid(GridStep step);
    void clear() override;
    void saveGrid();

    // Status title and space menu items.
    void updateStatusTitle(const std::optional<Rows>& grid = std::nullopt);
    void updateSpaceMenuItems();
    void switchToSpace(const platform::MenuItem& sender);

    // Gestures from the setting `gesture`.
    void setUpGestures();

    // switcher::SpaceSwitcherDelegate
    void anchorsAdded(const std::vector<std::shared_ptr<switcher::SpaceAnchor>>& anchors) override;
    void anchorRemoved(const std::shared_ptr<switcher::SpaceAnchor>& anchor) override;
    void anchorChangedScreen(const std::shared_ptr<switcher::SpaceAnchor>& anchor) override;
    // gridpanel::GridPanelDelegate
    void gridChanged(std::optional<std::int64_t> id, const gridpanel::ElementRows& rows) override;
    void panelClosed() override;
    void panelMoved() override {}
    void flagsChanged(const platform::Event& /*event*/) override {}
    std::optional<platform::Event> handleKeyDown(const platform::Event& event) override {
        return event;
    }
    void selectionChanged(const gridpanel::GridElementRef& element) override;
    // gestures::GestureDelegate
    void gestureRecognized(gestures::GestureMatch::Packed match) override;
    void gestureEnded(gestures::GestureMatch::Packed match) override;
    // input::ModifierTriggerDelegate
    void arrowDidPress(input::Cardinal direction) override;
    // PreferencesDelegate
    void repetitionModeDidChange() override;
    void gestureDidChange(std::int64_t gesture) override;
    void arrowFlagsDidChange(platform::ModifierFlags flags) override;
    // platform::ActionTarget: "switchToSpace:" and "clear".
    bool performAction(const std::string& action, const platform::ActionSender* sender) override;

    platform::WeakRef<ZelvanaManager> weakRef() const { return weakThis_.ref(); }

private:
    // Creation.
    void createGridPanel();
    void configureSwitcher();
    void createModifierInput();
    void initializeGrids();
    void registerShortcutHandlers();
    void observeNotifications();
    void scheduleStartUp();
    void startUp();
    void statusMenuWillOpen();

    // Panel.
    bool isBusy() const;
    bool isPanelOpen() const;
    void openPanel();
    void closePanel();
    void showPanel(AutoClose autoClose);
    void restoreCursorSelectsLater();
    void reloadPanel(const Rows& grid);
    void retryReloadAfterRename();
    // Clears every highlight; the first highlighted space before that.
    std::shared_ptr<Space> takeSelection();
    static TriggerKeys triggerKeys();
    void releaseToCommit();
    std::shared_ptr<Space> currentSpace() const;
    std::shared_ptr<Space> neighbourOnMainGrid(GridStep step, const std::shared_ptr<Space>& from,
                                               const Rows& grid) const;
    // `active`: the switcher's anchors on the displays' current spaces.
    void adoptWindowLists(const std::vector<std::shared_ptr<switcher::SpaceAnchor>>& active);
    void maybeShowNewSpacePanel(const std::vector<std::shared_ptr<switcher::SpaceAnchor>>& active);

    // The process-wide switcher; it outlives the hub.
    switcher::SpaceSwitcher* spaceSwitcher_ = nullptr;
    std::shared_ptr<gridpanel::GridPanelOptions> panelOptions_;
    std::unique_ptr<gridpanel::GridPanelWindowController> gridPanel_;
    std::unique_ptr<gestures::Gestures> gestureManager_;
    std::unique_ptr<input::ModifierTrigger> modifierTrigger_;
    std::unique_ptr<SpaceGrid> spaceGrid_;
    std::unique_ptr<ScreenManager> screenManager_;
    TriggerSession session_;
    std::unique_ptr<input::eventmonitor::PassiveEventMonitor> modifierMonitor_;
    // Set when a stored grid that cannot be read could not be kept aside
    // either: saving would lose it.
    bool gridSavesHeld_ = false;
    // The switcher reports new anchors to the hub once it has started up: a
    // space learnt before would never reach the grid.
    bool learnsSpaces_ = false;
    GridSaveQueue saveQueue_;
    std::vector<platform::Subscription> observers_;
    platform::WeakFactory<ZelvanaManager> weakThis_{this};
};

}  // namespace zelvana::core
