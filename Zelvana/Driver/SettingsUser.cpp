#include "Zelvana/Driver/SettingsUser.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/Shortcut.hpp"
#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/Driver/KeyNames.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/LaunchOnLogin.hpp"
#include "Zelvana/PreferencesDelegate.hpp"
#include "Zelvana/StatusItem.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/input/CarbonModifiers.hpp"

namespace zelvana::driver {

namespace {

using core::GlobalDefaults;
using nlohmann::json;
using settings::OptionalBool;

core::AppDelegate* appDelegate() {
    return dynamic_cast<core::AppDelegate*>(platform::Application::shared().delegate());
}

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
    std::function<void(const json&, core::PreferencesDelegate*)> apply;
};

constexpr double kAny = 1e12;
using Type = Range::Type;

// The settings window's controls first, then the settings it has none for.
const std::array<Setting, 13>& settingsTable() {
    static const std::array<Setting, 13> table{{
        {"repetitionMode",
         {Type::boolean},
         [](const json& v, core::PreferencesDelegate* hub) {
             GlobalDefaults::repetitionMode().setValue(choice(v.get<bool>()));
             if (hub) hub->repetitionModeDidChange();
         }},
        {"gesture",
         {Type::whole, 0, 8},
         [](const json& v, core::PreferencesDelegate* hub) {
             GlobalDefaults::gesture().setValue(v.get<std::int64_t>());
             if (hub) hub->gestureDidChange(v.get<std::int64_t>());
         }},
        {"gridWidth",
         {Type::whole, 1, kAny},
         [](const json& v, auto*) { GlobalDefaults::gridWidth().setValue(v.get<std::int64_t>()); }},
        {"menuBarSpaceNumber",
         {Type::boolean},
         [](const json& v, auto*) {
             GlobalDefaults::menuBarSpaceNumber().setValue(choice(v.get<bool>()));
         }},
        {"launchOnLogin",
         {Type::boolean},
         [](const json& v, auto*) {
             if (appDelegate()) core::LaunchOnLogin::setLaunchOnLogin(v.get<bool>());
             GlobalDefaults::launchOnLogin().setValue(v.get<bool>());
         }},
        {"hideMenuBarIcon",
         {Type::boolean},
         [](const json& v, auto*) {
             GlobalDefaults::hideMenuBarIcon().setValue(v.get<bool>());
             core::StatusItem::shared().setupStatusItem();
         }},
        {"arrowFlags",
         {Type::whole, 0, 0xFFFFFFFF},
         [](const json& v, core::PreferencesDelegate* hub) {
             GlobalDefaults::arrowFlags().setValue(v.get<std::int64_t>());
             if (hub) hub->arrowFlagsDidChange(v.get<std::int64_t>());
         }},
        {"autoRestartOnWake",
         {Type::boolean},
         [](const json& v, auto*) {
             GlobalDefaults::autoRestartOnWake().setValue(choice(v.get<bool>()));
         }},
        {"relaunchOpensMenu",
         {Type::boolean},
         [](const json& v, auto*) { GlobalDefaults::relaunchOpensMenu().setValue(v.get<bool>()); }},
        {"spaceSizeFactor",
         {Type::number, 0, 1},
         [](const json& v, auto*) { GlobalDefaults::spaceSizeFactor().setValue(v.get<double>()); }},
        {"anchorCountCap",
         {Type::whole, 1, kAny},
         [](const json& v, auto*) {
             GlobalDefaults::anchorCountCap().setValue(v.get<std::int64_t>());
         }},
        {"anchorVisibility",
         {Type::whole, 1, 3},
         [](const json& v, auto*) {
             GlobalDefaults::anchorVisibility().setValue(
                 static_cast<switcher::SpaceAnchorVisibility>(v.get<std::int64_t>()));
         }},
        {"restartOnWakeDelay",
         {Type::number, 0, kAny},
         [](const json& v, auto*) {
             GlobalDefaults::restartOnWakeDelay().setValue(v.get<float>());
         }},
    }};
    return table;
}

core::PreferencesDelegate* runningHub() {
    auto* delegate = appDelegate();
    return delegate ? delegate->manager() : nullptr;
}

// The recorder's own checks: a modifier besides shift (unless the key is a
// function key), and no clash with the main menu or the system's shortcuts.
Refusal recorderRefusal(const KeyboardShortcuts::Shortcut& shortcut, const Chord& chord) {
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
    for (const auto& system : KeyboardShortcuts::Shortcut::systemHotKeyShortcuts()) {
        if (system.carbonKeyCode() == shortcut.carbonKeyCode() &&
            system.carbonModifiers() == shortcut.carbonModifiers()) {
            return "the system uses this shortcut";
        }
    }
    return std::nullopt;
}

}  // namespace

SettingsUser::SettingsUser(Preferences preferences)
    : preferences_(preferences ? std::move(preferences) : Preferences(runningHub)) {}

Refusal SettingsUser::set(const std::string& key, const std::string& text) {
    platform::assertMainThread();
    const auto& table = settingsTable();
    const auto setting =
        std::find_if(table.begin(), table.end(), [&](const Setting& s) { return s.key == key; });
    if (setting == table.end()) return "unknown setting \"" + key + "\"";
    const auto value = json::parse(text, nullptr, false);
    if (auto refusal = setting->range.check(key, value)) return refusal;
    setting->apply(value, preferences_());
    return std::nullopt;
}

}  // namespace zelvana::driver

namespace zelvana::driver {

Refusal SettingsUser::record(const std::string& name, const Chord& chord) {
    platform::assertMainThread();
    if (name != "show") return "only the \"show\" shortcut has a recorder";
    if (!chord.key) return "a shortcut needs a key besides its modifiers";
    platform::ModifierFlags flags;
    for (const auto& modifier : chord.modifiers) flags |= modifier.flag;
    const auto shortcut = KeyboardShortcuts::Shortcut::fromModifierFlags(*chord.key, flags);
    if (auto refusal = recorderRefusal(shortcut, chord)) return refusal;
    KeyboardShortcuts::setShortcut(shortcut, GlobalDefaults::show());
    return std::nullopt;
}

}  // namespace zelvana::driver
