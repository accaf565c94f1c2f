#include "Tools/WindowUtil.hpp"

#include <memory>

#include "Tools/WindowListCache.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/WindowList.hpp"

namespace zelvana::tools {

namespace {

using ListCache = WindowListCache<WindowInfo>;

// Made on first use and kept for the process.
std::unique_ptr<ListCache>& filteredListCache() {
    static std::unique_ptr<ListCache> cache;
    if (!cache) cache = std::make_unique<ListCache>(WindowInfo::fromFilteredDescription);
    return cache;
}

std::unique_ptr<ListCache>& listCache() {
    static std::unique_ptr<ListCache> cache;
    if (!cache) cache = std::make_unique<ListCache>(WindowInfo::fromDescription);
    return cache;
}

}  // namespace

std::optional<platform::PropertyArray> describeWindows(const WindowNumbers& windows) {
    using platform::WindowList;
    if (!windows) return WindowList::copyWindowInfo(platform::kOnScreenWithoutDesktopElements, 0);
    return WindowList::createDescriptionFromArray(*windows);
}

std::vector<WindowInfo> WindowUtil::windowInfoList(const WindowNumbers& windows) {
    platform::assertMainThread();
    return filteredListCache()->list(windows);
}

std::vector<WindowInfo> WindowUtil::windowList(const WindowNumbers& windows) {
    platform::assertMainThread();
    return listCache()->list(windows);
}

std::vector<WindowInfo> WindowUtil::onScreenWindowList() {
    platform::assertMainThread();
    return convertDescriptions(describeWindows(std::nullopt), WindowInfo::fromFilteredDescription);
}

void WindowUtil::resetCachesForTesting() {
    platform::assertMainThread();
    filteredListCache().reset();
    listCache().reset();
}

}  // namespace zelvana::tools
