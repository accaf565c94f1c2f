#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/EventMonitors.hpp"

namespace zelvana::platform {
namespace {

class EventMonitorsTest : public ::testing::Test {
protected:
    void SetUp() override { EventMonitors::resetForTesting(); }
    void TearDown() override { EventMonitors::resetForTesting(); }

    std::vector<std::string> calls;
};

Event key(std::string characters, EventType type = EventType::keyDown) {
    return Event::keyEvent(type, 0, 0, characters, characters);
}

TEST_F(EventMonitorsTest, LocalMonitorsPassOnReplaceOrSwallowMatchingEventsInTheOrderAdded) {
    auto replacing = Event::addLocalMonitor(kEventMaskKeyDown, [&](const Event& event) {
        calls.push_back("replace " + event.characters);
        std::optional<Event> replaced = event;
        replaced->characters = "B";
        return replaced;
    });
    auto watching = Event::addLocalMonitor(kEventMaskKeyDown | kEventMaskKeyUp,
                                           [&](const Event& event) -> std::optional<Event> {
                                               calls.push_back("watch " + event.characters);
                                               return event;
                                           });
    auto swallowing = Event::addLocalMonitor(kEventMaskKeyUp, [&](const Event&) {
        calls.push_back("swallow");
        return std::optional<Event>();
    });
    auto global =
        Event::addGlobalMonitor(kEventMaskAny, [&](const Event&) { calls.push_back("global"); });

    auto down = EventMonitors::dispatchLocal(key("a"));
    ASSERT_TRUE(down);
    EXPECT_EQ(down->characters, "B");
    EXPECT_FALSE(EventMonitors::dispatchLocal(key("u", EventType::keyUp)));
    auto flags = EventMonitors::dispatchLocal(key("f", EventType::flagsChanged));
    ASSERT_TRUE(flags);
    EXPECT_EQ(flags->characters, "f");
    EXPECT_EQ(calls, (std::vector<std::string>{"replace a", "watch B", "watch u", "swallow"}));

    calls.clear();
    EventMonitors::dispatchGlobal(key("g"));
    EXPECT_EQ(calls, (std::vector<std::string>{"global"}));
}

TEST_F(EventMonitorsTest, MonitorsRemovedInsideACallbackAreNotCalledAgain) {
    Subscription first, global;
    auto second = std::make_unique<Subscription>();
    first = Event::addLocalMonitor(kEventMaskKeyDown, [&](const Event& event) {
        calls.push_back("first");
        first.cancel();
        second.reset();  // frees the other monitor's token mid-dispatch
        return std::optional<Event>(event);
    });
    *second = Event::addLocalMonitor(kEventMaskKeyDown, [&](const Event& event) {
        calls.push_back("second");
        return std::optional<Event>(event);
    });
    global = Event::addGlobalMonitor(kEventMaskKeyDown, [&](const Event&) {
        calls.push_back("global");
        global.cancel();
    });

    EXPECT_TRUE(EventMonitors::dispatchLocal(key("a")));
    EXPECT_TRUE(EventMonitors::dispatchLocal(key("b")));
    EventMonitors::dispatchGlobal(key("c"));
    EventMonitors::dispatchGlobal(key("d"));
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "global"}));
    EXPECT_EQ(EventMonitors::installedCount(), 0u);
}

TEST_F(EventMonitorsTest, ARefusingSystemGivesAnInactiveToken) {
    EventMonitors::setRefusesMonitorsForTesting(true);
    EXPECT_FALSE(Event::addLocalMonitor(kEventMaskAny, [](const Event& e) {
                     return std::optional(e);
                 }).isActive());
    EXPECT_FALSE(Event::addGlobalMonitor(kEventMaskAny, [](const Event&) {}).isActive());
    EXPECT_EQ(EventMonitors::installedCount(), 0u);
    EventMonitors::setRefusesMonitorsForTesting(false);
    auto monitor = Event::addGlobalMonitor(kEventMaskAny, [](const Event&) {});
    EXPECT_TRUE(monitor.isActive());
    EXPECT_EQ(EventMonitors::installedCount(), 1u);
    monitor = {};
    EXPECT_EQ(EventMonitors::installedCount(), 0u);
}

TEST(EventTest, MasksAndModifierFlagsUseTheSystemsNumbers) {
    EXPECT_EQ(kEventMaskKeyDown | kEventMaskKeyUp, 3072u);
    EXPECT_EQ(eventMaskFor(EventType::flagsChanged), 4096u);
    Event event =
        Event::keyEvent(EventType::keyUp, 12, Event::command | Event::capsLock | 0x8, "q", "q");
    EXPECT_TRUE(event.matches(kEventMaskKeyUp));
    EXPECT_FALSE(event.matches(kEventMaskKeyDown));
    EXPECT_EQ(event.deviceIndependentModifierFlags(), 0x110000u);
    EXPECT_TRUE(event.has(Event::capsLock));
    EXPECT_EQ(event.eventRef(), nullptr);
}

}  // namespace
}  // namespace zelvana::platform
