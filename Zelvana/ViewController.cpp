#include "Zelvana/ViewController.hpp"

#include <functional>
#include <map>

#include "Logging/Logging.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/StatusItem.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/Storyboard.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/system/Updater.hpp"

namespace zelvana::core {

namespace {

using platform::ControlState;
using settings::OptionalBool;

constexpr const char* kInfoTitle = "\u24D8";
constexpr auto kInfoEdge = platform::RectEdge::maxX;
constexpr double kInfoSide = 22;

constexpr const char* kShortcutInfo =
    "When you execute this keyboard shortcut you can keep the modifiers held and repeat the "
    "shortcut or use your cursor or arrow keys to highlight the space you want, then release "
    "the modifiers to switch spaces quickly.\n\nIf your shortcut does not include shift, you can "
    "use the shift key to cycle backwards.";
constexpr const char* kRepeatInfo =
    "Enabling this setting will make the space selection behave similar to command+tab. Hold "
    "the modifiers and repeat the keyboard shortcut to cycle the selection. If your keyboard "
    "shortcut does not contain shift, then a keyboard shortcut containing shift will also be "
    "registered to cycle spaces in reverse.";
constexpr const char* kArrowInfo =
    "Setting this modifier combination will register corresponding keyboard shortcuts for each "
    "arrow key.";
constexpr const char* kGestureInfo =
    "In certain circumstances, Zelvana is unable to receive trackpad input from macOS after "
    "sleep and must be relaunched.";
constexpr const char* kGestureCheckboxTitle = "Relaunch Zelvana on wake";

bool isOn(const platform::Button& button) {
    return button.state() == ControlState::on;
}

ControlState stateFor(bool on) {
    return on ? ControlState::on : ControlState::off;
}

OptionalBool explicitChoice(const platform::Button& button) {
    return isOn(button) ? OptionalBool::userEnabled : OptionalBool::userDisabled;
}

template <class Control>
bool connect(const std::shared_ptr<platform::StoryboardObject>& object,
             std::weak_ptr<Control>& slot) {
    auto typed = std::dynamic_pointer_cast<Control>(object);
    if (!typed) return false;
    slot = typed;
    return true;
}

}  // namespace

void ViewController::registerStoryboardClass(Services services) {
    platform::Storyboard::registerClass(
        className, [services] { return std::make_unique<ViewController>(services); });
}

ViewController::ViewController(Services services)
    : prefsDelegate(services.prefsDelegate),
      loginRegistration_(services.loginRegistration),
      updater_(services.updater) {}

bool ViewController::setOutlet(const std::string& name,
                               const std::shared_ptr<platform::StoryboardObject>& object) {
    platform::assertMainThread();
    if (name == "shortcutStackView") return connect(object, shortcutStackView_);
    if (name == "arrowFlagsStackView") return connect(object, arrowFlagsStackView_);
    if (name == "repeatedExecutionCheckbox") return connect(object, repeatedExecutionCheckbox_);
    if (name == "trackpadGestureSelector") return connect(object, trackpadGestureSelector_);
    if (name == "widthSelector") return connect(object, widthSelector_);
    if (name == "menuBarNumberCheckbox") return connect(object, menuBarNumberCheckbox_);
    if (name == "launchOnLoginCheckbox") return connect(object, launchOnLoginCheckbox_);
    if (name == "versionButton") return connect(object, versionButton_);
    if (name == "updatesCheckbox") return connect(object, updatesCheckbox_);
    if (name == "hideMenuBarIconCheckbox") return connect(object, hideMenuBarIconCheckbox_);
    // Laid out by the storyboard alone.
    if (name == "stackView" || name == "nonMasStackView" || name == "gestureStackView" ||
        name == "iconView") {
        return connect(object, layoutOnly_);
    }
    return false;
}

void ViewController::viewDidLoad() {
    platform::assertMainThread();
    addRecorders();
    showControlsState();
    bindUpdatesCheckbox();
}

void ViewController::addRecorders() {
    const auto shortcutStack = shortcutStackView_.lock();
    const auto arrowStack = arrowFlagsStackView_.lock();
    if (!shortcutStack || !arrowStack) {
        return logging::Logging::error("The settings window lacks its shortcut rows");
    }
    shortcutRecorder_ = keyboardshortcuts::RecorderCocoa::create(GlobalDefaults::show());
    shortcutStack->addArrangedSubview(shortcutRecorder_);
    addInfoButton(*shortcutStack, "showShortcutInfoWithSender:", &ViewController::showShortcutInfo);
    arrowFlagsRecorder_ = keyboardshortcuts::RecorderModifierCocoa::create(
        GlobalDefaults::storedArrowFlags(), [weak = weak_.ref()](const auto& flags) {
            // Stored even when the window is gone; the hub hears only from a live one.
            const auto chosen = flags.value_or(keyboardshortcuts::ModifierFlags{});
            GlobalDefaults::arrowFlags().setValue(static_cast<std::int64_t>(chosen.rawValue()));
            ViewController* self = weak.get();
            if (self && self->prefsDelegate) self->prefsDelegate->arrowFlagsDidChange(chosen);
        });
    arrowStack->addArrangedSubview(arrowFlagsRecorder_);
    addInfoButton(*arrowStack, "showArrowInfoWithSender:", &ViewController::showArrowInfo);
}

void ViewController::addInfoButton(platform::StackView& stack, const char* action, ShowInfo show) {
    auto button = std::make_shared<platform::Button>(kInfoTitle, action);
    button->setCallback([self = weak_.ref(), show](platform::Button& sender) {
        if (ViewController* controller = self.get()) (controller->*show)(sender);
    });
    button->setBordered(false);
    // As large as the storyboard's own info buttons, in their column.
    button->constrainWidth(platform::View::SizeRelation::equal, kInfoSide);
    button->constrainHeight(platform::View::SizeRelation::equal, kInfoSide);
    stack.addArrangedSubview(std::move(button));
}

void ViewController::showControlsState() {
    if (auto selector = trackpadGestureSelector_.lock()) {
        selector->selectItemWithTag(GlobalDefaults::gesture().value());
    }
    if (auto selector = widthSelector_.lock()) {
        selector->selectItemWithTag(GlobalDefaults::gridWidth().value());
    }
    if (auto box = menuBarNumberCheckbox_.lock()) {
        box->setState(stateFor(GlobalDefaults::menuBarSpaceNumber().isUserEnabled()));
    }
    if (auto box = launchOnLoginCheckbox_.lock(); box && GlobalDefaults::launchOnLogin().value()) {
        box->setState(ControlState::on);
    }
    if (auto box = hideMenuBarIconCheckbox_.lock();
        box && GlobalDefaults::hideMenuBarIcon().value()) {
        box->setState(ControlState::on);
    }
    if (auto button = versionButton_.lock()) {
        const auto& bundle = platform::Bundle::main();
        button->setTitle("v" + bundle.infoString("CFBundleShortVersionString").value_or("") + " (" +
                         bundle.infoString("CFBundleVersion").value_or("") + ")");
    }
    if (auto box = repeatedExecutionCheckbox_.lock()) {
        box->setState(stateFor(GlobalDefaults::repetitionMode().isUserEnabled()));
    }
}

void ViewController::bindUpdatesCheckbox() {
    const auto box = updatesCheckbox_.lock();
    if (!box) return;
    auto& defaults = platform::UserDefaults::standard();
    box->setState(stateFor(defaults.boolForKey(platform::Updater::automaticChecksKey)));
    platform::StandardUpdaterController* controller = updater_;
    if (!controller) return;
    // Both ways: the user's clicks reach the updater, the updater's value
    // (kept in the defaults) reaches the checkbox.
    box->bindState([controller](ControlState state) {
        controller->updater().setAutomaticallyChecksForUpdates(state == ControlState::on);
    });
    updatesObserver_ = defaults.addObserver(
        platform::Updater::automaticChecksKey,
        [weakBox = std::weak_ptr(box), controller](const auto&, const auto&) {
            if (auto box = weakBox.lock()) {
                box->setState(stateFor(controller->updater().automaticallyChecksForUpdates()));
            }
        });
}

// Actions.

void ViewController::toggleRepetitionsCycle(const platform::Button& sender) {
    platform::assertMainThread();
    GlobalDefaults::repetitionMode().setValue(explicitChoice(sender));
    if (prefsDelegate) prefsDelegate->repetitionModeDidChange();
}

void ViewController::selectGesture(const platform::PopUpButton& sender) {
    platform::assertMainThread();
    const std::int64_t tag = sender.selectedTag();
    GlobalDefaults::gesture().setValue(tag);
    if (prefsDelegate) prefsDelegate->gestureDidChange(tag);
}

void ViewController::selectWidth(const platform::PopUpButton& sender) {
    platform::assertMainThread();
    std::int64_t width = sender.selectedTag();
    if (width < 1) {
        // A grid needs a column; storing less would be read back as the default.
        logging::Logging::warning("A grid width of " + std::to_string(width) + " is stored as 1");
        width = 1;
    }
    GlobalDefaults::gridWidth().setValue(width);
}

void ViewController::toggleMenuBarNumber(const platform::Button& sender) {
    platform::assertMainThread();
    GlobalDefaults::menuBarSpaceNumber().setValue(explicitChoice(sender));
}

void ViewController::toggleLaunchOnLogin(const platform::Button& sender) {
    platform::assertMainThread();
    applyLaunchOnLoginChoice(isOn(sender), loginRegistration_,
                             [box = launchOnLoginCheckbox_](bool isOn) {
                                 if (auto shown = box.lock()) shown->setState(stateFor(isOn));
                             });
}

void ViewController::toggleHideMenuBarIcon(const platform::Button& sender) {
    platform::assertMainThread();
    GlobalDefaults::hideMenuBarIcon().setValue(isOn(sender));
    StatusItem::shared().setupStatusItem();
}

void ViewController::checkForUpdates(const platform::ActionSender* sender) {
    platform::assertMainThread();
    if (!updater_) return logging::Logging::error("There is no updater to check for updates");
    updater_->checkForUpdates(sender);
}

void ViewController::showMessage(const std::string& text, platform::View& sender) {
    if (!messagePopover_) messagePopover_ = std::make_unique<MessagePopover>();
    messagePopover_->show(text, sender, kInfoEdge);
}

void ViewController::showShortcutInfo(platform::View& sender) {
    platform::assertMainThread();
    showMessage(kShortcutInfo, sender);
}

void ViewController::showRepeatInfo(platform::View& sender) {
    platform::assertMainThread();
    showMessage(kRepeatInfo, sender);
}

void ViewController::showArrowInfo(platform::View& sender) {
    platform::assertMainThread();
    showMessage(kArrowInfo, sender);
}

void ViewController::showGestureInfo(platform::View& sender) {
    platform::assertMainThread();
    if (!trackpadInfoPopover_) trackpadInfoPopover_ = MessageCheckboxPopover::create();
    trackpadInfoPopover_->show(
        kGestureInfo, kGestureCheckboxTitle, sender, kInfoEdge,
        GlobalDefaults::autoRestartOnWake().isUserEnabled(), [](bool checked) {
            GlobalDefaults::autoRestartOnWake().setValue(checked ? OptionalBool::userEnabled
                                                                 : OptionalBool::userDisabled);
        });
}

void ViewController::connectActions(platform::StoryboardActions& actions) {
    const auto self = weak_.ref();
    actions.add("toggleRepetitionsCycle:", self, &ViewController::toggleRepetitionsCycle);
    actions.add("toggleMenuBarNumber:", self, &ViewController::toggleMenuBarNumber);
    actions.add("toggleLaunchOnLogin:", self, &ViewController::toggleLaunchOnLogin);
    actions.add("toggleHideMenuBarIcon:", self, &ViewController::toggleHideMenuBarIcon);
    actions.add("selectGesture:", self, &ViewController::selectGesture);
    actions.add("selectWidth:", self, &ViewController::selectWidth);
    actions.add("showRepeatInfo:", self, &ViewController::showRepeatInfo);
    actions.add("showGestureInfo:", self, &ViewController::showGestureInfo);
    actions.add<platform::Button>("checkForUpdates:", [self](platform::Button& sender) {
        if (ViewController* controller = self.get()) controller->checkForUpdates(&sender);
    });
}

}  // namespace zelvana::core
