// The lookups of AccessibilityElement: they join the window server's list
// (numbers, owners, bounds) and the accessibility tree (elements), which
// gives no window numbers, by owner process and exactly equal frames.
#include <algorithm>
#include <array>
#include <set>

#include "accessibility/AXAttribute.hpp"
#include "accessibility/AccessibilityElement.hpp"
#include "accessibility/WindowDescription.hpp"
#include "accessibility/WindowUtil.hpp"
#include "platform/appkit/AccessibilityConstants.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/input/Cursor.hpp"

namespace zelvana::accessibility {

namespace ax = platform::ax;
using platform::AccessibilityValue;
using platform::AXUIElement;
using platform::kOnScreenWithoutDesktopElements;
using platform::Point;
using platform::Rect;
using platform::WindowList;
using Ref = AccessibilityElement::Ref;
using List = AccessibilityElement::List;

namespace {

// Owners whose windows the hit test by window list looks through.
constexpr std::array<const char*, 2> kExcludedOwners{"com.apple.dock", "com.apple.WindowManager"};
constexpr const char* kNotificationCenter = "Notification Center";

bool isExcludedOwner(std::int32_t pid) {
    const auto running = platform::RunningApplication::withProcessIdentifier(pid);
    const auto& identifier = running ? running->bundleIdentifier() : std::nullopt;
    return identifier && std::ranges::any_of(kExcludedOwners, [&](const char* excluded) {
               return *identifier == excluded;
           });
}

// The window itself, else the window it is in.
Ref windowOf(const Ref& element) {
    if (element->role() == ax::windowRole) return element;
    return element->element(ax::windowAttribute);
}

Ref withFrame(const std::optional<List>& windows, Rect frame) {
    if (!windows) return nullptr;
    for (const auto& window : *windows) {
        if (window->frame() == frame) return window;
    }
    return nullptr;
}

Ref withNumber(const List& windows, AccessibilityElement::WindowID number) {
    for (const auto& window : windows) {
        if (window->resolvedWindowId() == number) return window;
    }
    return nullptr;
}

// The windows attribute of the process's application object; none when it
// cannot be read. Entries that are no elements are passed over.
std::optional<List> applicationWindows(std::int32_t pid) {
    std::optional<AccessibilityValue> raw;
    if (platform::Accessibility::copyAttributeValue(AXUIElement::application(pid),
                                                    ax::windowsAttribute,
                                                    raw) != platform::AXError::success) {
        return std::nullopt;
    }
    List windows;
    const auto* list = raw ? raw->get<AccessibilityValue::List>() : nullptr;
    if (!list) return windows;
    for (const auto& item : *list) {
        if (const auto* element = item.get<AXUIElement>()) {
            windows.push_back(AccessibilityElement::make(*element));
        }
    }
    return windows;
}

template <typename Records>
std::vector<std::int32_t> distinctOwners(const Records& records) {
    std::vector<std::int32_t> owners;
    for (const auto& record : records) {
        if (std::ranges::find(owners, record.pid) == owners.end()) owners.push_back(record.pid);
    }
    return owners;
}

List windowsOfOwners(const std::vector<std::int32_t>& owners) {
    List all;
    for (std::int32_t pid : owners) {
        auto element = AccessibilityElement::forProcess(pid);
        if (element->role() != ax::applicationRole) {
            const auto reported = element->pid();
            if (!reported) continue;
            element = AccessibilityElement::forProcess(*reported);
        }
        if (auto windows = element->elements(ax::windowsAttribute)) {
            all.insert(all.end(), windows->begin(), windows->end());
        }
    }
    return all;
}

std::set<std::int32_t> onScreenOwners() {
    std::set<std::int32_t> owners;
    const auto list = WindowList::copyWindowInfo(kOnScreenWithoutDesktopElements, 0);
    if (!list) return owners;
    for (const auto& description : *list) {
        if (auto pid = description::ownerPID(description)) owners.insert(*pid);
    }
    return owners;
}

}  // namespace

Ref AccessibilityElement::frontmostApplication() {
    const auto front = platform::Workspace::shared().frontmostApplication();
    return front ? forProcess(front->processIdentifier()) : nullptr;
}

Ref AccessibilityElement::frontmostWindow() {
    const auto front = frontmostApplication();
    const auto owner = front ? front->application() : nullptr;
    if (!owner) return nullptr;
    if (auto focused = owner->element(ax::focusedWindowAttribute)) return focused;
    const auto windows = owner->elements(ax::windowsAttribute);
    return windows && !windows->empty() ? windows->front() : nullptr;
}

Ref AccessibilityElement::windowUnderMouse() {
    const auto screens = platform::Screen::screens();
    if (screens.empty()) return nullptr;
    const Point mouse = platform::mouseLocation();
    const Point point{mouse.x, screens.front().frame().maxY() - mouse.y};
    if (const auto hit = element(point)) {
        if (auto window = windowOf(hit)) return window;
    }
    const auto listed = topmostWindowInfo(point);
    if (!listed) return nullptr;
    const auto owner = forProcess(listed->pid)->application();
    return owner ? withFrame(owner->elements(ax::windowsAttribute), listed->frame) : nullptr;
}

Ref AccessibilityElement::windowElement(std::optional<Point> point) {
    const Point at = point.value_or(platform::pointerLocation());
    if (const auto hit = element(at)) {
        if (auto window = windowOf(hit)) return window;
        if (auto window = hit->windowUnderMouseInApplication()) return window;
    }
    return windowElementFromWindowList(at);
}

Ref AccessibilityElement::windowUnderMouseInApplication() const {
    const auto number = WindowList::windowNumberAt(platform::mouseLocation(), 0);
    const auto process = pid();
    if (!process || number == 0) return nullptr;
    return withNumber(windows(*process), number);
}

Ref AccessibilityElement::windowElementFromWindowList(Point point) {
    const auto listed = topWindowInfo(point);
    if (!listed) return nullptr;
    for (const auto& window : windows(listed->pid)) {
        if (window->frame() == listed->rect) {
            window->cachedWindowId = listed->id;
            return window;
        }
    }
    return nullptr;
}

std::optional<WindowInfo> AccessibilityElement::topmostWindowInfo(Point point) {
    for (const auto& listed : WindowUtil::windowList()) {
        if (!isExcludedOwner(listed.pid) && listed.frame.contains(point)) return listed;
    }
    return std::nullopt;
}

std::optional<CGWindowInfo> AccessibilityElement::topWindowInfo(Point point) {
    const auto list = WindowList::copyWindowInfo(kOnScreenWithoutDesktopElements, 0);
    if (!list) return std::nullopt;
    for (const auto& description : *list) {
        const auto rect = description::bounds(description);
        const auto pid = description::ownerPID(description);
        const auto id = description::windowNumber(description);
        if (!rect || !pid || !id) continue;
        const auto* owner = description.find(WindowList::windowOwnerNameKey);
        if (owner && owner->stringValue() && *owner->stringValue() == kNotificationCenter) continue;
        if (rect->contains(point)) return CGWindowInfo{*id, *pid, *rect, true};
    }
    return std::nullopt;
}

List AccessibilityElement::windows(std::int32_t pid) {
    return applicationWindows(pid).value_or(List{});
}

Ref AccessibilityElement::window(std::int32_t pid, WindowID windowId) {
    return withNumber(windows(pid), windowId);
}

// Elements carry no window number of their own, so the number is resolved
// through the window server's list, as window(pid:windowId:) does.
Ref AccessibilityElement::window(WindowID windowId) {
    const auto listed = WindowUtil::windowList(std::vector<WindowID>{windowId});
    if (listed.empty()) return nullptr;
    return window(listed.front().pid, windowId);
}

List AccessibilityElement::allWindows() {
    return windowsOfOwners(distinctOwners(WindowUtil::windowList()));
}

List AccessibilityElement::allNormalWindows() {
    return windowsOfOwners(distinctOwners(WindowUtil::normalWindowInfos()));
}

std::map<std::int32_t, List> AccessibilityElement::windowsByApplication() {
    std::map<std::int32_t, List> byApplication;
    for (std::int32_t pid : onScreenOwners()) {
        if (auto windows = applicationWindows(pid)) byApplication.emplace(pid, std::move(*windows));
    }
    return byApplication;
}

List AccessibilityElement::allApplicationWindows() {
    List all;
    for (auto& [pid, windows] : windowsByApplication()) {
        all.insert(all.end(), windows.begin(), windows.end());
    }
    return all;
}

}  // namespace zelvana::accessibility
