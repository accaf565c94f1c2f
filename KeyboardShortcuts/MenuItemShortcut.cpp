// The menu-item binding: an item shows a name's shortcut as its key
// equivalent and follows the name's changes.
#include <memory>
#include <optional>

#include "KeyboardShortcuts/ChangedName.hpp"
#include "KeyboardShortcuts/KeyNames.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/ObjectAssociation.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

using platform::NotificationCenter;

// Each bound item keeps its own change observer, which goes with the item.
const ObjectAssociation<platform::Subscription>& observerAssociation() {
    static const ObjectAssociation<platform::Subscription> association(
        AssociationPolicy::retainNonatomic);
    return association;
}

void setLocalization(platform::MenuItem& item, bool allows) {
    // The property exists from system 12 on.
    if (platform::SystemVersion::isAtLeast(12)) {
        item.setAllowsAutomaticKeyEquivalentLocalization(allows);
    }
}

void showShortcut(platform::MenuItem& item, const std::optional<Shortcut>& shortcut) {
    item.setKeyEquivalent(shortcut ? keyEquivalentString(shortcut->carbonKeyCode()) : "");
    item.setKeyEquivalentModifierMask(shortcut ? shortcut->modifiers() : ModifierFlags());
    setLocalization(item, !shortcut);
}

// Applies the name's changes to the item, on the main queue, while it lives.
platform::Subscription followChanges(const std::shared_ptr<platform::MenuItem>& item,
                                     const Name& name) {
    return NotificationCenter::defaultCenter().addObserver(
        kShortcutByNameDidChange,
        [weak = std::weak_ptr(item), name](const platform::Notification& notification) {
            if (changedName(notification) != name) return;
            platform::mainQueue().async([weak, name] {
                if (auto item = weak.lock()) showShortcut(*item, getShortcut(name));
            });
        });
}

}  // namespace

void setShortcut(const std::shared_ptr<platform::MenuItem>& item, const std::optional<Name>& name) {
    platform::assertMainThread();
    if (!item) return;
    // An observer attached earlier goes first.
    observerAssociation().set(*item, nullptr);
    showShortcut(*item, name ? getShortcut(*name) : std::nullopt);
    if (!name) return;
    observerAssociation().set(*item,
                              std::make_shared<platform::Subscription>(followChanges(item, *name)));
}

}  // namespace zelvana::keyboardshortcuts
