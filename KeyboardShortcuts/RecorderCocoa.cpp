#include "KeyboardShortcuts/RecorderCocoa.hpp"

#include "KeyboardShortcuts/AlertBuilder.hpp"
#include "KeyboardShortcuts/ChangedName.hpp"
#include "KeyboardShortcuts/Key.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/Localization.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::keyboardshortcuts {

namespace {

constexpr int kKeepsRecordingFromVersion = 12;

constexpr auto kRecordingEvents = platform::EventMask::keyDown | platform::EventMask::leftMouseUp |
                                  platform::EventMask::rightMouseUp;

}  // namespace

std::shared_ptr<RecorderCocoa> RecorderCocoa::create(const Name& name, OnChange onChange) {
    platform::assertMainThread();
    std::shared_ptr<RecorderCocoa> field(new RecorderCocoa(name, std::move(onChange)));
    field->finishSetUp();
    return field;
}

RecorderCocoa::RecorderCocoa(const Name& name, OnChange onChange)
    : RecorderField({"record_shortcut", "press_shortcut"}, kRecordingEvents),
      onChange_(std::move(onChange)),
      shortcutName_(name) {
    shortcutsNameChangeObserver_ = platform::NotificationCenter::defaultCenter().addObserver(
        kShortcutByNameDidChange, [weak = weak_.ref()](const platform::Notification& notification) {
            RecorderCocoa* self = weak.get();
            const auto name = changedName(notification);
            if (self && name && *name == self->shortcutName_) self->refreshText();
        });
}

void RecorderCocoa::setShortcutName(const Name& name) {
    platform::assertMainThread();
    const bool changed = !(name == shortcutName_);
    shortcutName_ = name;
    if (!changed) return;
    refreshText();
    // Before system 12 a name change also ends recording, once this turn is over.
    if (platform::SystemVersion::isAtLeast(kKeepsRecordingFromVersion)) return;
    platform::mainQueue().async([weak = weak_.ref()] {
        if (RecorderCocoa* self = weak.get()) self->endRecording();
    });
}

void RecorderCocoa::refreshText() {
    const auto shortcut = getShortcut(shortcutName_);
    setStringValue(shortcut ? shortcut->description() : "");
    applyCancelButtonRule();
}

void RecorderCocoa::fieldWasCleared() {
    setShortcut(std::nullopt, shortcutName_);
    if (onChange_) onChange_(std::nullopt);
}

std::optional<platform::Event> RecorderCocoa::handleRecordingEvent(const platform::Event& event) {
    const RecordingStep step = filterShortcutEvent(event);
    if (step.decided) return step.deliver;
    const Shortcut& shortcut = *step.shortcut;
    if (refusedForMenu(shortcut) || refusedForSystem(shortcut)) return std::nullopt;
    store(shortcut);
    return std::nullopt;
}

bool RecorderCocoa::refusedForMenu(const Shortcut& shortcut) {
    const auto menu = platform::Application::shared().mainMenu();
    const auto item = menu ? shortcut.menuItemWithMatchingShortcut(*menu) : nullptr;
    if (!item) return false;
    platform::Window* window = this->window();
    endRecording();
    const auto alert =
        makeAlert(localizedFormat("keyboard_shortcut_used_by_menu_item", item->title()),
                  std::nullopt, platform::Alert::Style::warning, std::nullopt, {});
    runModalAttached(alert, window);
    recordAgain();
    return true;
}

bool RecorderCocoa::refusedForSystem(const Shortcut& shortcut) {
    // F12 alone is left to the user even where the system lists it.
    if (shortcut.carbonKeyCode() == Key::f12.rawValue && shortcut.carbonModifiers() == 0) {
        return false;
    }
    const auto system = Shortcut::systemHotKeyShortcuts();
    const bool taken = std::ranges::any_of(system, [&](const Shortcut& used) {
        return used.carbonKeyCode() == shortcut.carbonKeyCode() &&
               used.carbonModifiers() == shortcut.carbonModifiers();
    });
    if (!taken) return false;
    platform::Window* window = this->window();
    endRecording();
    const auto alert =
        makeAlert(localized("keyboard_shortcut_used_by_system"),
                  localized("keyboard_shortcuts_can_be_changed"), platform::Alert::Style::warning,
                  std::nullopt, {localized("ok"), localized("force_use_shortcut")});
    const auto response = runModalAttached(alert, window);
    recordAgain();
    return response != platform::Alert::secondButtonReturn;
}

void RecorderCocoa::store(const Shortcut& shortcut) {
    setStringValue(shortcut.description());
    setCancelButtonCell(cancelButton_);
    setShortcut(shortcut, shortcutName_);
    if (onChange_) onChange_(shortcut);
    endRecording();
}

}  // namespace zelvana::keyboardshortcuts
