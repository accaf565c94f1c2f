#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/SubscriberList.hpp"
#include "platform/desktop/DisplayServices.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/simulator/DesktopApplication.hpp"
#include "platform/simulator/DesktopFile.hpp"
#include "platform/simulator/DesktopWindow.hpp"
#include "platform/simulator/Displays.hpp"
#include "platform/simulator/SpaceSwitches.hpp"
#include "platform/simulator/WindowStack.hpp"

namespace zelvana::platform {

class DesktopWindowServer;

// The simulated desktop's controls: what the simulated user, the program's
// driver and the tests do to the window server (attach displays, make and
// switch spaces, run other applications, load a desktop file, reset). The
// application itself reaches the desktop only through the system's calls:
// Screen, Window, WindowList, the display services and the workspace's
// notifications. One per process; it installs its window server. Main
// thread only.
//
// Rules:
// - Each display shows one space of its list. A window lives on one space;
//   one that joins all spaces is on all of them.
// - A switch takes switchDuration() seconds. The display changes at its
//   end; until then it still shows the space it leaves, so isOnActiveSpace
//   is false for the arriving space's windows. At the end the display
//   becomes the one in use and the workspace centre posts
//   Workspace::activeSpaceDidChangeNotification. A switch asked for while
//   another runs follows it. This holds for the user's switches and for
//   those a window makes (see DesktopWindowServer).
// - Adding or removing a display calls each reconfiguration callback with
//   the begin-configuration flag, then with the added or removed flag.
// - A removed display's spaces and their windows move to the first remaining
//   display, which keeps showing its own space.
class Desktop {
public:
    // The process's desktop, made on first use with no displays.
    static Desktop& shared();
    // Back to no displays, spaces, applications, callbacks or switches and
    // the default switch duration; our windows stay registered but lose
    // their space.
    void resetForTesting();

    // --- Displays ---
    const std::vector<Display>& displays() const { return displays_.all(); }
    std::optional<Display> display(DisplayID number) const;
    // At the end of the list: see Displays::add. One overlapping an attached
    // display is refused with the reason logged, as a desktop file's would be.
    bool addDisplay(Display display);
    // Its spaces go to the end of the first remaining display's list, and
    // their windows move onto that display at the same place, kept inside it.
    bool removeDisplay(DisplayID number);
    // Makes a display the one in use, as a click on it would.
    bool focusDisplay(DisplayID number);
    // The display of the key window of our active application, else the one
    // last switched or focused, else the primary.
    std::optional<DisplayID> mainDisplay() const;

    // --- Spaces ---
    // A new space at the end of the display's list; none for an unknown display.
    std::optional<SpaceID> addSpace(DisplayID display);
    // Removes a space that is not the only one of its display; its windows
    // move to the display's shown space (the next one, shown at once, when
    // it was shown).
    bool removeSpace(SpaceID space);
    std::optional<DisplayID> displayOfSpace(SpaceID space) const;
    std::optional<SpaceID> shownSpace(DisplayID display) const;
    bool isSpaceShown(SpaceID space) const;
    // The user's own switch (Mission Control, a keyboard shortcut). False
    // for an unknown space; the space shown, or already on its way, is no
    // new switch.
    bool switchToSpace(SpaceID space);
    TimeInterval switchDuration() const { return switches_.duration(); }
    void setSwitchDuration(TimeInterval seconds) { switches_.setDuration(seconds); }
    bool isSwitching() const { return switches_.isSwitching(); }
    // Switches ended so far, the user's and windows'.
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
    // Adds the window in front of its layer; returns its number. Without a
    // known space it goes onto the space shown where its bounds are.
    WindowNumber addWindow(DesktopWindow window);
    bool removeWindow(WindowNumber number);
    std::optional<DesktopWindow> window(WindowNumber number) const;
    // Brings another application's window to the front of its layer.
    bool orderFrontWindow(WindowNumber number);
    // Moves or resizes another application's window (window-server bounds).
    bool setWindowBounds(WindowNumber number, Rect bounds);
    // Orders another application's window in or out (minimised).
    bool setWindowVisible(WindowNumber number, bool visible);
    // The user activates another application: ours is no longer active, and
    // the other one last activated (else the first) is frontmost.
    void activateOtherApplication();
    // Another application becomes the frontmost, its windows in front of
    // their layers; ours is no longer active. Every call counts.
    bool activateApplication(int processIdentifier);
    // The other application in front while ours is not active.
    std::optional<int> activeApplication() const;
    int activationCount(int processIdentifier) const;

