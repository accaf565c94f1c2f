#include "platform/appkit/WindowRestoration.hpp"
#include "platform/core/MainThread.hpp"

#include <map>

namespace zelvana::platform {

namespace {

std::map<std::string, WindowRestoration::Restorer>& restorers() {
    static std::map<std::string, WindowRestoration::Restorer> registry;
    return registry;
}

}  // namespace

void WindowRestoration::registerClass(const std::string& className, Restorer restorer) {
    platform::assertMainThread();
    if (restorer) {
        restorers()[className] = std::move(restorer);
    } else {
        restorers().erase(className);
    }
}

const WindowRestoration::Restorer* WindowRestoration::restorer(const std::string& className) {
    platform::assertMainThread();
    auto found = restorers().find(className);
    return found == restorers().end() ? nullptr : &found->second;
}

void WindowRestoration::removeAllForTesting() {
    platform::assertMainThread();
    restorers().clear();
}

}  // namespace zelvana::platform
