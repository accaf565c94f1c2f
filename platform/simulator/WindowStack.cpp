#include "platform/simulator/WindowStack.hpp"
#include "platform/core/MainThread.hpp"

#include <algorithm>

namespace zelvana::platform {

WindowStack::OwnWindow* WindowStack::findOwn(const Window& window) {
    platform::assertMainThread();
    const auto* found = ownByWindow_.find(&window);
    return found ? &**found : nullptr;
}

const WindowStack::OwnWindow* WindowStack::findOwn(const Window& window) const {
    return const_cast<WindowStack*>(this)->findOwn(window);
}

const WindowStack::OwnWindow* WindowStack::findOwn(WindowNumber number) const {
    const auto found = ownByNumber_.find(number);
    return found == ownByNumber_.end() ? nullptr : &*found->second;
}

WindowStack::OwnWindow& WindowStack::addOwn(Window& window) {
    platform::assertMainThread();
    if (OwnWindow* own = findOwn(window)) return *own;
    const auto added = own_.insert(own_.end(), OwnWindow{&window, std::nullopt});
    added->joinsAllSpaces =
        window.collectionBehavior().contains(Window::CollectionBehavior::canJoinAllSpaces);
    ownByWindow_.insert(&window, added);
    ownByNumber_[window.windowNumber()] = added;
    order_.push_back(window.windowNumber());
    return *added;
}

void WindowStack::removeOwn(const Window& window) {
    platform::assertMainThread();
    const auto* found = ownByWindow_.find(&window);
    if (!found) return;
    own_.erase(*found);
    ownByWindow_.erase(&window);
    ownByNumber_.erase(window.windowNumber());
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
    const auto found = othersByNumber_.find(number);
    return found == othersByNumber_.end() ? nullptr : &others_[found->second];
}

const DesktopWindow* WindowStack::findOther(WindowNumber number) const {
    return const_cast<WindowStack*>(this)->findOther(number);
}

WindowNumber WindowStack::addOther(DesktopWindow window) {
    platform::assertMainThread();
    const bool taken =
        ownByNumber_.contains(window.number) || othersByNumber_.contains(window.number);
    if (window.number == 0 || taken) {
        window.number = WindowServer::newWindowNumber();
    } else {
        WindowServer::reserveWindowNumber(window.number);
    }
    othersByNumber_[window.number] = others_.size();
    others_.push_back(window);
    order_.push_back(window.number);
    raise(window.number, window.layer);
    return window.number;
}

bool WindowStack::removeOther(WindowNumber number) {
    platform::assertMainThread();
    const auto found = othersByNumber_.find(number);
    if (found == othersByNumber_.end()) return false;
    const std::size_t position = found->second;
    othersByNumber_.erase(found);
    others_.erase(others_.begin() + static_cast<std::ptrdiff_t>(position));
    reindexOthers(position);
    std::erase(order_, number);
    return true;
}

void WindowStack::reindexOthers(std::size_t from) {
    for (std::size_t k = from; k < others_.size(); ++k) othersByNumber_[others_[k].number] = k;
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
    othersByNumber_.clear();
    std::erase_if(order_, [this](WindowNumber number) { return !ownByNumber_.contains(number); });
}

int WindowStack::layerOf(WindowNumber number) const {
    if (const DesktopWindow* other = findOther(number)) return other->layer;
    if (const OwnWindow* own = findOwn(number)) return own->window->level();
    return 0;
}

void WindowStack::raise(WindowNumber number, int layer) {
    platform::assertMainThread();
    // Looked for from the back, where a window just added is.
    const auto found = std::find(order_.rbegin(), order_.rend(), number);
    if (found != order_.rend()) order_.erase(std::next(found).base());
    auto position = std::find_if(order_.begin(), order_.end(),
                                 [&](WindowNumber other) { return layerOf(other) <= layer; });
    order_.insert(position, number);
}

}  // namespace zelvana::platform
