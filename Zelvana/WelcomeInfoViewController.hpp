#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Zelvana/LaunchOnLoginChoice.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/StoryboardActions.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::core {

// What the popover's maker hands it: how the switch registers, and what
// opens the settings window (nothing without it).
struct WelcomeServices {
    LoginRegistration loginRegistration = LoginRegistration::settingOnly;
    std::function<void()> openSettings;
};

// The content of the welcome popover shown under the status icon on the
// first launch: a launch-at-login switch and a way into the settings. Made
// from the storyboard "Info". Main thread only.
class WelcomeInfoViewController : public platform::ViewController {
public:
    static constexpr const char* storyboardName = "Info";
    static constexpr const char* identifier = "WelcomeInfoViewController";

    using Services = WelcomeServices;

    // Makes the class known to storyboards, each one made with `services`;
    // safe to call again.
    static void registerStoryboardClass(Services services = {});
    explicit WelcomeInfoViewController(Services services = {});

    // Weak, as the view owns the switch.
    platform::Button* launchOnLoginSwitch() const { return launchOnLoginSwitch_.lock().get(); }

    // Stores the switch's state in launchOnLogin and registers or withdraws
    // the login item. When the system refuses, the setting and the switch
    // take the state the system really has.
    void toggleLaunchOnLogin(platform::Button& sender);
    // Shows the settings window.
    void openPrefs(const platform::ActionSender* sender);

    bool setOutlet(const std::string& name,
                   const std::shared_ptr<platform::StoryboardObject>& object) override;
    // The switch's and the button's actions.
    void connectActions(platform::StoryboardActions& actions) override;

protected:
    // The switch shows the setting launchOnLogin.
    void viewDidLoad() override;

private:
    void showLaunchOnLogin(bool on);

    std::weak_ptr<platform::Button> launchOnLoginSwitch_;
    Services services_;
    platform::WeakFactory<WelcomeInfoViewController> weak_{this};
};

}  // namespace zelvana::core
