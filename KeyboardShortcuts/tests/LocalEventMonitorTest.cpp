#include "KeyboardShortcuts/LocalEventMonitor.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "KeyboardShortcuts/RunLoopLocalEventMonitor.hpp"
#include "KeyboardShortcuts/tests/ShortcutsTestSupport.hpp"

namespace zelvana::keyboardshortcuts::test {
namespace {

using platform::Event;
using platform::EventType;

Event key(EventType type, std::uint16_t keyCode) {
    return Event::keyEvent(type, keyCode, {}, "", "");
}

class LocalEventMonitorTest : public ShortcutsTest {
protected:
    static platform::Application& application() { return platform::Application::shared(); }
};

TEST_F(LocalEventMonitorTest, AMonitorSwallowsOrReplacesUntilItIsDestroyed) {
    auto monitor = std::make_unique<LocalEventMonitor>(
        platform::EventMask::keyDown, [](const Event& event) -> std::optional<Event> {
            if (event.keyCode == 1) return std::nullopt;
            auto replaced = event;
            replaced.keyCode = 99;
            return replaced;
        });
    EXPECT_FALSE(monitor->isInstalled());
    EXPECT_TRUE(monitor->start().isInstalled());
    monitor->start();
    EXPECT_EQ(platform::EventMonitors::installedCount(), 1u);

    application().sendEvent(key(EventType::keyDown, 1));
    application().sendEvent(key(EventType::keyDown, 2));
    application().sendEvent(key(EventType::keyUp, 1));
    ASSERT_EQ(application().deliveredEvents().size(), 2u);
    EXPECT_EQ(application().deliveredEvents()[0].keyCode, 99);
    EXPECT_EQ(application().deliveredEvents()[1].type, EventType::keyUp);

    monitor.reset();
    EXPECT_EQ(platform::EventMonitors::installedCount(), 0u);
    application().sendEvent(key(EventType::keyDown, 1));
    EXPECT_EQ(application().deliveredEvents().size(), 3u);

    // A monitor the system refused.
    platform::EventMonitors::setRefusesMonitorsForTesting(true);
    LocalEventMonitor refused(platform::EventMask::keyDown, [](const Event& e) { return e; });
    EXPECT_FALSE(refused.start().isInstalled());
}

TEST_F(LocalEventMonitorTest, AnOwnerMayDropTheMonitorFromInsideItsCallback) {
    std::unique_ptr<LocalEventMonitor> monitor;
    std::string seen;
    const std::string label(64, 'k');  // on the heap, so a freed copy shows under ASan
    monitor = std::make_unique<LocalEventMonitor>(
        platform::EventMask::keyDown, [&monitor, &seen, label](const Event& event) {
            monitor.reset();
            seen = label;  // the callback is still running after its owner let go
            return std::optional<Event>(event);
        });
    monitor->start();

    application().sendEvent(key(EventType::keyDown, 4));
    application().sendEvent(key(EventType::keyDown, 5));

    EXPECT_EQ(seen, label);
    EXPECT_EQ(application().deliveredEvents().size(), 2u);
    EXPECT_EQ(platform::EventMonitors::installedCount(), 0u);
}

TEST_F(LocalEventMonitorTest, ADrainPostsTheKeptEventsBackInOrder) {
    const platform::RunLoopMode mode = "ShortcutsTestMode";
    std::vector<std::uint16_t> seen;
    auto monitor = std::make_unique<RunLoopLocalEventMonitor>(
        platform::EventMask::keyDown, mode, [&](const Event& event) -> std::optional<Event> {
            seen.push_back(event.keyCode);
            if (event.keyCode == 2) return std::nullopt;
            return event;
        });
    // Posts from inside the turn, so the three events are pending together.
    bool posted = false;
    auto poster = platform::RunLoopObserver::create(
        platform::RunLoopActivity::beforeSources, true, -1, [&](auto&, auto) {
            if (std::exchange(posted, true)) return;
            application().postEvent(key(EventType::keyUp, 1), false);
            application().postEvent(key(EventType::keyDown, 2), false);
            application().postEvent(key(EventType::keyDown, 3), false);
        });
    auto& loop = platform::RunLoop::main();
    const auto posting = loop.addObserver(poster, mode);
    loop.enterMode(mode);
    monitor->start();
    EXPECT_TRUE(monitor->isStarted());
    loop.turn();

    EXPECT_EQ(seen, (std::vector<std::uint16_t>{2, 3}));
    std::vector<std::uint16_t> pending;
    for (const auto& event : application().pendingEvents()) pending.push_back(event.keyCode);
    EXPECT_EQ(pending, (std::vector<std::uint16_t>{1, 3}));

    // Destroying stops the drain.
    monitor.reset();
    posted = false;
    loop.turn();
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(application().pendingEvents().size(), 5u);
    loop.exitMode();
}

}  // namespace
}  // namespace zelvana::keyboardshortcuts::test
