#include "platform/desktop/Desktop.hpp"

#include <unistd.h>

#include <algorithm>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowRestoration.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/desktop/DesktopFile.hpp"
#include "platform/desktop/SavedWindow.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/SystemFolders.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

namespace {

double overlapArea(Rect a, Rect b) {
    const double width = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
    const double height = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
    return width > 0 && height > 0 ? width * height : 0;
}

bool hasBit(std::uint64_t value, std::uint64_t bit) {
    return (value & bit) != 0;
}

PropertyDictionary boundsDictionary(Rect bounds) {
    return PropertyDictionary{{"X", bounds.minX()},
                              {"Y", bounds.minY()},
                              {"Width", bounds.width()},
                              {"Height", bounds.height()}};
}

}  // namespace

Desktop& Desktop::shared() {
    // Never destroyed: windows may still report to it while statics go away.
    static Desktop* desktop = new Desktop();
    return *desktop;
}

Desktop::Desktop() : previousServer_(WindowServer::install(this)) {
    installApplicationLookups();
}

Desktop::~Desktop() {
    if (WindowServer::current() == this) WindowServer::install(previousServer_);
    RunningApplication::setSimulatedLookup(nullptr);
    Workspace::shared().setIconNameLookup(nullptr);
}

void Desktop::installApplicationLookups() {
    RunningApplication::setSimulatedLookup(
        [this](int processIdentifier) -> std::optional<RunningApplication> {
            const auto found = application(processIdentifier);
            if (!found) return std::nullopt;
            return RunningApplication::simulated(
                found->processIdentifier,
                found->bundleIdentifier.empty() ? std::nullopt
                                                : std::optional(found->bundleIdentifier),
                found->bundleURL.empty() ? std::nullopt : std::optional(found->bundleURL));
        });
    Workspace::shared().setIconNameLookup(
        [this](const std::filesystem::path& bundleURL) -> std::optional<std::string> {
            for (const auto& other : applications_) {
                if (!other.bundleURL.empty() && other.bundleURL == bundleURL &&
                    !other.iconName.empty()) {
                    return other.iconName;
                }
            }
            return std::nullopt;
        });
}

void Desktop::resetForTesting() {
    clearModel();
    callbacks_.clear();
    switchCount_ = 0;
    windowListQueries_ = 0;
    path_.reset();
    for (auto& own : ownWindows_) own.space.reset();
    if (WindowServer::current() != this) WindowServer::install(this);
    installApplicationLookups();
}

void Desktop::clearModel() {
    displays_.clear();
    focusedDisplay_.reset();
    lastSpaceID_ = 0;
    applications_.clear();
    otherWindows_.clear();
    std::erase_if(order_, [this](WindowNumber number) {
        return std::none_of(ownWindows_.begin(), ownWindows_.end(), [number](const OwnWindow& own) {
            return own.window->windowNumber() == number;
        });
    });
}

// --- Displays ---

Display* Desktop::findDisplay(DisplayID number) {
    auto found = std::find_if(displays_.begin(), displays_.end(), [number](const Display& display) {
        return display.number == number;
    });
    return found == displays_.end() ? nullptr : &*found;
}

const Display* Desktop::findDisplay(DisplayID number) const {
    return const_cast<Desktop*>(this)->findDisplay(number);
}

std::optional<Display> Desktop::display(DisplayID number) const {
    const Display* display = findDisplay(number);
    return display ? std::optional(*display) : std::nullopt;
}

bool Desktop::addDisplay(Display display) {
    if (findDisplay(display.number)) return false;
    for (SpaceID space : display.spaces) {
        if (space == 0 || displayOfSpace(space)) return false;
    }
    if (display.spaces.empty()) display.spaces.push_back(newSpaceID());
    for (SpaceID space : display.spaces) lastSpaceID_ = std::max(lastSpaceID_, space);
    if (std::find(display.spaces.begin(), display.spaces.end(), display.shownSpace) ==
        display.spaces.end()) {
        display.shownSpace = display.spaces.front();
    }
    if (display.visibleFrame == Rect{}) {
        display.visibleFrame = Display::make(0, display.frame, "").visibleFrame;
    }
    const DisplayID number = display.number;
    notifyReconfiguration(number, beginConfigurationFlag);
    displays_.push_back(std::move(display));
    refreshWindowScreens();
    notifyReconfiguration(number, addFlag);
    return true;
}

