// The hub's shortcuts, modifier flags and commit.
#include "GridPanel/GridPanelWindowController.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core {

namespace {

using platform::Modifier;
using platform::ModifierFlags;

// The keys that make a modifier combination; Caps Lock, Fn and the keypad
// bit never keep a release from counting.
constexpr ModifierFlags kHeldModifiers =
    Modifier::shift | Modifier::control | Modifier::option | Modifier::command;

bool repetitionMode() {
    return GlobalDefaults::repetitionMode().isUserEnabled();
}

std::optional<keyboardshortcuts::Shortcut> showShortcut() {
    return keyboardshortcuts::getShortcut(GlobalDefaults::show());
}

bool showHasModifiers() {
    const auto show = showShortcut();
    return show && !(show->modifiers() & kHeldModifiers).isEmpty();
}

}  // namespace

bool ZelvanaManager::isBusy() const {
    return gridPanel_->isEditing();
}

bool ZelvanaManager::isPanelOpen() const {
    return gridPanel_->isOpen();
}

void ZelvanaManager::closePanel() {
    gridState_ = GridPanelState::closed;
    isOpenLikeMissionControl_ = false;
    gridPanel_->close();
}

void ZelvanaManager::showPanel(AutoClose autoClose) {
    gridPanel_->show(autoClose);
}

void ZelvanaManager::restoreCursorSelectsLater() {
    platform::mainQueue().async([weak = weakRef()] {
        if (auto* self = weak.get()) self->gridPanel_->setCursorSelects(true);
    });
}

void ZelvanaManager::openPanel() {
    gridState_ = GridPanelState::open;
    if (!repetitionMode()) {
        refreshGrid(GridStep::none);
        gridPanel_->setCursorSelects(false);
        restoreCursorSelectsLater();
    } else {
        refreshGrid(GridStep::forward);
    }
    showPanel(AutoClose::off);
}

void ZelvanaManager::showKeyDown() {
    platform::assertMainThread();
    if (!isPanelOpen()) return openPanel();
    if (isOpenLikeMissionControl_) return commitSelection();
    const auto& spaces = spaceGrid_->spaces();
    const bool highlighted =
        std::ranges::any_of(spaces, [](const auto& space) { return space->isNewSelection(); });
    if (highlighted) return gridPanel_->selectNext();
    if (gridState_ == GridPanelState::openNoAutoSelect) {
        if (!isBusy()) closePanel();
        return;
    }
    gridPanel_->selectNext();
}

void ZelvanaManager::showKeyUp() {
    platform::assertMainThread();
    // Cleared on every key-up, so a later one never measures from an old press.
    const auto pressed = std::exchange(lastShowDown_, std::nullopt);
    const auto show = showShortcut();
    if (!show || !show->modifiers().isEmpty() || !pressed || gridState_ == GridPanelState::closed) {
        return;
    }
    const double held = platform::Date::now().timeIntervalSince(*pressed);
    if (held > holdThreshold) {
        commitSelection();
    } else {
        isOpenLikeMissionControl_ = true;
    }
}

void ZelvanaManager::cycleReverseKeyDown() {
    platform::assertMainThread();
    if (!isPanelOpen()) {
        refreshGrid(GridStep::backward);
        gridPanel_->setCursorSelects(false);
        gridState_ = GridPanelState::open;
        showPanel(AutoClose::off);
    } else {
        gridPanel_->selectPrevious();
    }
    restoreCursorSelectsLater();
}

std::shared_ptr<Space> ZelvanaManager::takeSelection() {
    std::shared_ptr<Space> selected;
    for (const auto& space : spaceGrid_->spaces()) {
        if (space->isNewSelection() && !selected) selected = space;
        space->setIsNewSelection(false);
    }
    return selected;
}

void ZelvanaManager::commitSelection() {
    platform::assertMainThread();
    if (isBusy()) return;
    if (const auto selected = takeSelection()) {
        // The panel closes itself once it is no longer key.
        if (selected->anchor()) selected->anchor()->activate();
        return;
    }
    closePanel();
}

void ZelvanaManager::switchToSpaceWithId(const std::string& id) {
    platform::assertMainThread();
    if (isBusy()) return;
    const auto& anchors = spaceSwitcher_->idAnchors();
    const auto found = anchors.find(id);
    if (found == anchors.end()) return closePanel();
    const auto anchor = found->second;
    refreshGrid(GridStep::none);
    anchor->activate();
}

void ZelvanaManager::handleFlagsChanged(const std::optional<platform::Event>& event) {
    platform::assertMainThread();
    if (!event || isBusy()) return;
    const ModifierFlags current = event->modifierFlags;
    const auto previous = std::exchange(lastFlags_, current);
    if (!repetitionMode() && isPanelOpen() && !triggerIncludesShift() && previous) {
        const auto released =
            previous->without(current) & platform::kDeviceIndependentModifierFlags;
        // Shift alone went up while another key of the combination is held:
        // a step back. When Shift is the last key up, the release commits.
        if (released == Modifier::shift && !(current & kHeldModifiers).isEmpty()) {
            return cycleReverseKeyDown();
        }
    }
    if ((current & kHeldModifiers).isEmpty() && releaseCommits()) releaseToCommit();
}

bool ZelvanaManager::releaseCommits() const {
    if (triggerSource_ == TriggerSource::arrow) return true;
    return triggerSource_ == TriggerSource::shortcut && showHasModifiers();
}

void ZelvanaManager::releaseToCommit() {
    triggerSource_.reset();
    if (const auto selected = takeSelection()) {
        if (selected->anchor()) selected->anchor()->activate();
        if (!isBusy()) closePanel();
        return;
    }
    // A highlight the pointer cleared counts as none: the panel stays open
    // for a pick and the next "show" press closes it.
    if (gridState_ == GridPanelState::open || gridState_ == GridPanelState::selectable) {
        gridPanel_->setCursorSelects(false);
        gridState_ = GridPanelState::openNoAutoSelect;
    }
}

bool ZelvanaManager::triggerIncludesShift() const {
    if (triggerSource_ == TriggerSource::shortcut) {
        const auto show = showShortcut();
        return show && show->modifiers().contains(Modifier::shift);
    }
    if (triggerSource_ == TriggerSource::arrow) {
        return GlobalDefaults::storedArrowFlags().contains(Modifier::shift);
    }
    return false;
}

void ZelvanaManager::updateReverseShortcut() {
    platform::assertMainThread();
    const auto& cycleReverse = GlobalDefaults::cycleReverse();
    const auto show = showShortcut();
    // Without a "show" there is nothing to reverse: a reverse kept from an
    // older "show" would be stale.
    if (!repetitionMode() || !show || show->modifiers().contains(Modifier::shift)) {
        return keyboardshortcuts::disable(cycleReverse);
    }
    // Through the platform flags, so the result is never a bare key.
    keyboardshortcuts::setShortcut(keyboardshortcuts::Shortcut::fromModifierFlags(
                                       show->carbonKeyCode(), show->modifiers() | Modifier::shift),
                                   cycleReverse);
    keyboardshortcuts::enable(cycleReverse);
}

}  // namespace zelvana::core
