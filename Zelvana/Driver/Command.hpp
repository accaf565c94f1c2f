#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::driver {

// Why a command could not be carried out; none when it was.
using Refusal = std::optional<std::string>;

// A modifier key of a chord: the flag it holds and the key that holds it.
struct ModifierKey {
    platform::Modifier flag = platform::Modifier::command;
    std::uint16_t keyCode = 0;

    bool operator==(const ModifierKey&) const = default;
};

// Keys pressed together, as in "ctrl+opt+right": modifiers in the order
// given and at most one other key.
struct Chord {
    std::vector<ModifierKey> modifiers{};
    std::optional<std::uint16_t> key{};

    bool operator==(const Chord&) const = default;
};

// Where fingers or a pointer travel; the diagonals only steer.
enum class Direction { left, right, up, down, upLeft, upRight, downLeft, downRight };
enum class Permission { accessibility, inputMonitoring };
enum class Toggle { off, on };

// One line of the program's command language (see the README for the words).
// Only the members of its kind are set.
struct Command {
    enum class Kind {
        wait,
        quit,
        wake,
        powerOff,
        switchSpace,
        activateOther,
        keyDown,
        keyUp,
        keyPress,
        type,
        swipe,
        rest,
        steer,
        lift,
        permission,
        move,
        click,
        drag,
        mouseDown,
        mouseUp,
        menu,
        set,
        record,
        panel,
        controls,
        answer,
        close,
        snapshot,
        addDisplay,
        removeDisplay,
    };
    Kind kind = Kind::quit;
    double milliseconds = 0;
    std::uint32_t display = 0;
    std::size_t position = 0;
    Chord chord{};
    // The text typed, the menu item's title, the setting's key, the
    // shortcut's name, the button's title or the picture's path.
    std::string text{};
    // The setting's JSON value.
    std::string value{};
    int fingers = 0;
    Direction direction = Direction::left;
    Permission permission = Permission::accessibility;
    Toggle toggle = Toggle::on;
    std::vector<platform::Point> points{};

    bool operator==(const Command&) const = default;
};

}  // namespace zelvana::driver
