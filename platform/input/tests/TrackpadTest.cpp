#include "platform/simulator/Trackpad.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/simulator/PermissionSwitches.hpp"

namespace zelvana::platform {
namespace {

class TrackpadTest : public ::testing::Test {
protected:
    TrackpadTest() { resetAll(); }
    ~TrackpadTest() override { resetAll(); }
    static void resetAll() {
        Trackpad::shared().resetForTesting();
        EventTap::resetForTesting();
        PermissionSwitches::resetForTesting();
        RunLoop::main().resetForTesting();
    }

    static std::vector<TouchPhase> phases(const Event& event) {
        std::vector<TouchPhase> result;
        for (const auto& touch : event.allTouches()) result.push_back(touch.phase);
        return result;
    }

    Trackpad& pad = Trackpad::shared();
    VirtualClock clock;
};

TEST_F(TrackpadTest, FramesCarryEveryFingerWithItsPhaseAndForgetLiftedOnes) {
    pad.setDeviceSize({500, 320});
    pad.touchDown(7, {0.2, 0.3});
    pad.touchDown(9, {0.6, 0.3});
    clock.advance(250);
    Event first = pad.nextFrame();
    EXPECT_EQ(first.type, EventType::gesture);
    EXPECT_EQ(first.timestamp, 0.25);
    EXPECT_EQ(phases(first), (std::vector<TouchPhase>{touchPhaseBegan, touchPhaseBegan}));
    EXPECT_EQ(first.allTouches()[0], (Touch{7, touchPhaseBegan, {0.2, 0.3}, {500, 320}, false}));

    pad.move(9, {0.7, 0.4});
    Event second = pad.nextFrame();
    EXPECT_EQ(phases(second), (std::vector<TouchPhase>{touchPhaseStationary, touchPhaseMoved}));
    EXPECT_EQ(second.allTouches()[1].normalizedPosition, (Point{0.7, 0.4}));

    pad.lift(7);
    pad.cancel(9);
    pad.touchDown(3, {0.5, 0.5});
    pad.move(3, {0.55, 0.5});  // still "began" within its first frame
    EXPECT_EQ(phases(pad.nextFrame()),
              (std::vector<TouchPhase>{touchPhaseBegan, touchPhaseEnded, touchPhaseCancelled}));
    EXPECT_EQ(pad.fingerCount(), 1u);
    EXPECT_EQ(pad.position(3), (Point{0.55, 0.5}));
    pad.move(7, {0.1, 0.1});  // gone: ignored
    EXPECT_EQ(phases(pad.nextFrame()), std::vector<TouchPhase>{touchPhaseStationary});
}

TEST_F(TrackpadTest, ListenOnlyTapsSeeSentFrames) {
    std::vector<std::size_t> seen;
    auto tap = EventTap::create(EventTapLocation::session, EventTapPlacement::headInsert,
                                EventTapOptions::listenOnly, EventMask::gesture,
                                [&](EventTapProxy, CGEventType type, const Event& event) {
                                    if (type == 29) seen.push_back(event.allTouches().size());
                                    return std::optional<Event>();
                                });
    ASSERT_TRUE(tap);
    RunLoop::main().addSource(tap->runLoopSource(), kCFRunLoopCommonModes);
    pad.touchDown(1, {0.5, 0.5});
    pad.touchDown(2, {0.6, 0.5});
    EXPECT_TRUE(pad.sendFrame());  // a listen-only tap cannot swallow
    pad.liftAll();
    pad.sendFrame();
    pad.sendFrame();  // no fingers left: an empty frame
    EXPECT_EQ(seen, (std::vector<std::size_t>{2, 2, 0}));
}

}  // namespace
}  // namespace zelvana::platform
