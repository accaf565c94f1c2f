#include "KeyboardShortcuts/NamedShortcuts.hpp"

#include <algorithm>

#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "platform/appkit/Menu.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

template <typename Table>
auto& entryFor(Table& table, const Name& name) {
    auto found = std::find_if(table.begin(), table.end(),
                              [&](const auto& entry) { return entry.first == name; });
    if (found != table.end()) return found->second;
    return table.emplace_back(name, typename Table::value_type::second_type{}).second;
}

}  // namespace

NamedShortcuts& NamedShortcuts::shared() {
    // Never destroyed, so late teardown code can still ask it.
    static auto* state = new NamedShortcuts();
    return *state;
}

void NamedShortcuts::hold(const Name& name, const Shortcut& shortcut) {
    markEnabled(name);
    auto current = held_.find(name.rawValue());
    if (current != held_.end() && current->second != shortcut) release(name);
    held_.insert_or_assign(name.rawValue(), shortcut);
    // Also retries a combination that the system refused earlier.
    if (!namedHotKeys().isRegistered(shortcut)) {
        namedHotKeys().registerShortcut(shortcut, &handleShortcutKeyDown, &handleShortcutKeyUp);
    }
}

void NamedShortcuts::release(const Name& name) {
    auto current = held_.find(name.rawValue());
    if (current == held_.end()) return;
    const auto shortcut = current->second;
    held_.erase(current);
    const bool stillHeld = std::any_of(held_.begin(), held_.end(),
                                       [&](const auto& entry) { return entry.second == shortcut; });
    if (!stillHeld) namedHotKeys().unregister(shortcut);
}

std::vector<Shortcut> NamedShortcuts::heldShortcuts() const {
    std::vector<Shortcut> shortcuts;
    for (const auto& [name, shortcut] : held_) {
        if (std::find(shortcuts.begin(), shortcuts.end(), shortcut) == shortcuts.end()) {
            shortcuts.push_back(shortcut);
        }
    }
    return shortcuts;
}

void NamedShortcuts::addKeyDownAction(const Name& name, Action action) {
    entryFor(keyDownActions_, name).push_back(std::move(action));
}

void NamedShortcuts::addKeyUpAction(const Name& name, Action action) {
    entryFor(keyUpActions_, name).push_back(std::move(action));
}

void NamedShortcuts::removeAllActions() {
    std::vector<Name> names;
    for (const auto* table : {&keyDownActions_, &keyUpActions_}) {
        for (const auto& entry : *table) names.push_back(entry.first);
    }
    for (const auto* table : {&keyDownContinuations_, &keyUpContinuations_}) {
        for (const auto& entry : *table) names.push_back(entry.first);
    }
    // A name that an open sequence listens to keeps its hot key.
    for (const auto& name : names) {
        if (!hasOpenSequence(name)) release(name);
    }
    keyDownActions_.clear();
    keyUpActions_.clear();
}

bool NamedShortcuts::hasOpenSequence(const Name& name) const {
    for (const auto* table : {&keyDownContinuations_, &keyUpContinuations_}) {
        for (const auto& [tableName, feeders] : *table) {
            if (tableName == name && !feeders.empty()) return true;
        }
    }
    return false;
}

void NamedShortcuts::addFeeders(const Name& name, const std::string& id, Feeder keyDown,
                                Feeder keyUp) {
    entryFor(keyDownContinuations_, name).insert_or_assign(id, std::move(keyDown));
    entryFor(keyUpContinuations_, name).insert_or_assign(id, std::move(keyUp));
}

void NamedShortcuts::removeFeeders(const Name& name, const std::string& id) {
    // The name's entries stay, so its hot key still counts as used.
    entryFor(keyDownContinuations_, name).erase(id);
    entryFor(keyUpContinuations_, name).erase(id);
}

void NamedShortcuts::deliver(const Shortcut& shortcut, EventType type) {
    if (handlingPaused) return;
    // Copies: an action may attach actions or open sequences.
    const auto actions = type == EventType::keyDown ? keyDownActions_ : keyUpActions_;
    const auto sequences = type == EventType::keyDown ? keyDownContinuations_ : keyUpContinuations_;
    // The defaults are read afresh, so a change by another writer counts at once.
    auto matches = [&](const Name& name) {
        return isEnabled(name) && getShortcut(name) == shortcut;
    };
    for (const auto& [name, list] : actions) {
        if (!matches(name)) continue;
        for (const auto& action : list) action();
    }
    for (const auto& [name, feeders] : sequences) {
        if (!matches(name)) continue;
        for (const auto& [id, feeder] : feeders) feeder(type);
    }
}

void NamedShortcuts::installMenuTrackingObservers() {
    if (beginTrackingObserver_.isActive()) return;
    auto& center = platform::NotificationCenter::defaultCenter();
    beginTrackingObserver_ = center.addObserver(
        platform::kMenuDidBeginTrackingNotification,
        [this](const platform::Notification&) { menuTrackingChanged(MenuTracking::began); });
    endTrackingObserver_ = center.addObserver(
        platform::kMenuDidEndTrackingNotification,
        [this](const platform::Notification&) { menuTrackingChanged(MenuTracking::ended); });
}

void NamedShortcuts::menuTrackingChanged(MenuTracking change) {
    // A flag, not a count of open menus.
    const bool tracking = change == MenuTracking::began;
    const bool changed = menuTracking != tracking;
    menuTracking = tracking;
    if (changed) namedHotKeys().refreshEventHandling();
}

void NamedShortcuts::reset() {
    held_.clear();
    disabled_.clear();
    keyDownActions_.clear();
    keyUpActions_.clear();
    keyDownContinuations_.clear();
    keyUpContinuations_.clear();
    beginTrackingObserver_.cancel();
    endTrackingObserver_.cancel();
    hotKeysEnabled = true;
    handlingPaused = false;
    menuTracking = false;
}

}  // namespace zelvana::keyboardshortcuts
