#include "platform/appkit/MenuItem.hpp"

#include <algorithm>
#include <cctype>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

namespace {

constexpr ModifierFlags kKeyEquivalentModifiers =
    Event::shift | Event::control | Event::option | Event::command | Event::function;

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isUpperCaseLetter(const std::string& text) {
    return text.size() == 1 && std::isupper(static_cast<unsigned char>(text[0]));
}

}  // namespace

MenuItem::MenuItem(std::string title, std::string action, std::string keyEquivalent)
    : title_(std::move(title)),
      action_(std::move(action)),
      keyEquivalent_(std::move(keyEquivalent)) {}

std::shared_ptr<MenuItem> MenuItem::separatorItem() {
    platform::assertMainThread();
    auto item = std::make_shared<MenuItem>();
    item->separator_ = true;
    item->enabled_ = false;
    return item;
}

void MenuItem::setSubmenu(std::shared_ptr<Menu> submenu) {
    platform::assertMainThread();
    if (submenu_) submenu_->supermenu_ = nullptr;
    submenu_ = std::move(submenu);
    if (submenu_) submenu_->supermenu_ = menu_;
}

bool MenuItem::matchesKeyEquivalent(const Event& event) const {
    if (!enabled_ || separator_ || keyEquivalent_.empty() || event.type != EventType::keyDown) {
        return false;
    }
    // An upper-case letter stands for the shifted letter.
    ModifierFlags wanted = keyEquivalentModifierMask_ & kKeyEquivalentModifiers;
    std::string key = keyEquivalent_;
    if (isUpperCaseLetter(key)) {
        key = lowercased(key);
        wanted |= Event::shift;
    }
    const ModifierFlags pressed = event.modifierFlags & kKeyEquivalentModifiers;
    const std::string& typed = event.charactersIgnoringModifiers;
    if (lowercased(typed) == key && pressed == wanted) return true;
    // A symbol that Shift produces ("!" on a U.S. keyboard) needs no Shift in
    // the mask.
    return typed == key && !wanted.contains(Event::shift) &&
           pressed.without(Event::shift) == wanted;
}

bool MenuItem::perform() {
    platform::assertMainThread();
    ++performCount_;
    if (handler_) {
        handler_(*this);
        return true;
    }
    if (action_.empty()) return false;
    const std::string name = "the menu item \"" + title_ + "\"";
    // A target that is gone is logged by the send itself.
    if (target_ && !target_->get()) return sendActionToTarget(*target_, action_, this, name);
    const bool handled = target_ ? sendActionToTarget(*target_, action_, this, name)
                                 : Application::shared().sendAction(action_, this);
    if (!handled) UnifiedLog::write(LogType::Error, "No one handles " + action_ + " of " + name);
    return handled;
}

}  // namespace zelvana::platform
