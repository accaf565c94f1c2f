#include "GridPanel/GridPanelViewController.hpp"

#include <algorithm>

#include "GridPanel/DialogPopover.hpp"
#include "GridPanel/EmptyGridElement.hpp"
#include "GridPanel/GridPanelView.hpp"
#include "GridPanel/GridPanelWindow.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "GridPanel/GridUnitStackView.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

using platform::Event;
using platform::Rect;
using platform::Size;
using platform::StackView;

namespace {

// The search field takes no height until type-to-search shows it.
class CollapsedTextField final : public platform::TextField {
public:
    Size intrinsicContentSize() const override {
        return {TextField::intrinsicContentSize().width, 0};
    }
};

std::int64_t length(const CellGrid::Row& row) {
    return static_cast<std::int64_t>(row.size());
}

// The place inside the grid nearest to `loc`; none in a grid without cells.
std::optional<CellUnitAndLoc> clampedInto(const CellGrid& grid, GridLoc loc) {
    const auto rows = static_cast<std::int64_t>(grid.grid.size());
    for (auto row = std::min(std::max<std::int64_t>(loc.row, 0), rows - 1); row >= 0; --row) {
        const auto& cells = grid.grid[static_cast<std::size_t>(row)];
        if (cells.empty()) continue;
        return grid.at(GridLoc{row, std::clamp<std::int64_t>(loc.col, 0, length(cells) - 1)});
    }
    return grid.firstCellAndLoc();
}

}  // namespace

GridPanelViewController::GridPanelViewController(std::shared_ptr<GridPanelOptions> options)
    : searchDelegate(options ? options->searchDelegate : nullptr),
      gridDelegate(options ? options->delegate : nullptr),
      options_(std::move(options)) {}

GridPanelViewController::~GridPanelViewController() = default;

void GridPanelViewController::loadView() {
    auto view = std::make_shared<GridPanelView>(Rect{});
    view->setWantsLayer(true);
    view->layer()->cornerRadius = (options_ ? options_->radius : 0) + 1;
    view->layer()->borderWidth = 1;
    view->layer()->borderColor = platform::Color::clear();
    setView(view);
}

void GridPanelViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    makeTransparentView();
    makeStackView();
    transparentView_->addSubview(stackView_);
    view()->addSubview(transparentView_);
    stackView_->setFrame(transparentView_->bounds());  // pinned to the backdrop's edges
    installMonitors();
    if (options_) gridDelegate = options_->delegate;
}

void GridPanelViewController::makeTransparentView() {
    const double width = options_ ? options_->width : 0;
    const double height = options_ ? options_->height : 0;
    transparentView_ =
        std::make_shared<platform::VisualEffectView>(Rect::make(0, 0, width, height));
    transparentView_->setState(platform::VisualEffectView::State::active);
    transparentView_->setWantsLayer(true);
    transparentView_->setBlendingMode(platform::VisualEffectView::BlendingMode::behindWindow);
    transparentView_->layer()->cornerRadius = options_ ? options_->radius : 0;
    transparentView_->setMaterial(
        static_cast<platform::VisualEffectView::Material>(options_ ? options_->material : 6));
}

void GridPanelViewController::makeStackView() {
    stackView_ = std::make_shared<StackView>();
    stackView_->setSpacing(0);
    stackView_->setOrientation(StackView::Orientation::vertical);
    stackView_->setDistribution(StackView::Distribution::fillEqually);
    if (options_) stackView_->setEdgeInsets(options_->edgeInsets);
    stackView_->setTranslatesAutoresizingMaskIntoConstraints(false);
}

void GridPanelViewController::reload(CellGrid cells) {
    grid = std::move(cells);
    if (!gridView_) {
        buildGrid();
    } else {
        populateGrid();
    }
}

void GridPanelViewController::buildGrid() {
    view();  // loaded
    if (gridStackView_) {
        stackView_->removeArrangedSubview(gridStackView_.get());
        gridStackView_->removeFromSuperview();
    }
    gridView_ = std::make_shared<StackGridView>();
    gridView_->columnSpacing = cellSpacing;
    gridView_->rowSpacing = cellSpacing;
    gridView_->setSpacing(cellSpacing);
    populateGrid();
    if (auto* panelView = dynamic_cast<GridPanelView*>(view().get())) {
        panelView->gridView = gridView_;
        panelView->viewController = weak_.ref();
    }
    gridStackView_ = std::make_shared<StackView>();
    gridStackView_->setOrientation(StackView::Orientation::horizontal);
    gridStackView_->setAlignment(StackView::Alignment::centerY);
    gridStackView_->addArrangedSubview(gridView_);
    gridStackView_->setEdgeInsets({gridInset, gridInset, gridInset, gridInset});
    stackView_->addArrangedSubview(gridStackView_);
    textField_ = std::make_shared<CollapsedTextField>();
    textField_->setDelegate(this);
    textField_->setHidden(!(options_ && options_->textFieldTypeMatch));
    stackView_->addArrangedSubview(textField_);
    sizeToFit();
}