bool Desktop::removeDisplay(DisplayID number) {
    const Display* found = findDisplay(number);
    if (!found) return false;
    const Display removed = *found;
    notifyReconfiguration(number, beginConfigurationFlag);
    // Frames read with the coordinates of the displays as they were.
    const auto moving = windowsOnSpaces(removed.spaces);
    std::erase_if(displays_, [number](const Display& d) { return d.number == number; });
    if (focusedDisplay_ == number) focusedDisplay_.reset();
    if (!displays_.empty()) {
        Display& remaining = displays_.front();
        remaining.spaces.insert(remaining.spaces.end(), removed.spaces.begin(),
                                removed.spaces.end());
        moveWindows(moving, removed.frame, remaining.frame);
    }
    refreshWindowScreens();
    notifyReconfiguration(number, removeFlag);
    return true;
}

std::vector<Desktop::MovingWindow> Desktop::windowsOnSpaces(
    const std::vector<SpaceID>& spaces) const {
    const auto isMoving = [&](SpaceID space) {
        return std::find(spaces.begin(), spaces.end(), space) != spaces.end();
    };
    std::vector<MovingWindow> moving;
    for (const auto& own : ownWindows_) {
        if (own.space && isMoving(*own.space)) {
            moving.push_back(MovingWindow{own.window->windowNumber(), own.window->frame()});
        }
    }
    for (const auto& other : otherWindows_) {
        if (isMoving(other.space)) {
            moving.push_back(MovingWindow{other.number, frameFromBounds(other.bounds)});
        }
    }
    return moving;
}

namespace {

// The frame at the same place on `to` as it was on `from`, kept inside `to`
// where it fits.
Rect relocated(Rect frame, Rect from, Rect to) {
    const auto place = [](double origin, double size, double min, double max) {
        return std::max(min, std::min(origin, max - size));
    };
    const double x = frame.minX() - from.minX() + to.minX();
    const double y = frame.minY() - from.minY() + to.minY();
    return Rect::make(place(x, frame.width(), to.minX(), to.maxX()),
                      place(y, frame.height(), to.minY(), to.maxY()), frame.width(),
                      frame.height());
}

}  // namespace

void Desktop::moveWindows(const std::vector<MovingWindow>& moving, Rect from, Rect to) {
    for (const auto& window : moving) {
        const Rect frame = relocated(window.frame, from, to);
        if (auto* other = findOtherMutable(window.number)) {
            other->bounds = boundsFromFrame(frame);
            continue;
        }
        for (const auto& own : ownWindows_) {
            if (own.window->windowNumber() == window.number) {
                own.window->setFrame(frame);
                break;
            }
        }
    }
}

bool Desktop::focusDisplay(DisplayID number) {
    if (!findDisplay(number)) return false;
    focusedDisplay_ = number;
    return true;
}

std::optional<DisplayID> Desktop::mainDisplay() const {
    const Window* key = Window::keyWindow();
    if (key && key->isVisible() && Application::shared().isActive()) {
        if (auto screen = screenForFrame(key->frame())) return screen->screenNumber();
    }
    if (focusedDisplay_ && findDisplay(*focusedDisplay_)) return focusedDisplay_;
    if (displays_.empty()) return std::nullopt;
    return displays_.front().number;
}

void Desktop::registerReconfigurationCallback(ReconfigurationCallback callback, void* userInfo) {
    callbacks_.push_back(Callback{callback, userInfo});
}

void Desktop::removeReconfigurationCallback(ReconfigurationCallback callback, void* userInfo) {
    auto found = std::find_if(callbacks_.begin(), callbacks_.end(), [&](const Callback& entry) {
        return entry.callback == callback && entry.userInfo == userInfo;
    });
    if (found != callbacks_.end()) callbacks_.erase(found);
}

void Desktop::notifyReconfiguration(DisplayID display, std::uint32_t flags) const {
    const auto callbacks = callbacks_;  // a callback may register or remove others
    for (const auto& entry : callbacks) {
        if (entry.callback) entry.callback(display, flags, entry.userInfo);
    }
}

