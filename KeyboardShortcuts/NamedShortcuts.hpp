#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "KeyboardShortcuts/EventType.hpp"
#include "KeyboardShortcuts/Name.hpp"
#include "KeyboardShortcuts/Shortcut.hpp"
#include "platform/core/SubscriberList.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::keyboardshortcuts {

// The process-wide state behind the named-shortcut functions: which name
// holds which hot key, the action and sequence tables, and the switches.
// Internal to the package.
class NamedShortcuts {
public:
    using Actions = platform::SubscriberList<>;
    using Feeders = platform::SubscriberList<EventType>;

    static NamedShortcuts& shared();

    // Registers the shortcut for the name (giving up what the name held
    // before) and lets its actions run again.
    void hold(const Name& name, const Shortcut& shortcut);
    // Gives up the name's hot key; the system's goes when no name holds it.
    void release(const Name& name);
    void markDisabled(const Name& name) { disabled_.insert(name.rawValue()); }
    void markEnabled(const Name& name) { disabled_.erase(name.rawValue()); }
    std::vector<Shortcut> heldShortcuts() const;

    // The action runs until its token goes or every action is removed.
    platform::Subscription addKeyDownAction(const Name& name, Actions::Callback action);
    platform::Subscription addKeyUpAction(const Name& name, Actions::Callback action);
    void removeAllActions();
    // Live actions of every name, both edges.
    std::size_t actionCount() const;

    // An event sequence's feeders, one per event type, until the token goes.
    platform::Subscription addFeeders(const Name& name, Feeders::Callback keyDown,
                                      Feeders::Callback keyUp);

    void deliver(const Shortcut& shortcut, EventType type);

    bool hotKeysEnabled = true;
    bool handlingPaused = false;
    bool menuTracking = false;

    // Observes menus opening and closing, once per process.
    void installMenuTrackingObservers();

    void reset();

private:
    // Names in first-use order. A delivery walks a copy; the lists are shared so
    // that what is removed meanwhile is skipped, not run.
    template <class List>
    using Table = std::vector<std::pair<Name, std::shared_ptr<List>>>;

    NamedShortcuts() = default;
    bool isEnabled(const Name& name) const { return !disabled_.contains(name.rawValue()); }
    bool hasOpenSequence(const Name& name) const;
    enum class MenuTracking { began, ended };
    void menuTrackingChanged(MenuTracking change);

    std::map<std::string, Shortcut> held_;
    // The registry's record of each held combination.
    std::unordered_map<Shortcut, platform::Subscription> hotKeys_;
    std::set<std::string> disabled_;
    Table<Actions> keyDownActions_;
    Table<Actions> keyUpActions_;
    Table<Feeders> keyDownContinuations_;
    Table<Feeders> keyUpContinuations_;
    platform::Subscription beginTrackingObserver_;
    platform::Subscription endTrackingObserver_;
};

}  // namespace zelvana::keyboardshortcuts
