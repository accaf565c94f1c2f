#pragma once

#include <gtest/gtest.h>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "input/ArrowHotKeys.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/input/HotKeyCenter.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/system/Permissions.hpp"
#include "platform/system/SystemVersion.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::input::test {

inline constexpr platform::ModifierFlags kCapsLock = platform::Event::capsLock;
inline constexpr platform::ModifierFlags kShift = platform::Event::shift;
inline constexpr platform::ModifierFlags kControl = platform::Event::control;
inline constexpr platform::ModifierFlags kOption = platform::Event::option;
inline constexpr platform::ModifierFlags kCommand = platform::Event::command;
inline constexpr platform::ModifierFlags kFunction = platform::Event::function;

inline constexpr std::uint16_t kLeftArrow = 123;
inline constexpr std::uint16_t kRightArrow = 124;
inline constexpr std::uint16_t kDownArrow = 125;
inline constexpr std::uint16_t kUpArrow = 126;

// A fresh process as far as input goes: no hot keys in either registry, no
// monitors or taps, permissions granted, our application inactive (so keys
// go to another one and global monitors see them).
class InputTest : public ::testing::Test {
protected:
    InputTest() {
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.InputTest");
        resetAll();
    }
    ~InputTest() override {
        resetAll();
        platform::UserDefaults::setStandardSuiteName(
            platform::UserDefaults::defaultStandardSuiteName);
    }

    static void resetAll() {
        triggerHotKeys().resetForTesting();
        keyboardshortcuts::resetForTesting();
        platform::testing::resetSimulatedInput();
    }

    static platform::Keyboard& keyboard() { return platform::Keyboard::shared(); }
    static platform::HotKeyCenter& center() { return platform::HotKeyCenter::shared(); }
    static std::size_t installedMonitors() { return platform::EventMonitors::installedCount(); }

    static platform::Event flagsEvent(platform::ModifierFlags flags) {
        return platform::Event::keyEvent(platform::EventType::flagsChanged, 0, flags, "", "");
    }
    static platform::Event mouseMovedEvent(platform::ModifierFlags flags) {
        platform::Event event;
        event.type = platform::EventType::mouseMoved;
        event.modifierFlags = flags;
        return event;
    }

    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
};

}  // namespace zelvana::input::test
