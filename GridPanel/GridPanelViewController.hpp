#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "GridPanel/CellGrid.hpp"
#include "GridPanel/GridCellHost.hpp"
#include "GridPanel/GridClipView.hpp"
#include "GridPanel/GridLoc.hpp"
#include "GridPanel/GridPanelOptions.hpp"
#include "GridPanel/StackGridView.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/VisualEffectView.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gridpanel {

class GridPanelWindowController;
class GridUnitStackView;

// The grid panel's content: builds the cells of the grid it is handed,
// pads short rows, sizes and centres the panel around them, and keeps the
// current and the highlighted cell, telling the delegate of every change of
// the highlight. Its key monitors hand listed keys to the delegate and
// modifier changes to it while the panel is open. Main thread only.
class GridPanelViewController : public platform::ViewController,
                                public platform::TextFieldDelegate,
                                public GridCellHost {
public:
    // Between cells and rows, and around the grid.
    static constexpr double cellSpacing = 23;
    static constexpr double gridInset = 20;
    // A grid larger than the visible frame of its screen shrinks, cells and
    // spacing alike, until it fits, but a cell keeps this much of its shorter
    // side (or all of it, when smaller): a grid still too large is cut at the
    // frame's edges and shows the highlighted cell, else the current one.
    static constexpr double minimumCellSide = 40;

    explicit GridPanelViewController(std::shared_ptr<GridPanelOptions> options);
    ~GridPanelViewController() override;

    // Key-ups of Escape and Return are swallowed.
    const std::vector<std::uint16_t> ignoredKeycodes{platform::kVK_Escape, platform::kVK_Return};
    const std::shared_ptr<GridPanelOptions>& options() const { return options_; }
    platform::WeakRef<GridSearchDelegate> searchDelegate;
    platform::WeakRef<GridPanelDelegate> gridDelegate;
    std::optional<CellGrid> grid;
    // The drag preview.
    std::optional<CellGrid> newGrid;
    bool gridModified = false;
    std::optional<CellUnitAndLoc> current;
    std::optional<CellUnitAndLoc> newSelection;
    // Moving the pointer into a cell highlights it.
    bool cursorSelects = true;
    // The auto-close timer; ending it stops the timer.
    platform::Subscription closeTimer;

    platform::StackView* stackView() const { return stackView_.get(); }
    // Asking for the grid's views builds the cells a closed panel put off.
    StackGridView* gridView() const;
    GridClipView* gridStackView() const { return gridStackView_.get(); }
    platform::VisualEffectView* transparentView() const { return transparentView_.get(); }
    platform::TextField* textField() const { return textField_.get(); }
    bool hasMonitors() const;

    // Replaces the grid and rebuilds the cells (waiting while a rename is
    // open). A closed panel keeps only the grid and its highlights: its cells
    // are built when it is shown, or when they are asked for.
    void reload(CellGrid cells);
    void buildGrid();
    void populateGrid();
    void trackCell(const CellUnitRef& unit, std::int64_t row, std::int64_t col);
    // Builds the cells a closed panel put off, if any.
    GridUnitStackView* cellView(std::int64_t row, std::int64_t col) const;
    void sizeToFit();
    void markSelection();
    void clearHighlight();
    void resetSelection();
    void closePanel();
    // Always true: the walk goes on.
    bool updateCell(const CellUnitRef& unit, std::int64_t row, std::int64_t col,
                    const std::map<std::string, GridElementRef>& updated);

    void installMonitors();
    void removeMonitors();
    void move(Directional direction);
    void selectNext();
    void selectPrevious();
    // Highlights the n-th cell (from 1, in reading order); nothing when the
    // grid has fewer.
    void selectNumber(std::int64_t n);
    // Highlights the first titled cell from the top whose title starts with
    // `prefix`, passing over the one already highlighted.
    void searchTitles(const std::string& prefix);
    // The search field's text searches the titles and is selected, so the
    // next typed character replaces it.
    void controlTextDidChange(platform::TextField& field) override;

    // The pointer highlights the cell it enters and lets go of it on leaving,
    // while the pointer selects.
    void pointerMoved(const std::optional<CellUnitAndLoc>& cell) override;
    const std::optional<CellUnitAndLoc>& draggedCell() const override { return draggedCell_; }
    double cellScale() const override { return cellScale_; }
    void setDraggedCell(std::optional<CellUnitAndLoc> cell) override {
        draggedCell_ = std::move(cell);
    }

    // The drag's side (the panel view calls these): a preview of the dragged
    // cell landing at `coords`, the drop that makes it the grid, a grid shown
    // without touching `grid`, and the dark placeholder at a place.
    void previewDrop(GridCoords coords);
    void commitDrop();
    void displayGrid(std::optional<std::int64_t> id, const std::vector<CellGrid::Row>& rows);
    void showEmptyCell(std::int64_t row, std::int64_t col);

    // The rename popover's life: it stops the auto-close timer and the key
    // monitors and marks the panel busy; its end restores them, tells the
    // delegate of a confirmed change, and runs a rebuild or close that waited.
    // While it is open, Escape and the loss of key status leave the panel open.
    void renameWillBegin() override;
    void renameWillEnd() override;
    void renameDidEnd(RenameEnd end) override;
    bool isRenaming() const { return renaming_; }

    GridPanelWindowController* panelWindowController() const;
    platform::WeakRef<GridPanelViewController> weakRef() const { return weak_.ref(); }

protected:
    void loadView() override;
    void viewDidLoad() override;
    // Builds the cells put off while closed, then sizes and centres the
    // panel, each time it comes on screen.
    void viewWillAppear() override {
        showDueCells();
        sizeToFit();
    }
    // The key monitors' handlers: what they return is delivered.
    virtual std::optional<platform::Event> onKeyDown(const platform::Event& event);
    virtual std::optional<platform::Event> onKeyUp(const platform::Event& event);
    virtual std::optional<platform::Event> onFlagsChanged(const platform::Event& event);

private:
    bool isPanelOpen() const;
    // Digits pick a cell, other characters search; true when a cell is
    // highlighted afterwards.
    bool typeToSelect(std::uint16_t keyCode);
    // A listed key goes to the delegate; one nobody hears is swallowed.
    std::optional<platform::Event> handOver(const platform::Event& event);
    void activateOrClose();
    void openRenameOfHighlight();
    void makeTransparentView();
    void makeStackView();
    void highlight(const std::optional<CellUnitAndLoc>& cell);
    void redisplay(const std::optional<CellUnitAndLoc>& cell) const;
    std::shared_ptr<GridUnitStackView> makeCell(const CellUnitRef& unit, GridLoc loc);
    // The cells of the last build by place, and the fill cells, which are
    // alike whatever their element. Kept from build to build: a cell is
    // looked for where its element was, and only among all when it moved.
    struct Placed {
        const GridElement* element = nullptr;
        std::shared_ptr<GridUnitStackView> cell;
    };
    using PlacedRows = std::vector<std::vector<Placed>>;
    struct Cells {
        PlacedRows placed;
        std::vector<std::shared_ptr<GridUnitStackView>> fills;
    };
    // What a build takes its cells from: the earlier build's, each taken
    // once, the fills still free, and the earlier cells by element, gathered
    // only when an element is not where it was.
    struct Earlier {
        PlacedRows placed;
        std::vector<std::shared_ptr<GridUnitStackView>> fills;
        std::optional<std::vector<std::pair<const GridElement*, Placed*>>> byElement;
        Placed* find(const GridElement* element, GridLoc loc);
    };
    // The cell of an earlier build that shows the unit's element just so, or
    // a new one.
    std::shared_ptr<GridUnitStackView> cellFor(const CellUnitRef& unit, GridLoc loc,
                                               Earlier& earlier);
    // A cell put in place of the one built there.
    void rememberCell(GridLoc loc, const GridElement* element,
                      std::shared_ptr<GridUnitStackView> cell);
    // The size of the fill cells that pad a short row.
    using FillSize = std::function<std::optional<platform::Size>(const CellGrid::Row&)>;
    // Cell views for `rows`, short rows padded, each cell tracked.
    void showRows(const std::vector<CellGrid::Row>& rows, const FillSize& fillSize);
    void buildCells(const std::vector<CellGrid::Row>& rows, const FillSize& fillSize);
    void trackCells(const std::vector<CellGrid::Row>& rows);
    void showDueCells();
    GridUnitStackView* builtCellView(std::int64_t row, std::int64_t col) const;
    // Scales the cells so the grid, `fitting` at the present scale, takes no
    // more than `room`, down to the smallest a cell may be; a drag keeps the
    // cells it began with. Whether the scale changed (and the grid's size).
    bool scaleCellsToFit(platform::Size fitting, platform::Size room);
    void rescaleCells();
    void setSpacing(double spacing);
    // Shifts a grid larger than the panel to show the highlighted cell, else
    // the current one.
    void revealHighlight();

    std::shared_ptr<GridPanelOptions> options_;
    std::shared_ptr<platform::StackView> stackView_;
    std::shared_ptr<StackGridView> gridView_;
    std::shared_ptr<GridClipView> gridStackView_;
    std::shared_ptr<platform::VisualEffectView> transparentView_;
    std::shared_ptr<platform::TextField> textField_;
    platform::Subscription keyDownMonitor_;
    platform::Subscription keyUpMonitor_;
    platform::Subscription flagMonitor_;
    std::optional<CellUnitAndLoc> draggedCell_;
    bool renaming_ = false;
    bool rebuildPending_ = false;
    Cells cells_;
    // Cells changed since the panel was last laid out.
    bool layoutIsDue_ = true;
    // The grid changed while the panel was closed: its cells wait to be built.
    bool cellsAreDue_ = false;
    double cellScale_ = 1;
    platform::WeakFactory<GridPanelViewController> weak_{this};
};

}  // namespace zelvana::gridpanel
