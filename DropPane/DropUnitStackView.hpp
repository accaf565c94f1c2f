#pragma once

#include <memory>
#include <optional>
#include <string>

#include "DropPane/DropUnit.hpp"
#include "Tools/LabelPopover.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Dragging.hpp"
#include "platform/appkit/ImageView.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/StackView.hpp"

namespace zelvana::droppane {

// One drop unit in the pane: its image (tinted while a drag is over it when
// a tint is set), its title under it or in a floating label, and the drop
// target that hands dropped file URLs to the unit. Main thread only.
class DropUnitStackView : public platform::StackView, public platform::DraggingDestination {
public:
    void configure(DropUnit unit, bool showTitles, std::optional<platform::Color> tint,
                   platform::Size size, double padding);

    const std::optional<DropUnit>& dropUnit() const { return dropUnit_; }
    const std::shared_ptr<platform::ImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<platform::Label>& titleView() const { return titleView_; }
    const std::string& label() const { return label_; }
    tools::LabelPopover& labelPopover();
    platform::EdgeInsets alignmentRectInsets() const { return {5, 5, 5, 5}; }

    bool isReceivingDrag() const { return receivingDrag_; }
    // Only a change has effect: a redraw, or the image swapped when tinted.
    void setReceivingDrag(bool receiving);
    // Whether the pointer is over this view (in its own coordinates).
    bool containsPointer() const;

    void drawRect(platform::GraphicsContext& context, platform::Rect dirtyRect) override;

    platform::DragOperations draggingEntered(const platform::DraggingInfo& info) override;
    platform::DragOperations draggingUpdated(const platform::DraggingInfo& info) override;
    void draggingExited(const platform::DraggingInfo* info) override;
    bool prepareForDragOperation(const platform::DraggingInfo& info) override;
    bool performDragOperation(const platform::DraggingInfo& info) override;

private:
    void endDrag();

    std::shared_ptr<platform::ImageView> imageView_;
    std::optional<platform::Image> initialImage_;
    std::optional<platform::Color> tint_;
    std::optional<DropUnit> dropUnit_;
    bool showTitles_ = false;
    std::shared_ptr<platform::Label> titleView_;
    std::string label_;
    std::unique_ptr<tools::LabelPopover> labelPopover_;
    bool receivingDrag_ = false;
};

// The image with the colour laid over its opaque parts; not a template.
platform::Image tinted(const platform::Image& image, const platform::Color& color);

}  // namespace zelvana::droppane
