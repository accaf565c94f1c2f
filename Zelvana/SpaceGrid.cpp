#include "Zelvana/SpaceGrid.hpp"

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

#include "Logging/Logging.hpp"
#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/ScreenManager.hpp"
#include "platform/core/MainThread.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core {

using logging::Logging;

namespace {

std::optional<DisplayNumber> displayOf(const Space& space) {
    const auto screen = space.screen();
    if (!screen) return std::nullopt;
    return displayNumber(*screen);
}

void logPlacement(const char* verb, const Space& space, const Coordinates& cell) {
    Logging::info(verb + space.shortId() + " with coordinates " + cell.description());
}

// The candidates holding each cell of a display, sorted by cell: a refresh
// looks up every candidate's cell, and a node per cell cost more than the rest.
class CellHolders {
public:
    CellHolders(const SpaceGrid::SpaceList& candidates, DisplayNumber display) {
        holders_.reserve(candidates.size());
        for (const auto& space : candidates) {
            if (const auto cell = space->cellOn(display)) holders_.push_back({*cell, space.get()});
        }
        // Most often in reading order already, the grid's own.
        if (!std::ranges::is_sorted(holders_, {}, &Holder::cell)) {
            std::ranges::sort(holders_, {}, &Holder::cell);
        }
    }

    bool isHeld(const Coordinates& cell) const { return !holdersOf(cell).empty(); }
    bool isHeldByAnother(const Space& space, const Coordinates& cell) const {
        return std::ranges::any_of(holdersOf(cell), [&](const Holder& holder) {
            return holder.space != &space && holder.space->id() != space.id();
        });
    }
    void add(const Coordinates& cell, const Space& space) {
        const auto after = std::ranges::upper_bound(holders_, cell, {}, &Holder::cell);
        holders_.insert(after, Holder{cell, &space});
    }

private:
    struct Holder {
        Coordinates cell;
        const Space* space = nullptr;
    };
    std::span<const Holder> holdersOf(const Coordinates& cell) const {
        const auto found = std::ranges::equal_range(holders_, cell, {}, &Holder::cell);
        return {found.begin(), found.end()};
    }
    std::vector<Holder> holders_;
};

}  // namespace

std::int64_t SpaceGrid::settingsGridWidth() {
    return GlobalDefaults::gridWidth().value();
}

std::optional<platform::Screen> SpaceGrid::desktopMainScreen() {
    return platform::Screen::main();
}

bool SpaceGrid::switcherHoldsAnchor(const switcher::SpaceAnchor& anchor) {
    return switcher::SpaceSwitcher::shared().isRegistered(anchor);
}

SpaceGrid::SpaceGrid(SpaceList spaces) : SpaceGrid(std::move(spaces), Surroundings{}) {}

SpaceGrid::SpaceGrid(SpaceList spaces, Surroundings surroundings)
    : spaces_(std::move(spaces)), surroundings_(std::move(surroundings)) {
    for (const auto& space : spaces_) {
        if (space->id()) map_[*space->id()] = space;
    }
}

SpaceGrid::SpacePtr SpaceGrid::space(const std::string& id) const {
    const auto found = map_.find(id);
    return found == map_.end() ? nullptr : found->second;
}

void SpaceGrid::forEachMainScreenActiveSpace(
    const std::function<bool(const SpacePtr&)>& found) const {
    const auto main = surroundings_.mainScreen();
    for (const auto& space : spaces_) {
        const auto& anchor = space->anchor();
        if (!anchor || !anchor->isActive() || anchor->screen() != main) continue;
        if (space->id() && surroundings_.holdsAnchor(*anchor) && !found(space)) return;
    }
}

SpaceGrid::SpaceList SpaceGrid::mainScreenActiveSpaces() const {
    SpaceList result;
    forEachMainScreenActiveSpace([&](const SpacePtr& space) {
        result.push_back(space);
        return true;
    });
    return result;
}

