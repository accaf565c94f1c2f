#include "platform/appkit/WindowServer.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/core/MainThread.hpp"

#include <atomic>

namespace zelvana::platform {

namespace {

WindowServer* installed = nullptr;
std::atomic<WindowNumber> lastWindowNumber{0};

}  // namespace

WindowServer* WindowServer::current() {
    platform::assertMainThread();
    return installed;
}

WindowServer* WindowServer::install(WindowServer* server) {
    platform::assertMainThread();
    WindowServer* previous = installed;
    installed = server;
    return previous;
}

void WindowServer::pressedOutsideOurWindows(Point /*location*/) {
    Application::shared().deactivate();
}

WindowNumber WindowServer::newWindowNumber() {
    platform::assertMainThread();
    return ++lastWindowNumber;
}

void WindowServer::reserveWindowNumber(WindowNumber number) {
    platform::assertMainThread();
    WindowNumber last = lastWindowNumber.load();
    while (last < number && !lastWindowNumber.compare_exchange_weak(last, number)) {
    }
}

}  // namespace zelvana::platform
