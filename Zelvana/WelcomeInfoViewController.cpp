#include "Zelvana/WelcomeInfoViewController.hpp"

#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/LaunchOnLoginChoice.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Storyboard.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

namespace {

AppDelegate* appDelegate() {
    return dynamic_cast<AppDelegate*>(platform::Application::shared().delegate());
}

}  // namespace

void WelcomeInfoViewController::registerStoryboardClass() {
    platform::assertMainThread();
    platform::Storyboard::registerClass(
        identifier, [] { return std::make_unique<WelcomeInfoViewController>(); });
}

bool WelcomeInfoViewController::setOutlet(
    const std::string& name, const std::shared_ptr<platform::StoryboardObject>& object) {
    platform::assertMainThread();
    auto button = std::dynamic_pointer_cast<platform::Button>(object);
    if (name != "launchOnLoginSwitch" || !button) return false;
    launchOnLoginSwitch_ = button;
    return true;
}

bool WelcomeInfoViewController::performAction(const std::string& action,
                                              const platform::ActionSender* sender) {
    platform::assertMainThread();
    if (action == "toggleLaunchOnLogin:") {
        // The switch is the only control sending it.
        platform::Button* control = launchOnLoginSwitch();
        if (!control || sender != control) return false;
        toggleLaunchOnLogin(*control);
        return true;
    }
    if (action == "openPrefs:") {
        openPrefs(sender);
        return true;
    }
    return false;
}

void WelcomeInfoViewController::viewDidLoad() {
    showLaunchOnLogin(GlobalDefaults::launchOnLogin().value());
}

void WelcomeInfoViewController::showLaunchOnLogin(bool on) {
    if (platform::Button* control = launchOnLoginSwitch()) {
        control->setState(on ? platform::ControlState::on : platform::ControlState::off);
    }
}

void WelcomeInfoViewController::toggleLaunchOnLogin(platform::Button& sender) {
    const bool wanted = sender.state() == platform::ControlState::on;
    applyLaunchOnLoginChoice(
        wanted, appDelegate() ? LoginRegistration::withSystem : LoginRegistration::settingOnly,
        [weak = weak_.ref()](bool isOn) {
            if (auto* self = weak.get()) self->showLaunchOnLogin(isOn);
        });
}

void WelcomeInfoViewController::openPrefs(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    if (AppDelegate* delegate = appDelegate()) delegate->openPreferences(nullptr);
}

}  // namespace zelvana::core
