#include "Tools/WindowUtil.hpp"

#include <functional>
#include <memory>

#include "Tools/TimeoutCache.hpp"
#include "Tools/WindowNumbersHash.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/WindowList.hpp"

namespace zelvana::tools {

namespace {

using platform::PropertyArray;
using platform::PropertyValue;
using WindowNumbers = WindowUtil::WindowNumbers;

using ListCache = TimeoutCache<WindowNumbers, std::vector<WindowInfo>, WindowNumbersHash>;
using Conversion = std::optional<WindowInfo> (*)(const PropertyValue&);

// Made on first use and kept for the process.
std::unique_ptr<ListCache>& filteredListCache() {
    static std::unique_ptr<ListCache> cache;
    if (!cache) cache = std::make_unique<ListCache>(WindowUtil::cacheTimeout);
    return cache;
}

std::unique_ptr<ListCache>& listCache() {
    static std::unique_ptr<ListCache> cache;
    if (!cache) cache = std::make_unique<ListCache>(WindowUtil::cacheTimeout);
    return cache;
}

std::optional<PropertyArray> describeWindows(const WindowNumbers& windows) {
    using platform::WindowList;
    if (!windows) return WindowList::copyWindowInfo(platform::kOnScreenWithoutDesktopElements, 0);
    return WindowList::createDescriptionFromArray(*windows);
}

std::vector<WindowInfo> convert(const std::optional<PropertyArray>& descriptions,
                                Conversion conversion) {
    std::vector<WindowInfo> windows;
    if (!descriptions) return windows;
    for (const auto& description : *descriptions) {
        if (auto window = conversion(description)) windows.push_back(std::move(*window));
    }
    return windows;
}

std::vector<WindowInfo> cachedList(ListCache& cache, const WindowNumbers& windows,
                                   Conversion conversion) {
    if (auto hit = cache.value(windows)) return std::move(*hit);
    auto list = convert(describeWindows(windows), conversion);
    cache.setValue(list, windows);
    return list;
}

}  // namespace

std::vector<WindowInfo> WindowUtil::windowInfoList(const WindowNumbers& windows) {
    platform::assertMainThread();
    return cachedList(*filteredListCache(), windows, WindowInfo::fromFilteredDescription);
}

std::vector<WindowInfo> WindowUtil::windowList(const WindowNumbers& windows) {
    platform::assertMainThread();
    return cachedList(*listCache(), windows, WindowInfo::fromDescription);
}

std::vector<WindowInfo> WindowUtil::onScreenWindowList() {
    platform::assertMainThread();
    return convert(describeWindows(std::nullopt), WindowInfo::fromFilteredDescription);
}

void WindowUtil::resetCachesForTesting() {
    platform::assertMainThread();
    filteredListCache() = std::make_unique<ListCache>(cacheTimeout);
    listCache() = std::make_unique<ListCache>(cacheTimeout);
}

}  // namespace zelvana::tools
