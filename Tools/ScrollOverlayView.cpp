#include "Tools/ScrollOverlayView.hpp"

#include "platform/appkit/Cursor.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

ScrollOverlayView::ScrollOverlayView(ScrollCallback scrollCallback)
    : scrollCallback_(std::move(scrollCallback)) {}

void ScrollOverlayView::scrollWheel(const platform::Event& event) {
    platform::assertMainThread();
    // A copy: the callback may close the overlay and release this view.
    if (auto callback = scrollCallback_) callback(event);
}

void ScrollOverlayView::mouseEntered(const platform::Event& /*event*/) {
    platform::assertMainThread();
    platform::Cursor::crosshair().set();
}

}  // namespace zelvana::tools
