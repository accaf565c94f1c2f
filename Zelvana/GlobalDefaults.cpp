#include "Zelvana/GlobalDefaults.hpp"

#include <memory>
#include <mutex>

#include "Logging/Logging.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "settings/Defaults.hpp"

namespace zelvana::core {

namespace {

using settings::BoolDefault;
using settings::IntDefault;
using settings::OptionalBoolDefault;
using switcher::SpaceAnchorVisibility;

struct Settings {
    std::mutex mutex;
    std::unique_ptr<keyboardshortcuts::Name> show;
    std::unique_ptr<keyboardshortcuts::Name> cycleReverse;
    std::unique_ptr<BoolDefault> hideMenuBarIcon;
    std::unique_ptr<BoolDefault> launchOnLogin;
    std::unique_ptr<BoolDefault> relaunchOpensMenu;
    std::unique_ptr<GlobalDefaults::Grid> grid;
    std::unique_ptr<GlobalDefaults::Screens> screens;
    std::unique_ptr<IntDefault> arrowFlags;
    std::unique_ptr<IntDefault> gesture;
    std::unique_ptr<PositiveIntDefault> gridWidth;
    std::unique_ptr<BoundedDoubleDefault> spaceSizeFactor;
    std::unique_ptr<OptionalBoolDefault> repetitionMode;
    std::unique_ptr<OptionalBoolDefault> menuBarSpaceNumber;
    std::unique_ptr<PositiveIntDefault> anchorCountCap;
    std::unique_ptr<GlobalDefaults::AnchorVisibility> anchorVisibility;
    std::unique_ptr<OptionalBoolDefault> autoRestartOnWake;
    std::unique_ptr<settings::FloatDefault> restartOnWakeDelay;
};

// Never freed: settings live until the process ends.
Settings& state() {
    static auto* settings = new Settings();
    return *settings;
}

template <typename Setting, typename... Arguments>
Setting& lazily(std::unique_ptr<Setting> Settings::*slot, Arguments... arguments) {
    auto& settings = state();
    std::lock_guard lock(settings.mutex);
    auto& setting = settings.*slot;
    if (!setting) setting = std::make_unique<Setting>(arguments...);
    return *setting;
}

// The hub and the launch sequence observe these keys; marking them observed
// from the start means no change goes unannounced.
template <typename Setting>
Setting& announced(Setting& setting) {
    if (!settings::Defaults::isObserved(setting.key())) {
        setting.announceChanges();
    }
    return setting;
}

}  // namespace

const keyboardshortcuts::Name& GlobalDefaults::show() {
    return lazily(&Settings::show, "show");
}

const keyboardshortcuts::Name& GlobalDefaults::cycleReverse() {
    return lazily(&Settings::cycleReverse, "cycleReverse");
}

BoolDefault& GlobalDefaults::hideMenuBarIcon() {
    return lazily(&Settings::hideMenuBarIcon, "hideMenuBarIcon");
}

BoolDefault& GlobalDefaults::launchOnLogin() {
    return lazily(&Settings::launchOnLogin, "launchOnLogin");
}

BoolDefault& GlobalDefaults::relaunchOpensMenu() {
    return lazily(&Settings::relaunchOpensMenu, "relaunchOpensMenu");
}

GlobalDefaults::Grid& GlobalDefaults::grid() {
    return lazily(&Settings::grid, "grid");
}

GlobalDefaults::Screens& GlobalDefaults::screens() {
    return lazily(&Settings::screens, "screens");
}

IntDefault& GlobalDefaults::arrowFlags() {
    return lazily(&Settings::arrowFlags, "arrowFlags", 0);
}

platform::ModifierFlags GlobalDefaults::storedArrowFlags() {
    const std::int64_t stored = arrowFlags().value();
    if (stored >= 0) return platform::ModifierFlags::fromRaw(static_cast<std::uint64_t>(stored));
    logging::Logging::warning("the stored arrowFlags " + std::to_string(stored) +
                              " is negative; the arrow keys take no modifiers");
    return {};
}

IntDefault& GlobalDefaults::gesture() {
    return announced(lazily(&Settings::gesture, "gesture", 0));
}

PositiveIntDefault& GlobalDefaults::gridWidth() {
    return lazily(&Settings::gridWidth, "gridWidth", 3, PositiveIntDefault::Bounds{0, {}});
}

BoundedDoubleDefault& GlobalDefaults::spaceSizeFactor() {
    return lazily(&Settings::spaceSizeFactor, "spaceSizeFactor", 0.13,
                  BoundedDoubleDefault::Bounds{0.0, 1.0});
}

OptionalBoolDefault& GlobalDefaults::repetitionMode() {
    return lazily(&Settings::repetitionMode, "repetitionMode");
}

OptionalBoolDefault& GlobalDefaults::menuBarSpaceNumber() {
    return announced(lazily(&Settings::menuBarSpaceNumber, "menuBarSpaceNumber"));
}

PositiveIntDefault& GlobalDefaults::anchorCountCap() {
    return lazily(&Settings::anchorCountCap, "anchorCountCap", 50,
                  PositiveIntDefault::Bounds{0, {}});
}

GlobalDefaults::AnchorVisibility& GlobalDefaults::anchorVisibility() {
    return lazily(&Settings::anchorVisibility, "anchorVisibility", SpaceAnchorVisibility::hidden);
}

OptionalBoolDefault& GlobalDefaults::autoRestartOnWake() {
    return announced(lazily(&Settings::autoRestartOnWake, "autoRestartOnWake"));
}

settings::FloatDefault& GlobalDefaults::restartOnWakeDelay() {
    return lazily(&Settings::restartOnWakeDelay, "restartOnWakeDelay", 1.0F);
}

std::optional<platform::PropertyValue> GlobalDefaults::globalDomainValue(const std::string& key) {
    // The global domain's own handle: an empty suite name would read a domain
    // file of that name besides.
    const auto values = platform::UserDefaults::globalDomain().dictionaryRepresentation();
    const auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

void GlobalDefaults::resetForTesting() {
    auto& settings = state();
    std::lock_guard lock(settings.mutex);
    settings.show.reset();
    settings.cycleReverse.reset();
    settings.hideMenuBarIcon.reset();
    settings.launchOnLogin.reset();
    settings.relaunchOpensMenu.reset();
    settings.grid.reset();
    settings.screens.reset();
    settings.arrowFlags.reset();
    settings.gesture.reset();
    settings.gridWidth.reset();
    settings.spaceSizeFactor.reset();
    settings.repetitionMode.reset();
    settings.menuBarSpaceNumber.reset();
    settings.anchorCountCap.reset();
    settings.anchorVisibility.reset();
    settings.autoRestartOnWake.reset();
    settings.restartOnWakeDelay.reset();
}

void pruneStoredScreens(const std::optional<std::vector<CodableSpace>>& spaces) {
    const auto& list = spaces ? spaces : GlobalDefaults::grid().typedValue();
    if (list) pruneStoredScreens(referencedDisplays(*list));
}

void pruneStoredScreens(const std::set<DisplayNumber>& referenced) {
    auto screens = GlobalDefaults::screens().typedValue();
    if (!screens || !screens->pruneKeeping(referenced, platform::Date::now())) return;
    GlobalDefaults::screens().setTypedValue(std::move(screens));
}

}  // namespace zelvana::core
