#pragma once

#include <memory>
#include <optional>
#include <string>

#include "GridPanel/CellUnit.hpp"
#include "GridPanel/DialogPopover.hpp"
#include "GridPanel/GridCellHost.hpp"
#include "GridPanel/GridLoc.hpp"
#include "Tools/LabelPopover.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/DraggingSession.hpp"
#include "platform/appkit/ImageView.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gridpanel {

// The pasteboard type of a cell drag, carrying "move".
const std::string& gridActionType();

// One cell of the grid panel: an element's picture, optional background and
// title button, outlined by its state and washed in its colour. Hovering
// highlights it, a click activates its element, dragging starts a move, and
// the title button opens the rename popover. Main thread only.
class GridUnitStackView : public platform::StackView, public platform::DraggingSource {
public:
    // The size of a cell whose element has none.
    static constexpr double defaultSide = 200;
    // How far the pointer moves from the press before a drag starts.
    static constexpr double dragThreshold = 10;

    GridUnitStackView();
    ~GridUnitStackView() override;

    // Builds the cell's content for `unit`, held by `host`.
    void configure(CellUnitRef unit, bool showTitles, platform::WeakRef<GridCellHost> host);
    // Whether configuring for `unit` would build what the cell shows now:
    // the same element with the same picture, title, colour and size, and no
    // drag, drop or rename under way in the cell.
    bool showsAsConfigured(const CellUnit& unit, bool showTitles) const;
    // Takes the new unit of the element it shows, and its place, as it is.
    void reuseFor(CellUnitRef unit, GridLoc place);

    const CellUnitRef& unit() const { return unit_; }
    GridLoc loc;
    bool showTitles() const { return showTitles_; }
    const std::string& label() const { return label_; }
    platform::ImageView* imageView() const { return imageView_.get(); }
    platform::ImageView* backgroundImageView() const { return backgroundImageView_.get(); }
    platform::View* translucentView() const { return translucentView_.get(); }
    platform::Button* titleButton() const { return titleButton_.get(); }
    platform::TextField* titleView() const { return titleView_.get(); }
    const std::optional<platform::Image>& snapshotCache() const { return snapshotCache_; }
    const std::optional<platform::Point>& dragOrigin() const { return dragOrigin_; }
    DialogPopover* dialogPopover() const { return dialogPopover_.get(); }
    std::optional<platform::Image> initialImage;
    std::optional<platform::Color> tint;

    // Border width and colour by the element's state, read on every call.
    double outlineWidth() const;
    std::optional<platform::Color> outlineColor() const;

    // Takes a fresh drag image on a later turn of the main queue (not for fill cells).
    void refreshSnapshot();
    // Opens the rename popover beside `anchor`; the title button does.
    void openRenameDialog(platform::View& anchor);

    bool isReceivingDrag() const { return isReceivingDrag_; }
    void setIsReceivingDrag(bool receiving);
    platform::DragOperations draggingEntered();
    platform::DragOperations draggingUpdated() { return platform::DragOperation::copy; }
    void draggingExited();
    bool prepareForDragOperation() { return true; }
    bool performDragOperation();
    // What a drag of this cell may do: inside the application only.
    platform::DragOperations sourceOperationMask(platform::DraggingSession& session,
                                                 platform::DraggingContext context) override;
    // However the drag ended, the cell is no longer being dragged.
    void draggingSessionEnded(platform::DraggingSession& session, platform::Point screenPoint,
                              platform::DragOperations operation) override;

    platform::Size fittingSize() const override { return size_; }
    void layout() override;
    void drawRect(platform::GraphicsContext& context, platform::Rect dirtyRect) override;
    void mouseEntered(const platform::Event& event) override;
    void mouseExited(const platform::Event& event) override;
    void mouseDown(const platform::Event& event) override;
    void mouseDragged(const platform::Event& event) override;
    void mouseUp(const platform::Event& event) override;

private:
    // What configure builds from: equal for two units, the cells are alike.
    // The fields a reload's check reads for every cell come first.
    struct Content {
        bool configured = false;
        bool showTitles = false;
        GridUnitType type = GridUnitType::basic;
        const GridElement* element = nullptr;
        platform::Size size;
        // A cell whose element kept its count reads no further.
        std::optional<std::uint64_t> revision;
        std::optional<std::uint64_t> image;
        std::optional<std::uint64_t> backgroundImage;
        std::optional<std::string> title;
        std::optional<platform::Color> color;
        std::optional<platform::Color> borderColor;
    };
    static Content contentOf(const CellUnit& unit, bool showTitles, double scale);
    // The host's scale of its cells; 1 without a host.
    double scale() const;
    static bool looksAsShown(const Content& shown, const GridElement& element);

    void clearContent();
    void addImageView(const platform::Image& image);
    void addBackground();
    void addTitleButton();
    void placeTitleButton();
    bool hasTitle() const;
    void showRenamed(const DialogInput& input);
    void setWash(const std::optional<platform::Color>& color, double alpha);
    tools::LabelPopover& labelPopover();

    std::shared_ptr<platform::ImageView> imageView_;
    std::shared_ptr<platform::ImageView> backgroundImageView_;
    std::shared_ptr<platform::View> translucentView_;
    CellUnitRef unit_;
    bool showTitles_ = false;
    std::shared_ptr<platform::TextField> titleView_;
    std::string label_;
    platform::Image emptyEditImage_;
    std::optional<platform::Image> snapshotCache_;
    platform::WeakRef<GridCellHost> host_;
    std::unique_ptr<tools::LabelPopover> labelPopover_;
    platform::Size size_{defaultSide, defaultSide};
    // The size the content was last placed for: placing depends on nothing else.
    std::optional<platform::Size> laidOutSize_;
    platform::Subscription trackingArea_;
    // Read together by the check of every cell on every reload: thousands of
    // cells, each a few cache lines apart at most.
    bool startedDrag_ = false;
    bool isReceivingDrag_ = false;
    std::optional<platform::Point> dragOrigin_;
    std::shared_ptr<DialogPopover> dialogPopover_;
    std::shared_ptr<platform::Button> titleButton_;
    Content content_;
    platform::WeakFactory<GridUnitStackView> weak_{this};
};

}  // namespace zelvana::gridpanel
