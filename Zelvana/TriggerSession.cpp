#include "Zelvana/TriggerSession.hpp"

#include <utility>

namespace zelvana::core {

namespace {

using platform::Modifier;
using platform::ModifierFlags;

// The keys that make a modifier combination; Caps Lock, Fn and the keypad
// bit never keep a release from counting.
constexpr ModifierFlags kHeldModifiers =
    Modifier::shift | Modifier::control | Modifier::option | Modifier::command;

bool holdsAny(ModifierFlags flags) {
    return !(flags & kHeldModifiers).isEmpty();
}

}  // namespace

void TriggerSession::openedByGesture() {
    gridState_ = GridPanelState::gesture;
    source_ = TriggerSource::gesture;
}

void TriggerSession::closing() {
    gridState_ = GridPanelState::closed;
    isOpenLikeMissionControl_ = false;
}

void TriggerSession::closed() {
    closing();
    source_.reset();
}

void TriggerSession::selectionChanged() {
    if (gridState_ == GridPanelState::gesture || gridState_ == GridPanelState::openNoAutoSelect) {
        return;
    }
    gridState_ = GridPanelState::selectable;
}

void TriggerSession::showPressed(platform::Date at) {
    source_ = TriggerSource::shortcut;
    lastShowDown_ = at;
}

ShowRelease TriggerSession::showReleased(platform::Date at, const TriggerKeys& keys) {
    // Cleared on every release, so a later one never measures from an old press.
    const auto pressed = std::exchange(lastShowDown_, std::nullopt);
    const auto show = keys.show();
    if (!show || !show->isEmpty() || !pressed || gridState_ == GridPanelState::closed) {
        return ShowRelease::ignored;
    }
    if (at.timeIntervalSince(*pressed) > holdThreshold) return ShowRelease::commits;
    isOpenLikeMissionControl_ = true;
    return ShowRelease::keepsOpen;
}

FlagsOutcome TriggerSession::flagsChanged(ModifierFlags current, const TriggerKeys& keys,
                                          LoneShift loneShift) {
    const auto previous = std::exchange(lastFlags_, current);
    if (loneShift == LoneShift::stepsBack && !includesShift(keys) && previous) {
        const auto released =
            previous->without(current) & platform::kDeviceIndependentModifierFlags;
        // Shift alone went up while another key of the combination is held:
        // a step back. When Shift is the last key up, the release commits.
        if (released == Modifier::shift && holdsAny(current)) return FlagsOutcome::stepsBack;
    }
    if (holdsAny(current) || !releaseCommits(keys)) return FlagsOutcome::none;
    source_.reset();
    return FlagsOutcome::commits;
}

bool TriggerSession::keepOpenForPick() {
    // A highlight the pointer cleared counts as none.
    if (gridState_ != GridPanelState::open && gridState_ != GridPanelState::selectable) {
        return false;
    }
    gridState_ = GridPanelState::openNoAutoSelect;
    return true;
}

bool TriggerSession::reloadDeferred() {
    return !std::exchange(reloadIsWaiting_, true);
}

bool TriggerSession::releaseCommits(const TriggerKeys& keys) const {
    if (source_ == TriggerSource::arrow) return true;
    if (source_ != TriggerSource::shortcut) return false;
    const auto show = keys.show();
    return show && holdsAny(*show);
}

bool TriggerSession::includesShift(const TriggerKeys& keys) const {
    if (source_ == TriggerSource::shortcut) {
        const auto show = keys.show();
        return show && show->contains(Modifier::shift);
    }
    if (source_ == TriggerSource::arrow) return keys.arrows().contains(Modifier::shift);
    return false;
}

}  // namespace zelvana::core
