#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "KeyboardShortcuts/EventType.hpp"
#include "KeyboardShortcuts/Name.hpp"
#include "KeyboardShortcuts/Shortcut.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::keyboardshortcuts {

// The process-wide state behind the named-shortcut functions: which name
// holds which hot key, the action and sequence tables, and the switches.
// Internal to the package.
class NamedShortcuts {
public:
    using Action = std::function<void()>;
    using Feeder = std::function<void(EventType)>;
    // Tables keep their names in first-use order.
    using ActionTable = std::vector<std::pair<Name, std::vector<Action>>>;
    using SequenceTable = std::vector<std::pair<Name, std::map<std::string, Feeder>>>;

    static NamedShortcuts& shared();

    // Registers the shortcut for the name (giving up what the name held
    // before) and lets its actions run again.
    void hold(const Name& name, const Shortcut& shortcut);
    // Gives up the name's hot key; the system's goes when no name holds it.
    void release(const Name& name);
    void markDisabled(const Name& name) { disabled_.insert(name.rawValue()); }
    void markEnabled(const Name& name) { disabled_.erase(name.rawValue()); }
    std::vector<Shortcut> heldShortcuts() const;

    void addKeyDownAction(const Name& name, Action action);
    void addKeyUpAction(const Name& name, Action action);
    void removeAllActions();

    void addFeeders(const Name& name, const std::string& id, Feeder keyDown, Feeder keyUp);
    void removeFeeders(const Name& name, const std::string& id);

    void deliver(const Shortcut& shortcut, EventType type);

    bool hotKeysEnabled = true;
    bool handlingPaused = false;
    bool menuTracking = false;

    // Observes menus opening and closing, once per process.
    void installMenuTrackingObservers();

    void reset();

private:
    NamedShortcuts() = default;
    bool isEnabled(const Name& name) const { return !disabled_.contains(name.rawValue()); }
    bool hasOpenSequence(const Name& name) const;
    enum class MenuTracking { began, ended };
    void menuTrackingChanged(MenuTracking change);

    std::map<std::string, Shortcut> held_;
    std::set<std::string> disabled_;
    ActionTable keyDownActions_;
    ActionTable keyUpActions_;
    SequenceTable keyDownContinuations_;
    SequenceTable keyUpContinuations_;
    platform::Subscription beginTrackingObserver_;
    platform::Subscription endTrackingObserver_;
};

}  // namespace zelvana::keyboardshortcuts
