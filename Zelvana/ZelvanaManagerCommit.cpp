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

bool repetitionMode() {
    return GlobalDefaults::repetitionMode().isUserEnabled();
}

std::optional<keyboardshortcuts::Shortcut> showShortcut() {
    return keyboardshortcuts::getShortcut(GlobalDefaults::show());
}

}  // namespace

bool ZelvanaManager::isBusy() const {
    return gridPanel_->isEditing();
}

bool ZelvanaManager::isPanelOpen() const {
    return gridPanel_->isOpen();
}

void ZelvanaManager::closePanel() {
    session_.closing();
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
    session_.opened();
    const bool repetition = repetitionMode();
    // An empty box offers nothing to pick: without a space the panel stays closed.
    if (!refreshGrid(repetition ? GridStep::forward : GridStep::none).showsSpaces) {
        return session_.closing();
    }
    if (!repetition) {
        gridPanel_->setCursorSelects(false);
        restoreCursorSelectsLater();
    }
    showPanel(AutoClose::off);
}

void ZelvanaManager::showKeyDown() {
    platform::assertMainThread();
    if (!isPanelOpen()) return openPanel();
    if (session_.isOpenLikeMissionControl()) return commitSelection();
    const auto& spaces = spaceGrid_->spaces();
    const bool highlighted =
        std::ranges::any_of(spaces, [](const auto& space) { return space->isNewSelection(); });
    if (highlighted) return gridPanel_->selectNext();
    if (session_.gridState() == GridPanelState::openNoAutoSelect) {
        if (!isBusy()) closePanel();
        return;
    }
    gridPanel_->selectNext();
}

TriggerKeys ZelvanaManager::triggerKeys() {
    const auto showModifiers = []() -> std::optional<platform::ModifierFlags> {
        const auto show = showShortcut();
        if (!show) return std::nullopt;
        return show->modifiers();
    };
    return {showModifiers, [] { return GlobalDefaults::storedArrowFlags(); }};
}

void ZelvanaManager::showKeyUp() {
    platform::assertMainThread();
    if (session_.showReleased(platform::Date::now(), triggerKeys()) == ShowRelease::commits) {
        commitSelection();
    }
}

void ZelvanaManager::cycleReverseKeyDown() {
    platform::assertMainThread();
    if (!isPanelOpen()) {
        if (!refreshGrid(GridStep::backward).showsSpaces) return;
        gridPanel_->setCursorSelects(false);
        session_.opened();
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
    const auto loneShift =
        !repetitionMode() && isPanelOpen() ? LoneShift::stepsBack : LoneShift::ignored;
    switch (session_.flagsChanged(event->modifierFlags, triggerKeys(), loneShift)) {
        case FlagsOutcome::stepsBack:
            return cycleReverseKeyDown();
        case FlagsOutcome::commits:
            return releaseToCommit();
        case FlagsOutcome::none:
            return;
    }
}

void ZelvanaManager::releaseToCommit() {
    if (const auto selected = takeSelection()) {
        if (selected->anchor()) selected->anchor()->activate();
        if (!isBusy()) closePanel();
        return;
    }
    if (session_.keepOpenForPick()) gridPanel_->setCursorSelects(false);
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
