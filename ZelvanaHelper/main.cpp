// The relaunch helper's entry point.
#include "Logging/Logging.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/ProcessInfo.hpp"

namespace {

using zelvana::logging::Logging;
namespace platform = zelvana::platform;

// Logs through the unified log under the main application's name; relaunching
// comes with the helper's own behaviour.
class HelperDelegate final : public platform::ApplicationDelegate {
public:
    void applicationDidFinishLaunching() override {
        Logging::tzHelperDefaults(false, "com.quorrim.Zelvana", "Zelvana");
        platform::Application::shared().terminate();
    }
};

}  // namespace

int main(int argc, char** argv) {
    platform::ProcessInfo::shared().setArguments({argv, argv + argc});
    HelperDelegate delegate;
    auto& application = platform::Application::shared();
    application.setDelegate(&delegate);
    return application.run();
}
