#include "platform/simulator/WindowStack.hpp"
#include "platform/core/MainThread.hpp"

#include <algorithm>

namespace zelvana::platform {

WindowStack::OwnWindow* WindowStack::findOwn(const Window& window) {
    platform::assertMainThread();
    auto found = std::find_if(own_.begin(), own_.end(),
                              [&](const OwnWindow& own) { return own.window == &window; });
    return found == own_.end() ? nullptr : &*found;
}

const WindowStack::OwnWindow* WindowStack::findOwn(const Window& window) const {
    return const_cast<WindowStack*>(this)->findOwn(window);
}

WindowStack::OwnWindow& WindowStack::addOwn(Window& window) {
    platform::assertMainThread();
    if (OwnWindow* own = findOwn(window)) return *own;
    own_.push_back(OwnWindow{&window, std::nullopt});
    order_.push_back(window.windowNumber());
    return own_.back();
}

void WindowStack::removeOwn(const Window& window) {
    platform::assertMainThread();
    std::erase_if(own_, [&](const OwnWindow& own) { return own.window == &window; });
    std::erase(order_, window.windowNumber());
}

void WindowStack::moveOwn(SpaceID space, std::optional<SpaceID> to) {
    platform::assertMainThread();
    for (auto& own : own_) {
        if (own.space == space) own.space = to;
    }
}

DesktopWindow* WindowStack::findOther(WindowNumber number) {
    platform::assertMainThread();
    auto found =
        std::find_if(others_.begin(), others_.end(),
                     [number](const DesktopWindow& window) { return window.number == number; });
    return found == others_.end() ? nullptr : &*found;
}

const DesktopWindow* WindowStack::findOther(WindowNumber number) const {
    return const_cast<WindowStack*>(this)->findOther(number);
}

WindowNumber WindowStack::addOther(DesktopWindow window) {
    platform::assertMainThread();
    const bool taken = std::find(order_.begin(), order_.end(), window.number) != order_.end();
    if (window.number == 0 || taken) {
        window.number = WindowServer::newWindowNumber();
    } else {
        WindowServer::reserveWindowNumber(window.number);
    }
    others_.push_back(window);
    order_.push_back(window.number);
    raise(window.number, window.layer);
    return window.number;
}

bool WindowStack::removeOther(WindowNumber number) {
    platform::assertMainThread();
    const auto removed = std::erase_if(
        others_, [number](const DesktopWindow& window) { return window.number == number; });
    if (removed) std::erase(order_, number);
    return removed > 0;
}

void WindowStack::moveOthers(SpaceID space, SpaceID to) {
    platform::assertMainThread();
    for (auto& other : others_) {
        if (other.space == space) other.space = to;
    }
}

void WindowStack::clearOthers() {
    platform::assertMainThread();
    others_.clear();
    std::erase_if(order_, [this](WindowNumber number) {
        return std::none_of(own_.begin(), own_.end(), [number](const OwnWindow& own) {
            return own.window->windowNumber() == number;
        });
    });
}

int WindowStack::layerOf(WindowNumber number) const {
    if (const DesktopWindow* other = findOther(number)) return other->layer;
    for (const auto& own : own_) {
        if (own.window->windowNumber() == number) return own.window->level();
    }
    return 0;
}

void WindowStack::raise(WindowNumber number, int layer) {
    platform::assertMainThread();
    std::erase(order_, number);
    auto position = std::find_if(order_.begin(), order_.end(),
                                 [&](WindowNumber other) { return layerOf(other) <= layer; });
    order_.insert(position, number);
}

}  // namespace zelvana::platform
