#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/appkit/View.hpp"

namespace zelvana::platform {

class OutlineView;

// An item an outline shows: one of its data source's own objects, by
// address. The data source keeps it alive while it is shown, until the
// next reloadData. Null stands for the root.
using OutlineItem = const void*;

// Hands an outline its items. Main thread.
class OutlineViewDataSource {
public:
    virtual ~OutlineViewDataSource() = default;
    virtual int numberOfChildrenOfItem(OutlineItem item) = 0;
    virtual OutlineItem child(int index, OutlineItem item) = 0;
    virtual bool isItemExpandable(OutlineItem item) = 0;
    // The text of the item's row.
    virtual std::string objectValue(OutlineItem item) = 0;
};

class OutlineViewDelegate {
public:
    virtual ~OutlineViewDelegate() = default;
    virtual void outlineViewSelectionDidChange(OutlineView& /*outline*/) {}
};

// Rows in a hierarchy (NSOutlineView): each row one item, indented by its
// level, with a disclosure triangle when it can have children. Expanding an
// item shows its children below it, collapsing hides them (a hidden selected
// row hands the selection to the collapsed item). One row at most is
// selected. As first responder, the up and down arrows move the selection,
// the right arrow expands the selected item and the left arrow collapses it,
// or goes to its parent when it is collapsed. A click selects the row under
// it (none below the last), a click on a triangle expands or collapses.
// Main thread only.
class OutlineView : public View {
public:
    static constexpr double rowHeight = 17;
    static constexpr double indentationPerLevel = 16;

    using View::View;

    // Non-owning; the owner keeps them alive or clears them.
    void setDataSource(OutlineViewDataSource* dataSource) { dataSource_ = dataSource; }
    void setDelegate(OutlineViewDelegate* delegate) { delegate_ = delegate; }
    // Asks the data source again for every shown item; expanded items still
    // shown stay expanded, the selection stays on its item while it is shown.
    void reloadData();

    int numberOfRows() const { return static_cast<int>(rows_.size()); }
    // Null outside the rows.
    OutlineItem itemAtRow(int row) const;
    // -1 for an item not shown.
    int rowForItem(OutlineItem item) const;
    // 0 for the root's children; -1 outside the rows.
    int levelForRow(int row) const;
    // Null for a top-level or unshown item.
    OutlineItem parentForItem(OutlineItem item) const;
    bool isExpandable(OutlineItem item) const;
    bool isItemExpanded(OutlineItem item) const;
    // Shown items only; a leaf or an expanded item changes nothing.
    void expandItem(OutlineItem item);
    void collapseItem(OutlineItem item);

    // -1 when none.
    int selectedRow() const;
    // -1 deselects; a row outside the rows changes nothing.
    void selectRow(int row);

    // As high as its rows.
    Size intrinsicContentSize() const override;
    bool acceptsFirstResponder() const override { return true; }
    void keyDown(const Event& event) override;
    void mouseDown(const Event& event) override;
    void drawRect(GraphicsContext& context, Rect dirtyRect) override;

private:
    struct Row {
        OutlineItem item;
        int level;
        OutlineItem parent;
    };
    void rebuildRows();
    void appendChildren(OutlineItem parent, int level);
    void selectItem(OutlineItem item);
    Rect triangleRect(int row) const;

    OutlineViewDataSource* dataSource_ = nullptr;
    OutlineViewDelegate* delegate_ = nullptr;
    std::vector<Row> rows_;
    std::set<OutlineItem> expanded_;
    OutlineItem selected_ = nullptr;
};

}  // namespace zelvana::platform
