#include "platform/appkit/Application.hpp"

#include <algorithm>

#include "platform/appkit/WindowServer.hpp"

#include "platform/appkit/AboutPanel.hpp"
#include "platform/appkit/ActionTarget.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/DraggingSession.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/Sound.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

Application& Application::shared() {
    static Application instance;
    return instance;
}

Application::Application() {
    eventSource_ = RunLoopSource::create(0, [this] {
        // Whoever runs the loop takes the events: an open menu while it
        // tracks, the application's own dispatch otherwise.
        const auto mode = RunLoop::main().currentMode().value_or(kCFRunLoopDefaultMode);
        if (mode == kEventTrackingRunLoopMode) {
            if (Menu* menu = Menu::trackingMenu()) menu->receivePendingEvents();
        } else if (mode == kCFRunLoopDefaultMode || mode == kModalPanelRunLoopMode) {
            dispatchPendingEvents();
        }
    });
}

Application::~Application() {
    // Its windows go while the application still stands.
    aboutPanel_.reset();
}

void Application::installEventSource() {
    // Adding again is harmless and survives a run loop reset by tests.
    RunLoop::main().addSource(eventSource_, kCFRunLoopCommonModes);
    RunLoop::main().addSource(eventSource_, kModalPanelRunLoopMode);
}

int Application::run() {
    installEventSource();
    mainQueue().async([weak = weak_.ref()] {
        if (Application* self = weak.get()) self->finishLaunching();
    });
    RunLoop::main().run();
    return 0;
}

void Application::finishLaunching() {
    // Restored windows are back on their spaces before the launch handler.
    if (auto* server = WindowServer::current()) server->applicationWillFinishLaunching();
    if (delegate_) delegate_->applicationDidFinishLaunching();
    launched_ = true;
    if (std::exchange(reopenPending_, false)) reopen();
}

namespace {

WindowsAtQuit windowsAtQuit(const ActionSender* sender) {
    const bool keepsWindows = UserDefaults::globalDomain().boolForKey("NSQuitAlwaysKeepsWindows");
    const auto* item = dynamic_cast<const MenuItem*>(sender);
    const bool alternate = item && item->identifier() == "NSAlternateQuitMenuItem";
    return keepsWindows != alternate ? WindowsAtQuit::keep : WindowsAtQuit::close;
}

}  // namespace

void Application::terminate(const ActionSender* sender) {
    if (terminating_.exchange(true)) return;
    if (delegate_) delegate_->applicationWillTerminate();
    if (auto* server = WindowServer::current()) {
        server->applicationWillTerminate(windowsAtQuit(sender));
    }
    aboutPanel_.reset();
    drainAllQueues();
    if (RunLoop::main().isRunning()) RunLoop::main().stop();
}

std::optional<Image> Application::applicationIconImage() const {
    const auto& bundle = Bundle::main();
    const auto name = bundle.infoString("CFBundleIconFile");
    if (!name || name->empty()) return std::nullopt;
    const std::filesystem::path file(*name);
    const auto path = bundle.pathForResource(
        file.stem().string(), file.has_extension() ? file.extension().string().substr(1) : "png");
    return path ? Image::contentsOfFile(*path) : std::nullopt;
}

void Application::orderFrontStandardAboutPanelWithOptions(const PropertyDictionary& options) {
    assertMainThread();
    if (!aboutPanel_) {
        aboutPanel_ = std::make_unique<AboutPanel>(options);
        aboutPanel_->center();
    }
    aboutPanel_->makeKeyAndOrderFront(nullptr);
}

Window* Application::aboutPanel() const {
    return aboutPanel_.get();
}

void Application::closeOpenInterface() {
    assertMainThread();
    if (Menu* menu = Menu::trackingMenu()) menu->endTracking();
    if (DraggingSession* drag = DraggingSession::current()) drag->cancel();
    // Each close takes its popover off the list; one that closes another is
    // no harm, as the list is read afresh.
    for (auto left = Popover::shownPopovers().size(); left > 0; --left) {
        const auto shown = Popover::shownPopovers();
        if (shown.empty()) break;
        shown.back()->close();
    }
}

void Application::activate(bool /*ignoringOtherApps*/) {
    active_ = true;
    ++activationCount_;
}

void Application::deactivate() {
    assertMainThread();
    active_ = false;
    if (Window* key = Window::keyWindow()) key->resignKeyWindow();
}

void Application::postEvent(Event event, bool atStart) {
    if (atStart) {
        queue_.push_front(std::move(event));
    } else {
        queue_.push_back(std::move(event));
    }
    installEventSource();
    eventSource_->signal();
}

std::optional<Event> Application::nextEvent(EventTypeMask mask,
                                            std::optional<TimeInterval> /*untilDate*/,
                                            const std::string& /*mode*/, bool dequeue) {
    for (auto it = queue_.begin(); it != queue_.end(); ++it) {
        if (!it->matches(mask)) continue;
        Event event = *it;
        if (dequeue) queue_.erase(it);
        return event;
    }
    return std::nullopt;
}