bool SpaceGrid::hasMainScreenActiveSpaces(std::size_t count) const {
    std::size_t seen = 0;
    if (count == 0) return true;
    forEachMainScreenActiveSpace([&](const SpacePtr&) { return ++seen < count; });
    return seen >= count;
}

std::optional<Coordinates> SpaceGrid::countingCell(const Space& space,
                                                   DisplayNumber display) const {
    if (!space.anchor() || !space.anchor()->isActive()) return std::nullopt;
    return space.cellOn(display);
}

std::optional<Coordinates> SpaceGrid::lastCell(DisplayNumber display) const {
    std::optional<Coordinates> last;
    for (const auto& space : spaces_) {
        const auto cell = countingCell(*space, display);
        if (cell && (!last || *last < *cell)) last = cell;
    }
    return last;
}

std::optional<std::int64_t> SpaceGrid::lastRow(DisplayNumber display) const {
    const auto last = lastCell(display);
    return last ? std::optional(last->row) : std::nullopt;
}

Coordinates SpaceGrid::cellAfter(const std::optional<Coordinates>& last) const {
    if (!last) return Coordinates{0, 0};
    const Coordinates next{std::max<std::int64_t>(last->row, 0), last->col + 1};
    if (next.col < surroundings_.gridWidth()) return next;
    return Coordinates{next.row + 1, 0};
}

Coordinates SpaceGrid::nextCoordinates(DisplayNumber display) const {
    return cellAfter(lastCell(display));
}

bool SpaceGrid::add(SpacePtr space) {
    platform::assertMainThread();
    const auto display = space ? displayOf(*space) : std::nullopt;
    if (!display || !space->id() || map_.contains(*space->id())) {
        Logging::error("Attempting to add a space that already exists");
        return false;
    }
    const auto cell = nextCoordinates(*display);
    space->setCell(*display, cell);
    logPlacement("added ", *space, cell);
    // Known by id at once, so a space found while running is complete now,
    // not only after the next launch.
    map_[*space->id()] = space;
    spaces_.push_back(std::move(space));
    return true;
}

void SpaceGrid::remove(const std::string& id) {
    platform::assertMainThread();
    map_.erase(id);
    std::erase_if(spaces_, [&](const SpacePtr& space) { return space->id() == id; });
}

void SpaceGrid::clear() {
    platform::assertMainThread();
    spaces_.clear();
    map_.clear();
}

SpaceGrid::SpacePtr SpaceGrid::spaceAt(const Coordinates& cell, DisplayNumber display) const {
    for (const auto& space : spaces_) {
        if (space->cellOn(display) == cell) return space;
    }
    return nullptr;
}

// Another space has the same cell (or, both, none) and another id.
bool SpaceGrid::sharesCell(const Space& space, DisplayNumber display) const {
    const auto cell = space.cellOn(display);
    return std::ranges::any_of(spaces_, [&](const SpacePtr& other) {
        return other.get() != &space && other->id() != space.id() && other->cellOn(display) == cell;
    });
}

// The last row in use, one column right of the widest row; compacted later.
void SpaceGrid::placeFreshly(Space& space, DisplayNumber display) {
    Coordinates fresh{0, 0};
    for (const auto& other : spaces_) {
        if (const auto cell = countingCell(*other, display)) {
            fresh.row = std::max(fresh.row, cell->row);
            fresh.col = std::max(fresh.col, cell->col + 1);
        }
    }
    space.setCell(display, fresh);
    logPlacement("updated ", space, fresh);
}

void SpaceGrid::updateSpace(const std::string& id, ScreenManager& screenManager) {
    platform::assertMainThread();
    updateSpace(id, [&](const platform::Screen& screen, const std::set<DisplayNumber>& among) {
        return screenManager.storedId(screen, among);
    });
}

