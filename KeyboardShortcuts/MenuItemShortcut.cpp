// The menu-item binding: an item shows a name's shortcut as its key
// equivalent and follows the name's changes.
#include <map>

#include "KeyboardShortcuts/KeyNames.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/input/SystemVersion.hpp"

namespace zelvana::KeyboardShortcuts {
namespace {

using platform::NotificationCenter;

// One change observer per bound item.
std::map<const platform::MenuItem*, NotificationCenter::ScopedObserver>& bindings() {
    static std::map<const platform::MenuItem*, NotificationCenter::ScopedObserver> observers;
    return observers;
}

void setLocalization(platform::MenuItem& item, bool allows) {
    // The property exists from system 12 on.
    if (platform::SystemVersion::isAtLeast(12)) {
        item.setAllowsAutomaticKeyEquivalentLocalization(allows);
    }
}

void apply(platform::MenuItem& item, const Name& name) {
    auto shortcut = getShortcut(name);
    item.setKeyEquivalent(shortcut ? keyEquivalentString(shortcut->carbonKeyCode()) : "");
    item.setKeyEquivalentModifierMask(shortcut ? shortcut->modifiers() : 0);
    setLocalization(item, !shortcut);
}

bool isAbout(const platform::Notification& notification, const Name& name) {
    auto found = notification.userInfo.find("name");
    if (found == notification.userInfo.end()) return false;
    const auto* changed = std::any_cast<Name>(&found->second);
    return changed != nullptr && *changed == name;
}

NotificationCenter::ScopedObserver follow(const std::shared_ptr<platform::MenuItem>& item,
                                          const Name& name) {
    auto& center = NotificationCenter::defaultCenter();
    std::weak_ptr<platform::MenuItem> weakItem = item;
    auto token = center.addObserver(kShortcutByNameDidChange,
                                    [weakItem, name](const platform::Notification& notification) {
                                        if (!isAbout(notification, name)) return;
                                        platform::mainQueue().async([weakItem, name] {
                                            if (auto live = weakItem.lock()) apply(*live, name);
                                        });
                                    });
    return {center, token};
}

}  // namespace

void setShortcut(const std::shared_ptr<platform::MenuItem>& item, const std::optional<Name>& name) {
    if (!item) return;
    bindings().erase(item.get());
    if (!name) {
        item->setKeyEquivalent("");
        item->setKeyEquivalentModifierMask(0);
        setLocalization(*item, true);
        return;
    }
    apply(*item, *name);
    bindings().emplace(item.get(), follow(item, *name));
}

}  // namespace zelvana::KeyboardShortcuts
