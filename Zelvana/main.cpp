// The menu-bar application's entry point.
#include <cstdio>
#include <optional>
#include <string>

#include "Logging/Logging.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/ProcessInfo.hpp"

namespace {

using zelvana::logging::Logging;
namespace platform = zelvana::platform;

// Sets up logging and quits: the desktop, the hub and the status item are
// not there yet, so there is nothing to keep running for.
class LaunchDelegate final : public platform::ApplicationDelegate {
public:
    void applicationDidFinishLaunching() override {
        Logging::tzDefaults(false, std::nullopt);
        const auto& bundle = platform::Bundle::main();
        std::printf("%s %s (%s) started; logging is set up. Quitting.\n",
                    bundle.infoString("CFBundleDisplayName").value_or("Zelvana").c_str(),
                    bundle.infoString("CFBundleShortVersionString").value_or("?").c_str(),
                    bundle.infoString("CFBundleVersion").value_or("?").c_str());
        platform::Application::shared().terminate();
    }
};

}  // namespace

int main(int argc, char** argv) {
    platform::ProcessInfo::shared().setArguments({argv, argv + argc});
    LaunchDelegate delegate;
    auto& application = platform::Application::shared();
    application.setDelegate(&delegate);
    return application.run();
}
