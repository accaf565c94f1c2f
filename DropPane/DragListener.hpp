#pragma once

#include <memory>
#include <optional>

#include "DropPane/DropPaneDelegate.hpp"
#include "DropPane/DropPaneOptions.hpp"
#include "DropPane/DropPaneWindowController.hpp"
#include "input/EventMonitor/GlobalEventMonitor.hpp"
#include "input/EventMonitor/PassiveEventMonitor.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::droppane {

// Watches drags anywhere in the system and opens the drop pane once per drag
// of files (per drag-pasteboard change count), while the pane modifier is
// held when there is one, and closes it when the mouse goes up. While the
// custom modifier is held, every drag and release also goes to the
// delegate. Main thread only.
class DragListener {
public:
    using GlobalMonitor = input::eventmonitor::GlobalEventMonitor;
    // A global and a local monitor feeding one handler.
    using ModifierMonitor = input::eventmonitor::PassiveEventMonitor;

    DragListener(DropPaneOptions options,
                 std::shared_ptr<DropPaneWindowController> windowController);
    DragListener(const DragListener&) = delete;
    DragListener& operator=(const DragListener&) = delete;

    const DropPaneOptions& options() const { return options_; }
    // Applies the new options.
    void setOptions(DropPaneOptions options);
    void apply(const DropPaneOptions& options);
    void updateAppMonitoring();

    void handlePaneModifier(const std::optional<platform::Event>& event);
    void handleDrag(const std::optional<platform::Event>& event);
    void handleAppModifier(const std::optional<platform::Event>& event);
    void forwardAppDrag(const std::optional<platform::Event>& event);

    // The host, which may go before the listener.
    platform::WeakRef<DropPaneDelegate> delegate;
    // While true, letting go of the custom modifier keeps the drags coming.
    bool appOpenedByDrag = false;
    // Kept for the caller; the listener does not read it.
    std::optional<long> appDragChangeCount;

    bool dropPaneDisplayed() const { return dropPaneDisplayed_; }
    std::optional<long> lastChangeCount() const { return lastChangeCount_; }
    bool isWatchingDrags() const { return eventMonitor_ != nullptr; }
    bool isWatchingPaneModifier() const { return paneModKeyMonitor_ != nullptr; }
    bool isWatchingAppModifier() const { return appModKeyMonitor_ != nullptr; }
    bool isForwardingDrags() const { return appEventMonitor_ != nullptr; }

private:
    using ModifierHandler = void (DragListener::*)(const std::optional<platform::Event>&);

    void startModifierMonitor(std::unique_ptr<ModifierMonitor>& monitor, ModifierHandler handler);
    void startDragMonitor();
    void stopDragMonitor();
    void startPaneModifierMonitors();
    void stopAllPaneMonitors();
    void startAppModifierMonitors();
    void stopAppMonitors();
    void hidePane();

    DropPaneOptions options_;
    std::shared_ptr<DropPaneWindowController> windowController_;
    std::unique_ptr<GlobalMonitor> eventMonitor_;
    std::unique_ptr<ModifierMonitor> paneModKeyMonitor_;
    std::unique_ptr<GlobalMonitor> appEventMonitor_;
    std::unique_ptr<ModifierMonitor> appModKeyMonitor_;
    std::optional<long> lastChangeCount_;
    bool dropPaneDisplayed_ = false;
    platform::WeakFactory<DragListener> weak_{this};
};

}  // namespace zelvana::droppane
