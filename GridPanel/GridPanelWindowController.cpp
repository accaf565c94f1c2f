#include "GridPanel/GridPanelWindowController.hpp"

#include <map>
#include <string>

#include "GridPanel/GridPanelViewController.hpp"
#include "GridPanel/GridPanelWindow.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::gridpanel {

using platform::Application;

GridPanelWindowController::GridPanelWindowController(std::shared_ptr<GridPanelOptions> options)
    : WindowController(platform::Window::withContentViewController<GridPanelWindow>(
          std::make_shared<GridPanelViewController>(options))),
      options_(std::move(options)) {
    platform::assertMainThread();
    if (!options_) return;
    delegate = options_->delegate;
    window()->setTitle(options_->windowTitle.value_or(options_->placeholder));
}

GridPanelWindowController::~GridPanelWindowController() {
    if (modalSession_) Application::shared().endModalSession(*modalSession_);
}

bool GridPanelWindowController::isRenaming() const {
    const GridPanelViewController* controller = viewController();
    return controller && controller->isRenaming();
}

GridPanelViewController* GridPanelWindowController::viewController() const {
    return dynamic_cast<GridPanelViewController*>(contentViewController());
}

GridPanelWindow* GridPanelWindowController::panelWindow() const {
    return dynamic_cast<GridPanelWindow*>(window());
}

bool GridPanelWindowController::isOpen() const {
    const GridPanelWindow* window = panelWindow();
    return window && window->isOpen;
}

void GridPanelWindowController::show(AutoClose autoClose) {
    platform::assertMainThread();
    GridPanelWindow* window = panelWindow();
    if (!window) return;
    window->isOpen = true;
    if (!modalSession_) {  // shown again while open: the same session goes on
        modalSession_ = Application::shared().beginModalSession(*window);
        Application::shared().runModalSession(*modalSession_);
    }
    window->makeKeyWindow();
    GridPanelViewController* controller = viewController();
    if (!controller) return;
    if (autoClose == AutoClose::on) {
        // Replacing the token stops an earlier timer first.
        controller->closeTimer =
            platform::Timer::scheduled(autoCloseDelay, platform::Repeats::no,
                                       [weak = controller->weakRef()](platform::Timer&) {
                                           if (GridPanelViewController* controller = weak.get())
                                               controller->closePanel();
                                       });
    }
}

void GridPanelWindowController::toggle() {
    platform::assertMainThread();
    if (isOpen()) {
        close();
    } else {
        show(AutoClose::off);
    }
}

void GridPanelWindowController::close() {
    platform::assertMainThread();
    if (closing_) return;
    if (isEditing_) {
        closeWaiting_ = true;  // a name being typed is never lost
        return;
    }
    closing_ = true;
    if (modalSession_) {
        Application::shared().endModalSession(*modalSession_);
        modalSession_.reset();
    }
    GridPanelWindow* window = panelWindow();
    // Only a shown panel closes, so the delegate hears of each close once.
    if (window && (window->isOpen || window->isVisible())) window->closeWindow();
    closing_ = false;
}

void GridPanelWindowController::renameEnded() {
    platform::assertMainThread();
    const GridPanelWindow* window = panelWindow();
    if (std::exchange(closeWaiting_, false) || (window && !window->isKeyWindow())) close();
}

void GridPanelWindowController::activateSelection() {
    platform::assertMainThread();
    if (GridPanelViewController* controller = viewController();
        controller && controller->newSelection) {
        controller->newSelection->unit->element()->select();
    }
    close();
}

namespace {

// Units never change, so an element still at its place keeps its unit: a
// thousand spaces are not made anew each time one more is learned.
CellUnitRef unitAt(const CellGrid* earlier, std::size_t row, std::size_t col,
                   const GridElementRef& element) {
    if (earlier && row < earlier->grid.size() && col < earlier->grid[row].size()) {
        const auto& unit = earlier->grid[row][col];
        if (unit && unit->element() == element && unit->type() == GridUnitType::basic) return unit;
    }
    return std::make_shared<CellUnit>(element, GridUnitType::basic);
}

}  // namespace

void GridPanelWindowController::reload(std::optional<std::int64_t> id, const ElementRows& grid) {
    platform::assertMainThread();
    GridPanelViewController* controller = viewController();
    const CellGrid* earlier = controller && controller->grid ? &*controller->grid : nullptr;
    CellGrid cells{id, {}};
    for (const auto& row : grid) {
        auto& units = cells.grid.emplace_back();
        for (const auto& element : row) {
            if (!element) continue;
            units.push_back(unitAt(earlier, cells.grid.size() - 1, units.size(), element));
        }
    }
    if (controller) controller->reload(std::move(cells));
}

void GridPanelWindowController::updateElements(std::optional<std::int64_t> id,
                                               const ElementRows& elements) {
    platform::assertMainThread();
    GridPanelViewController* controller = viewController();
    if (!controller || !controller->grid) return;
    if (id && id != controller->grid->id) return;
    std::map<std::string, GridElementRef> byId;
    for (const auto& row : elements) {
        for (const auto& element : row) {
            if (element && element->id()) byId.emplace(*element->id(), element);
        }
    }
    controller->grid->forEachCell([&](const CellUnitRef& unit, std::int64_t row, std::int64_t col) {
        return controller->updateCell(unit, row, col, byId);
    });
}

void GridPanelWindowController::move(std::int64_t rawDirection) {
    platform::assertMainThread();
    const auto direction = directionalFromRawValue(rawDirection);
    GridPanelViewController* controller = viewController();
    if (direction && controller) controller->move(*direction);
}

void GridPanelWindowController::selectNext() {
    platform::assertMainThread();
    if (GridPanelViewController* controller = viewController()) controller->selectNext();
}

void GridPanelWindowController::selectPrevious() {
    platform::assertMainThread();
    if (GridPanelViewController* controller = viewController()) controller->selectPrevious();
}

bool GridPanelWindowController::cursorSelects() const {
    const GridPanelViewController* controller = viewController();
    return controller && controller->cursorSelects;
}

void GridPanelWindowController::setCursorSelects(bool selects) {
    platform::assertMainThread();
    if (GridPanelViewController* controller = viewController()) controller->cursorSelects = selects;
}

void GridPanelWindowController::panelDidClose() {
    platform::assertMainThread();
    if (GridPanelViewController* controller = viewController()) controller->resetSelection();
    if (auto* host = delegate.get()) host->panelClosed();
}

void GridPanelWindowController::panelDidMove() {
    platform::assertMainThread();
    if (auto* host = delegate.get()) host->panelMoved();
}

}  // namespace zelvana::gridpanel
