// The hub as the delegate of the switcher, the panel, the gestures and the
// modifier trigger.
#include "GridPanel/GridPanelWindowController.hpp"
#include "Tools/ScreenDetection.hpp"
#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/GridRestoration.hpp"
#include "Zelvana/ScreenManager.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "gestures/GestureMatch.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core {

namespace {

using gestures::Gesture;

// How long a reload waits for a rename to end before it looks again.
constexpr double kReloadRetryDelay = 0.1;

GridStep stepFor(std::int64_t directionRawValue) {
    return static_cast<GridStep>(directionRawValue - 1);
}

gridpanel::ElementRows elementRows(const SpaceGrid::Rows& grid) {
    gridpanel::ElementRows rows;
    rows.reserve(grid.size());
    for (const auto& row : grid) rows.emplace_back(row.begin(), row.end());
    return rows;
}

bool isRestToOne(Gesture gesture) {
    return gestures::recognizerKind(gesture) != gestures::Recognizer::swipe;
}

}  // namespace

void ZelvanaManager::reloadPanel(const Rows& grid) {
    // Reloading would take the cell being renamed away from under the user.
    if (isBusy()) {
        if (session_.reloadDeferred()) retryReloadAfterRename();
        return;
    }
    session_.reloaded();
    gridPanel_->reload(std::nullopt, elementRows(grid));
}

void ZelvanaManager::retryReloadAfterRename() {
    platform::mainQueue().asyncAfter(kReloadRetryDelay, [weak = weakRef()] {
        auto* self = weak.get();
        if (!self || !self->session_.isReloadWaiting()) return;
        if (self->isBusy()) return self->retryReloadAfterRename();
        self->reloadPanel(self->spaceGrid_->mainScreenGrid());
    });
}

void ZelvanaManager::anchorsAdded(
    const std::vector<std::shared_ptr<switcher::SpaceAnchor>>& anchors) {
    platform::assertMainThread();
    for (const auto& anchor : anchors) spaceGrid_->add(restoration::spaceForAnchor(anchor));
    // Each display's current space was active just now.
    const auto active = spaceSwitcher_->activeAnchors();
    for (const auto& anchor : active) anchor->setLastActive(platform::Date::now());
    adoptWindowLists(active);
    if (!isBusy()) gridPanel_->close();
    const auto grid = spaceGrid_->mainScreenGrid();
    reloadPanel(grid);
    updateStatusTitle(grid);
    if (anchors.empty()) return;
    maybeShowNewSpacePanel(active);
    saveGrid();
}

void ZelvanaManager::adoptWindowLists(
    const std::vector<std::shared_ptr<switcher::SpaceAnchor>>& active) {
    const auto windows = restoration::guaranteedWindowList(*spaceSwitcher_);
    if (!windows) return;
    const auto screens = platform::Screen::screens();
    for (const auto& anchor : active) {
        const auto screen = anchor->screen();
        const auto space = screen ? spaceGrid_->space(anchor->id()) : nullptr;
        if (!space) continue;
        std::vector<tools::WindowInfo> onScreen;
        for (const auto& window : *windows) {
            if (tools::ScreenDetection::screenForRect(screens, window.frame) == screen) {
                onScreen.push_back(window);
            }
        }
        space->setWindowList(std::move(onScreen));
        // A list seen now is not stale, on any display.
        space->setIsStale(false);
        space->rebuildImage();
    }
}

void ZelvanaManager::maybeShowNewSpacePanel(
    const std::vector<std::shared_ptr<switcher::SpaceAnchor>>& active) {
    if (!spaceGrid_->hasMainScreenActiveSpaces(2)) return;
    const auto main = platform::Screen::main();
    for (const auto& space : spaceGrid_->spaces()) {
        const auto& anchor = space->anchor();
        if (!anchor || std::ranges::find(active, anchor) == active.end()) continue;
        const auto screen = anchor->screen();
        if (screen != main) continue;
        const auto fills = [&](const tools::WindowInfo& window) {
            return screen && window.frame == screen->frame();
        };
        if (std::ranges::none_of(space->windowList(), fills)) showPanel(AutoClose::on);
        return;
    }
}

