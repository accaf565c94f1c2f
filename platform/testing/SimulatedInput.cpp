#include "platform/testing/SimulatedInput.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/desktop/Desktop.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/input/HotKeyCenter.hpp"
#include "platform/input/Keyboard.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/Mouse.hpp"
#include "platform/input/Permissions.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/input/SystemVersion.hpp"

namespace zelvana::platform::testing {

void resetSimulatedInput() {
    if (Menu* open = Menu::trackingMenu()) open->endTracking();
    Mouse::shared().resetForTesting();
    HotKeyCenter::shared().resetForTesting();
    Keyboard::shared().resetForTesting();
    KeyboardLayout::resetForTesting();
    SymbolicHotKeys::shared().resetForTesting();
    SystemVersion::resetForTesting();
    EventMonitors::resetForTesting();
    EventTap::resetForTesting();
    Permissions::resetForTesting();
    Application::shared().resetForTesting();
    RunLoop::main().resetForTesting();
}

}  // namespace zelvana::platform::testing

namespace zelvana::platform::testing {

void clickOnScreen(Point point) {
    auto& mouse = Mouse::shared();
    mouse.moveTo(Desktop::shared().boundsFromFrame(Rect{point, {}}).origin);
    mouse.press(EventType::leftMouseDown);
    mouse.press(EventType::leftMouseUp);
}

Point middleOnScreen(const View& view) {
    const Window* window = view.window();
    if (!window) return {};
    const Rect rect = window->convertRectToScreen(view.convertRectToView(view.bounds(), nullptr));
    return {rect.minX() + rect.width() / 2, rect.minY() + rect.height() / 2};
}

void clickMiddleOf(const View& view) {
    clickOnScreen(middleOnScreen(view));
}

}  // namespace zelvana::platform::testing
