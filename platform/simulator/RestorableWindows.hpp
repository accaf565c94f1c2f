#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/appkit/Window.hpp"
#include "platform/simulator/SavedWindow.hpp"
#include "platform/simulator/WindowStack.hpp"

namespace zelvana::platform {

// Window restoration between runs: the restorable windows saved at
// termination and handed to their restorers at the next launch. Main thread
// only.
class RestorableWindows {
public:
    // Puts a restored window back where it was saved.
    using Place = std::function<void(Window& window, const SavedWindow& saved)>;

    // <Application Support>/Saved Application State/<bundle id>.savedState/windows.json
    static std::optional<std::filesystem::path> savedStateFile();
    // Saves our restorable windows that are not closed: identifier, frame,
    // space, visibility, restoration class and their coder state. Writes
    // nothing when there are none.
    static void save(const WindowStack& windows);
    // Hands each saved window to its class's restorer and the result to
    // `place`; then forgets the saved state.
    static void restore(const Place& place);
};

}  // namespace zelvana::platform
