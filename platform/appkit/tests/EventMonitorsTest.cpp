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
    return Event::keyEvent(type, 0, {}, characters, characters);
}

TEST_F(EventMonitorsTest, LocalMonitorsPassOnReplaceOrSwallowMatchingEventsInTheOrderAdded) {
    auto replacing = Event::addLocalMonitor(EventMask::keyDown, [&](const Event& event) {
        calls.push_back("replace " + event.characters);
        std::optional<Event> replaced = event;
        replaced->characters = "B";
        return replaced;
    });
    auto watching = Event::addLocalMonitor(EventMask::keyDown | EventMask::keyUp,
                                           [&](const Event& event) -> std::optional<Event> {
                                               calls.push_back("watch " + event.characters);
                                               return event;
                                           });
    auto swallowing = Event::addLocalMonitor(EventMask::keyUp, [&](const Event&) {
        calls.push_back("swallow");
        return std::optional<Event>();
    });
    auto global =
        Event::addGlobalMonitor(EventMask::any, [&](const Event&) { calls.push_back("global"); });

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
    first = Event::addLocalMonitor(EventMask::keyDown, [&](const Event& event) {
        calls.push_back("first");
        first.cancel();
        second.reset();  // frees the other monitor's token mid-dispatch
        return std::optional<Event>(event);
    });
    *second = Event::addLocalMonitor(EventMask::keyDown, [&](const Event& event) {
        calls.push_back("second");
        return std::optional<Event>(event);
    });
    global = Event::addGlobalMonitor(EventMask::keyDown, [&](const Event&) {
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
    EXPECT_FALSE(Event::addLocalMonitor(EventMask::any, [](const Event& e) {
                     return std::optional(e);
                 }).isActive());
    EXPECT_FALSE(Event::addGlobalMonitor(EventMask::any, [](const Event&) {}).isActive());
    EXPECT_EQ(EventMonitors::installedCount(), 0u);
    EventMonitors::setRefusesMonitorsForTesting(false);
    auto monitor = Event::addGlobalMonitor(EventMask::any, [](const Event&) {});
    EXPECT_TRUE(monitor.isActive());
    EXPECT_EQ(EventMonitors::installedCount(), 1u);
    monitor = {};
    EXPECT_EQ(EventMonitors::installedCount(), 0u);
}

TEST(EventTest, MasksAndModifierFlagsUseTheSystemsNumbers) {
    EXPECT_EQ((EventMask::keyDown | EventMask::keyUp).rawValue(), 3072u);
    EXPECT_EQ(eventMaskFor(EventType::flagsChanged).rawValue(), 4096u);
    EXPECT_EQ((EventMask::gesture | EventMask::mouseMoved).rawValue(), (1u << 29) | 32u);
    EXPECT_EQ(ModifierFlags(Event::function).rawValue(), 0x800000u);
    Event event = Event::keyEvent(EventType::keyUp, 12,
                                  ModifierFlags::fromRaw(0x100000 | 0x10000 | 0x8), "q", "q");
    EXPECT_TRUE(event.matches(EventMask::keyUp));
    EXPECT_FALSE(event.matches(EventMask::keyDown));
    EXPECT_EQ(event.deviceIndependentModifierFlags(), Event::command | Event::capsLock);
    EXPECT_TRUE(event.has(Event::capsLock));
    EXPECT_EQ(event.eventRef(), nullptr);
}

}  // namespace
}  // namespace zelvana::platform
