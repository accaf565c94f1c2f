#pragma once

#include "platform/appkit/Window.hpp"

namespace zelvana::droppane {

// The drop pane's window: a translucent, title-less panel above normal
// windows (the modal-panel level) that joins no window cycle. Main thread.
class DropPaneWindow : public platform::Window {
public:
    DropPaneWindow();
    DropPaneWindow(platform::Rect contentRect, StyleMask styleMask, int backing, bool defer);

private:
    void configure();
};

}  // namespace zelvana::droppane
