#include "GridPanel/GridUnitStackView.hpp"

#include <algorithm>
#include <cmath>

#include "GridPanel/BoundedImageView.hpp"
#include "GridPanel/DarkAppearance.hpp"
#include "GridPanel/ImageFitting.hpp"
#include "GridPanel/TranslucentView.hpp"
#include "GridPanel/ViewHelpers.hpp"
#include "platform/appkit/Appearance.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::gridpanel {

using platform::Color;
using platform::Image;
using platform::Rect;
using platform::Size;

const std::string& gridActionType() {
    static const std::string type = "com.quorrim.GridPanel.GridAction";
    return type;
}

namespace {

constexpr double kTitleHeight = 16;
constexpr double kTitleMinWidth = 22;
constexpr double kTitleInset = 6;
constexpr double kImageMargin = 20;

// The pencil the title button shows for an empty title, drawn once.
const Image& pencilImage() {
    static const Image pencil = [] {
        Image image(Size{12, 12});
        platform::GraphicsContext context(image);
        platform::BezierPath path;
        path.moveTo({2, 10});
        path.lineTo({10, 2});
        context.setStrokeColor(Color::secondaryLabelColor());
        context.stroke(path, 2);
        return image;
    }();
    return pencil;
}

// An element's preferred size (the default for none or one no cell can
// have), at the scale the cells are drawn.
Size cellSize(const std::optional<Size>& size, double scale) {
    const bool usable = size && std::isfinite(size->width) && std::isfinite(size->height) &&
                        size->width >= 0 && size->height >= 0;
    const Size natural =
        usable ? *size : Size{GridUnitStackView::defaultSide, GridUnitStackView::defaultSide};
    return {natural.width * scale, natural.height * scale};
}

bool isDark() {
    return isDarkAppearance(platform::Appearance::current());
}

}  // namespace

GridUnitStackView::GridUnitStackView() : emptyEditImage_(pencilImage()) {
    platform::assertMainThread();
}

double GridUnitStackView::scale() const {
    const GridCellHost* host = host_.get();
    return host ? host->cellScale() : 1;
}

GridUnitStackView::~GridUnitStackView() = default;

void GridUnitStackView::clearContent() {
    while (!arrangedSubviews().empty()) {
        const auto view = arrangedSubviews().front();
        removeArrangedSubview(view.get());
        view->removeFromSuperview();
    }
    for (platform::View* view : std::initializer_list<platform::View*>{
             titleButton_.get(), backgroundImageView_.get(), translucentView_.get()}) {
        if (view) view->removeFromSuperview();
    }
    imageView_.reset();
    backgroundImageView_.reset();
    translucentView_.reset();
    titleButton_.reset();
}

namespace {

std::optional<std::uint64_t> contentIdOf(const std::optional<Image>& image) {
    return image ? std::optional(image->contentId()) : std::nullopt;
}

}  // namespace

GridUnitStackView::Content GridUnitStackView::contentOf(const CellUnit& unit, bool showTitles,
                                                        double scale) {
    const GridElement& element = *unit.element();
    // Fill cells show nothing of their element: any two of one size are alike.
    return Content{.configured = true,
                   .showTitles = showTitles,
                   .type = unit.type(),
                   .element = unit.type() == GridUnitType::fill ? nullptr : &element,
                   .size = cellSize(element.size(), scale),
                   .revision = element.appearanceRevision(),
                   .image = contentIdOf(element.image()),
                   .backgroundImage = contentIdOf(element.backgroundImage()),
                   .title = element.title(),
                   .color = element.color(),
                   .borderColor = element.borderColor()};
}

// Compared in place: thousands of cells are checked on every reload.
bool GridUnitStackView::showsAsConfigured(const CellUnit& unit, bool showTitles) const {
    platform::assertMainThread();
    if (!content_.configured) return false;
    const Content& shown = content_;
    const GridElement& element = *unit.element();
    const bool sameElement =
        unit.type() == GridUnitType::fill ? shown.element == nullptr : shown.element == &element;
    if (!sameElement || shown.type != unit.type() || shown.showTitles != showTitles ||
        shown.size != cellSize(element.size(), scale()) || !looksAsShown(shown, element)) {
        return false;
    }
    // The title shown is the element's: its button is hidden unless hovered or renamed.
    const auto untitled = [&] { return !shown.title || shown.title->empty(); };
    return !dragOrigin_ && !startedDrag_ && !isReceivingDrag_ && !dialogPopover_ && !tint &&
           (!titleButton_ || titleButton_->isHidden() == untitled());
}