void Desktop::refreshWindowScreens() const {
    std::vector<WindowNumber> numbers;
    for (const auto& own : ownWindows_) numbers.push_back(own.window->windowNumber());
    for (WindowNumber number : numbers) {
        // An observer may have destroyed windows on the way.
        auto found = std::find_if(
            ownWindows_.begin(), ownWindows_.end(),
            [number](const auto& own) { return own.window->windowNumber() == number; });
        if (found != ownWindows_.end()) found->window->refreshScreen();
    }
}

std::uint32_t Desktop::vendorNumber(DisplayID display) const {
    const Display* found = findDisplay(display);
    return found ? found->vendor : 0;
}

std::uint32_t Desktop::modelNumber(DisplayID display) const {
    const Display* found = findDisplay(display);
    return found ? found->model : 0;
}

std::uint32_t Desktop::serialNumber(DisplayID display) const {
    const Display* found = findDisplay(display);
    return found ? found->serial : 0;
}

std::vector<PropertyDictionary> Desktop::displayInfoDictionaries() const {
    std::vector<PropertyDictionary> infos;
    for (const auto& display : displays_) {
        infos.push_back(PropertyDictionary{
            {"DisplayVendorID", std::int64_t{display.vendor}},
            {"DisplayProductID", std::int64_t{display.model}},
            {"DisplaySerialNumber", std::int64_t{display.serial}},
            {"DisplayProductName", PropertyDictionary{{"en_US", display.name}}},
        });
    }
    return infos;
}

// --- Spaces ---

SpaceID Desktop::newSpaceID() {
    return ++lastSpaceID_;
}

std::optional<SpaceID> Desktop::addSpace(DisplayID number) {
    Display* display = findDisplay(number);
    if (!display) return std::nullopt;
    const SpaceID space = newSpaceID();
    display->spaces.push_back(space);
    return space;
}

bool Desktop::removeSpace(SpaceID space) {
    const auto number = displayOfSpace(space);
    if (!number) return false;
    Display& display = *findDisplay(*number);
    if (display.spaces.size() < 2) return false;
    auto position = std::find(display.spaces.begin(), display.spaces.end(), space);
    const bool wasShown = display.shownSpace == space;
    position = display.spaces.erase(position);
    if (wasShown) {
        showSpace(display, position == display.spaces.end() ? display.spaces.back() : *position);
    }
    for (auto& own : ownWindows_) {
        if (own.space == space) own.space = display.shownSpace;
    }
    for (auto& other : otherWindows_) {
        if (other.space == space) other.space = display.shownSpace;
    }
    return true;
}

std::optional<DisplayID> Desktop::displayOfSpace(SpaceID space) const {
    for (const auto& display : displays_) {
        if (std::find(display.spaces.begin(), display.spaces.end(), space) !=
            display.spaces.end()) {
            return display.number;
        }
    }
    return std::nullopt;
}

std::optional<SpaceID> Desktop::shownSpace(DisplayID number) const {
    const Display* display = findDisplay(number);
    return display ? std::optional(display->shownSpace) : std::nullopt;
}

bool Desktop::isSpaceShown(SpaceID space) const {
    return std::any_of(displays_.begin(), displays_.end(),
                       [space](const Display& display) { return display.shownSpace == space; });
}

bool Desktop::switchToSpace(SpaceID space) {
    const auto number = displayOfSpace(space);
    if (!number) return false;
    Display& display = *findDisplay(*number);
    if (display.shownSpace != space) showSpace(display, space);
    return true;
}

void Desktop::showSpace(Display& display, SpaceID space) {
    display.shownSpace = space;
    focusedDisplay_ = display.number;
    ++switchCount_;
    postActiveSpaceDidChange();
}

void Desktop::postActiveSpaceDidChange() const {
    mainQueue().async(
        [] { Workspace::shared().notificationCenter().post(activeSpaceDidChangeNotification); });
}

std::optional<SpaceID> Desktop::shownSpaceAt(Rect frame) const {
    if (auto screen = screenForFrame(frame)) return shownSpace(screen->screenNumber());
    if (auto main = mainDisplay()) return shownSpace(*main);
    return std::nullopt;
}

// --- Other applications ---

void Desktop::addApplication(DesktopApplication application) {
    removeApplication(application.processIdentifier);
    applications_.push_back(std::move(application));
}

