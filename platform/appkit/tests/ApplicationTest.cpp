#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::platform {
namespace {

struct RecordingDelegate : ApplicationDelegate {
    std::vector<std::string> calls;
    void applicationDidFinishLaunching() override {
        calls.push_back("didFinishLaunching");
        Application::shared().terminate(nullptr);
        calls.push_back("terminate returned");
    }
    void applicationWillTerminate() override { calls.push_back("willTerminate"); }
};

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    void TearDown() override { resetAll(); }
    static void resetAll() {
        Application::shared().resetForTesting();
        EventMonitors::resetForTesting();
        RunLoop::main().resetForTesting();
    }
};

Event key(std::string characters, EventType type = EventType::keyDown, ModifierFlags flags = {}) {
    return Event::keyEvent(type, 0, flags, characters, characters);
}

std::string charactersOf(const std::vector<Event>& events) {
    std::string text;
    for (const auto& event : events) text += event.characters;
    return text;
}

TEST_F(ApplicationTest, RunLaunchesThenTerminateEndsTheLoop) {
    RecordingDelegate delegate;
    Application& app = Application::shared();
    app.setDelegate(&delegate);
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"didFinishLaunching", "willTerminate",
                                                        "terminate returned"}));
    EXPECT_TRUE(app.isTerminating());
    app.terminate(nullptr);  // already terminating: nobody hears it twice
    EXPECT_EQ(delegate.calls.size(), 3u);
}

struct ReleasingDelegate : ApplicationDelegate {
    std::atomic<bool> released{false};
    void applicationWillTerminate() override { released = true; }
};

TEST_F(ApplicationTest, TerminateDrainsQueuedWorkOutsideTheLoop) {
    SerialQueue queue("test.drain");
    ReleasingDelegate delegate;
    Application::shared().setDelegate(&delegate);
    std::atomic<int> done{0};
    constexpr int kItems = 2000;
    // The queue is held up until termination begins, so its work is still
    // pending when terminate has to wait for it.
    queue.async([&] {
        while (!delegate.released) std::this_thread::yield();
    });
    for (int i = 0; i < kItems; ++i) queue.async([&] { done.fetch_add(1); });
    Application::shared().terminate(nullptr);
    EXPECT_EQ(done.load(), kItems);
}

TEST_F(ApplicationTest, ActivationCountsAndProcessInfoHoldsArguments) {
    Application& app = Application::shared();
    app.activate(true);
    app.activate(false);
    EXPECT_TRUE(app.isActive());
    EXPECT_EQ(app.activationCount(), 2);
    app.deactivate();
    EXPECT_FALSE(app.isActive());

    ProcessInfo& info = ProcessInfo::shared();
    EXPECT_FALSE(info.arguments().empty());  // read from the command line until set
    const auto saved = info.arguments();
    info.setArguments({"Zelvana", "--desktop", "d.json"});
    EXPECT_TRUE(info.hasArgument("--desktop"));
    EXPECT_FALSE(info.hasArgument("d"));
    info.setArguments(saved);
    EXPECT_EQ(info.processIdentifier(), static_cast<int>(::getpid()));
}

TEST_F(ApplicationTest, PendingEventsCanBeTakenOffAndPutBackInOrder) {
    Application& app = Application::shared();
    // In a mode without the application's event source the events stay queued.
    RunLoop::main().enterMode("Parked");
    app.postEvent(key("a"), false);
    app.postEvent(key("b", EventType::keyUp), false);
    app.postEvent(key("c", EventType::flagsChanged), false);
    app.postEvent(key("d"), true);
    EXPECT_EQ(charactersOf({app.pendingEvents().begin(), app.pendingEvents().end()}), "dabc");

    auto peeked = app.nextEvent(EventMask::keyUp, std::nullopt, kCFRunLoopDefaultMode, false);
    ASSERT_TRUE(peeked);
    EXPECT_EQ(peeked->characters, "b");
    EXPECT_EQ(app.pendingEvents().size(), 4u);
    EXPECT_FALSE(app.nextEvent(eventMaskFor(EventType::leftMouseDown), std::nullopt,
                               kCFRunLoopDefaultMode, true));

    // Take everything off, drop "a", put the rest back at the end.
    std::vector<Event> taken;
    while (auto event = app.nextEvent(EventMask::any, std::nullopt, kCFRunLoopDefaultMode, true)) {
        taken.push_back(*event);
    }
    EXPECT_EQ(charactersOf(taken), "dabc");
    for (const auto& event : taken) {
        if (event.characters != "a") app.postEvent(event, false);
    }
    EXPECT_EQ(charactersOf({app.pendingEvents().begin(), app.pendingEvents().end()}), "dbc");
    RunLoop::main().exitMode();

    // Back in the default mode, the next event wakes the loop and all are sent.
    app.postEvent(key("e"), false);
    EXPECT_TRUE(app.pendingEvents().empty());
    EXPECT_EQ(charactersOf({app.deliveredEvents().begin(), app.deliveredEvents().end()}), "dbce");
}

TEST_F(ApplicationTest, SentEventsPassLocalMonitorsThenTheMainMenuBeforeTheKeyWindow) {
    Application& app = Application::shared();
    auto menu = std::make_shared<Menu>();
    auto quit = menu->addItem("Quit", "terminate:", "q");
    app.setMainMenu(menu);
    auto monitor = Event::addLocalMonitor(EventMask::keyDown, [](const Event& event) {
        std::optional<Event> result;
        if (event.characters == "x") return result;  // swallowed
        result = event;
        if (event.characters == "y") result->characters = "z";
        return result;
    });

    app.sendEvent(key("q", EventType::keyDown, Event::command));
    app.sendEvent(key("q", EventType::keyUp, Event::command));
    app.sendEvent(key("x"));
    app.sendEvent(key("y"));
    EXPECT_EQ(quit->performCount(), 1);
    EXPECT_EQ(charactersOf({app.deliveredEvents().begin(), app.deliveredEvents().end()}), "qz");
    EXPECT_EQ(app.deliveredEvents().front().type, EventType::keyUp);
}

TEST_F(ApplicationTest, TheRecordOfDeliveredEventsStaysBoundedOverALongRun) {
    Application& app = Application::shared();
    for (int i = 0; i < 100000; ++i) app.sendEvent(key(i == 99999 ? "z" : "a"));
    EXPECT_LE(app.deliveredEvents().size(), 1000u);
    ASSERT_FALSE(app.deliveredEvents().empty());
    EXPECT_EQ(app.deliveredEvents().back().characters, "z");
}

}  // namespace
}  // namespace zelvana::platform
