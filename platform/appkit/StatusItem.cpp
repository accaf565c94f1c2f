#include "platform/appkit/StatusItem.hpp"

#include <algorithm>

#include "platform/appkit/Font.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/appkit/TextLayout.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

// The room around a button's content.
constexpr double kContentPadding = 6;
// The height a button has when no display tells it otherwise.
constexpr double kDefaultBarHeight = 24;

double barHeight() {
    const auto screen = Screen::main();
    const double height = screen ? screen->menuBarHeight() : 0;
    return height > 0 ? height : kDefaultBarHeight;
}

// The window of a status item: never key, on every space, not cycled.
class StatusBarWindow final : public Window {
public:
    StatusBarWindow() : Window(Rect{}, Style::borderless, BackingStore::buffered, false) {
        setLevel(Level::statusBar);
        // The menu bar shows through around the button.
        setOpaque(false);
        setBackgroundColor(std::nullopt);
        setHasShadow(false);
        setCollectionBehavior(CollectionBehavior::canJoinAllSpaces |
                              CollectionBehavior::stationary | CollectionBehavior::ignoresCycle);
    }
    bool canBecomeKeyWindow() const override { return false; }
    // The menu bar takes clicks whatever the application runs.
    bool worksWhenModal() const override { return true; }
};

}  // namespace

Font StatusItem::menuBarFont() {
    return Font::systemFont(14);
}

StatusItem::StatusItem(StatusBar& bar, double length)
    : bar_(&bar),
      length_(length),
      button_(std::make_shared<StatusBarButton>(*this)),
      window_(std::make_unique<StatusBarWindow>()) {
    window_->setContentView(button_);
}

StatusItem::~StatusItem() {
    button_->item_ = nullptr;
    bar_->removeStatusItem(*this);
}

void StatusItem::setLength(double length) {
    platform::assertMainThread();
    length_ = length;
    relayout();
}

void StatusItem::setVisible(bool visible) {
    platform::assertMainThread();
    visible_ = visible;
    relayout();
}

void StatusItem::relayout() {
    platform::assertMainThread();
    bar_->relayout();
}

void StatusItem::placeWindow() {
    const auto screen = Screen::main();
    const auto frame = screen ? buttonFrame(*screen) : std::nullopt;
    if (!frame) {
        if (window_->isVisible()) window_->orderOut(nullptr);
        return;
    }
    window_->setFrame(*frame);
    window_->setContentSize(frame->size);
    if (!window_->isVisible()) window_->orderFront(nullptr);
}

Size StatusItem::buttonSize() const {
    const double height = barHeight();
    if (length_ == squareLength) return {height, height};
    if (length_ >= 0) return {length_, height};
    double width = 0;
    if (const auto& image = button_->image()) width += image->size().width;
    if (!button_->title().empty()) {
        if (width > 0) width += imageTitleGap;
        width += TextLayout(button_->title(), menuBarFont()).size().width;
    }
    return {width + 2 * kContentPadding, height};
}

std::optional<Rect> StatusItem::buttonFrame(const Screen& screen) const {
    return bar_->buttonFrame(*this, screen);
}

}  // namespace zelvana::platform
