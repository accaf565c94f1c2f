#include "platform/appkit/ButtonCell.hpp"

#include "platform/appkit/View.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

void ButtonCell::highlight(bool flag, Rect /*frame*/, View* view) {
    platform::assertMainThread();
    highlighted_ = flag;
    if (view) view->setNeedsDisplay(true);
}

}  // namespace zelvana::platform
