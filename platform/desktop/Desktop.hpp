#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/WindowServer.hpp"
#include "platform/desktop/DesktopApplication.hpp"
#include "platform/desktop/DesktopWindow.hpp"
#include "platform/desktop/Display.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

struct SavedWindow;

// The window server of the simulated desktop: displays and their spaces, the
// windows of this application (platform::Window) and of other applications,
// window lists, display reconfiguration callbacks and window restoration.
// One per process; it installs itself as the window server. Main thread only.
//
// Rules:
// - Each display shows one space of its list. A window lives on one space;
//   one that joins all spaces is on all of them.
// - A window ordered front for the first time goes onto the space its
//   display (the one holding most of its frame) shows.
// - makeKeyAndOrderFront on a window of the active application whose space is
//   not shown switches that space's display to it, unless the window is
//   stationary (collection behaviour 16). A window that moves to the active
//   space (2) is moved to the shown space instead.
// - After every switch, the user's or a window's, the workspace centre posts
//   activeSpaceDidChangeNotification on the main queue. The display switched
//   becomes the one in use (Screen::main without a key window).
// - Adding a display calls each reconfiguration callback with the
//   begin-configuration flag (1), then with the added flag (16); removing one
//   with 1, then the removed flag (32). Calls are synchronous.
// - A removed display's spaces and their windows move to the first remaining
//   display, which keeps showing its own space. Other displays keep their
//   frames, also when the primary goes.
class Desktop final : public WindowServer {
public:
    static constexpr const char* activeSpaceDidChangeNotification =
        "NSWorkspaceActiveSpaceDidChangeNotification";

    // Display reconfiguration flags.
    static constexpr std::uint32_t beginConfigurationFlag = 1;
    static constexpr std::uint32_t addFlag = 16;
    static constexpr std::uint32_t removeFlag = 32;
    using ReconfigurationCallback = void (*)(DisplayID display, std::uint32_t flags,
                                             void* userInfo);

    // Window list options.
    static constexpr std::uint32_t optionAll = 0;
    static constexpr std::uint32_t optionOnScreenOnly = 1;
    static constexpr std::uint32_t optionOnScreenAboveWindow = 2;
    static constexpr std::uint32_t optionOnScreenBelowWindow = 4;
    static constexpr std::uint32_t optionIncludingWindow = 8;
    static constexpr std::uint32_t excludeDesktopElements = 16;
    // Window list keys.
    static constexpr const char* windowNumberKey = "kCGWindowNumber";
    static constexpr const char* windowLayerKey = "kCGWindowLayer";
    static constexpr const char* windowBoundsKey = "kCGWindowBounds";
    static constexpr const char* windowOwnerPIDKey = "kCGWindowOwnerPID";
    static constexpr const char* windowOwnerNameKey = "kCGWindowOwnerName";
    static constexpr const char* windowNameKey = "kCGWindowName";
    static constexpr const char* windowIsOnscreenKey = "kCGWindowIsOnscreen";
    static constexpr const char* windowAlphaKey = "kCGWindowAlpha";

    // The process's desktop, made on first use with no displays.
    static Desktop& shared();
    // Back to no displays, spaces, applications or callbacks; our windows
    // that still exist stay registered but lose their space.
    void resetForTesting();

    // --- Displays ---
    std::vector<Display> displays() const { return displays_; }
    std::optional<Display> display(DisplayID number) const;
    // Attaches a display at the end of the list. Without spaces it gets one
    // new space; without a valid shown space it shows its first. False when
    // the number or one of the spaces is already attached.
    bool addDisplay(Display display);
    // Its spaces go to the end of the first remaining display's list, and
    // their windows move onto that display at the same place, kept inside it.
    bool removeDisplay(DisplayID number);
    // Makes a display the one in use, as a click on it would.
    bool focusDisplay(DisplayID number);
    // The display in use: see Screen::main.
    std::optional<DisplayID> mainDisplay() const;
    void registerReconfigurationCallback(ReconfigurationCallback callback, void* userInfo);
    void removeReconfigurationCallback(ReconfigurationCallback callback, void* userInfo);

