#include "platform/simulator/Desktop.hpp"

#include <algorithm>
#include <cstdio>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/SystemFolders.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/simulator/DesktopFile.hpp"
#include "platform/simulator/DesktopWindowServer.hpp"
#include "platform/simulator/PermissionSwitches.hpp"
#include "platform/simulator/SavedFiles.hpp"
#include "platform/system/Permissions.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

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

bool holds(const std::vector<SpaceID>& spaces, std::optional<SpaceID> space) {
    return space && std::find(spaces.begin(), spaces.end(), *space) != spaces.end();
}

}  // namespace

Desktop& Desktop::shared() {
    // Never destroyed: windows may still report to it while statics go away.
    static Desktop* desktop = new Desktop();
    return *desktop;
}

Desktop::Desktop()
    : switches_([this](DisplayID display, SpaceID space) { finishSwitch(display, space); }),
      reconfiguration_(std::make_shared<SubscriberList<DisplayID, DisplayChangeFlags>>()),
      server_(std::make_unique<DesktopWindowServer>(*this)) {
    server_->install();
    installApplicationLookups();
}

Desktop::~Desktop() {
    server_->uninstall();
    RunningApplication::setSimulatedLookup(nullptr);
    RunningApplication::setSimulatedActivation({});
    Workspace::shared().setIconNameLookup(nullptr);
}

void Desktop::installApplicationLookups() {
    RunningApplication::setSimulatedLookup(
        [this](int processIdentifier) -> std::optional<RunningApplication> {
            const DesktopApplication* found = findApplication(processIdentifier);
            if (!found) return std::nullopt;
            return RunningApplication::simulated(
                found->processIdentifier,
                found->bundleIdentifier.empty() ? std::nullopt
                                                : std::optional(found->bundleIdentifier),
                found->bundleURL.empty() ? std::nullopt : std::optional(found->bundleURL));
        });
    RunningApplication::setSimulatedActivation(
        {[this] {
             std::vector<int> processes;
             for (const auto& other : applications_) processes.push_back(other.processIdentifier);
             return processes;
         },
         [this] { return activeApplication(); },
         [this](int processIdentifier) { return activateApplication(processIdentifier); }});
    Workspace::shared().setIconNameLookup(
        [this](const std::filesystem::path& bundleURL) -> std::optional<std::string> {
            const auto named = [](const DesktopApplication& other) {
                return !other.bundleURL.empty() && !other.iconName.empty();
            };
            // Mostly the very path an application gave: its text first, and
            // only when none has it the slower comparison part by part.
            for (const auto& other : applications_) {
                if (named(other) && other.bundleURL.native() == bundleURL.native())
                    return other.iconName;
            }
            for (const auto& other : applications_) {
                if (named(other) && other.bundleURL == bundleURL) return other.iconName;
            }
            return std::nullopt;
        });
}

void Desktop::resetForTesting() {
    clearModel();
    // Registrations made before stay harmless: they belong to the old list.
    reconfiguration_ = std::make_shared<SubscriberList<DisplayID, DisplayChangeFlags>>();
    switches_.setDuration(SpaceSwitches::defaultDuration);
    switchCount_ = 0;
    windowListQueries_ = 0;
    activeApplication_.reset();
    activations_.clear();
    path_.reset();
    systemShortcuts_.reset();
    for (auto& own : windows_.own()) own.space.reset();
    server_->install();
    installApplicationLookups();
}

void Desktop::clearModel() {
    switches_.cancelAll();
    displays_.clear();
    applications_.clear();
    windows_.clearOthers();
}

// --- Displays ---

std::optional<Display> Desktop::display(DisplayID number) const {
    const Display* display = displays_.find(number);
    return display ? std::optional(*display) : std::nullopt;
}

bool Desktop::addDisplay(Display display) {
    const DisplayID number = display.number;
    if (!displays_.canAdd(display)) return false;
    if (const Display* other = displays_.overlapping(display.frame)) {
        UnifiedLog::write(LogType::Error, "Display " + std::to_string(number) +
                                              " not added: its frame overlaps display " +
                                              std::to_string(other->number) + "'s");
        return false;
    }
    notifyReconfiguration(number, DisplayChange::beginConfiguration);
    displays_.add(std::move(display));
    refreshWindowScreens();
    notifyReconfiguration(number, DisplayChange::added);
    return true;
}

