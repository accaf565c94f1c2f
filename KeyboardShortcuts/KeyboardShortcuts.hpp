#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "KeyboardShortcuts/EventType.hpp"
#include "KeyboardShortcuts/KeyEventSequence.hpp"
#include "KeyboardShortcuts/Name.hpp"
#include "KeyboardShortcuts/Shortcut.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::platform {
class MenuItem;
}

// Named global shortcuts: the user's combination for each name lives in the
// standard user defaults, and actions attached to a name run when that
// combination goes down or up anywhere in the system. Each distinct
// combination is one system hot key, kept while any enabled name holds it.
// Main thread only.
namespace zelvana::keyboardshortcuts {

using Action = std::function<void()>;

// Posted on the default centre after every change of a stored shortcut made
// here, with the user info {"name": Name}.
inline constexpr const char* kShortcutByNameDidChange = "KeyboardShortcuts_shortcutByNameDidChange";

// The stored shortcut; anything unreadable (including a removed default)
// reads as none.
std::optional<Shortcut> getShortcut(const Name& name);
// Stores and registers a shortcut, or removes the name's shortcut (a name
// with a default keeps the removal as a stored false). Announces the change;
// removing from a name without a shortcut does nothing.
void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);

// Each name gets its default shortcut, or none.
void resetToDefaults(const std::vector<Name>& names);
// Holds the names' stored shortcuts again and lets their actions run.
void enable(const std::vector<Name>& names);
// Gives up the names' hot keys (unless another enabled name holds the same
// combination) and keeps their actions from running; the stored shortcuts
// stay.
void disable(const std::vector<Name>& names);

template <std::same_as<Name>... Names>
void resetToDefaults(const Name& first, const Names&... rest) {
    resetToDefaults(std::vector<Name>{first, rest...});
}
template <std::same_as<Name>... Names>
void enable(const Name& first, const Names&... rest) {
    enable(std::vector<Name>{first, rest...});
}
template <std::same_as<Name>... Names>
void disable(const Name& first, const Names&... rest) {
    disable(std::vector<Name>{first, rest...});
}

// Actions accumulate and run in the order attached, each until its token goes.
// Attaching registers the name's stored shortcut.
[[nodiscard]] platform::Subscription onKeyDown(const Name& name, Action action);
[[nodiscard]] platform::Subscription onKeyUp(const Name& name, Action action);
// Drops every action and gives up the hot keys of their names, except those
// that an open event sequence still uses.
void removeAllActions();

// The global switch: off suspends every hot key.
bool hotKeysEnabled();
void setHotKeysEnabled(bool enabled);
// True while a recorder records: hot keys are still taken, but nothing runs.
bool handlingPaused();
void setHandlingPaused(bool paused);
// True between a menu's begin- and end-tracking notifications.
bool isMenuTracking();

// The name's key events, or only those of one type.
KeyEventSequence keyEvents(const Name& name);
KeyEventSequence keyEvents(EventType type, const Name& name);

// Shows the name's shortcut as the item's key equivalent and follows its
// changes; no name clears the key equivalent and stops following.
void setShortcut(const std::shared_ptr<platform::MenuItem>& item, const std::optional<Name>& name);

// Called by the hot-key registry with the combination that fired.
void handleShortcutKeyDown(const Shortcut& shortcut);
void handleShortcutKeyUp(const Shortcut& shortcut);

// The combinations for which a hot key is held.
std::vector<Shortcut> activeShortcuts();

// Drops all state, the registry's included, as at process start.
void resetForTesting();

}  // namespace zelvana::keyboardshortcuts