namespace {

// A drag under way follows the pointer and takes the button's release;
// Escape cancels it. Returns whether the drag took the event.
bool drag(const Event& event) {
    DraggingSession* session = DraggingSession::current();
    if (!session) return false;
    switch (event.type) {
        case EventType::leftMouseDragged:
        case EventType::mouseMoved:
            session->moveTo(event.location);
            return true;
        case EventType::leftMouseUp:
            session->moveTo(event.location);
            if (DraggingSession::current() == session) session->drop();
            return true;
        case EventType::keyDown:
            if (event.keyCode != kVK_Escape) return false;
            session->cancel();
            return true;
        default:
            return false;
    }
}

// Events that carry the window under the pointer go to that window.
bool goesToItsWindow(EventType type) {
    switch (type) {
        case EventType::scrollWheel:
        case EventType::leftMouseDown:
        case EventType::leftMouseUp:
        case EventType::leftMouseDragged:
            return true;
        default:
            return false;
    }
}

}  // namespace

void Application::sendEvent(const Event& event) {
    if (drag(event)) return;
    auto delivered = EventMonitors::dispatchLocal(event);
    if (!delivered) return;
    // Held while it runs: an action may replace the main menu.
    const auto menu = mainMenu_;
    if (delivered->type == EventType::keyDown && menu && menu->performKeyEquivalent(*delivered)) {
        return;
    }
    if (delivered->window && goesToItsWindow(delivered->type)) {
        if (!takesPointerEvents(*delivered->window)) {
            if (delivered->type == EventType::leftMouseDown) Sound::beep();
            return;
        }
        delivered->window->sendEvent(*delivered);
        return;
    }
    delivered_.push_back(*delivered);
    if (delivered_.size() > deliveredEventsKept) delivered_.pop_front();
    // Keys go on to the key window's first responder.
    const bool isKey = delivered->type == EventType::keyDown || delivered->type == EventType::keyUp;
    if (Window* key = isKey ? Window::keyWindow() : nullptr) key->sendEvent(*delivered);
}

bool Application::takesPointerEvents(const Window& window) const {
    if (window.attachedSheet()) return false;
    const Window* modal = modalWindow();
    return !modal || &window == modal || window.sheetParent() == modal || window.worksWhenModal();
}

void Application::dispatchPendingEvents() {
    while (!queue_.empty()) {
        Event event = std::move(queue_.front());
        queue_.pop_front();
        sendEvent(event);
    }
}

bool Application::sendAction(const std::string& action, const ActionSender* sender) {
    assertMainThread();
    if (Window* key = Window::keyWindow(); key && key->sendAction(action, sender)) return true;
    auto* target = dynamic_cast<ActionTarget*>(delegate_);
    return target && target->performAction(action, sender);
}

ModalSession Application::beginModalSession(Window& window) {
    assertMainThread();
    const ModalSession session{++lastModalSession_};
    modalSessions_.push_back({session, &window});
    window.orderFront(nullptr);
    // A window whose sheet is up leaves the keys to the sheet.
    (window.attachedSheet() ? *window.attachedSheet() : window).makeKeyWindow();
    return session;
}

ModalResponse Application::runModalSession(ModalSession session) {
    assertMainThread();
    if (std::ranges::none_of(modalSessions_, [&](const auto& s) { return s.session == session; })) {
        UnifiedLog::write(LogType::Error, "Refused to run a modal session that is not open");
        return ModalResponse::abort;
    }
    dispatchPendingEvents();
    return std::exchange(stoppedWith_, std::nullopt).value_or(ModalResponse::continueSession);
}

void Application::stopModal() {
    stoppedWith_ = ModalResponse::stop;
}

void Application::abortModal() {
    stoppedWith_ = ModalResponse::abort;
}

void Application::endModalSession(ModalSession session) {
    assertMainThread();
    const auto removed =
        std::erase_if(modalSessions_, [&](const auto& open) { return open.session == session; });
    if (removed == 0) {
        UnifiedLog::write(LogType::Error, "Refused to end a modal session that is not open");
    }
}

Window* Application::modalWindow() const {
    return modalSessions_.empty() ? nullptr : modalSessions_.back().window;
}

void Application::windowWillBeDestroyed(const Window& window) {
    std::erase_if(modalSessions_, [&](const auto& open) { return open.window == &window; });
}

void Application::resetForTesting() {
    aboutPanel_.reset();
    modalSessions_.clear();
    stoppedWith_.reset();
    stopCode_.reset();
    delegate_ = nullptr;
    launched_ = false;
    reopenPending_ = false;
    policy_ = ActivationPolicy::Regular;
    active_ = false;
    terminating_ = false;
    activationCount_ = 0;
    mainMenu_.reset();
    queue_.clear();
    delivered_.clear();
}

}  // namespace zelvana::platform