bool Desktop::removeDisplay(DisplayID number) {
    const Display* found = displays_.find(number);
    if (!found) return false;
    const Display removed = *found;
    notifyReconfiguration(number, DisplayChange::beginConfiguration);
    // Frames are read in the coordinates of the displays as they were.
    const auto moving = framesOnSpaces(removed.spaces);
    const auto others = framesOfOthers();
    displays_.remove(number);
    keepOthersAt(others);
    if (!displays_.isEmpty()) moveWindows(moving, removed.frame, displays_.all().front().frame);
    refreshWindowScreens();
    // The menu bar, and the status items in it, may be on another display now.
    if (StatusBar* bar = StatusBar::system()) bar->relayout();
    notifyReconfiguration(number, DisplayChange::removed);
    return true;
}

std::vector<Desktop::WindowFrame> Desktop::framesOnSpaces(
    const std::vector<SpaceID>& spaces) const {
    std::vector<WindowFrame> frames;
    for (const auto& own : windows_.own()) {
        if (holds(spaces, own.space))
            frames.push_back({own.window->windowNumber(), own.window->frame()});
    }
    for (const auto& other : windows_.others()) {
        if (holds(spaces, other.space))
            frames.push_back({other.number, frameFromBounds(other.bounds)});
    }
    return frames;
}

std::vector<Desktop::WindowFrame> Desktop::framesOfOthers() const {
    std::vector<WindowFrame> frames;
    for (const auto& other : windows_.others()) {
        frames.push_back({other.number, frameFromBounds(other.bounds)});
    }
    return frames;
}

void Desktop::keepOthersAt(const std::vector<WindowFrame>& frames) {
    for (const auto& [number, frame] : frames) {
        if (auto* other = windows_.findOther(number)) other->bounds = boundsFromFrame(frame);
    }
}

void Desktop::moveWindows(const std::vector<WindowFrame>& frames, Rect from, Rect to) {
    for (const auto& [number, frame] : frames) {
        const Rect there = relocated(frame, from, to);
        if (auto* other = windows_.findOther(number)) {
            other->bounds = boundsFromFrame(there);
            continue;
        }
        // Found before it moves: observers of its screen may change the list.
        if (const auto* own = windows_.findOwn(number)) own->window->setFrame(there);
    }
}

bool Desktop::focusDisplay(DisplayID number) {
    return displays_.focus(number);
}

std::optional<DisplayID> Desktop::mainDisplay() const {
    const Window* key = Window::keyWindow();
    if (key && key->isVisible() && Application::shared().isActive()) {
        if (const Display* display = displays_.displayAt(key->frame())) return display->number;
    }
    if (auto focused = displays_.focused()) return focused;
    if (displays_.isEmpty()) return std::nullopt;
    return displays_.all().front().number;
}

void Desktop::notifyReconfiguration(DisplayID display, DisplayChangeFlags flags) const {
    // Held while it emits: a callback may reset the desktop.
    const auto list = reconfiguration_;
    list->emit(display, flags);
}

void Desktop::refreshWindowScreens() const {
    std::vector<WindowNumber> numbers;
    for (const auto& own : windows_.own()) numbers.push_back(own.window->windowNumber());
    for (WindowNumber number : numbers) {
        // An observer may have destroyed windows on the way.
        if (const auto* own = windows_.findOwn(number)) own->window->refreshScreen();
    }
}

// --- Spaces ---

std::optional<SpaceID> Desktop::addSpace(DisplayID display) {
    return displays_.addSpace(display);
}

bool Desktop::removeSpace(SpaceID space) {
    const auto number = displays_.displayOfSpace(space);
    const bool wasShown = displays_.isSpaceShown(space);
    if (!number || !displays_.removeSpace(space)) return false;
    const SpaceID shown = *displays_.shownSpace(*number);
    windows_.moveOwn(space, shown);
    windows_.moveOthers(space, shown);
    // Mission Control shows the next space at once.
    if (wasShown) finishSwitch(*number, shown);
    return true;
}

std::optional<DisplayID> Desktop::displayOfSpace(SpaceID space) const {
    return displays_.displayOfSpace(space);
}

std::optional<SpaceID> Desktop::shownSpace(DisplayID display) const {
    return displays_.shownSpace(display);
}

bool Desktop::isSpaceShown(SpaceID space) const {
    return displays_.isSpaceShown(space);
}

bool Desktop::switchToSpace(SpaceID space) {
    if (!displays_.displayOfSpace(space)) return false;
    requestSwitch(space);
    return true;
}

