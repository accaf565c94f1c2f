#pragma once

#include <functional>
#include <memory>

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::core {
struct SettingsServices;
class ViewController;
}  // namespace zelvana::core

namespace zelvana::driver {

// The person at the settings window: "set" changes a setting through the
// window's controller, as the control for it would (writing the setting, then
// telling the hub, the status item or the login item), or writes the default of a setting without a
// control; "record show" records the shortcut as the recorder field would. A refused change writes
// nothing. Main thread.
class SettingsUser {
public:
    // What the settings window is handed (the hub, the updater, the login
    // registration), asked at each change; by default none of them.
    using Preferences = std::function<core::SettingsServices()>;

    explicit SettingsUser(Preferences preferences = {});
    ~SettingsUser();

    Refusal set(const std::string& key, const std::string& json);
    Refusal record(const std::string& name, const Chord& chord);

private:
    Preferences preferences_;
    // The settings window's controller, made on the first change.
    std::unique_ptr<core::ViewController> window_;
};

}  // namespace zelvana::driver
