#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/EventMonitor.hpp"

namespace zelvana::platform {
namespace {

class EventMonitorTest : public ::testing::Test {
protected:
    void SetUp() override { EventMonitor::resetForTesting(); }
    void TearDown() override { EventMonitor::resetForTesting(); }

    std::vector<std::string> calls;
};

Event key(std::string characters, EventType type = EventType::keyDown) {
    return Event::keyEvent(type, 0, 0, characters, characters);
}

TEST_F(EventMonitorTest, LocalMonitorsPassOnReplaceOrSwallowMatchingEventsInTheOrderAdded) {
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
    Event::addGlobalMonitor(kEventMaskAny, [&](const Event&) { calls.push_back("global"); });

    auto down = EventMonitor::dispatchLocal(key("a"));
    ASSERT_TRUE(down);
    EXPECT_EQ(down->characters, "B");
    EXPECT_FALSE(EventMonitor::dispatchLocal(key("u", EventType::keyUp)));
    auto flags = EventMonitor::dispatchLocal(key("f", EventType::flagsChanged));
    ASSERT_TRUE(flags);
    EXPECT_EQ(flags->characters, "f");
    EXPECT_EQ(calls, (std::vector<std::string>{"replace a", "watch B", "watch u", "swallow"}));

    calls.clear();
    EventMonitor::dispatchGlobal(key("g"));
    EXPECT_EQ(calls, (std::vector<std::string>{"global"}));
}

TEST_F(EventMonitorTest, MonitorsRemovedInsideACallbackAreNotCalledAgain) {
    std::shared_ptr<EventMonitor> second;
    std::shared_ptr<EventMonitor> first;
    first = Event::addLocalMonitor(kEventMaskKeyDown, [&](const Event& event) {
        calls.push_back("first");
        Event::removeMonitor(first);
        Event::removeMonitor(second);
        return std::optional<Event>(event);
    });
    second = Event::addLocalMonitor(kEventMaskKeyDown, [&](const Event& event) {
        calls.push_back("second");
        return std::optional<Event>(event);
    });
    std::shared_ptr<EventMonitor> global;
    global = Event::addGlobalMonitor(kEventMaskKeyDown, [&](const Event&) {
        calls.push_back("global");
        Event::removeMonitor(global);
    });
    std::weak_ptr<EventMonitor> weakFirst = first;

    EXPECT_TRUE(EventMonitor::dispatchLocal(key("a")));
    EXPECT_TRUE(EventMonitor::dispatchLocal(key("b")));
    EventMonitor::dispatchGlobal(key("c"));
    EventMonitor::dispatchGlobal(key("d"));
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "global"}));
    EXPECT_TRUE(EventMonitor::installed().empty());

    // The system let go of the token, so a weak holder finds it gone.
    first.reset();
    EXPECT_TRUE(weakFirst.expired());
    Event::removeMonitor(second);  // already removed: nothing happens
}

TEST_F(EventMonitorTest, ARefusingSystemGivesNoMonitor) {
    EventMonitor::setRefusesMonitorsForTesting(true);
    EXPECT_EQ(
        Event::addLocalMonitor(kEventMaskAny, [](const Event& e) { return std::optional(e); }),
        nullptr);
    EXPECT_EQ(Event::addGlobalMonitor(kEventMaskAny, [](const Event&) {}), nullptr);
    EXPECT_TRUE(EventMonitor::installed().empty());
    EventMonitor::setRefusesMonitorsForTesting(false);
    auto monitor = Event::addGlobalMonitor(kEventMaskAny, [](const Event&) {});
    ASSERT_NE(monitor, nullptr);
    EXPECT_TRUE(monitor->isInstalled());
    EXPECT_EQ(monitor->scope(), EventMonitor::Scope::global);
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
