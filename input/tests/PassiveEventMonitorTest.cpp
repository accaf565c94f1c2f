#include "input/EventMonitor/PassiveEventMonitor.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input/EventMonitor/GlobalEventMonitor.hpp"
#include "input/EventMonitor/LocalEventMonitor.hpp"
#include "input/tests/InputTestSupport.hpp"

namespace zelvana::input::test {
namespace {

using eventmonitor::GlobalEventMonitor;
using eventmonitor::LocalEventMonitor;
using eventmonitor::PassiveEventMonitor;
using platform::Event;

class PassiveEventMonitorTest : public InputTest {
protected:
    std::vector<std::string> seen;
    PassiveEventMonitor::Handler recorder(const std::string& name) {
        return [this, name](const std::optional<Event>& event) {
            seen.push_back(name + " " + std::to_string(event ? event->keyCode : -1));
        };
    }
};

TEST_F(PassiveEventMonitorTest, APairSeesEventsOfEveryApplicationAndStartsOnlyWhatIsMissing) {
    PassiveEventMonitor monitor(platform::EventMask::keyDown, recorder("pair"));
    EXPECT_FALSE(monitor.isRunning());
    monitor.start();
    monitor.start();
    EXPECT_TRUE(monitor.isRunning());
    EXPECT_EQ(installedMonitors(), 2u);

    keyboard().press(1);  // another application is frontmost
    platform::Application::shared().activate(true);
    keyboard().press(2);  // ours: the local monitor sees it and lets it through
    clock.runPending();
    EXPECT_EQ(seen, (std::vector<std::string>{"pair 1", "pair 2"}));
    ASSERT_EQ(platform::Application::shared().deliveredEvents().size(), 2u);

    monitor.stop();
    monitor.stop();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_EQ(installedMonitors(), 0u);
    monitor.start();
    EXPECT_EQ(installedMonitors(), 2u);
}

TEST_F(PassiveEventMonitorTest, ARefusedMonitorIsAskedForAgainWithoutDoublingTheOther) {
    platform::EventMonitors::setRefusesMonitorsForTesting(true);
    PassiveEventMonitor monitor(platform::EventMask::flagsChanged, recorder("trigger"));
    monitor.start();
    EXPECT_FALSE(monitor.isRunning());
    platform::EventMonitors::setRefusesMonitorsForTesting(false);
    monitor.start();
    monitor.start();
    EXPECT_TRUE(monitor.isRunning());
    EXPECT_EQ(installedMonitors(), 2u);
    keyboard().flagsChanged(kShift, 56);
    EXPECT_EQ(seen, std::vector<std::string>{"trigger 56"});
}

TEST_F(PassiveEventMonitorTest, MonitorsMayBeDestroyedFromTheirOwnHandlerAndRemoveTheirs) {
    std::unique_ptr<PassiveEventMonitor> pair;
    pair = std::make_unique<PassiveEventMonitor>(platform::EventMask::keyDown,
                                                 [&](const std::optional<Event>&) {
                                                     seen.push_back("pair");
                                                     pair.reset();
                                                 });
    pair->start();
    std::unique_ptr<GlobalEventMonitor> global;
    global = std::make_unique<GlobalEventMonitor>(platform::EventMask::keyDown, [&](const Event&) {
        seen.push_back("global");
        global.reset();
    });
    global->start();
    keyboard().press(1);
    keyboard().press(2);
    EXPECT_EQ(seen, (std::vector<std::string>{"pair", "global"}));
    EXPECT_EQ(installedMonitors(), 0u);
}

TEST_F(PassiveEventMonitorTest, SingleMonitorsStartOnceAndALocalOneMaySwallow) {
    GlobalEventMonitor global(platform::EventMask::keyDown,
                              [&](const Event& e) { seen.push_back("global " + e.characters); });
    LocalEventMonitor local(platform::EventMask::keyDown,
                            [&](const Event& e) -> std::optional<Event> {
                                seen.push_back("local " + e.characters);
                                if (e.keyCode == 0) return std::nullopt;
                                return e;
                            });
    global.start();
    global.start();
    local.start();
    local.start();
    EXPECT_TRUE(global.isRunning());
    EXPECT_TRUE(local.isInstalled());
    EXPECT_EQ(installedMonitors(), 2u);

    keyboard().press(0);
    platform::Application::shared().activate(true);
    keyboard().press(0);
    keyboard().press(1);
    clock.runPending();
    EXPECT_EQ(seen, (std::vector<std::string>{"global a", "local a", "local s"}));
    ASSERT_EQ(platform::Application::shared().deliveredEvents().size(), 3u);  // s down, both ups

    {
        GlobalEventMonitor doomed(platform::EventMask::any, [](const Event&) {});
        doomed.start();
        EXPECT_EQ(installedMonitors(), 3u);
    }
    EXPECT_EQ(installedMonitors(), 2u);
    local.stop();
    local.stop();
    EXPECT_EQ(installedMonitors(), 1u);
    EXPECT_TRUE(local.start().isInstalled());
}

}  // namespace
}  // namespace zelvana::input::test
