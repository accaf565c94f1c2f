#include "platform/appkit/PopUpButton.hpp"

#include <algorithm>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

// The square at the end of the bezel that holds the arrows.
constexpr double kArrowsSide = 16;
constexpr double kTitleInset = 8;

enum class Pointing { up, down };

// A chevron centred at `centre`.
BezierPath chevron(Point centre, Pointing pointing) {
    const double tip = pointing == Pointing::up ? -1.5 : 1.5;
    BezierPath path;
    path.moveTo({centre.x - 3, centre.y - tip});
    path.lineTo({centre.x, centre.y + tip});
    path.lineTo({centre.x + 3, centre.y - tip});
    return path;
}

}  // namespace

void PopUpButton::addItem(std::string title, std::int64_t tag) {
    items_.push_back(Item{std::move(title), tag});
    // The first item shows until another is chosen.
    if (!selected_) selected_ = 0;
    showSelection();
}

const PopUpButton::Item* PopUpButton::selectedItem() const {
    return selected_ ? &items_[*selected_] : nullptr;
}

std::int64_t PopUpButton::selectedTag() const {
    const Item* item = selectedItem();
    return item ? item->tag : -1;
}

bool PopUpButton::selectItemWithTag(std::int64_t tag) {
    const auto found = std::ranges::find(items_, tag, &Item::tag);
    if (found == items_.end()) {
        selected_.reset();
        showSelection();
        return false;
    }
    selected_ = static_cast<std::size_t>(found - items_.begin());
    showSelection();
    return true;
}

bool PopUpButton::chooseItemAtIndex(std::size_t index) {
    assertMainThread();
    if (index >= items_.size() || !isEnabled()) return false;
    selected_ = index;
    showSelection();
    return sendAction();
}

void PopUpButton::showSelection() {
    const Item* item = selectedItem();
    setTitle(item ? item->title : "");
}

Menu* PopUpButton::openMenu() const {
    return menu_ && menu_->isTracking() ? menu_.get() : nullptr;
}

bool PopUpButton::performClick() {
    assertMainThread();
    Window* window = this->window();
    if (!isEnabled() || !window) return false;
    menu_ = std::make_shared<Menu>();
    for (std::size_t index = 0; index < items_.size(); ++index) {
        auto item = menu_->addItem(items_[index].title, "", "");
        item->setState(selected_ == index ? ControlState::on : ControlState::off);
        item->setActionHandler([weak = weak_.ref(), index](MenuItem&) {
            if (PopUpButton* self = weak.get()) self->chooseItemAtIndex(index);
        });
    }
    const Rect onScreen = window->convertRectToScreen(convertRectToView(bounds(), nullptr));
    const MenuItem* selected = selected_ ? menu_->itemArray()[*selected_].get() : nullptr;
    // The selected item's row lies over the button, its title over the title.
    const Point location{onScreen.minX(),
                         onScreen.maxY() - (onScreen.height() - Menu::itemHeight) / 2};
    menu_->popUpMenuPositioningItem(selected, location, onScreen.width());
    return true;
}

void PopUpButton::mouseDown(const Event& /*event*/) {
    assertMainThread();
    performClick();
}

void PopUpButton::mouseUp(const Event& /*event*/) {
    // The open menu takes the release.
}

void PopUpButton::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    assertMainThread();
    const Rect b = bounds();
    drawBezel(context, b);
    const Rect arrows{{b.maxX() - kArrowsSide - 3, (b.height() - kArrowsSide) / 2},
                      {kArrowsSide, kArrowsSide}};
    context.setFillColor(isEnabled() ? Color::controlAccentColor() : Color::white(0.8, 1));
    context.fill(BezierPath::roundedRect(arrows, 4, 4));
    context.setStrokeColor(Color::white());
    const Point centre{arrows.minX() + kArrowsSide / 2, arrows.minY() + kArrowsSide / 2};
    context.stroke(chevron({centre.x, centre.y - 2.5}, Pointing::up), 1.5);
    context.stroke(chevron({centre.x, centre.y + 2.5}, Pointing::down), 1.5);
    const Item* item = selectedItem();
    if (!item) return;
    const Font font = this->font();
    const TextLayout title(item->title, font, LineBreakMode::byTruncatingTail,
                           std::max(1.0, arrows.minX() - 2 * kTitleInset));
    context.drawText(title, Point{kTitleInset, (b.height() - font.lineHeight()) / 2},
                     title.size().width, TextAlignment::left,
                     isEnabled() ? Color::labelColor() : Color::secondaryLabelColor());
}

}  // namespace zelvana::platform
