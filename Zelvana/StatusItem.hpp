#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Zelvana/InfoPopover.hpp"
#include "Zelvana/LaunchOnLoginChoice.hpp"
#include "platform/appkit/ActionTarget.hpp"
#include "platform/appkit/Dragging.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuDelegate.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::core {

// The application's one permanent piece of interface: its item in the system
// status bar, the fixed part of the item's menu, the announcement that the
// menu opens, the file drags the icon accepts and the welcome popover that
// points at the icon. The hub adds the title and
// the space items. One shared instance for the process; main thread only.
class StatusItem : public platform::MenuDelegate,
                   public platform::DraggingDestination,
                   public platform::ActionTarget {
public:
    static constexpr const char* statusImageName = "statusTemplate";
    // How long openStatusMenu waits before the click, and again before
    // hiding the item once more.
    static constexpr double openMenuStepDelay = 0.2;

    // What the application hands the item once it is up: where the menu's
    // application items send their actions (without it, the first
    // responder), how the welcome popover's switch registers, and what opens
    // the settings window.
    struct Services {
        std::optional<platform::WeakRef<platform::ActionTarget>> applicationActions;
        LoginRegistration loginRegistration = LoginRegistration::settingOnly;
        std::function<void()> openSettings;
    };

    // Made on first use, with its menu built.
    static StatusItem& shared();
    // Aims the application items at the new target; a welcome popover made
    // from now on gets the rest.
    void connect(Services services);
    // Drops the shared instance: the item leaves the status bar. At the end
    // of the run, while the shortcuts its menu tells of still exist.
    static void releaseShared();
    // The same, so the next test's use builds a new one.
    static void resetSharedForTesting() { releaseShared(); }

    StatusItem(const StatusItem&) = delete;
    StatusItem& operator=(const StatusItem&) = delete;

    // Creates the status-bar item the first time (a logged error, and a try
    // again next time, while there is no status bar yet), then shows or hides
    // it as hideMenuBarIcon says.
    void setupStatusItem();
    // Opens the menu even while the icon is hidden: shows the item, clicks it
    // 0.2 s later and puts its visibility back 0.2 s after that.
    void openStatusMenu();
    // Flips the sender's check mark and shows or hides every anchor with it.
    void setAnchorVisibility(platform::MenuItem& sender);

    // The popover that welcomes a new user, made on first use; none, with a
    // logged error, while its storyboard scene is missing.
    InfoPopover* welcomePopover();
    // Shows the welcome popover under the status button, when the item and
    // its button are there.
    void showWelcomePopover();

    const std::shared_ptr<platform::StatusItem>& nsStatusItem() const { return statusBarItem_; }
    const std::shared_ptr<platform::Menu>& statusMenu() const { return statusMenu_; }
    // The file URLs of the drag over the icon; empty when there is none.
    const std::vector<std::string>& dragElements() const { return dragElements_; }

    // platform::MenuDelegate: posts "statusMenuWillOpen".
    void menuWillOpen(platform::Menu& menu) override;
    // platform::DraggingDestination
    platform::DragOperations draggingEntered(const platform::DraggingInfo& info) override;
    platform::DragOperations draggingUpdated(const platform::DraggingInfo& info) override;
    bool prepareForDragOperation(const platform::DraggingInfo& info) override;
    void draggingExited(const platform::DraggingInfo* info) override;
    // platform::ActionTarget: "setAnchorVisibility:".
    bool performAction(const std::string& action, const platform::ActionSender* sender) override;

private:
    StatusItem();
    std::shared_ptr<platform::MenuItem> applicationItem(std::string title, std::string action,
                                                        std::string keyEquivalent);
    std::shared_ptr<platform::Menu> buildStatusMenu();
    std::shared_ptr<platform::Menu> buildAdvancedMenu();
    void createStatusBarItem();
    void applyIconVisibility();

    std::vector<std::string> dragElements_;
    // The system status bar's item, once setupStatusItem made it.
    std::shared_ptr<platform::StatusItem> statusBarItem_;
    std::shared_ptr<platform::Menu> statusMenu_;
    std::unique_ptr<InfoPopover> welcomePopover_;
    Services services_;
    // The items whose actions the application carries out.
    std::vector<std::shared_ptr<platform::MenuItem>> applicationItems_;
    platform::WeakFactory<StatusItem> weakThis_{this};
};

}  // namespace zelvana::core
