// The relaunch helper's entry point.
#include "ZelvanaHelper/AppDelegate.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/appkit/RunningApplication.hpp"

namespace platform = zelvana::platform;

int main(int argc, char** argv) {
    platform::ProcessInfo::shared().setArguments({argv, argv + argc});
    // The main application looks for a running helper before it relaunches.
    platform::RunningApplication::registerCurrentProcess();
    zelvana::helper::AppDelegate delegate;
    auto& application = platform::Application::shared();
    // No windows and no menus of its own: it stays out of the Dock.
    application.setActivationPolicy(platform::ActivationPolicy::Prohibited);
    application.setDelegate(&delegate);
    return application.run();
}
