#include "GridPanel/GridPanelViewController.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "GridPanel/DialogPopover.hpp"
#include "GridPanel/DropPreview.hpp"
#include "GridPanel/EmptyGridElement.hpp"
#include "GridPanel/GridPanelView.hpp"
#include "GridPanel/GridPanelWindow.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "GridPanel/GridUnitStackView.hpp"
#include "GridPanel/KeyCode.hpp"
#include "GridPanel/KeySymbols.hpp"
#include "GridPanel/TitlePrefix.hpp"
#include "Logging/Logging.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

using platform::Event;
using platform::Rect;
using platform::Size;
using platform::StackView;

namespace {

// Option alone among the modifiers that do not depend on the device.
bool isExactlyOption(const Event& event) {
    return event.deviceIndependentModifierFlags() == platform::ModifierFlags(Event::option);
}

// 0 to 9 for a text that is one digit.
std::optional<std::int64_t> singleDigit(const std::string& text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '9') return std::nullopt;
    return text[0] - '0';
}

// The elements of a grid, row by row, as the delegate gets them.
ElementRows elementRows(const CellGrid& grid) {
    ElementRows rows;
    for (const auto& row : grid) {
        auto& elements = rows.emplace_back();
        for (const auto& unit : row) elements.push_back(unit->element());
    }
    return rows;
}

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

// Short rows are padded like their own first element.
std::optional<Size> padLikeFirst(const CellGrid::Row& row) {
    return row.empty() ? std::nullopt : row.front()->element()->size();
}

}  // namespace

GridPanelViewController::GridPanelViewController(std::shared_ptr<GridPanelOptions> options)
    : options_(std::move(options)) {
    platform::assertMainThread();
    if (!options_) return;
    searchDelegate = options_->searchDelegate;
    gridDelegate = options_->delegate;
}

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
    platform::assertMainThread();
    grid = std::move(cells);
    if (!gridView_) {
        buildGrid();
    } else {
        populateGrid();
    }
}

void GridPanelViewController::buildGrid() {
    platform::assertMainThread();
    view();  // loaded
    if (gridStackView_) {
        stackView_->removeArrangedSubview(gridStackView_.get());
        gridStackView_->removeFromSuperview();
    }
    gridView_ = std::make_shared<StackGridView>();
    setSpacing(cellSpacing * cellScale_);
    populateGrid();
    if (auto* panelView = dynamic_cast<GridPanelView*>(view().get())) {
        panelView->gridView = gridView_;
        panelView->viewController = weak_.ref();
    }
    gridStackView_ = std::make_shared<GridClipView>();
    gridStackView_->addArrangedSubview(gridView_);
    gridStackView_->setEdgeInsets({gridInset, gridInset, gridInset, gridInset});
    stackView_->addArrangedSubview(gridStackView_);
    textField_ = std::make_shared<CollapsedTextField>();
    textField_->setDelegate(this);
    textField_->setHidden(!(options_ && options_->textFieldTypeMatch));
    stackView_->addArrangedSubview(textField_);
    layoutIsDue_ = true;
    sizeToFit();
}

std::shared_ptr<GridUnitStackView> GridPanelViewController::makeCell(const CellUnitRef& unit,
                                                                     GridLoc loc) {
    auto cell = std::make_shared<GridUnitStackView>();
    cell->configure(unit, options_ && options_->showTitles, weak_.ref());
    cell->loc = loc;
    return cell;
}

void GridPanelViewController::populateGrid() {
    platform::assertMainThread();
    if (renaming_) {
        // The open popover edits a cell of this build: rebuild when it ends.
        rebuildPending_ = true;
        return;
    }
    // A preview of the grid that was replaced would put its cells back.
    newGrid.reset();
    gridModified = false;
    if (!grid || !gridView_) return;
    if (isPanelOpen()) {
        showRows(grid->grid, padLikeFirst);
    } else {
        // Thousands of cells nobody sees: built when the panel is shown.
        cellsAreDue_ = true;
        trackCells(grid->grid);
    }
    if (current && !grid->at(current->loc)) current = clampedInto(*grid, current->loc);
    if (newSelection && !grid->at(newSelection->loc))
        highlight(clampedInto(*grid, newSelection->loc));
    if (!cellsAreDue_) sizeToFit();
}

