#include "Zelvana/ZelvanaManager.hpp"

#include <unistd.h>

#include <utility>

#include "GridPanel/GridPanelOptions.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "KeyboardShortcuts/ChangedName.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "Logging/Logging.hpp"
#include "Tools/ScreenDetection.hpp"
#include "Tools/WindowUtil.hpp"
#include "Zelvana/AppNotifications.hpp"
#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/GridRestoration.hpp"
#include "Zelvana/LaunchState.hpp"
#include "Zelvana/ScreenManager.hpp"
#include "Zelvana/StatusItem.hpp"
#include "gestures/Gestures.hpp"
#include "input/EventMonitor/PassiveEventMonitor.hpp"
#include "input/ModifierTrigger.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core {

namespace {

using logging::Logging;
using platform::ModifierFlags;

constexpr const char* kRestoresWorkspaceKey = "NSWindowRestoresWorkspaceAtLaunch";
constexpr const char* kSystemWindowOwner = "WindowManager";

std::vector<gestures::Gesture> gesturesFromSetting(std::int64_t value) {
    const auto gesture = gestures::gestureFromRawValue(value);
    if (!gesture) return {};
    return {*gesture};
}

// The status menu's item at `sender`: only those send a switch, and any
// other sender (a button, say) must not be read as one.
const platform::MenuItem* statusMenuItem(const platform::ActionSender* sender) {
    const auto& menu = StatusItem::shared().statusMenu();
    if (!menu || !sender) return nullptr;
    for (const auto& item : menu->itemArray()) {
        if (item.get() == sender) return item.get();
    }
    return nullptr;
}

}  // namespace

ZelvanaManager::ZelvanaManager() {
    platform::assertMainThread();
    createGridPanel();
    configureSwitcher();
    createModifierInput();
    initializeGrids();
    platform::UserDefaults::standard().set(kRestoresWorkspaceKey, platform::PropertyValue(true));
    scheduleStartUp();
    registerShortcutHandlers();
    updateReverseShortcut();
    observeNotifications();
}

ZelvanaManager::~ZelvanaManager() {
    platform::assertMainThread();
    if (spaceSwitcher_ && spaceSwitcher_->delegate() == this) spaceSwitcher_->setDelegate({});
    observers_.clear();
    modifierMonitor_.reset();
    gestureManager_.reset();
    modifierTrigger_.reset();
}

void ZelvanaManager::createGridPanel() {
    panelOptions_ = std::make_shared<gridpanel::GridPanelOptions>();
    panelOptions_->delegate = weakRef();
    panelOptions_->radius = panelRadius;
    gridPanel_ = std::make_unique<gridpanel::GridPanelWindowController>(panelOptions_);
}

void ZelvanaManager::configureSwitcher() {
    spaceSwitcher_ = &switcher::SpaceSwitcher::shared();
    spaceSwitcher_->options()->anchorCountCap = GlobalDefaults::anchorCountCap().value();
    spaceSwitcher_->options()->visibility = GlobalDefaults::anchorVisibility().value();
}

void ZelvanaManager::createModifierInput() {
    modifierTrigger_ = std::make_unique<input::ModifierTrigger>(
        GlobalDefaults::storedArrowFlags(), input::ModifierTrigger::Arrows::on,
        input::ModifierTrigger::Mouse::off, this);
    modifierMonitor_ = std::make_unique<input::eventmonitor::PassiveEventMonitor>(
        platform::EventMask::flagsChanged,
        [weak = weakRef()](const std::optional<platform::Event>& event) {
            if (auto* self = weak.get()) self->handleFlagsChanged(event);
        });
    modifierMonitor_->start();
}

void ZelvanaManager::initializeGrids() {
    screenManager_ = std::make_unique<ScreenManager>();
    gridSavesHeld_ = !restoration::keepUnreadableGridAside();
    spaceGrid_ =
        restoration::restoreGrid(*spaceSwitcher_, *screenManager_,
                                 wasRelaunched ? StoredStaleness::keep : StoredStaleness::drop);
    wasRelaunched = false;
}