void SpaceGrid::updateSpace(const std::string& id, const StoredDisplayLookup& storedId) {
    platform::assertMainThread();
    const auto found = space(id);
    const auto screen = found ? found->screen() : std::nullopt;
    if (!screen) return;
    Space& moved = *found;
    const auto display = displayNumber(*screen);
    if (!moved.coordinates().contains(display)) {
        const auto old = storedId ? storedId(*screen, moved.cellDisplays()) : std::nullopt;
        if (!old) return placeFreshly(moved, display);
        // The same display under its former number: its cell carries over.
        moved.moveCell(*old, display);
    }
    if (!moved.cellOn(display) || sharesCell(moved, display)) placeFreshly(moved, display);
}

SpaceGrid::Rows SpaceGrid::mainScreenGrid() {
    platform::assertMainThread();
    const auto main = surroundings_.mainScreen();
    if (!main) return {};
    const auto display = displayNumber(*main);
    const auto candidates = mainScreenActiveSpaces();
    placeCandidates(candidates, display);
    return compactCandidates(candidates, display);
}

// Keeps each candidate's cell unless another candidate holds it; one new to
// the display takes its cell from the display it was last on when that is
// free; the rest go after the last cell in reading order.
void SpaceGrid::placeCandidates(const SpaceList& candidates, DisplayNumber display) {
    CellHolders taken(candidates, display);
    SpaceList unplaced;
    for (const auto& space : candidates) {
        if (const auto cell = space->cellOn(display)) {
            if (taken.isHeldByAnother(*space, *cell)) unplaced.push_back(space);
            continue;
        }
        const auto last = space->lastDisplayID();
        const auto carried = last ? space->cellOn(*last) : std::nullopt;
        if (carried && !taken.isHeld(*carried)) {
            space->setCell(display, *carried);
            taken.add(*carried, *space);
        } else {
            unplaced.push_back(space);
        }
    }
    if (unplaced.empty()) return;
    // Each placed space becomes the last cell, so the next goes after it.
    auto last = lastCell(display);
    for (const auto& space : unplaced) {
        last = cellAfter(last);
        space->setCell(display, *last);
    }
}

// Drops the empty cells and rows, then renumbers what is left densely.
SpaceGrid::Rows SpaceGrid::compactCandidates(const SpaceList& candidates,
                                             DisplayNumber display) const {
    std::vector<std::pair<Coordinates, const SpacePtr*>> cells;
    cells.reserve(candidates.size());
    bool sawCurrent = false;
    for (const auto& space : candidates) {
        if (space->isCurrent()) {
            if (sawCurrent) Logging::error("Multiple current spaces");
            sawCurrent = true;
        }
        space->setLastDisplayID(display);
        if (const auto cell = space->cellOn(display)) {
            cells.emplace_back(*cell, &space);
        } else {
            Logging::info("Space without coordinates: " + space->shortId());
        }
    }
    // Of two candidates on one cell, the later keeps it.
    const auto byCell = &std::pair<Coordinates, const SpacePtr*>::first;
    if (!std::ranges::is_sorted(cells, {}, byCell)) std::ranges::stable_sort(cells, {}, byCell);
    Rows rows;
    std::optional<std::int64_t> row;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto& [cell, space] = cells[i];
        if (i + 1 < cells.size() && cells[i + 1].first == cell) continue;
        if (cell.row != row) rows.emplace_back();
        row = cell.row;
        rows.back().push_back(*space);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            rows[r][c]->setCell(
                display, Coordinates{static_cast<std::int64_t>(r), static_cast<std::int64_t>(c)});
        }
    }
    return rows;
}

SpaceGrid::SpacePtr SpaceGrid::neighbour(GridStep step, const SpacePtr& space) const {
    const auto display = space ? displayOf(*space) : std::nullopt;
    const auto cell = display ? space->cellOn(*display) : std::nullopt;
    if (!cell) return nullptr;
    switch (step) {
        case GridStep::forward:
            return forward(*cell, *display);
        case GridStep::backward:
            return backward(*cell, *display);
        case GridStep::none:
            return space;
        default:
            return directionalNeighbour(step, space, *cell, *display);
    }
}

