#include "platform/appkit/Panel.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

void Panel::setFloatingPanel(bool floating) {
    platform::assertMainThread();
    floatingPanel_ = floating;
    setLevel(floating ? Level::floating : Level::normal);
}

}  // namespace zelvana::platform
