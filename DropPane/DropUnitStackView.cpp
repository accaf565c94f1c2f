#include "DropPane/DropUnitStackView.hpp"

#include "platform/appkit/BezierPath.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Pasteboard.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/input/Cursor.hpp"

namespace zelvana::droppane {

using platform::Color;
using platform::DraggingInfo;
using platform::DragOperation;
using platform::DragOperations;
using platform::Rect;

namespace {

constexpr float kRequiredPriority = 1000;

std::shared_ptr<platform::Label> titleLabel(const std::string& title) {
    auto label = platform::Label::labelWithString(title);
    label->setFont(platform::Font::named("System", 10).value_or(platform::Font::systemFont(10)));
    label->setTextColor(Color::secondaryLabelColor());
    return label;
}

// The file URLs of the items; items without one are skipped.
std::vector<std::string> fileURLs(const std::vector<platform::PasteboardItem>& items) {
    std::vector<std::string> urls;
    for (const auto& item : items) {
        const auto data = item.dataForType(platform::kPasteboardTypeFileURL);
        if (!data || data->empty()) continue;
        urls.emplace_back(data->begin(), data->end());
    }
    return urls;
}

}  // namespace

platform::Image tinted(const platform::Image& image, const Color& color) {
    platform::Image copy = image;
    platform::GraphicsContext context(copy);
    context.setFillColor(color);
    context.setCompositingOperation(platform::CompositingOperation::sourceAtop);
    context.fillRect(Rect{{}, copy.size()});
    copy.setTemplate(false);
    return copy;
}

void DropUnitStackView::configure(DropUnit unit, bool showTitles, std::optional<Color> tint,
                                  platform::Size size, double padding) {
    platform::assertMainThread();
    showTitles_ = showTitles;
    tint_ = std::move(tint);
    if (tint_) initialImage_ = unit.image;
    setHuggingPriority(kRequiredPriority, Orientation::horizontal);
    if (padding > 0) constrainWidth(SizeRelation::equal, size.width + padding);

    imageView_ = std::make_shared<platform::ImageView>(unit.image);
    imageView_->setFrameSize(size);
    imageView_->constrainWidth(SizeRelation::equal, size.width);
    imageView_->constrainHeight(SizeRelation::equal, size.height);
    imageView_->unregisterDraggedTypes();
    imageView_->setEnabled(true);
    if (showTitles) {
        addView(imageView_, Gravity::leading);
        titleView_ = titleLabel(unit.title);
        addView(titleView_, Gravity::leading);
    } else {
        addView(imageView_, Gravity::center);
    }
    label_ = unit.title;
    if (unit.receive) {
        registerForDraggedTypes({platform::kPasteboardTypeFileURL});
    } else {
        unregisterDraggedTypes();
    }
    dropUnit_ = std::move(unit);
}

tools::LabelPopover& DropUnitStackView::labelPopover() {
    platform::assertMainThread();
    if (!labelPopover_) labelPopover_ = std::make_unique<tools::LabelPopover>(label_);
    return *labelPopover_;
}

void DropUnitStackView::setReceivingDrag(bool receiving) {
    platform::assertMainThread();
    if (receiving == receivingDrag_) return;
    receivingDrag_ = receiving;
    if (!tint_) {
        setNeedsDisplay(true);
    } else if (initialImage_ && imageView_) {
        imageView_->setImage(receiving ? tinted(*initialImage_, *tint_) : *initialImage_);
    }
}

bool DropUnitStackView::containsPointer() const {
    const platform::Window* owner = window();
    if (!owner) return false;
    const auto inWindow = owner->convertPointFromScreen(platform::mouseLocation());
    return bounds().contains(convertPointFromView(inWindow, nullptr));
}

void DropUnitStackView::drawRect(platform::GraphicsContext& context, Rect dirtyRect) {
    StackView::drawRect(context, dirtyRect);
    if (!receivingDrag_) return;
    context.setStrokeColor(Color::selectedControlColor());
    context.stroke(platform::BezierPath::rect(bounds()), 2);
}

DragOperations DropUnitStackView::draggingEntered(const DraggingInfo& /*info*/) {
    platform::assertMainThread();
    setReceivingDrag(true);
    if (imageView_) imageView_->setEnabled(false);
    if (titleView_) titleView_->setTextColor(Color::labelColor());
    if (!showTitles_) labelPopover().show(*this);
    return DragOperation::copy;
}

DragOperations DropUnitStackView::draggingUpdated(const DraggingInfo& /*info*/) {
    platform::assertMainThread();
    return DragOperation::copy;
}

void DropUnitStackView::draggingExited(const DraggingInfo* /*info*/) {
    platform::assertMainThread();
    endDrag();
}

bool DropUnitStackView::prepareForDragOperation(const DraggingInfo& /*info*/) {
    platform::assertMainThread();
    return true;
}

bool DropUnitStackView::performDragOperation(const DraggingInfo& info) {
    platform::assertMainThread();
    endDrag();
    const auto& items = info.draggingPasteboard().pasteboardItems();
    if (!items) return false;
    if (dropUnit_ && dropUnit_->receive) dropUnit_->receive(fileURLs(*items));
    return true;
}

void DropUnitStackView::endDrag() {
    setReceivingDrag(false);
    if (imageView_) imageView_->setEnabled(true);
    if (!showTitles_ && labelPopover_) labelPopover_->close();
    if (titleView_) titleView_->setTextColor(Color::secondaryLabelColor());
}

}  // namespace zelvana::droppane