void GridPanelViewController::showDueCells() {
    if (!cellsAreDue_ || !grid || !gridView_ || renaming_) return;
    cellsAreDue_ = false;
    buildCells(grid->grid, padLikeFirst);
    sizeToFit();
}

StackGridView* GridPanelViewController::gridView() const {
    const_cast<GridPanelViewController*>(this)->showDueCells();
    return gridView_.get();
}

GridPanelViewController::Placed* GridPanelViewController::Earlier::find(const GridElement* element,
                                                                        GridLoc loc) {
    const auto row = static_cast<std::size_t>(loc.row);
    const auto col = static_cast<std::size_t>(loc.col);
    if (row < placed.size() && col < placed[row].size() && placed[row][col].element == element)
        return &placed[row][col];
    // Sorted once rather than hashed: a node per cell cost more than the search.
    using Entry = std::pair<const GridElement*, Placed*>;
    if (!byElement) {
        byElement.emplace();
        for (auto& cells : placed) {
            for (auto& cell : cells) byElement->emplace_back(cell.element, &cell);
        }
        // An element placed twice is found at its first place.
        std::ranges::stable_sort(*byElement, {}, &Entry::first);
    }
    const auto found = std::ranges::lower_bound(*byElement, element, {}, &Entry::first);
    return found != byElement->end() && found->first == element ? found->second : nullptr;
}

std::shared_ptr<GridUnitStackView> GridPanelViewController::cellFor(const CellUnitRef& unit,
                                                                    GridLoc loc, Earlier& earlier) {
    const bool showTitles = options_ && options_->showTitles;
    if (unit->type() == GridUnitType::fill) {
        const auto found = std::ranges::find_if(earlier.fills, [&](const auto& fill) {
            return fill && fill->showsAsConfigured(*unit, showTitles);
        });
        auto cell =
            found != earlier.fills.end() ? std::exchange(*found, nullptr) : makeCell(unit, loc);
        if (found != earlier.fills.end()) cell->reuseFor(unit, loc);
        cells_.fills.push_back(cell);
        return cell;
    }
    // An element shown twice gets a cell of its own the second time.
    Placed* placed = earlier.find(unit->element().get(), loc);
    auto cell = placed ? std::move(placed->cell) : nullptr;
    if (cell && cell->showsAsConfigured(*unit, showTitles)) {
        cell->reuseFor(unit, loc);
    } else {
        cell = makeCell(unit, loc);
    }
    const auto row = static_cast<std::size_t>(loc.row);
    if (cells_.placed.size() <= row) cells_.placed.resize(row + 1);
    cells_.placed[row].push_back({unit->element().get(), cell});
    return cell;
}

void GridPanelViewController::rememberCell(GridLoc loc, const GridElement* element,
                                           std::shared_ptr<GridUnitStackView> cell) {
    const auto row = static_cast<std::size_t>(loc.row);
    const auto col = static_cast<std::size_t>(loc.col);
    if (row < cells_.placed.size() && col < cells_.placed[row].size())
        cells_.placed[row][col] = {element, std::move(cell)};
}

void GridPanelViewController::showRows(const std::vector<CellGrid::Row>& rows,
                                       const FillSize& fillSize) {
    cellsAreDue_ = false;
    buildCells(rows, fillSize);
    trackCells(rows);
}

void GridPanelViewController::trackCells(const std::vector<CellGrid::Row>& rows) {
    for (std::int64_t r = 0; r < static_cast<std::int64_t>(rows.size()); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        for (std::int64_t c = 0; c < length(row); ++c)
            trackCell(row[static_cast<std::size_t>(c)], r, c);
    }
}

