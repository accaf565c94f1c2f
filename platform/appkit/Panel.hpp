#pragma once

#include "platform/appkit/Window.hpp"

namespace zelvana::platform {

// An auxiliary window. A floating panel stacks at the floating level; a
// non-activating panel takes key status without activating
// the application. Main thread only.
class Panel : public Window {
public:
    Panel() = default;
    Panel(Rect contentRect, StyleMask styleMask, int backing, bool defer)
        : Window(contentRect, styleMask, backing, defer) {}

    bool isFloatingPanel() const { return floatingPanel_; }
    // Also moves the panel to the floating (or normal) level.
    void setFloatingPanel(bool floating);
    bool becomesKeyOnlyIfNeeded() const { return becomesKeyOnlyIfNeeded_; }
    void setBecomesKeyOnlyIfNeeded(bool value) { becomesKeyOnlyIfNeeded_ = value; }
    bool hidesOnDeactivate() const { return hidesOnDeactivate_; }
    void setHidesOnDeactivate(bool value) { hidesOnDeactivate_ = value; }
    bool isNonactivating() const { return styleMask().contains(Style::nonactivatingPanel); }

private:
    bool floatingPanel_ = false;
    bool becomesKeyOnlyIfNeeded_ = false;
    bool hidesOnDeactivate_ = true;
};

}  // namespace zelvana::platform