bool Desktop::removeApplication(int processIdentifier) {
    const auto removed = std::erase_if(applications_, [&](const DesktopApplication& application) {
        return application.processIdentifier == processIdentifier;
    });
    std::vector<WindowNumber> windows;
    for (const auto& window : otherWindows_) {
        if (window.ownerPID == processIdentifier) windows.push_back(window.number);
    }
    for (WindowNumber number : windows) removeWindow(number);
    return removed > 0;
}

std::optional<DesktopApplication> Desktop::application(int processIdentifier) const {
    for (const auto& application : applications_) {
        if (application.processIdentifier == processIdentifier) return application;
    }
    return std::nullopt;
}

WindowNumber Desktop::addWindow(DesktopWindow window) {
    const bool taken = window.number != 0 &&
                       std::find(order_.begin(), order_.end(), window.number) != order_.end();
    if (window.number == 0 || taken) {
        window.number = WindowServer::newWindowNumber();
    } else {
        WindowServer::reserveWindowNumber(window.number);
    }
    if (window.space == 0 || !displayOfSpace(window.space)) {
        window.space = shownSpaceAt(frameFromBounds(window.bounds)).value_or(0);
    }
    otherWindows_.push_back(window);
    order_.push_back(window.number);
    raise(window.number, window.layer);
    return window.number;
}

bool Desktop::removeWindow(WindowNumber number) {
    const auto removed = std::erase_if(
        otherWindows_, [number](const DesktopWindow& window) { return window.number == number; });
    if (removed) std::erase(order_, number);
    return removed > 0;
}

DesktopWindow* Desktop::findOtherMutable(WindowNumber number) {
    auto found =
        std::find_if(otherWindows_.begin(), otherWindows_.end(),
                     [number](const DesktopWindow& window) { return window.number == number; });
    return found == otherWindows_.end() ? nullptr : &*found;
}

const DesktopWindow* Desktop::findOther(WindowNumber number) const {
    return const_cast<Desktop*>(this)->findOtherMutable(number);
}

std::optional<DesktopWindow> Desktop::window(WindowNumber number) const {
    const DesktopWindow* found = findOther(number);
    return found ? std::optional(*found) : std::nullopt;
}

bool Desktop::orderFrontWindow(WindowNumber number) {
    const DesktopWindow* found = findOther(number);
    if (!found) return false;
    raise(number, found->layer);
    return true;
}

void Desktop::activateOtherApplication() {
    Application::shared().deactivate();
}

// --- Our windows ---

Desktop::OwnWindow* Desktop::findOwn(const Window& window) {
    auto found = std::find_if(ownWindows_.begin(), ownWindows_.end(),
                              [&](const OwnWindow& own) { return own.window == &window; });
    return found == ownWindows_.end() ? nullptr : &*found;
}

const Desktop::OwnWindow* Desktop::findOwn(const Window& window) const {
    return const_cast<Desktop*>(this)->findOwn(window);
}

std::optional<SpaceID> Desktop::spaceOf(const Window& window) const {
    const OwnWindow* own = findOwn(window);
    return own ? own->space : std::nullopt;
}

bool Desktop::moveWindowToSpace(Window& window, SpaceID space) {
    OwnWindow* own = findOwn(window);
    if (!own || !displayOfSpace(space)) return false;
    own->space = space;
    return true;
}

std::vector<Window*> Desktop::applicationWindows() const {
    std::vector<Window*> windows;
    for (const auto& own : ownWindows_) windows.push_back(own.window);
    return windows;
}

// --- Ordering ---

int Desktop::layerOf(WindowNumber number) const {
    if (const DesktopWindow* other = findOther(number)) return other->layer;
    for (const auto& own : ownWindows_) {
        if (own.window->windowNumber() == number) return own.window->level();
    }
    return 0;
}

void Desktop::raise(WindowNumber number, int layer) {
    std::erase(order_, number);
    auto position = std::find_if(order_.begin(), order_.end(),
                                 [&](WindowNumber other) { return layerOf(other) <= layer; });
    order_.insert(position, number);
}

// --- WindowServer ---

std::vector<Screen> Desktop::screens() const {
    std::vector<Screen> screens;
    for (const auto& display : displays_) screens.push_back(display.screen());
    return screens;
}

