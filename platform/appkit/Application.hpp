#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Appearance.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/core/ActionSender.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

class AboutPanel;
class Menu;
class RunLoopSource;
class Window;

enum class ActivationPolicy { Regular, Accessory, Prohibited };

// The handle of one modal session; the default one was never begun.
struct ModalSession {
    std::uint64_t id = 0;
    bool operator==(const ModalSession&) const = default;
};

// What a pass of a modal session answers, with the system's values.
enum class ModalResponse : long { stop = -1000, abort = -1001, continueSession = -1002 };

class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching() {}
    virtual void applicationWillTerminate() {}
    // The person opened the running application again.
    virtual bool applicationShouldHandleReopen(bool /*hasVisibleWindows*/) { return true; }
};

// The process's application object: the main loop, activation, termination
// and the queue of events that input sends to this application.
class Application {
public:
    static Application& shared();

    // Non-owning; the caller keeps the delegate alive while the loop runs.
    void setDelegate(ApplicationDelegate* delegate) { delegate_ = delegate; }
    ApplicationDelegate* delegate() const { return delegate_; }

    // Tells the delegate that launching finished, then runs the main run loop
    // until `terminate`. Returns the exit status.
    int run();
    // Ends the loop: the delegate hears applicationWillTerminate, the
    // windows are kept for the next launch or closed, every dispatch queue
    // is drained so no queued work (log lines) is lost, and `run` returns.
    // Windows are kept when the user's global "NSQuitAlwaysKeepsWindows" is
    // true, unless the sender is the alternate quit item (identifier
    // "NSAlternateQuitMenuItem"), which turns that choice round. Outside a
    // running loop it only notifies and drains. Later calls, while
    // terminating, do nothing. Main thread.
    void terminate(const ActionSender* sender);
    bool isTerminating() const { return terminating_; }
    // Once run() returned, before the application lets go of its parts:
    // ends the tracking of an open menu, cancels a drag under way and closes
    // the shown popovers, newest first, each telling whom it tells when a
    // person closes it. Main thread.
    void closeOpenInterface();

    // The system runs one copy of an application. Called at start: when a
    // process of the main bundle's identifier runs already, it is asked to
    // reopen and the answer is true, for this copy to leave having changed
    // nothing. Otherwise this process becomes the running copy, and a later
    // launch's request reaches the delegate's applicationShouldHandleReopen
    // once launching has finished (with whether the key window is visible).
    // Without a bundle identifier every copy runs. Main thread.
    bool handOverToRunningCopy();
    // The name of the request, posted on the distributed centre with the
    // bundle identifier as its object.
    static constexpr const char* reopenNotification = "ZelvanaApplicationReopen";

    // Makes the application active; every call counts. While it is active,
    // keys go to it; otherwise to the frontmost other application.
    void activate(bool ignoringOtherApps);
    bool isActive() const { return active_; }
    // Another application became active: ours is no longer, and its key
    // window resigns key (a non-activating panel too). Main thread.
    void deactivate();
    int activationCount() const { return activationCount_; }

    // Sends an action that names no target to the first responder: the key
    // window's controllers, then the delegate when it is an ActionTarget.
    // Returns whether someone handled it. Main thread.
    bool sendAction(const std::string& action, const ActionSender* sender);

    void setActivationPolicy(ActivationPolicy policy) { policy_ = policy; }
    ActivationPolicy activationPolicy() const { return policy_; }

    // The icon of the main bundle ("CFBundleIconFile" among its resources);
    // none when the bundle names none or it cannot be read.
    std::optional<Image> applicationIconImage() const;

    // Shows the standard about panel (AboutPanel) in front and key, made on
    // first use and centred then; its close button only hides it.
    void orderFrontStandardAboutPanelWithOptions(const PropertyDictionary& options);
    // The about panel once made, else null.
    Window* aboutPanel() const;

    // The appearance its windows draw with.
    Appearance effectiveAppearance() const { return Appearance::current(); }

    // The menu bar's menu; its key equivalents answer key-down events that
    // nobody else took.
    const std::shared_ptr<Menu>& mainMenu() const { return mainMenu_; }
    void setMainMenu(std::shared_ptr<Menu> menu) { mainMenu_ = std::move(menu); }