std::shared_ptr<GridUnitStackView> GridPanelViewController::makeCell(const CellUnitRef& unit,
                                                                     GridLoc loc) {
    auto cell = std::make_shared<GridUnitStackView>();
    cell->configure(unit, options_ && options_->showTitles, *this);
    cell->loc = loc;
    return cell;
}

void GridPanelViewController::populateGrid() {
    if (renaming_) {
        // The open popover edits a cell of this build: rebuild when it ends.
        rebuildPending_ = true;
        return;
    }
    if (!grid || !gridView_) return;
    std::int64_t columns = 0;
    for (const auto& row : grid->grid) columns = std::max(columns, length(row));
    StackGridView::Rows rows;
    for (std::int64_t r = 0; r < static_cast<std::int64_t>(grid->grid.size()); ++r) {
        const auto& cells = grid->grid[static_cast<std::size_t>(r)];
        auto& views = rows.emplace_back();
        for (std::int64_t c = 0; c < length(cells); ++c) {
            views.push_back(makeCell(cells[static_cast<std::size_t>(c)], GridLoc{r, c}));
            trackCell(cells[static_cast<std::size_t>(c)], r, c);
        }
        // Padding exists only in the views, sized like the row's first element.
        const auto size = cells.empty() ? std::nullopt : cells.front()->element()->size();
        for (std::int64_t c = length(cells); c < columns; ++c) {
            auto fill = std::make_shared<CellUnit>(std::make_shared<EmptyGridElement>(size),
                                                   GridUnitType::fill);
            views.push_back(makeCell(fill, GridLoc{r, c}));
        }
    }
    gridView_->setRows(rows);
    if (current && !grid->at(current->loc)) current = clampedInto(*grid, current->loc);
    if (newSelection && !grid->at(newSelection->loc))
        highlight(clampedInto(*grid, newSelection->loc));
    sizeToFit();
}

void GridPanelViewController::trackCell(const CellUnitRef& unit, std::int64_t row,
                                        std::int64_t col) {
    if (unit->element()->isCurrent()) current = CellUnitAndLoc{unit, GridLoc{row, col}};
    if (unit->element()->isNewSelection()) highlight(CellUnitAndLoc{unit, GridLoc{row, col}});
}

void GridPanelViewController::highlight(const std::optional<CellUnitAndLoc>& cell) {
    clearHighlight();
    newSelection = cell;
    markSelection();
}

void GridPanelViewController::redisplay(const std::optional<CellUnitAndLoc>& cell) const {
    if (!cell || !gridView_) return;
    if (GridUnitStackView* view = cellView(cell->loc.row, cell->loc.col))
        view->setNeedsDisplay(true);
}

GridUnitStackView* GridPanelViewController::cellView(std::int64_t row, std::int64_t col) const {
    if (!gridView_) return nullptr;
    const SingleStackView* single = gridView_->singleStackView(row, col);
    if (!single || single->arrangedSubviews().empty()) return nullptr;
    return dynamic_cast<GridUnitStackView*>(single->arrangedSubviews().front().get());
}

void GridPanelViewController::markSelection() {
    if (newSelection) {
        newSelection->unit->element()->setIsNewSelection(true);
        redisplay(newSelection);
    }
    if (gridDelegate)
        gridDelegate->selectionChanged(newSelection ? newSelection->unit->element() : nullptr);
}

void GridPanelViewController::clearHighlight() {
    closeTimer.cancel();  // any change of the highlight keeps the panel open
    if (newSelection) {
        newSelection->unit->element()->setIsNewSelection(false);
        redisplay(newSelection);
    }
}

void GridPanelViewController::resetSelection() {
    if (newSelection) newSelection->unit->element()->setIsNewSelection(false);
    current.reset();
    clearHighlight();
    newSelection.reset();
    markSelection();
    cursorSelects = true;
    closeTimer.cancel();
}

void GridPanelViewController::sizeToFit() {
    platform::Window* window = view()->window();
    if (!window || !platform::Screen::main() || !gridView_) return;
    const Size fitting = gridView_->fittingSize();
    const Size content{fitting.width + 2 * gridInset, fitting.height + 2 * gridInset};
    transparentView_->setFrameSize(content);
    stackView_->setFrame(transparentView_->bounds());
    window->setContentSize(content);
    window->center();
    view()->setNeedsDisplay(true);
}

void GridPanelViewController::closePanel() {
    if (GridPanelWindowController* controller = panelWindowController()) controller->close();
}

