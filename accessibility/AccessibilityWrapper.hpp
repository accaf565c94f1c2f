#pragma once

#include <string>

namespace zelvana::accessibility {

// A placeholder that nothing uses.
struct AccessibilityWrapper {
    std::string text = "Hello, World!";
};

}  // namespace zelvana::accessibility