// Cells whose element shows as it did are kept: only what changed is built.
void GridPanelViewController::buildCells(const std::vector<CellGrid::Row>& cells,
                                         const FillSize& fillSize) {
    std::int64_t columns = 0;
    for (const auto& row : cells) columns = std::max(columns, length(row));
    Earlier earlier{std::exchange(cells_.placed, {}), std::exchange(cells_.fills, {}), {}};
    StackGridView::Rows rows;
    for (std::int64_t r = 0; r < static_cast<std::int64_t>(cells.size()); ++r) {
        const auto& row = cells[static_cast<std::size_t>(r)];
        auto& views = rows.emplace_back();
        for (std::int64_t c = 0; c < length(row); ++c) {
            const auto& unit = row[static_cast<std::size_t>(c)];
            views.push_back(cellFor(unit, GridLoc{r, c}, earlier));
        }
        // Padding exists only in the views.
        const auto size = fillSize(row);
        for (std::int64_t c = length(row); c < columns; ++c) {
            auto fill = std::make_shared<CellUnit>(std::make_shared<EmptyGridElement>(size),
                                                   GridUnitType::fill);
            views.push_back(cellFor(fill, GridLoc{r, c}, earlier));
        }
    }
    // In the window the grid lays out the rows it was handed itself.
    gridView_->setRows(rows);
    if (!gridView_->window()) layoutIsDue_ = true;
}

void GridPanelViewController::displayGrid(std::optional<std::int64_t> /*id*/,
                                          const std::vector<CellGrid::Row>& rows) {
    platform::assertMainThread();
    const CellGrid shown{std::nullopt, rows};
    const CellUnitRef first = shown.firstCell();
    if (!gridView_ || !first || !first->element()->size()) return;
    const auto size = first->element()->size();
    showRows(rows, [size](const CellGrid::Row&) { return size; });
    sizeToFit();
}

void GridPanelViewController::showEmptyCell(std::int64_t row, std::int64_t col) {
    platform::assertMainThread();
    GridUnitStackView* cell = cellView(row, col);
    if (!cell || !cell->unit()) return;
    auto placeholder = std::make_shared<CellUnit>(
        std::make_shared<EmptyGridElement>(cell->unit()->element()->size()), GridUnitType::initial);
    cell->configure(placeholder, options_ && options_->showTitles, weak_.ref());
    cell->loc = GridLoc{row, col};
    cell->setNeedsDisplay(true);
    layoutIsDue_ = true;
}

void GridPanelViewController::previewDrop(GridCoords coords) {
    platform::assertMainThread();
    if (!draggedCell_ || !grid) return;
    // A cell that is no longer where it was dragged from previews nothing.
    const auto origin = grid->at(draggedCell_->loc);
    if (!origin || origin->unit != draggedCell_->unit) return;
    DropPreview preview = dropPreview(*grid, draggedCell_->loc, coords);
    newGrid = std::move(preview.grid);
    gridModified = preview.modified;
    displayGrid(newGrid->id, newGrid->grid);
}

void GridPanelViewController::commitDrop() {
    platform::assertMainThread();
    if (!newGrid || !grid) return;
    if (!gridModified) {
        displayGrid(grid->id, grid->grid);
        return;
    }
    const auto committed = committedGrid(*newGrid, draggedCell_ ? draggedCell_->unit : nullptr);
    newGrid.reset();
    if (!committed) {
        // Without the dragged cell or a single place for it, nothing moves.
        logging::Logging::warning("Refused a drop without a dragged cell and one place for it");
        displayGrid(grid->id, grid->grid);
        return;
    }
    grid = *committed;
    displayGrid(grid->id, grid->grid);
    if (auto* delegate = gridDelegate.get()) delegate->gridChanged(grid->id, elementRows(*grid));
}

void GridPanelViewController::trackCell(const CellUnitRef& unit, std::int64_t row,
                                        std::int64_t col) {
    platform::assertMainThread();
    if (unit->element()->isCurrent()) current = CellUnitAndLoc{unit, GridLoc{row, col}};
    if (unit->element()->isNewSelection()) highlight(CellUnitAndLoc{unit, GridLoc{row, col}});
}

void GridPanelViewController::pointerMoved(const std::optional<CellUnitAndLoc>& cell) {
    platform::assertMainThread();
    if (cursorSelects) highlight(cell);
}

void GridPanelViewController::highlight(const std::optional<CellUnitAndLoc>& cell) {
    clearHighlight();
    newSelection = cell;
    markSelection();
}

void GridPanelViewController::redisplay(const std::optional<CellUnitAndLoc>& cell) const {
    if (!cell || !gridView_) return;
    if (GridUnitStackView* view = builtCellView(cell->loc.row, cell->loc.col))
        view->setNeedsDisplay(true);
}

