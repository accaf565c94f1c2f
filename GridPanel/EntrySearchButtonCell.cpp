#include "GridPanel/EntrySearchButtonCell.hpp"

#include "platform/appkit/Menu.hpp"
#include "platform/appkit/View.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

bool EntrySearchButtonCell::cancelWorkItem() {
    auto pending = std::exchange(workItem_, nullptr);
    if (!pending) return false;
    pending->cancel();
    return true;
}

bool EntrySearchButtonCell::trackMouse(const platform::Event& event, platform::Rect cellFrame,
                                       platform::View& view, bool untilMouseUp) {
    platform::assertMainThread();
    if (event.type != platform::EventType::leftMouseDown || !menu()) {
        return ButtonCell::trackMouse(event, cellFrame, view, untilMouseUp);
    }
    // The press itself, moved to the bottom-right corner.
    platform::Event corner = event;
    corner.locationInWindow =
        view.convertPointToView({cellFrame.maxX(), cellFrame.maxY()}, nullptr);
    if (!longPress_) {
        platform::Menu::popUpContextMenu(*menu(), corner, &view);
        return true;
    }
    workItem_ = platform::mainQueue().asyncAfter(
        longPressDelay, [weak = weak_.ref(), menu = menu(), corner,
                         view = std::weak_ptr<platform::View>(view.sharedView())] {
            auto* self = weak.get();
            if (!self) return;
            platform::Menu::popUpContextMenu(*menu, corner, view.lock().get());
            self->cancelWorkItem();
        });
    return true;
}

}  // namespace zelvana::gridpanel