    // CoreGraphics' numbers of an attached display; 0 when unknown.
    std::uint32_t vendorNumber(DisplayID display) const;
    std::uint32_t modelNumber(DisplayID display) const;
    std::uint32_t serialNumber(DisplayID display) const;
    // The display registry: one information dictionary per attached display,
    // with "DisplayVendorID", "DisplayProductID" (integers) and
    // "DisplayProductName" (a map from locale, "en_US", to the name).
    std::vector<PropertyDictionary> displayInfoDictionaries() const;

    // --- Spaces ---
    // A new space at the end of the display's list; none for an unknown display.
    std::optional<SpaceID> addSpace(DisplayID display);
    // Removes a space that is not the only one of its display; its windows
    // move to the display's shown space (the next one when it was shown).
    bool removeSpace(SpaceID space);
    std::optional<DisplayID> displayOfSpace(SpaceID space) const;
    std::optional<SpaceID> shownSpace(DisplayID display) const;
    bool isSpaceShown(SpaceID space) const;
    // The user's own switch (Mission Control, a keyboard shortcut). False
    // for an unknown space; showing the shown space again is no switch.
    bool switchToSpace(SpaceID space);
    // Switches so far, the user's and windows'.
    int switchCount() const { return switchCount_; }

    // --- Other applications ---
    // They are found as running applications by process identifier
    // (RunningApplication::withProcessIdentifier) and give their icon names to
    // Workspace::iconForFile by bundle URL.
    void addApplication(DesktopApplication application);
    // Also removes its windows.
    bool removeApplication(int processIdentifier);
    const std::vector<DesktopApplication>& applications() const { return applications_; }
    std::optional<DesktopApplication> application(int processIdentifier) const;
    // Adds the window in front of its layer; returns its number.
    WindowNumber addWindow(DesktopWindow window);
    bool removeWindow(WindowNumber number);
    std::optional<DesktopWindow> window(WindowNumber number) const;
    // Brings another application's window to the front of its layer.
    bool orderFrontWindow(WindowNumber number);
    // The user activates another application: ours is no longer active.
    void activateOtherApplication();

    // --- Our windows ---
    // The space of one of our windows; none before it was first shown.
    std::optional<SpaceID> spaceOf(const Window& window) const;
    // Puts one of our windows on a space (as restoration does).
    bool moveWindowToSpace(Window& window, SpaceID space);
    // Our live windows, in creation order.
    std::vector<Window*> applicationWindows() const;

    // --- Window lists ---
    // Descriptions of windows front to back, each a dictionary with the keys
    // above; bounds as {"X", "Y", "Width", "Height"} in window-server
    // coordinates. Desktop elements are the windows with a negative layer.
    // Absent when `relativeToWindow` is needed but unknown.
    std::optional<PropertyArray> copyWindowInfo(std::uint32_t options,
                                                WindowNumber relativeToWindow);
    // Descriptions of the given windows in the given order; unknown numbers
    // are left out.
    std::optional<PropertyArray> createDescriptionFromArray(
        const std::vector<WindowNumber>& windows);
    // How many window lists were asked for; caches count on it.
    int windowListQueryCount() const { return windowListQueries_; }
    // Between the window server's top-left coordinates and AppKit's.
    Rect boundsFromFrame(Rect frame) const;
    Rect frameFromBounds(Rect bounds) const;

    // --- The desktop file ---
    // Replaces displays, spaces, applications and their windows with the
    // file's, and forgets the spaces of removed displays; no reconfiguration
    // callback runs. On failure nothing changes and `error` says why.
    bool load(const std::filesystem::path& path, std::string* error = nullptr);
    bool save(const std::filesystem::path& path, std::string* error = nullptr) const;
    // The file last loaded, if any.
    const std::optional<std::filesystem::path>& path() const { return path_; }
    // Where termination saves the desktop, so a relaunch finds it again:
    // <Application Support>/zelvana/desktop.json
    static std::optional<std::filesystem::path> savedDesktopFile();
    // At launch: the given file, else the desktop saved at the last
    // termination when there is one. False when nothing was loaded; `error`
    // is set only when a file could not be read.
    bool loadAtLaunch(const std::optional<std::filesystem::path>& file,
                      std::string* error = nullptr);
    // The JSON text of the desktop file and back.
    std::string jsonText() const;
    bool readJsonText(const std::string& text, std::string* error = nullptr);