GridUnitStackView* GridPanelViewController::cellView(std::int64_t row, std::int64_t col) const {
    const_cast<GridPanelViewController*>(this)->showDueCells();
    return builtCellView(row, col);
}

GridUnitStackView* GridPanelViewController::builtCellView(std::int64_t row,
                                                          std::int64_t col) const {
    if (!gridView_ || cellsAreDue_) return nullptr;
    const SingleStackView* single = gridView_->singleStackView(row, col);
    if (!single || single->arrangedSubviews().empty()) return nullptr;
    return dynamic_cast<GridUnitStackView*>(single->arrangedSubviews().front().get());
}

void GridPanelViewController::markSelection() {
    platform::assertMainThread();
    if (newSelection) {
        newSelection->unit->element()->setIsNewSelection(true);
        redisplay(newSelection);
        revealHighlight();
    }
    if (auto* delegate = gridDelegate.get())
        delegate->selectionChanged(newSelection ? newSelection->unit->element() : nullptr);
}

void GridPanelViewController::clearHighlight() {
    platform::assertMainThread();
    closeTimer.cancel();  // any change of the highlight keeps the panel open
    if (newSelection) {
        newSelection->unit->element()->setIsNewSelection(false);
        redisplay(newSelection);
    }
}

void GridPanelViewController::resetSelection() {
    platform::assertMainThread();
    if (newSelection) newSelection->unit->element()->setIsNewSelection(false);
    current.reset();
    clearHighlight();
    newSelection.reset();
    markSelection();
    cursorSelects = true;
    closeTimer.cancel();
}

void GridPanelViewController::sizeToFit() {
    platform::assertMainThread();
    platform::Window* window = view()->window();
    const auto screen = window ? window->centeringScreen() : std::nullopt;
    if (!screen || !gridView_) return;
    // The panel lies wholly inside the visible frame of the screen it shows on.
    const Size area = screen->visibleFrame().size;
    Size fitting = gridView_->fittingSize();
    if (scaleCellsToFit(fitting, {area.width - 2 * gridInset, area.height - 2 * gridInset}))
        fitting = gridView_->fittingSize();
    const Size content{std::min(fitting.width + 2 * gridInset, area.width),
                       std::min(fitting.height + 2 * gridInset, area.height)};
    // Laying out thousands of cells again for nothing is what showing the
    // panel would cost: only new cells or a new size need it (the grid's own,
    // too: a panel as large as the screen keeps its size as the grid grows).
    const bool resized = window->frame().size != content || gridView_->frame().size != fitting;
    if (std::exchange(layoutIsDue_, false) || resized) {
        transparentView_->setFrameSize(content);
        stackView_->setFrame(transparentView_->bounds());
        window->setContentSize(content);
        // A panel of the same size lays out nothing itself.
        stackView_->layout();
    }
    window->center();
    revealHighlight();
    view()->setNeedsDisplay(true);
}

bool GridPanelViewController::scaleCellsToFit(Size fitting, Size room) {
    const GridUnitStackView* first = builtCellView(0, 0);
    if (draggedCell_ || renaming_ || !grid || !first) return false;
    // Cells and spacing scale alike, so the grid's size follows the scale.
    const Size natural{fitting.width / cellScale_, fitting.height / cellScale_};
    const Size cell = first->fittingSize();
    const double shorter = std::min(cell.width, cell.height) / cellScale_;
    if (!(natural.width > 0) || !(natural.height > 0) || !(shorter > 0)) return false;
    const double smallest = std::min(1.0, minimumCellSide / shorter);
    const double scale = std::clamp(
        std::min({1.0, room.width / natural.width, room.height / natural.height}), smallest, 1.0);
    if (std::abs(scale - cellScale_) < 1e-6 * cellScale_) return false;
    cellScale_ = scale;
    setSpacing(cellSpacing * scale);
    rescaleCells();
    layoutIsDue_ = true;
    return true;
}

// In place: a large grid's first show built every cell twice, once to learn
// the grid's size and once at the scale that fits it.
void GridPanelViewController::rescaleCells() {
    const bool showTitles = options_ && options_->showTitles;
    const auto rescale = [&](GridUnitStackView* cell) {
        if (cell && cell->unit()) cell->configure(cell->unit(), showTitles, weak_.ref());
    };
    for (const auto& row : cells_.placed) {
        for (const auto& placed : row) rescale(placed.cell.get());
    }
    for (const auto& fill : cells_.fills) rescale(fill.get());
}

