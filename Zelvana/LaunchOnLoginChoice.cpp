#include "Zelvana/LaunchOnLoginChoice.hpp"

#include <string>

#include "Logging/Logging.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/LaunchOnLogin.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

void applyLaunchOnLoginChoice(bool wanted, LoginRegistration registration,
                              std::function<void(bool isOn)> showState) {
    platform::assertMainThread();
    GlobalDefaults::launchOnLogin().setValue(wanted);
    if (registration == LoginRegistration::settingOnly) return;
    LaunchOnLogin::setLaunchOnLogin(wanted, [wanted, showState = std::move(showState)](bool isOn) {
        if (isOn == wanted) return;
        // Never show or keep a state the system refused.
        logging::Logging::warning(std::string("The system refused to ") +
                                  (wanted ? "enable" : "disable") + " launch at login");
        GlobalDefaults::launchOnLogin().setValue(isOn);
        if (showState) showState(isOn);
    });
}

}  // namespace zelvana::core
