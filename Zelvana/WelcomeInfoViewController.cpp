#include "Zelvana/WelcomeInfoViewController.hpp"

#include "Zelvana/GlobalDefaults.hpp"
#include "platform/appkit/Storyboard.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

void WelcomeInfoViewController::registerStoryboardClass(Services services) {
    platform::assertMainThread();
    platform::Storyboard::registerClass(
        identifier, [services] { return std::make_unique<WelcomeInfoViewController>(services); });
}

WelcomeInfoViewController::WelcomeInfoViewController(Services services)
    : services_(std::move(services)) {}

bool WelcomeInfoViewController::setOutlet(
    const std::string& name, const std::shared_ptr<platform::StoryboardObject>& object) {
    platform::assertMainThread();
    auto button = std::dynamic_pointer_cast<platform::Button>(object);
    if (name != "launchOnLoginSwitch" || !button) return false;
    launchOnLoginSwitch_ = button;
    return true;
}

void WelcomeInfoViewController::connectActions(platform::StoryboardActions& actions) {
    const auto self = weak_.ref();
    actions.add("toggleLaunchOnLogin:", self, &WelcomeInfoViewController::toggleLaunchOnLogin);
    actions.add<platform::Button>("openPrefs:", [self](platform::Button& sender) {
        if (WelcomeInfoViewController* controller = self.get()) controller->openPrefs(&sender);
    });
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
    applyLaunchOnLoginChoice(wanted, services_.loginRegistration, [weak = weak_.ref()](bool isOn) {
        if (auto* self = weak.get()) self->showLaunchOnLogin(isOn);
    });
}

void WelcomeInfoViewController::openPrefs(const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    if (services_.openSettings) services_.openSettings();
}

}  // namespace zelvana::core
