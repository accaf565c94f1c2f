#include "platform/testing/SimulatedInput.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/input/HotKeyCenter.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/simulator/PermissionSwitches.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::platform::testing {

void resetSimulatedInput() {
    HotKeyCenter::shared().resetForTesting();
    Keyboard::shared().resetForTesting();
    KeyboardLayout::resetForTesting();
    SymbolicHotKeys::shared().resetForTesting();
    SystemVersion::resetForTesting();
    EventMonitors::resetForTesting();
    EventTap::resetForTesting();
    PermissionSwitches::resetForTesting();
    Application::shared().resetForTesting();
    RunLoop::main().resetForTesting();
}

}  // namespace zelvana::platform::testing
