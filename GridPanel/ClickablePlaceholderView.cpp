#include "GridPanel/ClickablePlaceholderView.hpp"

namespace zelvana::gridpanel {

void ClickablePlaceholderView::mouseDown(const platform::Event& event) {
    if (onMouseDown_) onMouseDown_();
    View::mouseDown(event);
}

}  // namespace zelvana::gridpanel
