#include "Zelvana/StatusItem.hpp"

#include <algorithm>
#include <optional>

#include "Logging/Logging.hpp"
#include "Zelvana/AppNotifications.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/WelcomeInfoViewController.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/input/SystemVersion.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core {

namespace {

using logging::Logging;
using platform::ControlState;
using platform::DragOperation;
using platform::MenuItem;
using switcher::SpaceAnchorVisibility;

// The first system version whose anchors can be shown.
constexpr int kAnchorWindowsMajorVersion = 13;

std::unique_ptr<StatusItem>& sharedSlot() {
    static std::unique_ptr<StatusItem> instance;
    return instance;
}

std::string applicationName() {
    return platform::Bundle::main().infoString("CFBundleName").value_or("Zelvana");
}

// A file URL as text: "file:" and a path, printable ASCII or UTF-8 without
// blanks or control characters. Anything else is not a file.
std::optional<std::string> fileURL(const platform::PasteboardData& data) {
    std::string text(data.begin(), data.end());
    const bool printable = std::ranges::none_of(text, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
    if (!printable || !text.starts_with("file://") || text.size() <= 7) return std::nullopt;
    return text;
}

}  // namespace

StatusItem& StatusItem::shared() {
    platform::assertMainThread();
    auto& instance = sharedSlot();
    if (!instance) instance.reset(new StatusItem());
    return *instance;
}

void StatusItem::releaseShared() {
    platform::assertMainThread();
    sharedSlot().reset();
}

StatusItem::StatusItem() {
    platform::assertMainThread();
    statusMenu_ = buildStatusMenu();
}

std::shared_ptr<MenuItem> StatusItem::applicationItem(std::string title, std::string action,
                                                      std::string keyEquivalent) {
    auto item =
        std::make_shared<MenuItem>(std::move(title), std::move(action), std::move(keyEquivalent));
    // Until the application is connected, the first responder, which ends
    // at the application too.
    item->setTarget(services_.applicationActions);
    applicationItems_.push_back(item);
    return item;
}

void StatusItem::connect(Services services) {
    platform::assertMainThread();
    services_ = std::move(services);
    for (const auto& item : applicationItems_) item->setTarget(services_.applicationActions);
}

std::shared_ptr<platform::Menu> StatusItem::buildStatusMenu() {
    auto menu = std::make_shared<platform::Menu>();
    menu->setAutoenablesItems(false);
    const std::string name = applicationName();
    // Without a target: the first responder, as the system's own items do.
    menu->addItem(std::make_shared<MenuItem>("Show " + name, "showZelvana:", ""));
    menu->addItem(MenuItem::separatorItem());
    menu->addItem(applicationItem("Settings…", "openPreferences:", ","));
    menu->addItem(applicationItem("About", "showAbout:", ""));
    auto advanced = std::make_shared<MenuItem>("Advanced", "", "");
    advanced->setKeyEquivalentModifierMask(platform::Event::option);
    advanced->setAlternate(true);
    advanced->setSubmenu(buildAdvancedMenu());
    menu->addItem(advanced);
    menu->addItem(applicationItem("Quit " + name, "terminateApp", "q"));
    return menu;
}

std::shared_ptr<platform::Menu> StatusItem::buildAdvancedMenu() {
    auto menu = std::make_shared<platform::Menu>("Advanced");
    menu->addItem(applicationItem("Clear All Spaces", "clearAllSpaces", ""));
    if (platform::SystemVersion::isAtLeast(kAnchorWindowsMajorVersion)) {
        auto anchors =
            std::make_shared<MenuItem>("Show Space Anchor Windows", "setAnchorVisibility:", "");
        anchors->setTarget(weakThis_.ref());
        const bool shown =
            GlobalDefaults::anchorVisibility().value() != SpaceAnchorVisibility::hidden;
        anchors->setState(shown ? ControlState::on : ControlState::off);
        menu->addItem(anchors);
    }
    return menu;
}

void StatusItem::setupStatusItem() {
    platform::assertMainThread();
    if (!statusBarItem_) createStatusBarItem();
    if (!statusBarItem_) return;
    applyIconVisibility();
}

void StatusItem::createStatusBarItem() {
    platform::StatusBar* bar = platform::StatusBar::system();
    if (!bar) {
        Logging::error("There is no status bar yet; the status item is made at the next set-up");
        return;
    }
    statusBarItem_ = bar->statusItem(platform::StatusItem::variableLength);
    platform::StatusBarButton& button = *statusBarItem_->button();
    button.registerForDraggedTypes({platform::kPasteboardTypeFileURL});
    button.setDraggingDestination(this);
    statusBarItem_->setMenu(statusMenu_);
    statusMenu_->setDelegate(this);
    auto image = platform::Image::named(statusImageName);
    if (!image) Logging::error(std::string("The status image ") + statusImageName + " is missing");
    button.setImage(std::move(image));
}

void StatusItem::applyIconVisibility() {
    statusBarItem_->setVisible(!GlobalDefaults::hideMenuBarIcon().value());
}

void StatusItem::openStatusMenu() {
    platform::assertMainThread();
    if (!statusBarItem_) {
        Logging::error("The status menu cannot open before the status item is set up");
        return;
    }
    statusBarItem_->setVisible(true);
    platform::mainQueue().asyncAfter(openMenuStepDelay, [weak = weakThis_.ref()] {
        StatusItem* self = weak.get();
        if (!self) return;
        self->statusBarItem_->button()->performClick();
        platform::mainQueue().asyncAfter(openMenuStepDelay, [weak] {
            if (StatusItem* self = weak.get()) self->applyIconVisibility();
        });
    });
}

InfoPopover* StatusItem::welcomePopover() {
    platform::assertMainThread();
    if (!welcomePopover_) {
        WelcomeInfoViewController::registerStoryboardClass(
            {services_.loginRegistration, services_.openSettings});
        welcomePopover_ = InfoPopover::make(WelcomeInfoViewController::storyboardName,
                                            WelcomeInfoViewController::identifier,
                                            platform::Popover::Behavior::transient);
    }
    return welcomePopover_.get();
}

void StatusItem::showWelcomePopover() {
    platform::assertMainThread();
    if (!statusBarItem_) return;
    platform::StatusBarButton* button = statusBarItem_->button();
    InfoPopover* popover = welcomePopover();
    if (!button || !popover) return;
    // Under the icon: our views are flipped, so their bottom edge is maxY.
    popover->popover()->show(button->bounds(), *button, platform::RectEdge::maxY);
}

void StatusItem::setAnchorVisibility(MenuItem& sender) {
    platform::assertMainThread();
    const bool on = sender.state() != ControlState::on;
    sender.setState(on ? ControlState::on : ControlState::off);
    const auto visibility = on ? SpaceAnchorVisibility::allVisible : SpaceAnchorVisibility::hidden;
    GlobalDefaults::anchorVisibility().setValue(visibility);
    switcher::SpaceSwitcher::shared().setVisibility(visibility);
}

bool StatusItem::performAction(const std::string& action, const platform::ActionSender* sender) {
    platform::assertMainThread();
    if (action != "setAnchorVisibility:") return false;
    // Only items of this menu name this object as their target.
    const auto& items = statusMenu_->itemArray();
    for (const auto& item : items) {
        const auto& submenu = item->submenu();
        if (!submenu) continue;
        for (const auto& entry : submenu->itemArray()) {
            if (entry.get() == sender) {
                setAnchorVisibility(*entry);
                return true;
            }
        }
    }
    return false;
}

void StatusItem::menuWillOpen(platform::Menu& /*menu*/) {
    platform::assertMainThread();
    postAppNotification(AppNotification::statusMenuWillOpen);
}

platform::DragOperations StatusItem::draggingEntered(const platform::DraggingInfo& info) {
    platform::assertMainThread();
    const auto& items = info.draggingPasteboard().pasteboardItems();
    if (!items) return DragOperation::none;
    dragElements_.clear();
    for (const auto& item : *items) {
        const auto data = item.dataForType(platform::kPasteboardTypeFileURL);
        if (!data) continue;
        if (auto url = fileURL(*data)) dragElements_.push_back(std::move(*url));
    }
    return DragOperation::copy;
}

platform::DragOperations StatusItem::draggingUpdated(const platform::DraggingInfo& /*info*/) {
    platform::assertMainThread();
    return DragOperation::copy;
}

bool StatusItem::prepareForDragOperation(const platform::DraggingInfo& /*info*/) {
    platform::assertMainThread();
    return true;
}

void StatusItem::draggingExited(const platform::DraggingInfo* /*info*/) {
    platform::assertMainThread();
    dragElements_.clear();
}

}  // namespace zelvana::core
