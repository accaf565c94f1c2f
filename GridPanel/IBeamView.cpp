#include "GridPanel/IBeamView.hpp"

#include "platform/appkit/Cursor.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

void IBeamView::awakeFromNib() {
    platform::assertMainThread();
    trackingArea_ = addTrackingArea(bounds(), trackingOptions);
}

void IBeamView::mouseEntered(const platform::Event& /*event*/) {
    platform::Cursor::iBeam().push();
}

void IBeamView::mouseExited(const platform::Event& /*event*/) {
    platform::Cursor::pop();
}

void IBeamView::resetCursorRects() {
    addCursorRect(bounds(), platform::Cursor::iBeam());
}

}  // namespace zelvana::gridpanel
