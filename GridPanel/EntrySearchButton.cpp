#include "GridPanel/EntrySearchButton.hpp"

#include <any>

#include "platform/core/MainThread.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::gridpanel {

void EntrySearchButton::highlight(bool flag) {
    platform::assertMainThread();
    platform::mainQueue().async([weak = weak_.ref(), flag] {
        if (auto* self = weak.get()) {
            self->highlighted_ = flag;
            self->setNeedsDisplay(true);
        }
    });
}

void EntrySearchButton::mouseDown(const platform::Event& event) {
    platform::assertMainThread();
    Button::mouseDown(event);
    if (!menu_ || event.type != platform::EventType::leftMouseDown) return;
    const platform::Rect b = bounds();
    const platform::Point corner = convertPointToView({b.maxX(), b.maxY()}, nullptr);
    if (!longPress_) {
        popUpMenu(corner);
    } else {
        workItem_ = platform::mainQueue().asyncAfter(longPressDelay, [weak = weak_.ref(), corner] {
            if (auto* self = weak.get()) {
                self->workItem_.reset();
                self->popUpMenu(corner);
            }
        });
    }
    highlight(true);
}

void EntrySearchButton::mouseUp(const platform::Event& event) {
    platform::assertMainThread();
    if (!menu_) {
        Button::mouseUp(event);
        return;
    }
    // Released before the menu opened: a plain click.
    if (auto pending = std::exchange(workItem_, nullptr)) {
        pending->cancel();
        performClick();
        highlight(false);
    }
}

void EntrySearchButton::popUpMenu(platform::Point location) {
    menuLocation_ = location;
    menuClosed_ = platform::NotificationCenter::defaultCenter().addObserver(
        platform::kMenuDidEndTrackingNotification,
        [weak = weak_.ref(), menu = menu_.get()](const platform::Notification& note) {
            const auto* closed = std::any_cast<platform::Menu*>(&note.object);
            auto* self = weak.get();
            if (!self || !closed || *closed != menu) return;
            self->highlight(false);
            self->menuClosed_.cancel();
        });
    menu_->beginTracking();
}

}  // namespace zelvana::gridpanel