std::optional<Screen> Desktop::mainScreen() const {
    const auto number = mainDisplay();
    return number ? std::optional(findDisplay(*number)->screen()) : std::nullopt;
}

std::optional<Screen> Desktop::screenForFrame(Rect frame) const {
    const Display* best = nullptr;
    double bestArea = 0;
    for (const auto& display : displays_) {
        const double area = overlapArea(frame, display.frame);
        if (area > bestArea) {
            best = &display;
            bestArea = area;
        }
    }
    return best ? std::optional(best->screen()) : std::nullopt;
}

void Desktop::windowCreated(Window& window) {
    if (findOwn(window)) return;
    ownWindows_.push_back(OwnWindow{&window, std::nullopt});
    order_.push_back(window.windowNumber());  // behind everything until shown
}

void Desktop::windowDestroyed(Window& window) {
    std::erase_if(ownWindows_, [&](const OwnWindow& own) { return own.window == &window; });
    std::erase(order_, window.windowNumber());
}

void Desktop::windowOrderedFront(Window& window, bool makingKey) {
    if (!findOwn(window)) windowCreated(window);
    OwnWindow& own = *findOwn(window);
    const auto behavior = window.collectionBehavior();
    const bool movesHere = behavior.contains(Window::CollectionBehavior::moveToActiveSpace) &&
                           own.space && !isSpaceShown(*own.space);
    if (!own.space || movesHere) own.space = shownSpaceAt(window.frame());
    raise(window.windowNumber(), window.level());

    // A space left behind by a removed display has nowhere to be shown.
    const auto display = own.space ? displayOfSpace(*own.space) : std::nullopt;
    const bool switches = makingKey && display && !isSpaceShown(*own.space) &&
                          Application::shared().isActive() &&
                          !behavior.contains(Window::CollectionBehavior::stationary) &&
                          !behavior.contains(Window::CollectionBehavior::canJoinAllSpaces);
    if (switches) showSpace(*findDisplay(*display), *own.space);
}

void Desktop::windowOrderedOut(Window& /*window*/) {
    // It keeps its place in the stacking order and its space, off screen.
}

void Desktop::windowClosed(Window& /*window*/) {
    // Closed windows are left out when restorable windows are saved.
}

void Desktop::windowChanged(Window& window) {
    OwnWindow* own = findOwn(window);
    if (!own || !own->space) return;
    // Moved onto another display, the window joins the space shown there.
    const auto screen = screenForFrame(window.frame());
    if (screen && displayOfSpace(*own->space) != screen->screenNumber()) {
        own->space = shownSpace(screen->screenNumber());
    }
}

bool Desktop::isOnActiveSpace(const Window& window) const {
    const OwnWindow* own = findOwn(window);
    if (!own) return false;
    if (window.collectionBehavior().contains(Window::CollectionBehavior::canJoinAllSpaces)) {
        return !displays_.empty();
    }
    return own->space && isSpaceShown(*own->space);
}

// --- Window lists ---

Rect Desktop::boundsFromFrame(Rect frame) const {
    const double top = displays_.empty() ? 0 : displays_.front().frame.maxY();
    return Rect::make(frame.minX(), top - frame.maxY(), frame.width(), frame.height());
}

Rect Desktop::frameFromBounds(Rect bounds) const {
    // The flip is its own inverse.
    return boundsFromFrame(bounds);
}

bool Desktop::isOwnOnScreen(const OwnWindow& own) const {
    return own.window->isVisible() && isOnActiveSpace(*own.window);
}

bool Desktop::isOtherOnScreen(const DesktopWindow& window) const {
    if (!window.visible) return false;
    return window.allSpaces ? !displays_.empty() : isSpaceShown(window.space);
}

PropertyDictionary Desktop::describeOther(const DesktopWindow& window) const {
    PropertyDictionary description{
        {windowLayerKey, std::int64_t{window.layer}},
        {windowBoundsKey, boundsDictionary(window.bounds)},
        {windowOwnerPIDKey, std::int64_t{window.ownerPID}},
    };
    if (const auto owner = application(window.ownerPID)) {
        description[windowOwnerNameKey] = owner->name;
    }
    if (!window.name.empty()) description[windowNameKey] = window.name;
    return description;
}

