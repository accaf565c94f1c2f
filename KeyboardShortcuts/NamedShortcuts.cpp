#include "KeyboardShortcuts/NamedShortcuts.hpp"

#include <algorithm>

#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "platform/appkit/Menu.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

template <typename Table>
auto& listFor(Table& table, const Name& name) {
    auto found = std::find_if(table.begin(), table.end(),
                              [&](const auto& entry) { return entry.first == name; });
    if (found != table.end()) return *found->second;
    using List = typename Table::value_type::second_type::element_type;
    return *table.emplace_back(name, std::make_shared<List>()).second;
}

// Ends every entry, so a delivery under way skips them too.
template <typename Table>
void clearTable(Table& table) {
    for (auto& entry : table) entry.second->clear();
    table.clear();
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
        hotKeys_.insert_or_assign(shortcut,
                                  namedHotKeys().registerShortcut(shortcut, &handleShortcutKeyDown,
                                                                  &handleShortcutKeyUp));
    }
}

void NamedShortcuts::release(const Name& name) {
    auto current = held_.find(name.rawValue());
    if (current == held_.end()) return;
    const auto shortcut = current->second;
    held_.erase(current);
    const bool stillHeld = std::any_of(held_.begin(), held_.end(),
                                       [&](const auto& entry) { return entry.second == shortcut; });
    if (!stillHeld) hotKeys_.erase(shortcut);
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

platform::Subscription NamedShortcuts::addKeyDownAction(const Name& name,
                                                        Actions::Callback action) {
    return listFor(keyDownActions_, name).add(std::move(action));
}

platform::Subscription NamedShortcuts::addKeyUpAction(const Name& name, Actions::Callback action) {
    return listFor(keyUpActions_, name).add(std::move(action));
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
    clearTable(keyDownActions_);
    clearTable(keyUpActions_);
}

std::size_t NamedShortcuts::actionCount() const {
    std::size_t count = 0;
    for (const auto* table : {&keyDownActions_, &keyUpActions_}) {
        for (const auto& entry : *table) count += entry.second->size();
    }
    return count;
}

bool NamedShortcuts::hasOpenSequence(const Name& name) const {
    for (const auto* table : {&keyDownContinuations_, &keyUpContinuations_}) {
        for (const auto& [tableName, feeders] : *table) {
            if (tableName == name && !feeders->empty()) return true;
        }
    }
    return false;
}

platform::Subscription NamedShortcuts::addFeeders(const Name& name, Feeders::Callback keyDown,
                                                  Feeders::Callback keyUp) {
    // The name's entries stay after the feeders go, so its hot key still counts as used.
    auto down = std::make_shared<platform::Subscription>(
        listFor(keyDownContinuations_, name).add(std::move(keyDown)));
    auto up = std::make_shared<platform::Subscription>(
        listFor(keyUpContinuations_, name).add(std::move(keyUp)));
    return platform::Subscription([down, up] {
        down->cancel();
        up->cancel();
    });
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
        if (matches(name)) list->emit();
    }
    for (const auto& [name, feeders] : sequences) {
        if (matches(name)) feeders->emit(type);
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
    hotKeys_.clear();
    disabled_.clear();
    clearTable(keyDownActions_);
    clearTable(keyUpActions_);
    clearTable(keyDownContinuations_);
    clearTable(keyUpContinuations_);
    beginTrackingObserver_.cancel();
    endTrackingObserver_.cancel();
    hotKeysEnabled = true;
    handlingPaused = false;
    menuTracking = false;
}

}  // namespace zelvana::keyboardshortcuts
