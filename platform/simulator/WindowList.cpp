#include "platform/desktop/WindowList.hpp"

#include <unistd.h>

#include <algorithm>

#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

namespace {

PropertyDictionary boundsDictionary(Rect bounds) {
    return PropertyDictionary{{"X", bounds.minX()},
                              {"Y", bounds.minY()},
                              {"Width", bounds.width()},
                              {"Height", bounds.height()}};
}

PropertyDictionary describeOther(const Desktop& desktop, const DesktopWindow& window) {
    PropertyDictionary description{
        {WindowList::windowLayerKey, std::int64_t{window.layer}},
        {WindowList::windowBoundsKey, boundsDictionary(window.bounds)},
        {WindowList::windowOwnerPIDKey, std::int64_t{window.ownerPID}},
    };
    if (const auto owner = desktop.application(window.ownerPID)) {
        description[WindowList::windowOwnerNameKey] = owner->name;
    }
    if (!window.name.empty()) description[WindowList::windowNameKey] = window.name;
    return description;
}

bool isOtherOnScreen(const Desktop& desktop, const DesktopWindow& window) {
    if (!window.visible) return false;
    return window.allSpaces ? !desktop.displays().empty() : desktop.isSpaceShown(window.space);
}

PropertyDictionary describeOwn(const Desktop& desktop, const Window& window) {
    PropertyDictionary description{
        {WindowList::windowLayerKey, std::int64_t{window.level()}},
        {WindowList::windowBoundsKey, boundsDictionary(desktop.boundsFromFrame(window.frame()))},
        {WindowList::windowOwnerPIDKey, std::int64_t{::getpid()}},
        {WindowList::windowOwnerNameKey, executableName()},
        {WindowList::windowAlphaKey, window.alphaValue()},
    };
    if (!window.title().empty()) description[WindowList::windowNameKey] = window.title();
    return description;
}

}  // namespace

std::optional<Rect> rectFromDictionaryRepresentation(const PropertyValue& dictionary) {
    if (!dictionary.isDictionary()) return std::nullopt;
    const auto number = [&](const char* key) -> std::optional<double> {
        const PropertyValue* value = dictionary.find(key);
        return value && value->isNumber() ? value->asDouble() : std::nullopt;
    };
    const auto x = number("X");
    const auto y = number("Y");
    const auto width = number("Width");
    const auto height = number("Height");
    if (!x || !y || !width || !height) return std::nullopt;
    return Rect::make(*x, *y, *width, *height);
}

// The window server keeps every window; the desktop is its model.
class WindowListing {
public:
    explicit WindowListing(Desktop& desktop) : desktop_(desktop) { ++desktop_.windowListQueries_; }

    std::optional<PropertyDictionary> describe(WindowNumber number) const {
        PropertyDictionary description;
        if (const DesktopWindow* other = desktop_.windows_.findOther(number)) {
            description = describeOther(desktop_, *other);
        } else if (const auto* own = desktop_.windows_.findOwn(number)) {
            description = describeOwn(desktop_, *own->window);
        } else {
            return std::nullopt;
        }
        description[WindowList::windowNumberKey] = std::int64_t{number};
        description.try_emplace(WindowList::windowAlphaKey, 1.0);
        // Like the window server, the key is there only for windows on screen.
        if (isOnScreen(number)) description[WindowList::windowIsOnscreenKey] = true;
        return description;
    }

    bool isOnScreen(WindowNumber number) const {
        if (const DesktopWindow* other = desktop_.windows_.findOther(number)) {
            return isOtherOnScreen(desktop_, *other);
        }
        const auto* own = desktop_.windows_.findOwn(number);
        return own && isOwnOnScreen(*own);
    }

    // In one pass over the windows, rather than looking each of thousands up
    // in turn: few are on screen. Sorted.
    std::vector<WindowNumber> onScreen() const {
        std::vector<WindowNumber> numbers;
        for (const auto& other : desktop_.windows_.others()) {
            if (isOtherOnScreen(desktop_, other)) numbers.push_back(other.number);
        }
        for (const auto& own : desktop_.windows_.own()) {
            if (isOwnOnScreen(own)) numbers.push_back(own.window->windowNumber());
        }
        std::ranges::sort(numbers);
        return numbers;
    }

    const WindowStack::Order& order() const { return desktop_.windows_.order(); }
    int layerOf(WindowNumber number) const { return desktop_.windows_.layerOf(number); }

private:
    // The space first: it is in the record, the visibility in the window.
    bool isOwnOnScreen(const WindowStack::OwnWindow& own) const {
        return desktop_.isOnActiveSpace(own) && own.window->isVisible();
    }

    Desktop& desktop_;
};

std::optional<PropertyArray> WindowList::copyWindowInfo(WindowListOptions options,
                                                        WindowNumber relativeToWindow) {
    platform::assertMainThread();
    const WindowListing listing(Desktop::shared());
    const bool above = options.contains(WindowListOption::onScreenAboveWindow);
    const bool below = options.contains(WindowListOption::onScreenBelowWindow);
    const bool onScreenOnly = options.contains(WindowListOption::onScreenOnly) || above || below;
    const auto& order = listing.order();
    const auto relative =
        above || below ? std::find(order.begin(), order.end(), relativeToWindow) : order.end();
    if ((above || below) && relative == order.end()) return std::nullopt;
    const auto onScreen = onScreenOnly ? listing.onScreen() : std::vector<WindowNumber>{};

    PropertyArray list;
    auto unseen = onScreen.size();
    for (auto it = order.begin(); it != order.end(); ++it) {
        // Every window on screen met: none of the thousands behind them is.
        if (onScreenOnly && unseen == 0) break;
        const bool shown = onScreenOnly && std::ranges::binary_search(onScreen, *it);
        if (shown) --unseen;
        const bool isRelative = it == relative;
        if (above && !below && it >= relative && !isRelative) continue;
        if (below && !above && it <= relative && !isRelative) continue;
        if (isRelative && (above || below) &&
            !options.contains(WindowListOption::includingWindow)) {
            continue;
        }
        if (onScreenOnly && !shown) continue;
        if (options.contains(WindowListOption::excludeDesktopElements) &&
            listing.layerOf(*it) < 0) {
            continue;
        }
        if (auto description = listing.describe(*it)) list.emplace_back(std::move(*description));
    }
    return list;
}

std::optional<PropertyArray> WindowList::createDescriptionFromArray(
    const std::vector<WindowNumber>& windows) {
    platform::assertMainThread();
    const WindowListing listing(Desktop::shared());
    PropertyArray list;
    for (WindowNumber number : windows) {
        if (auto description = listing.describe(number)) list.emplace_back(std::move(*description));
    }
    return list;
}

}  // namespace zelvana::platform