    // --- Our windows ---
    // The space of one of our windows; none before it was first shown.
    std::optional<SpaceID> spaceOf(const Window& window) const;
    // Puts one of our windows on a space (as restoration does).
    bool moveWindowToSpace(Window& window, SpaceID space);
    // Our live windows, in creation order.
    std::vector<Window*> applicationWindows() const;

    // --- Window lists ---
    // How many window lists were asked for; caches count on it.
    int windowListQueryCount() const { return windowListQueries_; }
    // Between the window server's top-left coordinates and AppKit's.
    Rect boundsFromFrame(Rect frame) const { return displays_.flipped(frame); }
    Rect frameFromBounds(Rect bounds) const { return displays_.flipped(bounds); }

    // --- The desktop file ---
    // Replaces displays, spaces, applications and their windows with the
    // file's; no reconfiguration callback runs. On failure nothing changes
    // and `error` says why.
    bool load(const std::filesystem::path& path, std::string* error = nullptr);
    bool save(const std::filesystem::path& path, std::string* error = nullptr) const;
    // The file last loaded, if any.
    const std::optional<std::filesystem::path>& path() const { return path_; }
    // Where termination saves the desktop, so a relaunch finds it again:
    // <Application Support>/zelvana/desktop.json
    static std::optional<std::filesystem::path> savedDesktopFile();
    // At launch: the given file, else the desktop saved at the last
    // termination when there is one. A saved desktop that cannot be read is
    // kept aside (as desktop.corrupt-<seconds since 1970>.json beside it) and
    // said on standard error. False when nothing was loaded; `error` is set
    // only when the given file could not be read, or a saved one not kept.
    bool loadAtLaunch(const std::optional<std::filesystem::path>& file,
                      std::string* error = nullptr);
    // The JSON text of the desktop file and back.
    std::string jsonText() const;
    bool readJsonText(const std::string& text, std::string* error = nullptr);

    // --- The application's launch and termination, as the system runs them ---
    // Restorable windows go back to their restorers and spaces.
    void applicationWillFinishLaunching();
    // Restorable windows are saved unless they close at quit, then the
    // desktop (when it has displays) to savedDesktopFile().
    void applicationWillTerminate(WindowsAtQuit windows = WindowsAtQuit::keep);

    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

private:
    // What the desktop file holds, as it is now.
    DesktopFile file() const;
    friend class DesktopWindowServer;
    friend class WindowListing;
    friend class AccessibilityTree;
    friend Subscription registerDisplayReconfigurationCallback(DisplayReconfigurationCallback);

    Desktop();
    ~Desktop();

    void installApplicationLookups();
    void clearModel();
    // The file's list, or a fresh system's without one.
    void installSystemShortcuts(
        const std::optional<std::vector<DesktopFile::SystemShortcut>>& shortcuts);
    void notifyReconfiguration(DisplayID display, DisplayChangeFlags flags) const;
    void refreshWindowScreens() const;
    // Switches the display of the space there, over the switch duration.
    void requestSwitch(SpaceID space);
    void finishSwitch(DisplayID display, SpaceID space);
    struct WindowFrame {
        WindowNumber number;
        Rect frame;
    };
    std::vector<WindowFrame> framesOnSpaces(const std::vector<SpaceID>& spaces) const;
    // Other applications' windows are kept in the window server's
    // coordinates, which count from the top of the first display; when it
    // goes, they keep their frames on the displays that remain.
    std::vector<WindowFrame> framesOfOthers() const;
    void keepOthersAt(const std::vector<WindowFrame>& frames);
    // Each window at the same place on `to` as it was on `from`.
    void moveWindows(const std::vector<WindowFrame>& frames, Rect from, Rect to);
    std::optional<SpaceID> shownSpaceAt(Rect frame) const;
    // Looked at where it is, not copied: asked for every window a picture shows.
    const DesktopApplication* findApplication(int processIdentifier) const;
    // Whether one of our windows shows on a display's current space.
    bool isOnActiveSpace(const WindowStack::OwnWindow& own) const;

    Displays displays_;
    WindowStack windows_;
    SpaceSwitches switches_;
    int switchCount_ = 0;
    std::shared_ptr<SubscriberList<DisplayID, DisplayChangeFlags>> reconfiguration_;
    std::vector<DesktopApplication> applications_;
    int windowListQueries_ = 0;
    std::optional<int> activeApplication_;
    std::map<int, int> activations_;
    std::optional<std::filesystem::path> path_;
    // The file's list of the system's shortcuts, written back when saving.
    std::optional<std::vector<DesktopFile::SystemShortcut>> systemShortcuts_;
    std::unique_ptr<DesktopWindowServer> server_;
};

}  // namespace zelvana::platform