bool GridUnitStackView::looksAsShown(const Content& shown, const GridElement& element) {
    const auto revision = element.appearanceRevision();
    if (revision && revision == shown.revision) return true;
    return shown.title == element.title() && shown.color == element.color() &&
           shown.borderColor == element.borderColor() &&
           shown.image == contentIdOf(element.image()) &&
           shown.backgroundImage == contentIdOf(element.backgroundImage());
}

void GridUnitStackView::reuseFor(CellUnitRef unit, GridLoc place) {
    platform::assertMainThread();
    // Found alike by comparing: the next check may take the count's word.
    if (content_.configured && unit->type() != GridUnitType::fill)
        content_.revision = unit->element()->appearanceRevision();
    unit_ = std::move(unit);
    loc = place;
    // A drag image shows the outline of its moment: taken afresh when needed.
    snapshotCache_.reset();
    setNeedsDisplay(true);
}

void GridUnitStackView::configure(CellUnitRef unit, bool showTitles,
                                  platform::WeakRef<GridCellHost> host) {
    platform::assertMainThread();
    host_ = std::move(host);
    clearContent();
    unit_ = std::move(unit);
    showTitles_ = showTitles;
    content_ = {};
    laidOutSize_.reset();
    setHuggingPriority(1000, Orientation::horizontal);
    if (!unit_) return;
    content_ = contentOf(*unit_, showTitles_, scale());
    const GridElement& element = *unit_->element();
    // The size the content was read with: asking the element again costs a screen lookup.
    if (const auto size = content_.size; size != size_) {
        size_ = size;
        invalidateIntrinsicContentSize();
    }
    setFrameSize(size_);
    setDistribution(Distribution::equalCentering);
    const bool wide = size_.height < size_.width;
    setOrientation(wide ? Orientation::horizontal : Orientation::vertical);
    setAlignment(wide ? Alignment::centerY : Alignment::centerX);
    if (element.image()) addImageView(*element.image());
    addBackground();
    if (showTitles_) addTitleButton();
    if (element.color()) setWash(element.color(), 0.2);
    trackingArea_ =
        addTrackingArea(Rect{{}, size_}, platform::TrackingOption::mouseEnteredAndExited |
                                             platform::TrackingOption::activeInKeyWindow);
    layout();
}

void GridUnitStackView::addImageView(const Image& image) {
    // A shrunk cell shrinks its picture alike, so the icons keep their share of it.
    const double shrink = scale();
    const Size room{
        std::min(std::max(0.0, size_.width - kImageMargin), image.size().width * shrink),
        std::min(size_.height, image.size().height * shrink)};
    // Kept no larger than the cell can show.
    imageView_ = std::make_shared<BoundedImageView>(
        fittedImage(image, std::max(room.width, room.height)), room);
    imageView_->unregisterDraggedTypes();
    imageView_->setEnabled(true);
    addArrangedSubview(imageView_);
}

void GridUnitStackView::addBackground() {
    const GridElement& element = *unit_->element();
    if (element.backgroundImage()) {
        backgroundImageView_ = std::make_shared<platform::ImageView>(
            fittedImage(*element.backgroundImage(), size_.width));
        backgroundImageView_->unregisterDraggedTypes();
        backgroundImageView_->setEnabled(true);
        addSubview(backgroundImageView_);
    } else if (outlineColor()) {
        translucentView_ = std::make_shared<TranslucentView>(Rect{{}, size_});
        addSubviewBelow(translucentView_, imageView_.get());
    }
}

void GridUnitStackView::addTitleButton() {
    const std::string title = unit_->element()->title().value_or("");
    titleButton_ = std::make_shared<platform::Button>(title, "rename:");
    titleButton_->setCallback([weak = weak_.ref()](platform::Button& sender) {
        if (GridUnitStackView* cell = weak.get()) cell->openRenameDialog(sender);
    });
    titleButton_->setBezelStyle(platform::Button::BezelStyle::inline_);
    titleButton_->setControlSize(platform::Button::ControlSize::mini);
    titleButton_->setRefusesFirstResponder(true);
    if (title.empty()) titleButton_->setImage(emptyEditImage_);
    label_ = title;
    addSubview(titleButton_);
    titleButton_->setHidden(title.empty());
}

void GridUnitStackView::placeTitleButton() {
    if (!titleButton_) return;
    // At least 22 wide, within the cell, 6 inside its bottom-right corner.
    const double room = std::max(0.0, size_.width - 2 * kTitleInset);
    const double width =
        std::min(std::max(titleButton_->fittingSize().width, kTitleMinWidth), room);
    titleButton_->setFrame(
        Rect{{size_.width - kTitleInset - width, size_.height - kTitleInset - kTitleHeight},
             {width, kTitleHeight}});
}

