#include "GridPanel/ClickablePlaceholderView.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

void ClickablePlaceholderView::mouseDown(const platform::Event& event) {
    platform::assertMainThread();
    if (onMouseDown_) onMouseDown_();
    View::mouseDown(event);
}

}  // namespace zelvana::gridpanel