void ZelvanaManager::registerShortcutHandlers() {
    const auto weak = weakRef();
    // The actions end with the hub, so hubs made and destroyed leave none behind.
    observers_.push_back(keyboardshortcuts::onKeyDown(GlobalDefaults::show(), [weak] {
        auto* self = weak.get();
        if (!self) return;
        self->showKeyDown();
        self->session_.showPressed(platform::Date::now());
    }));
    observers_.push_back(keyboardshortcuts::onKeyUp(GlobalDefaults::show(), [weak] {
        if (auto* self = weak.get()) self->showKeyUp();
    }));
    observers_.push_back(keyboardshortcuts::onKeyDown(GlobalDefaults::cycleReverse(), [weak] {
        auto* self = weak.get();
        if (!self) return;
        self->cycleReverseKeyDown();
        self->session_.reversePressed();
    }));
    auto& center = platform::NotificationCenter::defaultCenter();
    observers_.push_back(center.addObserver(
        AppNotification::spaceSelected, [weak](const platform::Notification& note) {
            const auto* id = std::any_cast<std::string>(&note.object);
            auto* self = weak.get();
            if (id && self) self->switchToSpaceWithId(*id);
        }));
}

void ZelvanaManager::observeNotifications() {
    const auto weak = weakRef();
    auto& center = platform::NotificationCenter::defaultCenter();
    observers_.push_back(
        center.addObserver(AppNotification::statusMenuWillOpen, [weak](const auto&) {
            if (auto* self = weak.get()) self->statusMenuWillOpen();
        }));
    const auto updateTitle = [weak](const platform::Notification&) {
        if (auto* self = weak.get()) self->updateStatusTitle();
    };
    observers_.push_back(center.addObserver(AppNotification::mainScreenChanged, updateTitle));
    observers_.push_back(GlobalDefaults::menuBarSpaceNumber().observe(updateTitle));
    // A new or cleared "show" changes its reverse at once, wherever it was recorded.
    observers_.push_back(center.addObserver(
        keyboardshortcuts::kShortcutByNameDidChange, [](const platform::Notification& note) {
            const auto name = keyboardshortcuts::changedName(note);
            if (name && *name == GlobalDefaults::show()) updateReverseShortcut();
        }));
}

void ZelvanaManager::scheduleStartUp() {
    const auto weak = weakRef();
    platform::mainQueue().asyncAfter(startUpDelay, [weak] {
        if (!weak) return;
        platform::Application::shared().setActivationPolicy(platform::ActivationPolicy::Prohibited);
        platform::mainQueue().async([weak] {
            if (auto* self = weak.get()) self->startUp();
        });
    });
    platform::mainQueue().asyncAfter(startUpDelay, [weak] {
        if (auto* self = weak.get()) self->spaceSwitcher_->refreshAnchorViews();
    });
}

void ZelvanaManager::startUp() {
    platform::Application::shared().setActivationPolicy(platform::ActivationPolicy::Accessory);
    // A popover under a hidden icon would point at nothing.
    const auto& item = StatusItem::shared().nsStatusItem();
    if (isFirstLaunch && item && item->isVisible()) StatusItem::shared().showWelcomePopover();
    setUpGestures();
    learnsSpaces_ = true;
    spaceSwitcher_->setDelegate(weakRef());
}

void ZelvanaManager::setUpGestures() {
    platform::assertMainThread();
    gestureManager_.reset();
    gestureManager_ = std::make_unique<gestures::Gestures>(
        gesturesFromSetting(GlobalDefaults::gesture().value()),
        gestures::GestureOptions{gestures::MonitorPrivilege::accessibility}, this);
}

void ZelvanaManager::statusMenuWillOpen() {
    if (!isBusy()) closePanel();
    for (const auto& anchor : spaceSwitcher_->activeAnchors()) anchor->resignKeyWindow();
    updateSpaceMenuItems();
}

void ZelvanaManager::repetitionModeDidChange() {
    platform::assertMainThread();
    updateReverseShortcut();
}

