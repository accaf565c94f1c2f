#pragma once

namespace zelvana::platform {

// How text that does not fit its width is shown, with the system's values.
enum class LineBreakMode {
    byWordWrapping = 0,
    byCharWrapping = 1,
    byClipping = 2,
    byTruncatingHead = 3,
    byTruncatingTail = 4,
    byTruncatingMiddle = 5,
};

}  // namespace zelvana::platform
