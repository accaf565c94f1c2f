#include "Zelvana/Driver/SettingsUser.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/Shortcut.hpp"
#include "Zelvana/Driver/KeyNames.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/PreferencesDelegate.hpp"
#include "Zelvana/ViewController.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/PopUpButton.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/input/CarbonModifiers.hpp"

namespace zelvana::driver {

namespace {

using core::GlobalDefaults;
using nlohmann::json;
using settings::OptionalBool;

OptionalBool choice(bool on) {
    return on ? OptionalBool::userEnabled : OptionalBool::userDisabled;
}

// What a setting takes, checked before anything is written.
struct Range {
    enum class Type { boolean, whole, number };
    Type type = Type::boolean;
    double lowest = 0;
    double highest = 0;

    Refusal check(std::string_view key, const json& value) const;
};

Refusal Range::check(std::string_view key, const json& value) const {
    const auto name = "\"" + std::string(key) + "\"";
    if (type == Type::boolean) {
        return value.is_boolean() ? Refusal{} : name + " takes true or false";
    }
    const bool fits = (type == Type::whole ? value.is_number_integer() : value.is_number()) &&
                      value.get<double>() >= lowest && value.get<double>() <= highest;
    if (fits) return std::nullopt;
    const auto bound = [this](double limit) {
        return type == Type::whole ? std::to_string(static_cast<long long>(limit))
                                   : json(limit).dump();
    };
    const std::string kind = type == Type::whole ? "a whole number" : "a number";
    if (highest > 1e9) return name + " takes " + kind + " from " + bound(lowest);
    return name + " takes " + kind + " from " + bound(lowest) + " to " + bound(highest);
}

struct Setting {
    std::string_view key;
    Range range;
    // Acts on the settings window's controller, whose delegate is the hub.
    std::function<void(const json&, core::ViewController&)> apply;
};

constexpr double kAny = 1e12;
using Type = Range::Type;

// A stand-in for the control that sends the window's action.
std::shared_ptr<platform::Button> checkbox(const json& value) {
    auto box = std::make_shared<platform::Button>();
    box->setState(value.get<bool>() ? platform::ControlState::on : platform::ControlState::off);
    return box;
}

std::shared_ptr<platform::PopUpButton> popUpChoosing(const json& value) {
    auto popUp = std::make_shared<platform::PopUpButton>();
    const auto tag = value.get<std::int64_t>();
    popUp->addItem(std::to_string(tag), tag);
    popUp->selectItemWithTag(tag);
    return popUp;
}

// The settings window's controls first, then the settings it has none for.
const std::array<Setting, 13>& settingsTable() {
    using Window = core::ViewController;
    static const std::array<Setting, 13> table{{
        {"repetitionMode",
         {Type::boolean},
         [](const json& v, Window& w) { w.toggleRepetitionsCycle(*checkbox(v)); }},
        {"gesture",
         {Type::whole, 0, 8},
         [](const json& v, Window& w) { w.selectGesture(*popUpChoosing(v)); }},
        {"gridWidth",
         {Type::whole, 1, kAny},
         [](const json& v, Window& w) { w.selectWidth(*popUpChoosing(v)); }},
        {"menuBarSpaceNumber",
         {Type::boolean},
         [](const json& v, Window& w) { w.toggleMenuBarNumber(*checkbox(v)); }},
        {"launchOnLogin",
         {Type::boolean},
         [](const json& v, Window& w) { w.toggleLaunchOnLogin(*checkbox(v)); }},
        {"hideMenuBarIcon",
         {Type::boolean},
         [](const json& v, Window& w) { w.toggleHideMenuBarIcon(*checkbox(v)); }},
        // The arrow keys' modifier recorder and the wake checkbox of the
        // trackpad info: their callbacks, as the window gives them.
        {"arrowFlags",
         {Type::whole, 0, 0xFFFFFFFF},
         [](const json& v, Window& w) {
             GlobalDefaults::arrowFlags().setValue(v.get<std::int64_t>());
             if (w.prefsDelegate)
                 w.prefsDelegate->arrowFlagsDidChange(GlobalDefaults::storedArrowFlags());
         }},
        {"autoRestartOnWake",
         {Type::boolean},
         [](const json& v, Window&) {
             GlobalDefaults::autoRestartOnWake().setValue(choice(v.get<bool>()));
         }},
        {"relaunchOpensMenu",
         {Type::boolean},
         [](const json& v, Window&) {
             GlobalDefaults::relaunchOpensMenu().setValue(v.get<bool>());
         }},
        {"spaceSizeFactor",
         {Type::number, 0, 1},
         [](const json& v, Window&) {
             GlobalDefaults::spaceSizeFactor().setValue(v.get<double>());
         }},
        {"anchorCountCap",
         {Type::whole, 1, kAny},
         [](const json& v, Window&) {
             GlobalDefaults::anchorCountCap().setValue(v.get<std::int64_t>());
         }},
        {"anchorVisibility",
         {Type::whole, 1, 3},
         [](const json& v, Window&) {
             GlobalDefaults::anchorVisibility().setValue(
                 static_cast<switcher::SpaceAnchorVisibility>(v.get<std::int64_t>()));
         }},
        {"restartOnWakeDelay",
         {Type::number, 0, kAny},
         [](const json& v, Window&) {
             GlobalDefaults::restartOnWakeDelay().setValue(v.get<float>());
         }},
    }};
    return table;
}

// The recorder's own checks: a modifier besides shift (unless the key is a
// function key), and no clash with the main menu or the system's shortcuts.
Refusal recorderRefusal(const keyboardshortcuts::Shortcut& shortcut, const Chord& chord) {
    using platform::Modifier;
    const auto beyondShift = shortcut.modifiers().without(Modifier::shift);
    if (beyondShift.isEmpty() && !isFunctionKeyCode(*chord.key)) {
        return "a shortcut needs cmd, opt or ctrl, unless its key is f1-f20";
    }
    const auto& menu = platform::Application::shared().mainMenu();
    if (menu && shortcut.menuItemWithMatchingShortcut(*menu)) {
        return "the menu item \"" + shortcut.menuItemWithMatchingShortcut(*menu)->title() +
               "\" uses this shortcut";
    }
    for (const auto& system : keyboardshortcuts::Shortcut::systemHotKeyShortcuts()) {
        if (system.carbonKeyCode() == shortcut.carbonKeyCode() &&
            system.carbonModifiers() == shortcut.carbonModifiers()) {
            return "the system uses this shortcut";
        }
    }
    return std::nullopt;
}

}  // namespace

SettingsUser::SettingsUser(Preferences preferences)
    : preferences_(preferences ? std::move(preferences)
                               : Preferences([] { return core::ViewController::Services{}; })) {}

SettingsUser::~SettingsUser() = default;

Refusal SettingsUser::set(const std::string& key, const std::string& text) {
    platform::assertMainThread();
    const auto& table = settingsTable();
    const auto setting =
        std::find_if(table.begin(), table.end(), [&](const Setting& s) { return s.key == key; });
    if (setting == table.end()) return "unknown setting \"" + key + "\"";
    const auto value = json::parse(text, nullptr, false);
    if (auto refusal = setting->range.check(key, value)) return refusal;
    // Made afresh, so it holds what the program has now.
    window_ = std::make_unique<core::ViewController>(preferences_());
    setting->apply(value, *window_);
    return std::nullopt;
}

Refusal SettingsUser::record(const std::string& name, const Chord& chord) {
    platform::assertMainThread();
    if (name != "show") return "only the \"show\" shortcut has a recorder";
    if (!chord.key) return "a shortcut needs a key besides its modifiers";
    platform::ModifierFlags flags;
    for (const auto& modifier : chord.modifiers) flags |= modifier.flag;
    const auto shortcut = keyboardshortcuts::Shortcut::fromModifierFlags(*chord.key, flags);
    if (auto refusal = recorderRefusal(shortcut, chord)) return refusal;
    keyboardshortcuts::setShortcut(shortcut, GlobalDefaults::show());
    return std::nullopt;
}

}  // namespace zelvana::driver