void Desktop::requestSwitch(SpaceID space) {
    const auto display = displays_.displayOfSpace(space);
    if (!display) return;
    switches_.request(*display, space, *displays_.shownSpace(*display));
}

void Desktop::finishSwitch(DisplayID display, SpaceID space) {
    // The space may have gone, or moved with its display, on the way.
    if (displays_.displayOfSpace(space) != display) return;
    displays_.show(display, space);
    ++switchCount_;
    Workspace::shared().notificationCenter().post(Workspace::activeSpaceDidChangeNotification);
}

std::optional<SpaceID> Desktop::shownSpaceAt(Rect frame) const {
    if (const Display* display = displays_.displayAt(frame)) return display->shownSpace;
    if (auto main = mainDisplay()) return displays_.shownSpace(*main);
    return std::nullopt;
}

bool Desktop::isOnActiveSpace(const WindowStack::OwnWindow& own) const {
    if (own.joinsAllSpaces) return !displays_.isEmpty();
    return own.space && displays_.isSpaceShown(*own.space);
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
    for (const auto& window : windows_.others()) {
        if (window.ownerPID == processIdentifier) windows.push_back(window.number);
    }
    for (WindowNumber number : windows) windows_.removeOther(number);
    return removed > 0;
}

std::optional<DesktopApplication> Desktop::application(int processIdentifier) const {
    const DesktopApplication* found = findApplication(processIdentifier);
    return found ? std::optional(*found) : std::nullopt;
}

const DesktopApplication* Desktop::findApplication(int processIdentifier) const {
    for (const auto& application : applications_) {
        if (application.processIdentifier == processIdentifier) return &application;
    }
    return nullptr;
}

WindowNumber Desktop::addWindow(DesktopWindow window) {
    if (window.space == 0 || !displays_.displayOfSpace(window.space)) {
        window.space = shownSpaceAt(frameFromBounds(window.bounds)).value_or(0);
    }
    return windows_.addOther(std::move(window));
}

bool Desktop::removeWindow(WindowNumber number) {
    return windows_.removeOther(number);
}

std::optional<DesktopWindow> Desktop::window(WindowNumber number) const {
    const DesktopWindow* found = windows_.findOther(number);
    return found ? std::optional(*found) : std::nullopt;
}

bool Desktop::orderFrontWindow(WindowNumber number) {
    const DesktopWindow* found = windows_.findOther(number);
    if (!found) return false;
    windows_.raise(number, found->layer);
    return true;
}

bool Desktop::setWindowBounds(WindowNumber number, Rect bounds) {
    DesktopWindow* found = windows_.findOther(number);
    if (!found) return false;
    found->bounds = bounds;
    return true;
}

bool Desktop::setWindowVisible(WindowNumber number, bool visible) {
    DesktopWindow* found = windows_.findOther(number);
    if (!found) return false;
    found->visible = visible;
    return true;
}

void Desktop::activateOtherApplication() {
    Application::shared().deactivate();
    if (!activeApplication() && !applications_.empty()) {
        activeApplication_ = applications_.front().processIdentifier;
    }
}

bool Desktop::activateApplication(int processIdentifier) {
    if (!application(processIdentifier)) return false;
    Application::shared().deactivate();
    activeApplication_ = processIdentifier;
    ++activations_[processIdentifier];
    // Back to front, so that the application's windows keep their order.
    const auto order = windows_.order();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const DesktopWindow* window = windows_.findOther(*it);
        if (window && window->ownerPID == processIdentifier) windows_.raise(*it, window->layer);
    }
    return true;
}

std::optional<int> Desktop::activeApplication() const {
    if (Application::shared().isActive()) return std::nullopt;
    if (!activeApplication_ || !application(*activeApplication_)) return std::nullopt;
    return activeApplication_;
}

int Desktop::activationCount(int processIdentifier) const {
    const auto found = activations_.find(processIdentifier);
    return found == activations_.end() ? 0 : found->second;
}

// --- Our windows ---

std::optional<SpaceID> Desktop::spaceOf(const Window& window) const {
    const auto* own = windows_.findOwn(window);
    return own ? own->space : std::nullopt;
}

bool Desktop::moveWindowToSpace(Window& window, SpaceID space) {
    auto* own = windows_.findOwn(window);
    if (!own || !displays_.displayOfSpace(space)) return false;
    own->space = space;
    return true;
}

std::vector<Window*> Desktop::applicationWindows() const {
    std::vector<Window*> windows;
    for (const auto& own : windows_.own()) windows.push_back(own.window);
    return windows;
}

