// The menu-item binding: an item shows a name's shortcut as its key
// equivalent and follows the name's changes.
#include <memory>
#include <optional>
#include <vector>

#include "KeyboardShortcuts/ChangedName.hpp"
#include "KeyboardShortcuts/KeyNames.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/input/SystemVersion.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

using platform::NotificationCenter;

// The bound items, held weakly, and one change observer for all of them. An
// item that is gone leaves its entry behind until the next binding or change,
// which drops it. Main thread.
struct Bindings {
    struct Entry {
        std::weak_ptr<platform::MenuItem> item;
        Name name;
    };
    std::vector<Entry> entries;
    platform::Subscription changes;

    void dropGone() {
        std::erase_if(entries, [](const Entry& entry) { return entry.item.expired(); });
    }
};

Bindings& bindings() {
    static auto* shared = new Bindings();  // never freed: observers may outlive statics
    return *shared;
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
    item.setKeyEquivalentModifierMask(shortcut ? shortcut->modifiers() : ModifierFlags());
    setLocalization(item, !shortcut);
}

// Applies a name's change to its live items, on the main queue.
void followChanges() {
    auto& shared = bindings();
    if (shared.changes.isActive()) return;
    shared.changes = NotificationCenter::defaultCenter().addObserver(
        kShortcutByNameDidChange, [](const platform::Notification& notification) {
            const auto name = changedName(notification);
            if (!name) return;
            platform::mainQueue().async([name = *name] {
                auto& shared = bindings();
                shared.dropGone();
                for (const auto& entry : shared.entries) {
                    if (entry.name != name) continue;
                    if (auto item = entry.item.lock()) apply(*item, name);
                }
            });
        });
}

}  // namespace

void setShortcut(const std::shared_ptr<platform::MenuItem>& item, const std::optional<Name>& name) {
    platform::assertMainThread();
    if (!item) return;
    auto& shared = bindings();
    shared.dropGone();
    std::erase_if(shared.entries,
                  [&](const Bindings::Entry& entry) { return entry.item.lock() == item; });
    if (!name) {
        item->setKeyEquivalent("");
        item->setKeyEquivalentModifierMask({});
        setLocalization(*item, true);
        return;
    }
    apply(*item, *name);
    shared.entries.push_back({item, *name});
    followChanges();
}

}  // namespace zelvana::keyboardshortcuts