void ZelvanaManager::anchorRemoved(const std::shared_ptr<switcher::SpaceAnchor>& anchor) {
    platform::assertMainThread();
    spaceGrid_->remove(anchor->id());
    saveGrid();
    reloadPanel(spaceGrid_->mainScreenGrid());
}

void ZelvanaManager::anchorChangedScreen(const std::shared_ptr<switcher::SpaceAnchor>& anchor) {
    platform::assertMainThread();
    spaceGrid_->updateSpace(anchor->id(), *screenManager_);
    // Its picture was drawn for the cells of the display it left.
    if (const auto space = spaceGrid_->space(anchor->id())) space->rebuildImage();
    saveGrid();
    reloadPanel(spaceGrid_->mainScreenGrid());
}

void ZelvanaManager::gridChanged(std::optional<std::int64_t> /*id*/,
                                 const gridpanel::ElementRows& rows) {
    platform::assertMainThread();
    const auto main = platform::Screen::main();
    if (!main) return;
    const auto display = displayNumber(*main);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            // Placeholders of empty cells have no id and are passed over.
            const auto& element = rows[r][c];
            const auto space =
                element && element->id() ? spaceGrid_->space(*element->id()) : nullptr;
            if (!space) continue;
            space->setCell(display,
                           Coordinates{static_cast<std::int64_t>(r), static_cast<std::int64_t>(c)});
        }
    }
    updateStatusTitle();
    saveGrid();
}

void ZelvanaManager::panelClosed() {
    platform::assertMainThread();
    session_.closed();
    // A highlight left behind would be committed by a later release elsewhere.
    for (const auto& space : spaceGrid_->spaces()) space->setIsNewSelection(false);
}

void ZelvanaManager::selectionChanged(const gridpanel::GridElementRef& /*element*/) {
    platform::assertMainThread();
    session_.selectionChanged();
}

void ZelvanaManager::gestureRecognized(gestures::GestureMatch::Packed packed) {
    platform::assertMainThread();
    const auto match = gestures::GestureMatch::unpacked(packed);
    if (!match || !spaceSwitcher_->activeAnchor()) return;
    const auto direction = match->direction;
    switch (gestures::recognizerKind(match->gesture)) {
        case gestures::Recognizer::restToOne:
            refreshGrid(GridStep::none);
            showPanel(AutoClose::off);
            session_.openedByGesture();
            return;
        case gestures::Recognizer::restToOneDir:
            refreshGrid(GridStep::none);
            gridPanel_->setCursorSelects(false);
            if (!direction) {
                showPanel(AutoClose::off);
                session_.openedByGesture();
            } else {
                gridPanel_->move(gestures::rawValue(*direction));
            }
            return;
        case gestures::Recognizer::swipe:
            if (!direction) return;
            const auto current = currentSpace();
            if (!current) return;
            const auto grid = spaceGrid_->mainScreenGrid();
            const auto neighbour =
                neighbourOnMainGrid(stepFor(gestures::rawValue(*direction)), current, grid);
            if (neighbour && neighbour->id()) switchToSpaceWithId(*neighbour->id());
            return;
    }
}

void ZelvanaManager::gestureEnded(gestures::GestureMatch::Packed packed) {
    platform::assertMainThread();
    const auto match = gestures::GestureMatch::unpacked(packed);
    if (match && isRestToOne(match->gesture) && !gridPanel_->isRenaming()) {
        gridPanel_->activateSelection();
    }
}

void ZelvanaManager::arrowDidPress(input::Cardinal direction) {
    platform::assertMainThread();
    if (isPanelOpen()) {
        gridPanel_->move(input::rawValue(direction));
    } else {
        // At the grid's edge, or without a current space, there is nowhere to
        // go: the panel stays closed and the release commits nothing.
        if (!refreshGrid(stepFor(input::rawValue(direction))).highlighted) return;
        gridPanel_->setCursorSelects(false);
        showPanel(AutoClose::off);
    }
    session_.arrowPressed();
    restoreCursorSelectsLater();
}

}  // namespace zelvana::core