// --- The desktop file ---

std::string Desktop::jsonText() const {
    return file().toJsonText();
}

DesktopFile Desktop::file() const {
    DesktopFile file;
    file.displays = displays_.all();
    file.mainDisplay = displays_.focused();
    file.applications = applications_;
    for (WindowNumber number : windows_.order()) {
        if (const DesktopWindow* other = windows_.findOther(number)) file.windows.push_back(*other);
    }
    file.accessibility = Permissions::isAccessibilityTrusted();
    file.inputMonitoring = Permissions::inputMonitoringAccess() == Permissions::Access::granted;
    file.systemShortcuts = systemShortcuts_;
    if (const auto* layout = KeyboardLayout::currentASCIICapable()) {
        file.keyboardLayout = layout->kind();
    }
    return file;
}

bool Desktop::readJsonText(const std::string& text, std::string* error) {
    auto file = DesktopFile::fromJsonText(text, error);
    if (!file) return false;
    clearModel();
    // A display without spaces numbers its new one after every space of the file.
    for (const auto& display : file->displays) {
        for (SpaceID space : display.spaces) displays_.reserveSpaceID(space);
    }
    for (auto& display : file->displays) displays_.add(std::move(display));
    if (file->mainDisplay) displays_.focus(*file->mainDisplay);
    applications_ = file->applications;
    // Listed front to back: adding from the back keeps that order.
    for (auto it = file->windows.rbegin(); it != file->windows.rend(); ++it) addWindow(*it);
    for (auto& own : windows_.own()) {
        if (own.space && !displays_.displayOfSpace(*own.space)) own.space.reset();
    }
    refreshWindowScreens();
    PermissionSwitches::setAccessibilityTrusted(file->accessibility);
    PermissionSwitches::setInputMonitoringAccess(
        file->inputMonitoring ? Permissions::Access::granted : Permissions::Access::denied);
    installSystemShortcuts(file->systemShortcuts);
    KeyboardLayout::setCurrent(file->keyboardLayout == KeyboardLayout::Kind::german
                                   ? &KeyboardLayout::german()
                                   : &KeyboardLayout::us());
    return true;
}

void Desktop::installSystemShortcuts(
    const std::optional<std::vector<DesktopFile::SystemShortcut>>& shortcuts) {
    systemShortcuts_ = shortcuts;
    auto& system = SymbolicHotKeys::shared();
    if (!shortcuts) return system.restoreFreshSystem();
    system.setEntries({});
    for (const auto& shortcut : *shortcuts) {
        system.add(
            shortcut.keyCode, shortcut.carbonModifiers,
            shortcut.enabled ? SymbolicHotKeys::State::enabled : SymbolicHotKeys::State::disabled);
    }
}

bool Desktop::load(const std::filesystem::path& path, std::string* error) {
    SavedFiles::waitForWrites();
    std::string reason;
    auto text = FileManager::defaultManager().contentsAtPath(path, &reason);
    if (!text) {
        // The reader's reason names the file already.
        if (error) *error = reason;
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
    SavedFiles::waitForWrites();
    const auto saved = savedDesktopFile();
    auto& files = FileManager::defaultManager();
    if (!saved || !files.fileExists(*saved)) return false;
    std::string reason;
    if (load(*saved, &reason)) return true;
    // Kept aside, the saved desktop stops no launch, and the next quit's save
    // replaces nothing the person could still want.
    std::string moveError;
    const auto aside = files.moveAside(*saved, "desktop", ".json", &moveError);
    if (!aside) {
        if (error) *error = reason + ", nor can it be kept aside: " + moveError;
        return false;
    }
    std::fprintf(stderr, "zelvana: the saved desktop cannot be read (%s); its text is kept in %s\n",
                 reason.c_str(), aside->c_str());
    std::fflush(stderr);
    return false;
}

bool Desktop::save(const std::filesystem::path& path, std::string* error) const {
    // After the quit's save of the same file, not overtaken by it.
    SavedFiles::waitForWrites();
    return FileManager::defaultManager().writeAtomically(path, jsonText(), error);
}

// --- Launch and termination ---

void Desktop::applicationWillFinishLaunching() {
    server_->applicationWillFinishLaunching();
}

void Desktop::applicationWillTerminate(WindowsAtQuit windows) {
    server_->applicationWillTerminate(windows);
}

}  // namespace zelvana::platform
