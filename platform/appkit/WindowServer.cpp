#include "platform/appkit/WindowServer.hpp"

#include <atomic>

namespace zelvana::platform {

namespace {

WindowServer* installed = nullptr;
std::atomic<WindowNumber> lastWindowNumber{0};

}  // namespace

WindowServer* WindowServer::current() {
    return installed;
}

WindowServer* WindowServer::install(WindowServer* server) {
    WindowServer* previous = installed;
    installed = server;
    return previous;
}

WindowNumber WindowServer::newWindowNumber() {
    return ++lastWindowNumber;
}

void WindowServer::reserveWindowNumber(WindowNumber number) {
    WindowNumber last = lastWindowNumber.load();
    while (last < number && !lastWindowNumber.compare_exchange_weak(last, number)) {
    }
}

}  // namespace zelvana::platform
