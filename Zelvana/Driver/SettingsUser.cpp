#include "Zelvana/Driver/SettingsUser.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <string_view>

#include "KeyboardShortcuts/RecorderField.hpp"
#include "Zelvana/Driver/Controls.hpp"
#include "Zelvana/Driver/KeyNames.hpp"
#include "Zelvana/Driver/KeyboardUser.hpp"
#include "Zelvana/Driver/WindowUser.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "platform/appkit/Alert.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/PopUpButton.hpp"
#include "platform/appkit/Sound.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::driver {

namespace {

using core::GlobalDefaults;
using nlohmann::json;
using Kind = Control::Kind;

constexpr const char* kInfoTitle = "\u24D8";
constexpr const char* kShortcutRow = "Show Zelvana:";
constexpr const char* kArrowRow = "Arrow keys:";
constexpr const char* kGestureRow = "Trackpad gesture:";
constexpr const char* kWakeCheckbox = "Relaunch Zelvana on wake";

std::string named(std::string_view key) {
    return "\"" + std::string(key) + "\"";
}

const Control* find(const std::vector<Control>& controls, Kind kind, std::string_view name) {
    const auto found = std::ranges::find_if(
        controls, [&](const Control& c) { return c.kind == kind && c.name == name; });
    return found == controls.end() ? nullptr : &*found;
}

std::string missing(std::string_view name) {
    return "the settings window has no control \"" + std::string(name) + "\"";
}

// The info button at the end of the row whose control is `rowControl`.
const Control* infoButtonBeside(const std::vector<Control>& controls, const Control& rowControl) {
    const double middle = rowControl.centre().y;
    for (const auto& control : controls) {
        if (control.kind == Kind::button && control.name == kInfoTitle &&
            control.bounds.minX() >= rowControl.bounds.maxX() && middle >= control.bounds.minY() &&
            middle <= control.bounds.maxY()) {
            return &control;
        }
    }
    return nullptr;
}

bool isOn(const platform::View* view) {
    const auto* box = dynamic_cast<const platform::Button*>(view);
    return box && box->state() == platform::ControlState::on;
}

// "from 1 to 8" for a run of whole numbers, else "one of 1, 2, 4".
std::string allowedTags(const platform::PopUpButton& popUp) {
    std::vector<std::int64_t> tags;
    for (const auto& item : popUp.items()) tags.push_back(item.tag);
    std::ranges::sort(tags);
    if (tags.empty()) return "nothing: the menu is empty";
    bool run = true;
    for (std::size_t k = 1; k < tags.size(); ++k) run = run && tags[k] == tags[k - 1] + 1;
    if (run) {
        return "a whole number from " + std::to_string(tags.front()) + " to " +
               std::to_string(tags.back());
    }
    std::string list = "one of";
    for (std::size_t k = 0; k < tags.size(); ++k) {
        list += (k == 0 ? " " : ", ") + std::to_string(tags[k]);
    }
    return list;
}

// The modifier keys whose flags the arrow keys' recorder records, in the
// order a person presses them.
constexpr std::array kModifierKeys{"ctrl", "opt", "shift", "cmd"};

std::int64_t bitOf(const char* name) {
    return static_cast<std::int64_t>(platform::ModifierFlags(modifierNamed(name)->flag).rawValue());
}

Refusal arrowFlagsRefusal(const json& value) {
    std::int64_t all = 0;
    for (const char* name : kModifierKeys) all |= bitOf(name);
    if (value.is_number_integer() && value.get<std::int64_t>() >= 0 &&
        (value.get<std::int64_t>() & ~all) == 0) {
        return std::nullopt;
    }
    return "\"arrowFlags\" takes 0 or a sum of 131072 (shift), 262144 (ctrl), 524288 (opt) and "
           "1048576 (cmd)";
}

Chord modifiersOf(std::int64_t flags) {
    Chord chord;
    for (const char* name : kModifierKeys) {
        if (flags & bitOf(name)) chord.modifiers.push_back(*modifierNamed(name));
    }
    return chord;
}

Chord keyNamed(std::string_view name) {
    return Chord{{}, keyCodeNamed(name)};
}

// Refuses a value the setting of that key cannot take.
using Check = std::function<Refusal(std::string_view key, const json&)>;

// How a setting is changed: by the checkbox of that title, the pop-up or
// recorder on that row, the wake checkbox of the gesture row's info, or by
// writing its stored value.
struct Setting {
    enum class Way { checkbox, popUp, modifierRecorder, wakeCheckbox, stored };
    std::string_view key;
    Way way;
    std::string_view control;
    // For stored values: checks, then writes.
    Check write;
};

using Way = Setting::Way;

Refusal needsBoolean(std::string_view key, const json& value) {
    return value.is_boolean() ? Refusal{} : named(key) + " takes true or false";
}

// Whole numbers are compared as integers: as a double, the largest signed
// 64-bit number and the one past it are the same.
Check wholeNumberFrom(std::int64_t lowest, std::int64_t highest) {
    return [=](std::string_view key, const json& value) -> Refusal {
        const bool signedFits =
            value.is_number_integer() &&
            (!value.is_number_unsigned() ||
             value.get<std::uint64_t>() <= std::uint64_t{std::numeric_limits<std::int64_t>::max()});
        if (signedFits && value.get<std::int64_t>() >= lowest &&
            value.get<std::int64_t>() <= highest) {
            return std::nullopt;
        }
        return named(key) + " takes a whole number from " + std::to_string(lowest) + " to " +
               std::to_string(highest);
    };
}

Check numberFrom(double lowest, double highest) {
    return [=](std::string_view key, const json& value) -> Refusal {
        if (value.is_number() && value.get<double>() >= lowest && value.get<double>() <= highest) {
            return std::nullopt;
        }
        return named(key) + " takes a number from " + json(lowest).dump() + " to " +
               json(highest).dump();
    };
}

template <class Write>
Check stored(Check check, Write write) {
    return [=](std::string_view key, const json& value) -> Refusal {
        if (auto refusal = check(key, value)) return refusal;
        write(value);
        return std::nullopt;
    };
}

const std::vector<Setting>& settingsTable() {
    static const std::vector<Setting> table{
        {"repetitionMode", Way::checkbox, "Hold modifiers and repeat", {}},
        {"gesture", Way::popUp, kGestureRow, {}},
        {"gridWidth", Way::popUp, "Grid width:", {}},
        {"menuBarSpaceNumber", Way::checkbox, "Show the space number in the menu bar", {}},
        {"launchOnLogin", Way::checkbox, "Launch at login", {}},
        {"hideMenuBarIcon", Way::checkbox, "Hide the menu bar icon", {}},
        {"arrowFlags", Way::modifierRecorder, kArrowRow, {}},
        {"autoRestartOnWake", Way::wakeCheckbox, kWakeCheckbox, {}},
        {"relaunchOpensMenu", Way::stored, "",
         stored(
             needsBoolean,
             [](const json& v) { GlobalDefaults::relaunchOpensMenu().setValue(v.get<bool>()); })},
        {"spaceSizeFactor", Way::stored, "",
         stored(
             numberFrom(0, 1),
             [](const json& v) { GlobalDefaults::spaceSizeFactor().setValue(v.get<double>()); })},
        {"anchorCountCap", Way::stored, "",
         stored(wholeNumberFrom(1, std::numeric_limits<std::int64_t>::max()),
                [](const json& v) {
                    GlobalDefaults::anchorCountCap().setValue(v.get<std::int64_t>());
                })},
        {"anchorVisibility", Way::stored, "",
         stored(wholeNumberFrom(1, 3),
                [](const json& v) {
                    GlobalDefaults::anchorVisibility().setValue(
                        static_cast<switcher::SpaceAnchorVisibility>(v.get<std::int64_t>()));
                })},
        // Held as a 32-bit float: beyond its largest, a number has no value there.
        {"restartOnWakeDelay", Way::stored, "",
         stored(
             numberFrom(0, std::numeric_limits<float>::max()),
             [](const json& v) { GlobalDefaults::restartOnWakeDelay().setValue(v.get<float>()); })},
    };
    return table;
}

// What the value must be before the window is touched.
Refusal typeRefusal(const Setting& setting, const json& value) {
    switch (setting.way) {
        case Way::checkbox:
        case Way::wakeCheckbox:
            return needsBoolean(setting.key, value);
        case Way::popUp:
            // The pop-up tells which whole numbers it offers.
            return std::nullopt;
        case Way::modifierRecorder:
            return arrowFlagsRefusal(value);
        case Way::stored:
            break;
    }
    return std::nullopt;
}

// The settings window shown, with whether it was already.
struct Opened {
    platform::Window* window = nullptr;
    bool wasShown = false;
};

Opened openWindow(const SettingsUser::SettingsWindow& settingsWindow) {
    platform::Window* window = settingsWindow ? settingsWindow() : nullptr;
    if (window && window->isVisible()) return {window, true};
    // As the status menu's "Settings…" does.
    platform::Application::shared().sendAction("openPreferences:", nullptr);
    window = settingsWindow ? settingsWindow() : nullptr;
    return {window && window->isVisible() ? window : nullptr, false};
}

// Puts the window back as it was found.
void leave(const Opened& opened) {
    if (opened.window && !opened.wasShown) opened.window->performClose(nullptr);
}

// The person's hands.
struct Hands {
    WindowUser& window;
    KeyboardUser& keyboard;
};

Refusal choose(Hands hands, const std::vector<Control>& controls, const Setting& setting,
               const json& value) {
    const auto* control = find(controls, Kind::popup, setting.control);
    const auto* popUp = control ? dynamic_cast<platform::PopUpButton*>(control->view) : nullptr;
    if (!popUp) return missing(setting.control);
    const auto& items = popUp->items();
    const auto item =
        value.is_number_integer()
            ? std::ranges::find(items, value.get<std::int64_t>(), &platform::PopUpButton::Item::tag)
            : items.end();
    if (item == items.end()) return named(setting.key) + " takes " + allowedTags(*popUp);
    if (auto refusal = hands.window.click(*popUp)) return refusal;
    const platform::Menu* menu = popUp->openMenu();
    const auto index = static_cast<std::size_t>(item - items.begin());
    const auto place = menu && index < menu->itemArray().size()
                           ? menu->frameOfItem(*menu->itemArray()[index])
                           : std::nullopt;
    if (!place) return std::string("the pop-up's menu did not open");
    return hands.window.clickOnScreen(*place);
}

Refusal recordModifiers(Hands hands, const std::vector<Control>& controls, const Setting& setting,
                        std::int64_t flags) {
    const auto* recorder = find(controls, Kind::recorder, setting.control);
    if (!recorder) return missing(setting.control);
    if (auto refusal = hands.window.click(*recorder->view)) return refusal;
    if (flags == 0) {
        // Delete clears; recording goes on until Escape.
        hands.keyboard.press(keyNamed("delete"));
        return hands.keyboard.press(keyNamed("escape"));
    }
    const Chord held = modifiersOf(flags);
    hands.keyboard.down(held);
    // Letting go of the first key commits what was held.
    return hands.keyboard.up(held);
}

Refusal checkWake(Hands hands, const std::vector<Control>& controls, bool on) {
    const auto* row = find(controls, Kind::popup, kGestureRow);
    const auto* info = row ? infoButtonBeside(controls, *row) : nullptr;
    if (!info) return missing(kInfoTitle);
    if (auto refusal = hands.window.click(*info->view)) return refusal;
    auto* popover = frontmostWindow();
    const auto popoverControls = popover ? controlsOf(*popover) : std::vector<Control>{};
    const auto* box = find(popoverControls, Kind::checkbox, kWakeCheckbox);
    if (!box) return missing(kWakeCheckbox);
    Refusal refusal;
    if (isOn(box->view) != on) refusal = hands.window.click(*box->view);
    // A click beside it, on the row's label, closes the popover.
    if (const auto* label = find(controls, Kind::label, kGestureRow)) {
        hands.window.click(*label->view);
    }
    return refusal;
}

Refusal change(Hands hands, const Setting& setting, const json& value, platform::Window& window) {
    const auto controls = controlsOf(window);
    switch (setting.way) {
        case Way::checkbox: {
            const auto* box = find(controls, Kind::checkbox, setting.control);
            if (!box) return missing(setting.control);
            if (isOn(box->view) == value.get<bool>()) return std::nullopt;
            return hands.window.click(*box->view);
        }
        case Way::popUp:
            return choose(hands, controls, setting, value);
        case Way::modifierRecorder:
            return recordModifiers(hands, controls, setting, value.get<std::int64_t>());
        case Way::wakeCheckbox:
            return checkWake(hands, controls, value.get<bool>());
        case Way::stored:
            break;
    }
    return std::nullopt;
}

Refusal typeShortcut(Hands hands, platform::Window& window, const Chord& chord) {
    const auto controls = controlsOf(window);
    const auto* control = find(controls, Kind::recorder, kShortcutRow);
    auto* recorder =
        control ? dynamic_cast<keyboardshortcuts::RecorderField*>(control->view) : nullptr;
    if (!recorder) return missing(kShortcutRow);
    const auto clicked = hands.window.click(*recorder);
    if (clicked || !recorder->isRecording()) {
        return "the recorder field is not recording" + (clicked ? ": " + *clicked : "");
    }
    const int beeps = platform::Sound::beepCount();
    const auto alerts = platform::Alert::ranAlerts().size();
    hands.keyboard.press(chord);
    // An alert was the recorder's answer, whatever went on while it waited.
    const bool asked = platform::Alert::ranAlerts().size() > alerts;
    Refusal refusal;
    if (!asked && platform::Sound::beepCount() > beeps) {
        refusal = "a shortcut needs cmd, opt or ctrl, unless its key is f1-f20";
    } else if (!asked && recorder->isRecording()) {
        refusal = "the keys did not reach the recorder: another shortcut took them";
    }
    if (recorder->isRecording()) hands.keyboard.press(keyNamed("escape"));
    return refusal;
}

}  // namespace