PropertyDictionary Desktop::describeOwn(const Window& window) const {
    PropertyDictionary description{
        {windowLayerKey, std::int64_t{window.level()}},
        {windowBoundsKey, boundsDictionary(boundsFromFrame(window.frame()))},
        {windowOwnerPIDKey, std::int64_t{::getpid()}},
        {windowOwnerNameKey, executableName()},
    };
    if (!window.title().empty()) description[windowNameKey] = window.title();
    return description;
}

std::optional<PropertyDictionary> Desktop::describe(WindowNumber number) const {
    PropertyDictionary description;
    bool onScreen = false;
    if (const DesktopWindow* other = findOther(number)) {
        description = describeOther(*other);
        onScreen = isOtherOnScreen(*other);
    } else {
        auto own = std::find_if(ownWindows_.begin(), ownWindows_.end(), [number](const auto& o) {
            return o.window->windowNumber() == number;
        });
        if (own == ownWindows_.end()) return std::nullopt;
        description = describeOwn(*own->window);
        onScreen = isOwnOnScreen(*own);
    }
    description[windowNumberKey] = std::int64_t{number};
    description[windowAlphaKey] = 1.0;
    // Like the window server, the key is there only for windows on screen.
    if (onScreen) description[windowIsOnscreenKey] = true;
    return description;
}

std::optional<PropertyArray> Desktop::copyWindowInfo(std::uint32_t options,
                                                     WindowNumber relativeToWindow) {
    ++windowListQueries_;
    const bool above = hasBit(options, optionOnScreenAboveWindow);
    const bool below = hasBit(options, optionOnScreenBelowWindow);
    const bool onScreenOnly = hasBit(options, optionOnScreenOnly) || above || below;
    auto relative = std::find(order_.begin(), order_.end(), relativeToWindow);
    if ((above || below) && relative == order_.end()) return std::nullopt;

    PropertyArray list;
    for (auto it = order_.begin(); it != order_.end(); ++it) {
        const bool isRelative = it == relative;
        if (above && !below && it >= relative && !isRelative) continue;
        if (below && !above && it <= relative && !isRelative) continue;
        if (isRelative && (above || below) && !hasBit(options, optionIncludingWindow)) continue;
        auto description = describe(*it);
        if (!description) continue;
        if (onScreenOnly && !description->count(windowIsOnscreenKey)) continue;
        if (hasBit(options, excludeDesktopElements) && layerOf(*it) < 0) continue;
        list.push_back(std::move(*description));
    }
    return list;
}

std::optional<PropertyArray> Desktop::createDescriptionFromArray(
    const std::vector<WindowNumber>& windows) {
    ++windowListQueries_;
    PropertyArray list;
    for (WindowNumber number : windows) {
        auto description = describe(number);
        if (description) list.emplace_back(std::move(*description));
    }
    return list;
}

// --- The desktop file ---

std::string Desktop::jsonText() const {
    DesktopFile file;
    file.displays = displays_;
    file.mainDisplay = focusedDisplay_;
    file.applications = applications_;
    for (WindowNumber number : order_) {
        if (const DesktopWindow* other = findOther(number)) file.windows.push_back(*other);
    }
    return file.toJsonText();
}

bool Desktop::readJsonText(const std::string& text, std::string* error) {
    auto file = DesktopFile::fromJsonText(text, error);
    if (!file) return false;
    clearModel();
    for (auto& display : file->displays) {
        for (SpaceID space : display.spaces) lastSpaceID_ = std::max(lastSpaceID_, space);
    }
    for (auto& display : file->displays) {
        if (display.spaces.empty()) display.spaces.push_back(newSpaceID());
        if (std::find(display.spaces.begin(), display.spaces.end(), display.shownSpace) ==
            display.spaces.end()) {
            display.shownSpace = display.spaces.front();
        }
        displays_.push_back(display);
    }
    if (file->mainDisplay && findDisplay(*file->mainDisplay)) focusedDisplay_ = file->mainDisplay;
    applications_ = file->applications;
    // Listed front to back: adding from the back keeps that order.
    for (auto it = file->windows.rbegin(); it != file->windows.rend(); ++it) addWindow(*it);
    for (auto& own : ownWindows_) {
        if (own.space && !displayOfSpace(*own.space)) own.space.reset();
    }
    refreshWindowScreens();
    return true;
}

