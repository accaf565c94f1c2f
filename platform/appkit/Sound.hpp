#pragma once

namespace zelvana::platform {

// The system alert sound. Headless: a beep is counted, so tests can tell
// that the user was told off. Main thread only.
class Sound {
public:
    Sound() = delete;
    static void beep();
    static int beepCount();
    static void resetForTesting();
};

}  // namespace zelvana::platform