Refusal SettingsUser::set(const std::string& key, const std::string& text) {
    platform::assertMainThread();
    const auto& table = settingsTable();
    const auto setting =
        std::ranges::find_if(table, [&](const Setting& s) { return s.key == key; });
    if (setting == table.end()) return "unknown setting \"" + key + "\"";
    const auto value = json::parse(text, nullptr, false);
    if (setting->way == Way::stored) return setting->write(setting->key, value);
    if (auto refusal = typeRefusal(*setting, value)) return refusal;
    const auto opened = openWindow(settingsWindow_);
    if (!opened.window) return std::string("the settings window cannot be opened");
    const auto refusal = change({window_, keyboard_}, *setting, value, *opened.window);
    leave(opened);
    return refusal;
}

Refusal SettingsUser::record(const std::string& name, const Chord& chord) {
    platform::assertMainThread();
    if (name != "show") return "only the \"show\" shortcut has a recorder";
    if (!chord.key) return "a shortcut needs a key besides its modifiers";
    const auto opened = openWindow(settingsWindow_);
    if (!opened.window) return std::string("the settings window cannot be opened");
    const auto refusal = typeShortcut({window_, keyboard_}, *opened.window, chord);
    leave(opened);
    return refusal;
}

}  // namespace zelvana::driver
