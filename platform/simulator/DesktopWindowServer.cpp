#include "platform/simulator/DesktopWindowServer.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/simulator/RestorableWindows.hpp"
#include "platform/simulator/SavedFiles.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

void DesktopWindowServer::install() {
    platform::assertMainThread();
    if (WindowServer::current() == this) return;
    WindowServer* before = WindowServer::install(this);
    if (!installed_) previous_ = before;
    installed_ = true;
}

void DesktopWindowServer::uninstall() {
    platform::assertMainThread();
    if (WindowServer::current() == this) WindowServer::install(previous_);
    installed_ = false;
}

std::vector<Screen> DesktopWindowServer::screens() const {
    std::vector<Screen> screens;
    for (const auto& display : desktop_.displays_.all()) screens.push_back(display.screen());
    return screens;
}

std::optional<Screen> DesktopWindowServer::mainScreen() const {
    const auto number = desktop_.mainDisplay();
    return number ? std::optional(desktop_.displays_.find(*number)->screen()) : std::nullopt;
}

std::optional<Screen> DesktopWindowServer::screenForFrame(Rect frame) const {
    const Display* display = desktop_.displays_.displayAt(frame);
    return display ? std::optional(display->screen()) : std::nullopt;
}

void DesktopWindowServer::windowCreated(Window& window) {
    platform::assertMainThread();
    desktop_.windows_.addOwn(window);
}

void DesktopWindowServer::windowDestroyed(Window& window) {
    platform::assertMainThread();
    desktop_.windows_.removeOwn(window);
}

void DesktopWindowServer::windowOrderedFront(Window& window, Ordering ordering) {
    platform::assertMainThread();
    auto& own = desktop_.windows_.addOwn(window);
    const auto& displays = desktop_.displays_;
    const auto behavior = window.collectionBehavior();
    const bool movesHere = behavior.contains(Window::CollectionBehavior::moveToActiveSpace) &&
                           own.space && !displays.isSpaceShown(*own.space);
    // A window taken off screen belongs to no space: it returns on the one shown.
    if (!own.space || movesHere || own.orderedOut) {
        own.space = desktop_.shownSpaceAt(window.frame());
    }
    own.orderedOut = false;
    const auto space = own.space;
    desktop_.windows_.raise(window.windowNumber(), window.level());

    // A space left behind by the last display has nowhere to be shown.
    const bool switches = ordering == Ordering::frontAndKey && space &&
                          displays.displayOfSpace(*space) && Application::shared().isActive() &&
                          !behavior.contains(Window::CollectionBehavior::stationary) &&
                          !behavior.contains(Window::CollectionBehavior::canJoinAllSpaces);
    if (switches) desktop_.requestSwitch(*space);
}

void DesktopWindowServer::windowOrderedOut(Window& window) {
    platform::assertMainThread();
    // It keeps its place in the stacking order, and its space until it is
    // shown again (a hidden window is saved for restoration on it).
    if (auto* own = desktop_.windows_.findOwn(window)) own->orderedOut = true;
}

void DesktopWindowServer::windowClosed(Window& /*window*/) {
    platform::assertMainThread();
    // Closed windows are left out when restorable windows are saved.
}

void DesktopWindowServer::windowChanged(Window& window) {
    platform::assertMainThread();
    auto* own = desktop_.windows_.findOwn(window);
    if (!own) return;
    own->joinsAllSpaces =
        window.collectionBehavior().contains(Window::CollectionBehavior::canJoinAllSpaces);
    if (!own->space) return;
    // Moved onto another display, the window joins the space shown there.
    const Display* display = desktop_.displays_.displayAt(window.frame());
    if (display && desktop_.displays_.displayOfSpace(*own->space) != display->number) {
        own->space = display->shownSpace;
    }
}

bool DesktopWindowServer::isOnActiveSpace(const Window& window) const {
    const auto* own = desktop_.windows_.findOwn(window);
    return own && desktop_.isOnActiveSpace(*own);
}

bool DesktopWindowServer::isShownAt(const DesktopWindow& other, Point location) const {
    const bool shown = other.visible && (other.allSpaces ? !desktop_.displays_.isEmpty()
                                                         : desktop_.isSpaceShown(other.space));
    return shown && other.bounds.contains(location);
}

std::optional<WindowServer::WindowHit> DesktopWindowServer::windowAt(Point location) const {
    for (WindowNumber number : desktop_.windows_.order()) {
        if (const DesktopWindow* other = desktop_.windows_.findOther(number)) {
            if (isShownAt(*other, location)) return std::nullopt;
            continue;
        }
        const auto* own = desktop_.windows_.findOwn(number);
        if (!own) continue;
        Window& window = *own->window;
        if (!window.isVisible() || !isOnActiveSpace(window) || window.ignoresMouseEvents()) {
            continue;
        }
        if (desktop_.boundsFromFrame(window.frame()).contains(location)) {
            // Window coordinates count from the content's top-left corner.
            const Rect content =
                desktop_.boundsFromFrame(window.contentRectForFrameRect(window.frame()));
            return WindowHit{&window, {location.x - content.minX(), location.y - content.minY()}};
        }
    }
    return std::nullopt;
}

void DesktopWindowServer::pressedOutsideOurWindows(Point location) {
    platform::assertMainThread();
    for (WindowNumber number : desktop_.windows_.order()) {
        const DesktopWindow* other = desktop_.windows_.findOther(number);
        if (other && isShownAt(*other, location)) {
            desktop_.activateApplication(other->ownerPID);
            return;
        }
    }
    // The desktop itself belongs to the file browser.
    desktop_.activateOtherApplication();
}

void DesktopWindowServer::applicationWillFinishLaunching() {
    platform::assertMainThread();
    RestorableWindows::restore([this](Window& window, const SavedWindow& saved) {
        desktop_.windows_.addOwn(window);
        if (!desktop_.moveWindowToSpace(window, saved.space)) {
            desktop_.windows_.findOwn(window)->space = desktop_.shownSpaceAt(window.frame());
        }
        if (saved.visible) window.orderFront(nullptr);
    });
}

void DesktopWindowServer::applicationWillTerminate(WindowsAtQuit windows) {
    platform::assertMainThread();
    if (windows == WindowsAtQuit::keep) RestorableWindows::save(desktop_.windows_);
    saveDesktop();
}

void DesktopWindowServer::saveDesktop() const {
    const auto file = Desktop::savedDesktopFile();
    if (desktop_.displays_.isEmpty() || !file) return;
    SavedFiles::write(
        *file, [desktop = desktop_.file()] { return desktop.toJsonText(); }, "Desktop not saved");
}

}  // namespace zelvana::platform