    // --- Window restoration ---
    // Where restorable windows are kept between runs:
    // <Application Support>/Saved Application State/<bundle id>.savedState/windows.json
    static std::optional<std::filesystem::path> savedStateFile();
    // Saves the restorable windows that are not closed: identifier, frame,
    // space, visibility, restoration class and their coder state. Writes
    // nothing when there are none.
    void saveRestorableWindows() const;
    // Hands each saved window to its class's restorer, puts the window back
    // on its space (or the shown space of its display when that is gone) and
    // shows it if it was visible; then forgets the saved state.
    void restoreWindows();

    // --- WindowServer ---
    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;
    std::optional<Screen> screenForFrame(Rect frame) const override;
    void windowCreated(Window& window) override;
    void windowDestroyed(Window& window) override;
    void windowOrderedFront(Window& window, bool makingKey) override;
    void windowOrderedOut(Window& window) override;
    void windowClosed(Window& window) override;
    void windowChanged(Window& window) override;
    bool isOnActiveSpace(const Window& window) const override;
    // The front window on screen whose bounds hold the location; windows that
    // ignore mouse events let it through.
    std::optional<WindowHit> windowAt(Point location) const override;
    // Restores windows.
    void applicationWillFinishLaunching() override;
    // Saves restorable windows, then the desktop (when it has displays) to
    // savedDesktopFile().
    void applicationWillTerminate() override;

    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

private:
    struct OwnWindow {
        Window* window = nullptr;
        std::optional<SpaceID> space;
    };
    struct Callback {
        ReconfigurationCallback callback;
        void* userInfo;
    };

    Desktop();
    ~Desktop() override;

    void installApplicationLookups();
    Display* findDisplay(DisplayID number);
    const Display* findDisplay(DisplayID number) const;
    OwnWindow* findOwn(const Window& window);
    const OwnWindow* findOwn(const Window& window) const;
    const DesktopWindow* findOther(WindowNumber number) const;
    DesktopWindow* findOtherMutable(WindowNumber number);
    struct MovingWindow {
        WindowNumber number;
        Rect frame;
    };
    std::vector<MovingWindow> windowsOnSpaces(const std::vector<SpaceID>& spaces) const;
    void moveWindows(const std::vector<MovingWindow>& moving, Rect from, Rect to);
    SpaceID newSpaceID();
    std::optional<SpaceID> shownSpaceAt(Rect frame) const;
    void showSpace(Display& display, SpaceID space);
    void postActiveSpaceDidChange() const;
    void notifyReconfiguration(DisplayID display, std::uint32_t flags) const;
    void refreshWindowScreens() const;
    void raise(WindowNumber number, int layer);
    int layerOf(WindowNumber number) const;
    bool isOwnOnScreen(const OwnWindow& own) const;
    bool isOtherOnScreen(const DesktopWindow& window) const;
    std::optional<PropertyDictionary> describe(WindowNumber number) const;
    PropertyDictionary describeOther(const DesktopWindow& window) const;
    PropertyDictionary describeOwn(const Window& window) const;
    void clearModel();
    std::vector<SavedWindow> takeSavedWindows() const;
    void placeRestoredWindow(Window& window, const SavedWindow& saved);

    std::vector<Display> displays_;
    std::optional<DisplayID> focusedDisplay_;
    SpaceID lastSpaceID_ = 0;
    int switchCount_ = 0;
    std::vector<Callback> callbacks_;
    std::vector<DesktopApplication> applications_;
    std::vector<DesktopWindow> otherWindows_;
    std::vector<OwnWindow> ownWindows_;
    // Every window, front to back.
    std::vector<WindowNumber> order_;
    int windowListQueries_ = 0;
    std::optional<std::filesystem::path> path_;
    WindowServer* previousServer_ = nullptr;
};

}  // namespace zelvana::platform
