#pragma once

namespace zelvana::gestures {

// Which system permission guards the gesture tap.
enum class MonitorPrivilege { accessibility = 0, inputMonitoring = 1 };

struct GestureOptions {
    MonitorPrivilege privilege = MonitorPrivilege::accessibility;
};

}  // namespace zelvana::gestures