void ZelvanaManager::gestureDidChange(std::int64_t gesture) {
    platform::assertMainThread();
    if (gestureManager_) gestureManager_->setGestures(gesturesFromSetting(gesture));
}

void ZelvanaManager::arrowFlagsDidChange(ModifierFlags flags) {
    platform::assertMainThread();
    modifierTrigger_->setModifierFlags(flags);
}

bool ZelvanaManager::performAction(const std::string& action,
                                   const platform::ActionSender* sender) {
    platform::assertMainThread();
    if (action == "switchToSpace:") {
        if (const platform::MenuItem* item = statusMenuItem(sender)) {
            switchToSpace(*item);
        } else {
            Logging::warning(
                "switchToSpace: sent by something other than a space's menu item; "
                "nothing switched");
        }
        return true;
    }
    if (action == "clear") {
        clear();
        return true;
    }
    return false;
}

// The grid.

ZelvanaManager::Refresh ZelvanaManager::refreshGrid(GridStep step) {
    platform::assertMainThread();
    const auto windows = tools::WindowUtil::windowInfoList();
    const auto main = platform::Screen::main();
    if (!main) return {};
    // With every anchor closed ("Clear All Spaces") the current spaces are
    // learnt anew, as a change of space would.
    if (!spaceSwitcher_->reconcileActiveAnchor(*main) && learnsSpaces_) {
        spaceSwitcher_->refreshAnchors();
    }
    const auto grid = spaceGrid_->mainScreenGrid();
    Refresh refresh{.showsSpaces = !grid.empty(), .highlighted = nullptr};
    if (const auto current = currentSpace()) {
        if (step != GridStep::none) {
            refresh.highlighted = neighbourOnMainGrid(step, current, grid);
            if (refresh.highlighted) {
                for (const auto& space : spaceGrid_->spaces()) space->setIsNewSelection(false);
                refresh.highlighted->setIsNewSelection(true);
            }
        }
        std::vector<tools::WindowInfo> onMain;
        const auto screens = platform::Screen::screens();
        const auto ownPid = static_cast<std::int32_t>(::getpid());
        for (const auto& window : windows) {
            // The panel over every space and the settings are ours, not the space's.
            if (window.processName == kSystemWindowOwner || window.pid == ownPid) continue;
            if (tools::ScreenDetection::screenForRect(screens, window.frame) == main) {
                onMain.push_back(window);
            }
        }
        current->setWindowList(std::move(onMain));
        current->setIsStale(false);
        current->rebuildImage();
    }
    reloadPanel(grid);
    updateStatusTitle(grid);
    saveGrid();
    return refresh;
}

std::shared_ptr<Space> ZelvanaManager::currentSpace() const {
    const auto anchor = spaceSwitcher_->activeAnchor();
    return anchor ? spaceGrid_->space(anchor->id()) : nullptr;
}

std::shared_ptr<Space> ZelvanaManager::neighbourOnMainGrid(GridStep step,
                                                           const std::shared_ptr<Space>& from,
                                                           const Rows& grid) const {
    auto neighbour = spaceGrid_->neighbour(step, from);
    // At an edge the grid answers the space itself: there is nowhere to go.
    if (!neighbour || neighbour == from) return nullptr;
    for (const auto& row : grid) {
        for (const auto& space : row) {
            if (space == neighbour) return neighbour;
        }
    }
    return nullptr;
}

void ZelvanaManager::saveGrid() {
    platform::assertMainThread();
    if (gridSavesHeld_) return;
    // The queue is ours, so the request never outlives the grid.
    saveQueue_.requestSave([grid = spaceGrid_.get()] { return grid->records(); });
}

void ZelvanaManager::clear() {
    platform::assertMainThread();
    spaceSwitcher_->closeAllAnchors();
    spaceGrid_->clear();
    // The user chose to forget every space, an unreadable stored grid too.
    gridSavesHeld_ = false;
    saveQueue_.clear();
}

}  // namespace zelvana::core
