#pragma once

namespace zelvana::gestures {

// The kind of a pipeline processor; the manager keeps at most one of each.
enum class Recognizer { swipe = 0, restToOne = 1, restToOneDir = 2 };

}  // namespace zelvana::gestures