// Never round the edge: at an edge the selection stays.
SpaceGrid::SpacePtr SpaceGrid::directionalNeighbour(GridStep step, const SpacePtr& space,
                                                    Coordinates cell, DisplayNumber display) const {
    const auto [r, c] = cell;
    const auto onLastRow = [&] {
        const auto last = lastRow(display);
        return !last || r + 1 > *last;
    };
    std::optional<Coordinates> target;
    switch (step) {
        case GridStep::up:
            if (r > 0) target = Coordinates{r - 1, c};
            break;
        case GridStep::down:
            target = Coordinates{r + 1, c};
            break;
        case GridStep::left:
            if (c > 0) target = Coordinates{r, c - 1};
            break;
        case GridStep::right:
            target = Coordinates{r, c + 1};
            break;
        case GridStep::upLeft:
            if (r == 0) return directionalNeighbour(GridStep::left, space, cell, display);
            target = Coordinates{r - 1, c - 1};
            break;
        case GridStep::upRight:
            if (r == 0) return directionalNeighbour(GridStep::right, space, cell, display);
            target = Coordinates{r - 1, c + 1};
            break;
        case GridStep::downLeft:
            if (onLastRow()) return directionalNeighbour(GridStep::left, space, cell, display);
            target = Coordinates{r + 1, c - 1};
            break;
        case GridStep::downRight:
            if (onLastRow()) return directionalNeighbour(GridStep::right, space, cell, display);
            target = Coordinates{r + 1, c + 1};
            break;
        default:
            break;
    }
    const auto found = target ? spaceAt(*target, display) : nullptr;
    return found ? found : space;
}

// The next cell of the row, else the start of the next row, else round to
// the first space in reading order.
SpaceGrid::SpacePtr SpaceGrid::forward(Coordinates cell, DisplayNumber display) const {
    if (auto next = spaceAt(Coordinates{cell.row, cell.col + 1}, display)) return next;
    SpacePtr rowStart;
    SpacePtr first;
    std::optional<Coordinates> rowStartCell;
    std::optional<Coordinates> firstCell;
    for (const auto& space : spaces_) {
        const auto at = countingCell(*space, display);
        if (!at) continue;
        if (at->row == cell.row + 1 && (!rowStartCell || at->col < rowStartCell->col)) {
            rowStart = space;
            rowStartCell = at;
        }
        if (!firstCell || *at < *firstCell) {
            first = space;
            firstCell = at;
        }
    }
    return rowStart ? rowStart : first;
}

// The previous cell of the row, else the end of the row above, else round to
// the last space in reading order.
SpaceGrid::SpacePtr SpaceGrid::backward(Coordinates cell, DisplayNumber display) const {
    if (cell.col > 0) {
        if (auto previous = spaceAt(Coordinates{cell.row, cell.col - 1}, display)) return previous;
    }
    SpacePtr rowEnd;
    SpacePtr last;
    std::optional<Coordinates> rowEndCell;
    std::optional<Coordinates> lastCellSeen;
    for (const auto& space : spaces_) {
        const auto at = countingCell(*space, display);
        if (!at) continue;
        if (at->row == cell.row - 1 && (!rowEndCell || rowEndCell->col < at->col)) {
            rowEnd = space;
            rowEndCell = at;
        }
        if (!lastCellSeen || *lastCellSeen < *at) {
            last = space;
            lastCellSeen = at;
        }
    }
    return rowEnd ? rowEnd : last;
}

StoredRecords SpaceGrid::records() const {
    StoredRecords records;
    records.reserve(spaces_.size());
    for (const auto& space : spaces_) records.push_back(space->record());
    return records;
}

}  // namespace zelvana::core