bool GridPanelViewController::updateCell(const CellUnitRef& unit, std::int64_t row,
                                         std::int64_t col,
                                         const std::map<std::string, GridElementRef>& updated) {
    const auto& id = unit->element()->id();
    const auto found = id ? updated.find(*id) : updated.end();
    if (found == updated.end() || !gridView_ || !grid || !grid->at(GridLoc{row, col})) return true;
    auto replaced = std::make_shared<CellUnit>(found->second, unit->type());
    auto cell = makeCell(replaced, GridLoc{row, col});
    if (SingleStackView* single = gridView_->singleStackView(row, col)) {
        if (!single->arrangedSubviews().empty()) {
            const auto old = single->arrangedSubviews().front();
            single->removeArrangedSubview(old.get());
            old->removeFromSuperview();
        }
        single->addArrangedSubview(cell);
    }
    grid->grid[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(replaced);
    return true;
}

GridPanelWindowController* GridPanelViewController::panelWindowController() const {
    const auto& view = const_cast<GridPanelViewController*>(this)->view();
    platform::Window* window = view ? view->window() : nullptr;
    return window ? dynamic_cast<GridPanelWindowController*>(window->windowController()) : nullptr;
}

bool GridPanelViewController::isPanelOpen() const {
    GridPanelWindowController* controller = panelWindowController();
    auto* window = controller ? dynamic_cast<GridPanelWindow*>(controller->window()) : nullptr;
    return window && window->isOpen;
}

bool GridPanelViewController::hasMonitors() const {
    return keyDownMonitor_.isActive() && keyUpMonitor_.isActive() && flagMonitor_.isActive();
}

void GridPanelViewController::installMonitors() {
    using Handler = std::optional<Event> (GridPanelViewController::*)(const Event&);
    const auto add = [this](platform::Subscription& token, platform::EventTypeMask mask,
                            Handler handler) {
        if (token.isActive()) return;
        token = Event::addLocalMonitor(mask, [weak = weak_.ref(), handler](const Event& event) {
            GridPanelViewController* controller = weak.get();
            return controller ? (controller->*handler)(event) : std::optional<Event>(event);
        });
    };
    add(keyDownMonitor_, platform::EventMask::keyDown, &GridPanelViewController::onKeyDown);
    add(keyUpMonitor_, platform::EventMask::keyUp, &GridPanelViewController::onKeyUp);
    add(flagMonitor_, platform::EventMask::flagsChanged, &GridPanelViewController::onFlagsChanged);
}

void GridPanelViewController::removeMonitors() {
    keyDownMonitor_.cancel();
    keyUpMonitor_.cancel();
    flagMonitor_.cancel();
}

std::optional<Event> GridPanelViewController::onKeyDown(const Event& event) {
    if (!isPanelOpen() || !options_ || !gridDelegate) return event;
    const auto& handled = options_->handledKeys;
    if (std::ranges::find(handled, event.keyCode) == handled.end()) return event;
    return gridDelegate->handleKeyDown(event);
}

std::optional<Event> GridPanelViewController::onKeyUp(const Event& event) {
    return event;
}

std::optional<Event> GridPanelViewController::onFlagsChanged(const Event& event) {
    if (isPanelOpen() && gridDelegate) gridDelegate->flagsChanged(event);
    return event;
}

void GridPanelViewController::move(Directional direction) {
    if (!grid) return;
    highlight(grid->cellInDirection(direction, newSelection ? newSelection : current));
}

void GridPanelViewController::selectNext() {
    if (!grid) return;
    highlight(grid->nextCell(newSelection ? newSelection : current));
}

void GridPanelViewController::selectPrevious() {
    if (!grid) return;
    highlight(grid->previousCell(newSelection ? newSelection : current));
}

void GridPanelViewController::renameWillBegin() {
    renaming_ = true;
    closeTimer.cancel();  // a name being typed is never closed away
    removeMonitors();
    if (GridPanelWindowController* controller = panelWindowController())
        controller->setIsEditing(true);
}

void GridPanelViewController::renameWillEnd() {
    if (GridPanelWindowController* controller = panelWindowController())
        controller->setIsEditing(false);
    installMonitors();
}

void GridPanelViewController::renameDidEnd(bool confirmed) {
    if (confirmed && gridDelegate && grid) {
        ElementRows rows;
        for (const auto& row : grid->grid) {
            auto& elements = rows.emplace_back();
            for (const auto& unit : row) elements.push_back(unit->element());
        }
        gridDelegate->gridChanged(grid->id, rows);
    }
    dialogClosed = true;
    renaming_ = false;
    if (std::exchange(rebuildPending_, false)) populateGrid();
    if (GridPanelWindowController* controller = panelWindowController()) controller->renameEnded();
}

}  // namespace zelvana::gridpanel
