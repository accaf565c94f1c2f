#pragma once

namespace zelvana::gestures {

// Whether the permission prompt has a close button, and whether that button
// quits the application.
enum class CloseBehavior { notClosable = 0, closable = 1, closeWillQuit = 2 };

}  // namespace zelvana::gestures