void GridUnitStackView::layout() {
    platform::assertMainThread();
    // Every layout of the panel reaches thousands of cells: one placed for
    // this size already stays as it is.
    if (laidOutSize_ == bounds().size) return;
    laidOutSize_ = bounds().size;
    StackView::layout();
    for (platform::View* view : std::initializer_list<platform::View*>{backgroundImageView_.get(),
                                                                       translucentView_.get()}) {
        if (view) view->setFrame(Rect{{}, size_});
    }
    placeTitleButton();
}

bool GridUnitStackView::hasTitle() const {
    const auto& title = unit_->element()->title();
    return title && !title->empty();
}

void GridUnitStackView::setWash(const std::optional<Color>& color, double alpha) {
    setWantsLayer(true);
    layer()->backgroundColor = color ? std::optional<Color>(color->withAlpha(alpha)) : std::nullopt;
}

double GridUnitStackView::outlineWidth() const {
    if (!unit_) return 2;
    const GridElement& element = *unit_->element();
    return element.isCurrent() ? 5 : element.isNewSelection() ? 3 : 2;
}

std::optional<Color> GridUnitStackView::outlineColor() const {
    if (!unit_) return std::nullopt;
    const GridElement& element = *unit_->element();
    if (unit_->type() != GridUnitType::basic) return element.borderColor();
    if (element.isNewSelection()) return Color::controlAccentColor().withAlpha(0.9);
    if (element.isCurrent()) return isDark() ? Color::lightGrayColor() : Color::white();
    if (isReceivingDrag_) return Color::selectedControlColor();
    return isDark() ? Color::controlColor() : Color::lightGrayColor();
}

void GridUnitStackView::drawRect(platform::GraphicsContext& context, Rect dirtyRect) {
    platform::assertMainThread();
    StackView::drawRect(context, dirtyRect);
    const auto color = outlineColor();
    if (!color) return;
    context.setStrokeColor(*color);
    context.stroke(platform::BezierPath::rect(bounds()), outlineWidth());
    setWash(unit_->element()->color(), 0.3);
}

void GridUnitStackView::refreshSnapshot() {
    platform::assertMainThread();
    if (!unit_ || unit_->type() == GridUnitType::fill) return;
    platform::mainQueue().async([weak = weak_.ref()] {
        if (GridUnitStackView* cell = weak.get()) cell->snapshotCache_ = snapshot(*cell);
    });
}

void GridUnitStackView::mouseEntered(const platform::Event& /*event*/) {
    platform::assertMainThread();
    GridCellHost* host = host_.get();
    if (!unit_ || !host || unit_->type() == GridUnitType::fill) return;
    if (!hasTitle() && titleButton_) titleButton_->setHidden(false);
    host->pointerMoved(CellUnitAndLoc{unit_, loc});
    refreshSnapshot();
}

void GridUnitStackView::mouseExited(const platform::Event& /*event*/) {
    platform::assertMainThread();
    GridCellHost* host = host_.get();
    if (!unit_ || !host) return;
    if (!hasTitle() && titleButton_) titleButton_->setHidden(true);
    // The pointer leaving a cell means no pick, even of a cell the keys moved to.
    host->pointerMoved(std::nullopt);
}

// The drag's threshold is measured from the press: a person's first move
// may already take the cell beyond it.
void GridUnitStackView::mouseDown(const platform::Event& event) {
    platform::assertMainThread();
    if (platform::Window* window = this->window())
        dragOrigin_ = window->convertPointToScreen(event.locationInWindow);
}

void GridUnitStackView::mouseDragged(const platform::Event& event) {
    platform::assertMainThread();
    GridCellHost* host = host_.get();
    if (!host || host->draggedCell() || !unit_ || unit_->type() != GridUnitType::basic) return;
    platform::Window* window = this->window();
    if (!window) return;
    const platform::Point location = window->convertPointToScreen(event.locationInWindow);
    if (!dragOrigin_) {
        dragOrigin_ = location;
        return;
    }
    const float dx = static_cast<float>(location.x - dragOrigin_->x);
    const float dy = static_cast<float>(location.y - dragOrigin_->y);
    if (!(std::sqrt(dx * dx + dy * dy) > static_cast<float>(dragThreshold))) return;
    host->setDraggedCell(CellUnitAndLoc{unit_, loc});
    startedDrag_ = true;
    if (!snapshotCache_) snapshotCache_ = snapshot(*this);
    platform::PasteboardItem item;
    item.setString("move", gridActionType());
    auto self = std::dynamic_pointer_cast<GridUnitStackView>(sharedView());
    if (!self || !beginDraggingSession({{item, bounds(), snapshotCache_}}, event, self)) {
        if (GridCellHost* stillThere = host_.get()) stillThere->setDraggedCell(std::nullopt);
        startedDrag_ = false;
    }
}