void GridPanelViewController::setSpacing(double spacing) {
    gridView_->columnSpacing = spacing;
    gridView_->rowSpacing = spacing;
    gridView_->setSpacing(spacing);
}

void GridPanelViewController::revealHighlight() {
    const auto& shown = newSelection ? newSelection : current;
    GridUnitStackView* cell = shown ? builtCellView(shown->loc.row, shown->loc.col) : nullptr;
    if (!cell || !gridStackView_) return;
    gridStackView_->reveal(cell->convertRectToView(cell->bounds(), gridView_.get()));
}

void GridPanelViewController::closePanel() {
    platform::assertMainThread();
    if (GridPanelWindowController* controller = panelWindowController()) controller->close();
}

bool GridPanelViewController::updateCell(const CellUnitRef& unit, std::int64_t row,
                                         std::int64_t col,
                                         const std::map<std::string, GridElementRef>& updated) {
    platform::assertMainThread();
    const auto& id = unit->element()->id();
    const auto found = id ? updated.find(*id) : updated.end();
    if (found == updated.end() || !gridView_ || !grid || !grid->at(GridLoc{row, col})) return true;
    auto replaced = std::make_shared<CellUnit>(found->second, unit->type());
    // Cells put off are built from the grid: only it changes.
    SingleStackView* single = cellsAreDue_ ? nullptr : gridView_->singleStackView(row, col);
    if (single) {
        auto cell = makeCell(replaced, GridLoc{row, col});
        if (!single->arrangedSubviews().empty()) {
            const auto old = single->arrangedSubviews().front();
            single->removeArrangedSubview(old.get());
            old->removeFromSuperview();
        }
        single->addArrangedSubview(cell);
        layoutIsDue_ = true;
        rememberCell(GridLoc{row, col}, replaced->element().get(), cell);
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
    platform::assertMainThread();
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
    platform::assertMainThread();
    keyDownMonitor_.cancel();
    keyUpMonitor_.cancel();
    flagMonitor_.cancel();
}

std::optional<Event> GridPanelViewController::onKeyDown(const Event& event) {
    if (!isPanelOpen()) return event;
    switch (event.keyCode) {
        case platform::kVK_Return:
        case platform::kVK_ANSI_KeypadEnter:
            // Option-Return renames, on its key-up.
            if (!isExactlyOption(event)) activateOrClose();
            return std::nullopt;
        case platform::kVK_Escape:
            if (!renaming_) closePanel();  // an open popover takes Escape itself
            return std::nullopt;
        case platform::kVK_Space:
            if (newSelection) {
                const auto unit = newSelection->unit;  // selecting may rebuild the grid
                unit->element()->select();
            }
            return std::nullopt;
        default:
            break;
    }
    const auto& arrows = KeyCode::arrowDirections();
    if (const auto arrow = arrows.find(event.keyCode); arrow != arrows.end()) {
        move(arrow->second);
        return std::nullopt;
    }
    if (options_ && !options_->textFieldTypeMatch && typeToSelect(event.keyCode)) {
        return std::nullopt;
    }
    return handOver(event);
}

bool GridPanelViewController::typeToSelect(std::uint16_t keyCode) {
    // The key's own text on the current layout, whatever the modifiers; a
    // key that gives none searches nothing.
    const auto text = keyString(keyCode);
    if (!text || text->empty()) return false;
    if (const auto digit = singleDigit(*text); digit && *digit >= 1) {
        selectNumber(*digit);
        if (newSelection) return true;
    }
    searchTitles(lowercased(*text));
    return newSelection.has_value();
}

std::optional<Event> GridPanelViewController::handOver(const Event& event) {
    if (!options_ ||
        std::ranges::find(options_->handledKeys, event.keyCode) == options_->handledKeys.end()) {
        return event;
    }
    auto* delegate = gridDelegate.get();
    return delegate ? delegate->handleKeyDown(event) : std::nullopt;
}

void GridPanelViewController::activateOrClose() {
    if (!newSelection) {
        closePanel();
        return;
    }
    const auto unit = newSelection->unit;  // selecting may rebuild the grid
    unit->element()->select();
}

std::optional<Event> GridPanelViewController::onKeyUp(const Event& event) {
    // Only while the panel is open: a rename popover over a closed panel
    // would edit a space nobody sees.
    if (event.keyCode == platform::kVK_Return && isExactlyOption(event) && options_ &&
        options_->showTitles && isPanelOpen()) {
        openRenameOfHighlight();
    }
    if (std::ranges::find(ignoredKeycodes, event.keyCode) != ignoredKeycodes.end()) {
        return std::nullopt;
    }
    if (options_ &&
        std::ranges::find(options_->handledKeys, event.keyCode) != options_->handledKeys.end()) {
        return std::nullopt;
    }
    return event;
}

void GridPanelViewController::openRenameOfHighlight() {
    const auto& target = newSelection ? newSelection : current;
    GridUnitStackView* cell = target ? cellView(target->loc.row, target->loc.col) : nullptr;
    platform::Button* title = cell ? cell->titleButton() : nullptr;
    if (!title) return;
    title->setHidden(false);
    cell->openRenameDialog(*title);
}

std::optional<Event> GridPanelViewController::onFlagsChanged(const Event& event) {
    auto* delegate = gridDelegate.get();
    if (isPanelOpen() && delegate) delegate->flagsChanged(event);
    return event;
}

void GridPanelViewController::selectNumber(std::int64_t n) {
    platform::assertMainThread();
    if (!grid || n < 1) return;
    std::int64_t counted = 0;
    std::optional<CellUnitAndLoc> found;
    grid->forEachCell([&](const CellUnitRef& unit, std::int64_t row, std::int64_t col) {
        if (++counted < n) return true;
        found = CellUnitAndLoc{unit, GridLoc{row, col}};
        return false;
    });
    if (found) highlight(found);
}

void GridPanelViewController::searchTitles(const std::string& prefix) {
    platform::assertMainThread();
    if (!grid) return;
    std::optional<CellUnitAndLoc> found;
    grid->forEachCell([&](const CellUnitRef& unit, std::int64_t row, std::int64_t col) {
        if (!titleHasPrefix(unit->element()->title(), prefix)) return true;
        const GridLoc loc{row, col};
        if (newSelection && newSelection->loc == loc) return true;  // the next match
        found = CellUnitAndLoc{unit, loc};
        return false;
    });
    if (found) highlight(found);
}

void GridPanelViewController::controlTextDidChange(platform::TextField& field) {
    platform::assertMainThread();
    const std::string text = field.stringValue();
    if (platform::TextView* editor = field.currentEditor()) editor->selectAll();
    searchTitles(lowercased(text));
}

void GridPanelViewController::move(Directional direction) {
    platform::assertMainThread();
    if (!grid) return;
    highlight(grid->cellInDirection(direction, newSelection ? newSelection : current));
}

void GridPanelViewController::selectNext() {
    platform::assertMainThread();
    if (!grid) return;
    highlight(grid->nextCell(newSelection ? newSelection : current));
}

void GridPanelViewController::selectPrevious() {
    platform::assertMainThread();
    if (!grid) return;
    highlight(grid->previousCell(newSelection ? newSelection : current));
}

void GridPanelViewController::renameWillBegin() {
    platform::assertMainThread();
    renaming_ = true;
    closeTimer.cancel();  // a name being typed is never closed away
    removeMonitors();
    if (GridPanelWindowController* controller = panelWindowController())
        controller->setIsEditing(true);
}

void GridPanelViewController::renameWillEnd() {
    platform::assertMainThread();
    if (GridPanelWindowController* controller = panelWindowController())
        controller->setIsEditing(false);
    installMonitors();
}

void GridPanelViewController::renameDidEnd(RenameEnd end) {
    platform::assertMainThread();
    auto* delegate = gridDelegate.get();
    if (end == RenameEnd::confirmed && delegate && grid)
        delegate->gridChanged(grid->id, elementRows(*grid));
    renaming_ = false;
    if (std::exchange(rebuildPending_, false)) populateGrid();
    if (GridPanelWindowController* controller = panelWindowController()) controller->renameEnded();
}

}  // namespace zelvana::gridpanel