    // --- The event queue ---
    // Queues an event at the end (or the front), and wakes the main run loop,
    // whose event source dispatches it in the default mode (or the open menu
    // takes it in the event-tracking mode).
    void postEvent(Event event, bool atStart);
    // The first pending event matching `mask`, taken off the queue when
    // `dequeue` is set. Never waits: the simulated input only arrives between
    // calls, so `untilDate` (clock wall time) and `mode` change nothing.
    std::optional<Event> nextEvent(EventTypeMask mask, std::optional<TimeInterval> untilDate,
                                   const std::string& mode, bool dequeue);
    const std::deque<Event>& pendingEvents() const { return queue_; }
    // Dispatches one event: a drag under way takes the pointer's drags and
    // release (and Escape, which cancels it); then local monitors (which may
    // change or swallow it), then for a key down the main menu's key
    // equivalents; a scroll-wheel or left-button event that carries its
    // window goes to that window, unless a sheet covers it or a modal
    // session runs for another window: then it beeps and goes nowhere.
    // What is left is recorded (see
    // deliveredEvents), and keys go on to the key window's first responder.
    void sendEvent(const Event& event);
    // Takes every pending event off the queue and sends it; the default
    // mode's event source does this when the run loop turns.
    void dispatchPendingEvents();
    // The latest events that got past monitors and menus to the key window,
    // oldest first; only the last deliveredEventsKept are kept, so a long
    // run does not grow it without end.
    static constexpr std::size_t deliveredEventsKept = 256;
    const std::deque<Event>& deliveredEvents() const { return delivered_; }
    void clearDeliveredEvents() { delivered_.clear(); }

    // --- Modal sessions ---
    // Shows the window in front as key and makes it the modal window until
    // the session ends. Sessions nest; each must be ended once. Main thread.
    ModalSession beginModalSession(Window& window);
    // One pass: dispatches the pending events. continueSession until
    // stopModal or abortModal ends the running; refused (abort) for a
    // session that is not open.
    ModalResponse runModalSession(ModalSession session);
    void stopModal();
    void abortModal();
    // Ends an open session; ending one that is not open is refused and logged.
    void endModalSession(ModalSession session);
    // Runs a modal session for the window until stopModalWithCode (or
    // stopModal, abortModal) ends it, and returns the code. Each pass runs the
    // main queue's due work and the pending events, and waits for more on the
    // real clock. On the virtual clock nobody else can end it: a pass that
    // finds nothing to do aborts, logged; so does termination. Main thread.
    long runModalForWindow(Window& window);
    void stopModalWithCode(long code);
    // The window of the innermost open session, if any.
    Window* modalWindow() const;
    std::size_t modalSessionCount() const { return modalSessions_.size(); }
    // A window being destroyed ends its sessions, so none points at it.
    void windowWillBeDestroyed(const Window& window);

    // Tests start from a fresh application: inactive, no delegate, no menu,
    // empty queue, no about panel.
    void resetForTesting();

private:
    Application();
    ~Application();
    void installEventSource();
    void finishLaunching();
    void reopen();
    // Not covered by a sheet, nor outside a running modal session.
    bool takesPointerEvents(const Window& window) const;

    ApplicationDelegate* delegate_ = nullptr;
    bool launched_ = false;
    bool reopenPending_ = false;
    // Held open while this is the running copy; the lock goes with the process.
    int runningCopyLock_ = -1;
    Subscription reopenRequests_;
    ActivationPolicy policy_ = ActivationPolicy::Regular;
    bool active_ = false;
    std::atomic<bool> terminating_{false};
    int activationCount_ = 0;
    std::shared_ptr<Menu> mainMenu_;
    std::deque<Event> queue_;
    std::deque<Event> delivered_;
    std::shared_ptr<RunLoopSource> eventSource_;
    struct OpenSession {
        ModalSession session;
        Window* window;  // non-owning; cleared from the list when destroyed
    };
    std::vector<OpenSession> modalSessions_;
    std::uint64_t lastModalSession_ = 0;
    std::optional<ModalResponse> stoppedWith_;
    std::optional<long> stopCode_;
    std::unique_ptr<AboutPanel> aboutPanel_;
    WeakFactory<Application> weak_{this};
};

}  // namespace zelvana::platform