platform::DragOperations GridUnitStackView::sourceOperationMask(
    platform::DraggingSession& /*session*/, platform::DraggingContext context) {
    platform::assertMainThread();
    return context == platform::DraggingContext::withinApplication
               ? platform::DragOperation::generic
               : platform::DragOperation::none;
}

void GridUnitStackView::draggingSessionEnded(platform::DraggingSession& /*session*/,
                                             platform::Point /*screenPoint*/,
                                             platform::DragOperations /*operation*/) {
    platform::assertMainThread();
    // The session took the button's release: this gesture is over.
    if (GridCellHost* host = host_.get()) host->setDraggedCell(std::nullopt);
    dragOrigin_.reset();
    startedDrag_ = false;
}

void GridUnitStackView::mouseUp(const platform::Event& /*event*/) {
    platform::assertMainThread();
    // Held: selecting may rebuild the grid and drop this cell.
    const auto self = sharedView();
    dragOrigin_.reset();
    GridCellHost* host = host_.get();
    if (std::exchange(startedDrag_, false)) {
        // No drop took the drag: it ends here, and later clicks select again.
        if (host) host->setDraggedCell(std::nullopt);
        return;
    }
    if (!(host && host->draggedCell()) && unit_) unit_->element()->select();
}

void GridUnitStackView::openRenameDialog(platform::View& anchor) {
    platform::assertMainThread();
    GridCellHost* host = host_.get();
    if (!unit_ || !host) return;
    const GridElement& element = *unit_->element();
    auto callback = [hostRef = host_, unit = unit_,
                     cellRef = weak_.ref()](const std::optional<DialogInput>& input) {
        // The host ends the rename: this cell may have been replaced.
        GridCellHost* host = hostRef.get();
        if (host) host->renameWillEnd();
        if (input) {
            if (input->text) unit->element()->setTitle(input->text);
            unit->element()->setColor(input->color);
            if (GridUnitStackView* cell = cellRef.get()) cell->showRenamed(*input);
        }
        if (host) {
            host->renameDidEnd(input ? GridCellHost::RenameEnd::confirmed
                                     : GridCellHost::RenameEnd::cancelled);
        }
    };
    dialogPopover_ =
        DialogPopover::make(std::nullopt, DialogInput{element.title(), element.color()}, "OK",
                            "Cancel", std::move(callback));
    host->renameWillBegin();
    dialogPopover_->show(std::nullopt, std::nullopt, std::nullopt, nullptr, anchor,
                         platform::RectEdge::maxX);
}

void GridUnitStackView::showRenamed(const DialogInput& input) {
    if (input.text && titleButton_) {
        if (!input.text->empty()) titleButton_->setHidden(false);
        titleButton_->setImage(input.text->empty() ? std::optional<Image>(emptyEditImage_)
                                                   : std::nullopt);
        titleButton_->setTitle(*input.text);
        placeTitleButton();
    }
    setWash(input.color, 0.2);
    refreshSnapshot();
}

tools::LabelPopover& GridUnitStackView::labelPopover() {
    if (!labelPopover_) labelPopover_ = std::make_unique<tools::LabelPopover>(label_);
    return *labelPopover_;
}

void GridUnitStackView::setIsReceivingDrag(bool receiving) {
    platform::assertMainThread();
    if (receiving == isReceivingDrag_) return;
    isReceivingDrag_ = receiving;
    if (!tint) {
        setNeedsDisplay(true);
    } else if (imageView_) {
        imageView_->setImage(receiving && initialImage ? std::optional(tinted(*initialImage, *tint))
                                                       : initialImage);
    }
}

platform::DragOperations GridUnitStackView::draggingEntered() {
    platform::assertMainThread();
    setIsReceivingDrag(true);
    if (imageView_) imageView_->setEnabled(false);
    if (showTitles_) labelPopover().show(*this);
    if (titleView_) titleView_->setTextColor(Color::labelColor());
    return platform::DragOperation::copy;
}

void GridUnitStackView::draggingExited() {
    platform::assertMainThread();
    setIsReceivingDrag(false);
    if (imageView_) imageView_->setEnabled(true);
    // Shown on entering, closed on leaving.
    if (labelPopover_) labelPopover_->close();
    if (titleView_) titleView_->setTextColor(Color::secondaryLabelColor());
}

bool GridUnitStackView::performDragOperation() {
    platform::assertMainThread();
    if (std::exchange(isReceivingDrag_, false)) {
        if (tint && imageView_) {
            imageView_->setImage(initialImage);
        } else {
            setNeedsDisplay(true);
        }
    }
    return true;
}

}  // namespace zelvana::gridpanel
