#include "platform/input/Cursor.hpp"

#include "platform/simulator/Mouse.hpp"

namespace zelvana::platform {

Point mouseLocation() {
    return Mouse::shared().appKitLocation();
}

Point pointerLocation() {
    return Mouse::shared().location();
}

void warpMouseCursorPosition(Point location) {
    Mouse::shared().warpCursorPosition(location);
}

}  // namespace zelvana::platform
