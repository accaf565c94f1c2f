#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/MainScreenObserver.hpp"
#include "Zelvana/SpacesPlistObserver.hpp"
#include "platform/core/Weak.hpp"
#include "platform/desktop/DisplayServices.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::core {

// Keeps a record of every display seen in the setting `screens`, tells which
// stored display a live screen is (its number may have changed since), and
// polls the main screen while the status item shows the space number and two
// or more displays are attached. Main thread only.
class ScreenManager {
public:
    // Seconds after a display is added or removed before it is looked at.
    static constexpr platform::TimeInterval displayChangeDelay = 1.0;

    // Records the attached displays, registers for display changes and for
    // the setting `menuBarSpaceNumber`, and starts polling when it should.
    explicit ScreenManager(
        std::chrono::milliseconds pollInterval = MainScreenObserver::defaultInterval);
    ~ScreenManager();
    ScreenManager(const ScreenManager&) = delete;
    ScreenManager& operator=(const ScreenManager&) = delete;

    // The stored display number under which this screen was recorded: the
    // only record of the same hardware (among `among`, when given), else the
    // one of them with the screen's frame, else the one with its product
    // name. Answers are remembered for the screen's current number.
    std::optional<DisplayNumber> storedId(
        const platform::Screen& screen,
        const std::optional<std::set<DisplayNumber>>& among = std::nullopt);

    // Polls when `menuBarSpaceNumber` is on and two or more displays are
    // attached; stops polling otherwise.
    void updatePolling();

    const CodableScreenMap& storedScreens() const { return storedScreens_; }
    MainScreenObserver& mainScreenObserver() { return *mainScreenObserver_; }
    SpacesPlistObserver& plistObserver() { return *plistObserver_; }

private:
    void displayReconfigured(DisplayNumber display, platform::DisplayChangeFlags flags);
    void handleDisplayAdded(DisplayNumber display);
    // Runs `work` after the display-change delay, unless the manager is gone.
    void afterDisplayChange(std::function<void(ScreenManager&)> work);
    void record(const platform::Screen& screen);
    void save();
    static std::optional<DisplayNumber> pick(const std::vector<const CodableScreen*>& candidates,
                                             const platform::Screen& screen);

    CodableScreenMap storedScreens_;
    std::map<DisplayNumber, DisplayNumber> cachedIds_;
    std::unique_ptr<MainScreenObserver> mainScreenObserver_;
    std::unique_ptr<SpacesPlistObserver> plistObserver_;
    platform::Subscription settingObserver_;
    platform::Subscription displayObserver_;
    // Lets delayed work tell whether the manager still exists; last, so it
    // empties first.
    platform::WeakFactory<ScreenManager> weak_{this};
};

}  // namespace zelvana::core
