#include "platform/appkit/Panel.hpp"

namespace zelvana::platform {

void Panel::setFloatingPanel(bool floating) {
    floatingPanel_ = floating;
    setLevel(floating ? Level::floating : Level::normal);
}

}  // namespace zelvana::platform