bool Desktop::load(const std::filesystem::path& path, std::string* error) {
    std::string reason;
    auto text = FileManager::defaultManager().contentsAtPath(path, &reason);
    if (!text) {
        if (error) *error = path.string() + ": " + reason;
        return false;
    }
    if (!readJsonText(*text, &reason)) {
        if (error) *error = path.string() + ": " + reason;
        return false;
    }
    path_ = path;
    return true;
}

std::optional<std::filesystem::path> Desktop::savedDesktopFile() {
    auto support = SystemFolders::applicationSupport();
    if (!support) return std::nullopt;
    return *support / "zelvana" / "desktop.json";
}

bool Desktop::loadAtLaunch(const std::optional<std::filesystem::path>& file, std::string* error) {
    if (file) return load(*file, error);
    const auto saved = savedDesktopFile();
    if (!saved || !FileManager::defaultManager().fileExists(*saved)) return false;
    return load(*saved, error);
}

bool Desktop::save(const std::filesystem::path& path, std::string* error) const {
    return FileManager::defaultManager().writeAtomically(path, jsonText(), error);
}

// --- Window restoration ---

std::optional<std::filesystem::path> Desktop::savedStateFile() {
    auto support = SystemFolders::applicationSupport();
    if (!support) return std::nullopt;
    const std::string bundle = Bundle::main().bundleIdentifier().value_or(executableName());
    return *support / "Saved Application State" / (bundle + ".savedState") / "windows.json";
}

void Desktop::saveRestorableWindows() const {
    const auto file = savedStateFile();
    if (!file) return;
    std::vector<SavedWindow> saved;
    for (const auto& own : ownWindows_) {
        const Window& window = *own.window;
        if (!window.isRestorable() || window.isClosed() || window.restorationClass().empty()) {
            continue;
        }
        Coder state;
        window.encodeRestorableStateWithCoder(state);
        saved.push_back(SavedWindow{window.identifier(), window.restorationClass(),
                                    std::move(state), own.space.value_or(0), window.isVisible()});
    }
    if (saved.empty()) return;
    std::string error;
    auto& files = FileManager::defaultManager();
    if (!files.createDirectory(file->parent_path(), true, &error) ||
        !files.writeAtomically(*file, SavedWindow::toJsonText(saved), &error)) {
        UnifiedLog::write(LogType::Error, "Windows not saved: " + error);
    }
}

std::vector<SavedWindow> Desktop::takeSavedWindows() const {
    const auto file = savedStateFile();
    if (!file || !FileManager::defaultManager().fileExists(*file)) return {};
    auto text = FileManager::defaultManager().contentsAtPath(*file);
    auto saved = text ? SavedWindow::fromJsonText(*text) : std::nullopt;
    if (!saved) UnifiedLog::write(LogType::Error, "Saved windows unreadable: " + file->string());
    // Saved state is used once; a later launch starts from what it saves.
    FileManager::defaultManager().removeItem(*file);
    return saved.value_or(std::vector<SavedWindow>{});
}

void Desktop::restoreWindows() {
    for (const auto& saved : takeSavedWindows()) {
        const auto* restorer = WindowRestoration::restorer(saved.restorationClass);
        if (!restorer) continue;
        (*restorer)(saved.identifier, saved.state,
                    [this, saved](Window* window, const std::optional<std::string>& error) {
                        if (window && !error) placeRestoredWindow(*window, saved);
                    });
    }
}

void Desktop::placeRestoredWindow(Window& window, const SavedWindow& saved) {
    if (!findOwn(window)) windowCreated(window);
    if (!moveWindowToSpace(window, saved.space)) {
        findOwn(window)->space = shownSpaceAt(window.frame());
    }
    if (saved.visible) window.orderFront(nullptr);
}

void Desktop::applicationWillFinishLaunching() {
    restoreWindows();
}

void Desktop::applicationWillTerminate() {
    saveRestorableWindows();
    const auto file = savedDesktopFile();
    if (displays_.empty() || !file) return;
    std::string error;
    if (!FileManager::defaultManager().createDirectory(file->parent_path(), true, &error) ||
        !save(*file, &error)) {
        UnifiedLog::write(LogType::Error, "Desktop not saved: " + error);
    }
}

}  // namespace zelvana::platform
