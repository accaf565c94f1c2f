#pragma once

#include <gtest/gtest.h>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/HotKeyCenter.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/system/SystemVersion.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::keyboardshortcuts::test {

// A fresh process as far as shortcuts go: empty defaults in a temporary
// folder, no hot keys, the U.S. layout, system 14, our application inactive.
class ShortcutsTest : public ::testing::Test {
protected:
    ShortcutsTest() {
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.ShortcutsTest");
        resetAll();
    }
    ~ShortcutsTest() override {
        resetAll();
        platform::UserDefaults::setStandardSuiteName(
            platform::UserDefaults::defaultStandardSuiteName);
    }

    static void resetAll() {
        keyboardshortcuts::resetForTesting();
        platform::testing::resetSimulatedInput();
    }

    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    static platform::Keyboard& keyboard() { return platform::Keyboard::shared(); }
    static platform::HotKeyCenter& center() { return platform::HotKeyCenter::shared(); }

    // Whether the system holds a hot key for the combination.
    static bool systemHolds(const Shortcut& shortcut) {
        return center()
            .hotKeyFor(static_cast<std::uint32_t>(shortcut.carbonKeyCode()),
                       static_cast<std::uint32_t>(shortcut.carbonModifiers()))
            .has_value();
    }

    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
};

inline constexpr std::int64_t kSpace = 49;
inline constexpr ModifierFlags kCommand = Modifier::command;
inline constexpr ModifierFlags kShift = Modifier::shift;
inline constexpr ModifierFlags kOption = Modifier::option;
inline constexpr ModifierFlags kControl = Modifier::control;
inline constexpr ModifierFlags kCapsLock = Modifier::capsLock;

}  // namespace zelvana::keyboardshortcuts::test
