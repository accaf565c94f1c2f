#include "accessibility/WindowUtil.hpp"

#include <memory>

#include "Tools/WindowListCache.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/WindowList.hpp"

namespace zelvana::accessibility {

namespace {

using platform::kOnScreenWithoutDesktopElements;
using platform::PropertyArray;
using platform::WindowList;
using platform::WindowListOption;
using platform::WindowListOptions;
using WindowNumbers = WindowUtil::WindowNumbers;
using Reading = CGWindowInfo::Reading;

using ListCache = tools::WindowListCache<WindowInfo>;

std::unique_ptr<ListCache>& listCache() {
    static std::unique_ptr<ListCache> cache;
    if (!cache) cache = std::make_unique<ListCache>(WindowInfo::fromDescription);
    return cache;
}

std::vector<CGWindowInfo> read(WindowListOptions options, Reading reading) {
    std::vector<CGWindowInfo> windows;
    const auto list = WindowList::copyWindowInfo(options, 0);
    if (!list) return windows;
    for (const auto& description : *list) {
        if (auto window = CGWindowInfo::fromDescription(description, reading)) {
            windows.push_back(*window);
        }
    }
    return windows;
}

}  // namespace

std::vector<WindowInfo> WindowUtil::windowList(const WindowNumbers& windows) {
    platform::assertMainThread();
    return listCache()->list(windows);
}

std::vector<CGWindowInfo> WindowUtil::allWindowInfos() {
    platform::assertMainThread();
    return read(WindowListOption::excludeDesktopElements, Reading::withOnScreen);
}

std::vector<CGWindowInfo> WindowUtil::windowInfos(std::optional<WindowListOptions> options) {
    platform::assertMainThread();
    return read(options.value_or(kOnScreenWithoutDesktopElements), Reading::any);
}

std::vector<CGWindowInfo> WindowUtil::normalWindowInfos() {
    platform::assertMainThread();
    return read(kOnScreenWithoutDesktopElements, Reading::normalOnly);
}

std::optional<platform::Rect> WindowUtil::flippedRect(platform::Rect rect) {
    platform::assertMainThread();
    const auto screens = platform::Screen::screens();
    if (screens.empty()) return std::nullopt;
    rect.origin.y = screens.front().frame().height() - rect.maxY();
    return rect;
}

std::optional<platform::Point> WindowUtil::flippedPoint(platform::Point point) {
    platform::assertMainThread();
    const auto screens = platform::Screen::screens();
    if (screens.empty()) return std::nullopt;
    return platform::Point{point.x, screens.front().frame().height() - point.y};
}

void WindowUtil::resetCacheForTesting() {
    platform::assertMainThread();
    listCache().reset();
}

}  // namespace zelvana::accessibility
