#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/PopoverWindow.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::platform {
namespace {

struct RecordingDelegate : PopoverDelegate {
    std::vector<std::string> calls;
    void popoverWillClose(Popover& popover) override {
        calls.push_back(popover.isShown() ? "will (shown)" : "will");
    }
    void popoverDidClose(Popover&) override { calls.push_back("did"); }
};

class PopoverTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application::shared().resetForTesting();
        EventMonitors::resetForTesting();
        anchorWindow.setContentView(root);
        root->addSubview(anchor);
        anchorWindow.makeKeyAndOrderFront(nullptr);
        auto content = std::make_shared<ViewController>();
        content->setView(std::make_shared<View>(Rect::make(0, 0, 80, 40)));
        content->view()->addSubview(field);
        popover->setContentViewController(content);
        popover->setDelegate(&delegate);
    }
    void TearDown() override { EventMonitors::resetForTesting(); }

    void clickIn(Window* window) {
        Application::shared().sendEvent(
            Event::mouseEvent(EventType::leftMouseDown, {1, 1}, window));
    }

    Window anchorWindow{Rect::make(100, 100, 400, 300), Window::Style::borderless,
                        Window::BackingStore::buffered, false};
    std::shared_ptr<View> root = std::make_shared<View>(Rect::make(0, 0, 400, 300));
    std::shared_ptr<View> anchor = std::make_shared<View>(Rect::make(50, 20, 30, 10));
    std::shared_ptr<TextField> field = std::make_shared<TextField>("name");
    std::shared_ptr<Popover> popover = std::make_shared<Popover>();
    RecordingDelegate delegate;
};

TEST_F(PopoverTest, ShowsBesideTheAnchorAtThePreferredEdgeAndTakesKeys) {
    popover->show(Rect{}, *anchor, RectEdge::maxX);  // empty: the anchor's bounds
    ASSERT_TRUE(popover->isShown());
    Window* window = popover->window();
    // The anchor on screen: x 150...180, y (bottom-left) 100 + 300 - 30 = 370...380.
    // The content lies beside it, past the arrow that the frame holds too.
    EXPECT_EQ(window->contentRectForFrameRect(window->frame()),
              Rect::make(180 + 13, 375 - 20, 80, 40));
    EXPECT_EQ(window->frame(), Rect::make(180, 375 - 20, 13 + 80, 40));
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(window->firstResponder(), field.get());

    popover->show(Rect::make(0, 0, 10, 10), *anchor, RectEdge::maxY);  // below, centred
    EXPECT_EQ(window->contentRectForFrameRect(window->frame()),
              Rect::make(155 - 40, 370 - 13 - 40, 80, 40));
    View loose;
    popover->close();
    popover->show(Rect{}, loose, RectEdge::maxX);  // outside any window: nothing
    EXPECT_FALSE(popover->isShown());
}

TEST_F(PopoverTest, ClosingTellsTheDelegateOnceAndGivesKeyBack) {
    popover->show(Rect{}, *anchor, RectEdge::maxX);
    EXPECT_FALSE(anchorWindow.isKeyWindow());
    popover->close();
    popover->close();
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"will", "did"}));
    EXPECT_TRUE(anchorWindow.isKeyWindow());
    EXPECT_EQ(popover->window(), nullptr);
}

TEST_F(PopoverTest, BehaviourDecidesWhichOutsideClicksClose) {
    Window other(Rect::make(0, 0, 10, 10));
    popover->show(Rect{}, *anchor, RectEdge::maxX);
    clickIn(popover->window());
    clickIn(&other);  // application-defined: only close() closes it
    EXPECT_TRUE(popover->isShown());
    popover->close();

    popover->setBehavior(Popover::Behavior::semitransient);
    popover->show(Rect{}, *anchor, RectEdge::maxX);
    clickIn(&other);
    EXPECT_TRUE(popover->isShown());
    clickIn(&anchorWindow);
    EXPECT_FALSE(popover->isShown());

    popover->setBehavior(Popover::Behavior::transient);
    popover->show(Rect{}, *anchor, RectEdge::maxX);
    clickIn(popover->window());
    EXPECT_TRUE(popover->isShown());
    clickIn(&other);
    EXPECT_FALSE(popover->isShown());
    popover->show(Rect{}, *anchor, RectEdge::maxX);
    EventMonitors::dispatchGlobal(Event::mouseEvent(EventType::leftMouseDown, {1, 1}, nullptr));
    EXPECT_FALSE(popover->isShown()) << "a click in another application, or the menu bar";
    EXPECT_EQ(EventMonitors::installedCount(), 0u);
}

TEST_F(PopoverTest, EscapeThatNothingInItTakesClosesAllButAnApplicationDefinedOne) {
    const Event escape = Event::keyEvent(EventType::keyDown, 53, {}, "\x1b", "\x1b");
    for (const auto behavior : {Popover::Behavior::applicationDefined,
                                Popover::Behavior::semitransient, Popover::Behavior::transient}) {
        popover->setBehavior(behavior);
        popover->show(Rect{}, *anchor, RectEdge::maxX);
        ASSERT_EQ(popover->window()->firstResponder(), field.get());
        popover->window()->sendEvent(escape);  // the field passes it on
        EXPECT_EQ(popover->isShown(), behavior == Popover::Behavior::applicationDefined);
        popover->close();
    }
}

TEST_F(PopoverTest, AShownPopoverKeepsItselfAliveUntilItCloses) {
    popover->setBehavior(Popover::Behavior::transient);
    popover->show(Rect{}, *anchor, RectEdge::maxX);
    std::weak_ptr<Popover> weak = popover;
    popover.reset();
    ASSERT_FALSE(weak.expired());
    clickIn(&anchorWindow);
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"will", "did"}));
}

// Beside an anchor near each edge of display 1, a 300 x 200 popover shows on
// the preferred edge when there is room, else on the opposite one, else on
// the preferred one slid to stay within the screen; along the edge it slides
// to stay on screen too.
struct Placement {
    const char* name;
    Rect anchor;  // in the host's content, y down; the host fills display 1 below its menu bar
    RectEdge preferred;
    RectEdge shown;
    Point origin;  // of the popover's frame, arrow included, y up
};

void PrintTo(const Placement& placement, std::ostream* out) {
    *out << placement.name;
}

class PopoverPlacementTest : public testing::TwoDisplayTest,
                             public ::testing::WithParamInterface<Placement> {
protected:
    PopoverPlacementTest() {
        Application::shared().resetForTesting();
        host.setContentView(root);
        host.orderFront(nullptr);
        auto content = std::make_shared<ViewController>();
        content->setView(std::make_shared<View>(Rect::make(0, 0, 300, 200)));
        popover->setContentViewController(content);
    }
    ~PopoverPlacementTest() override {
        popover->close();
        EventMonitors::resetForTesting();
    }

    Window host{Rect::make(0, 0, 1920, 1056), Window::Style::borderless,
                Window::BackingStore::buffered, false};
    std::shared_ptr<View> root = std::make_shared<View>(Rect::make(0, 0, 1920, 1056));
    std::shared_ptr<Popover> popover = std::make_shared<Popover>();
};

TEST_P(PopoverPlacementTest, StaysOnTheScreenBesideTheAnchorAndPointsAtIt) {
    const Placement& c = GetParam();
    auto anchor = std::make_shared<View>(c.anchor);
    root->addSubview(anchor);
    popover->show(Rect{}, *anchor, c.preferred);
    auto* window = dynamic_cast<PopoverWindow*>(popover->window());
    ASSERT_NE(window, nullptr);
    const bool horizontal = c.shown == RectEdge::minY || c.shown == RectEdge::maxY;
    const Size size =
        horizontal ? Size{300, 200 + Popover::arrowLength} : Size{300 + Popover::arrowLength, 200};
    const Rect frame = window->frame();
    EXPECT_EQ(window->edge(), c.shown) << "shown on edge " << static_cast<int>(window->edge());
    EXPECT_EQ(frame, (Rect{c.origin, size})) << "at " << frame.minX() << ", " << frame.minY();
    const Rect a = host.convertRectToScreen(c.anchor);
    EXPECT_DOUBLE_EQ(window->arrowPosition(), horizontal
                                                  ? a.minX() + a.width() / 2 - frame.minX()
                                                  : frame.maxY() - (a.minY() + a.height() / 2));
}

constexpr RectEdge above = RectEdge::minY, below = RectEdge::maxY, left = RectEdge::minX,
                   right = RectEdge::maxX;
const Rect nearTop = Rect::make(900, 20, 40, 20);       // on screen 900...940 by 1016...1036
const Rect nearBottom = Rect::make(900, 1016, 40, 20);  // 900...940 by 20...40
const Rect nearLeft = Rect::make(20, 500, 40, 20);      // 20...60 by 536...556
const Rect nearRight = Rect::make(1860, 500, 40, 20);   // 1860...1900 by 536...556
const Rect tall = Rect::make(900, 100, 40, 900);        // 56...956 high
const Rect wide = Rect::make(100, 500, 1720, 20);       // 100...1820 wide

INSTANTIATE_TEST_SUITE_P(
    ScreenEdges, PopoverPlacementTest,
    ::testing::Values(Placement{"TopAboveFlipsBelow", nearTop, above, below, {770, 803}},
                      Placement{"TopBelow", nearTop, below, below, {770, 803}},
                      Placement{"TopRightSlidDown", nearTop, right, right, {940, 856}},
                      Placement{"TopLeftSlidDown", nearTop, left, left, {587, 856}},
                      Placement{"BottomBelowFlipsAbove", nearBottom, below, above, {770, 40}},
                      Placement{"BottomAbove", nearBottom, above, above, {770, 40}},
                      Placement{"BottomRightSlidUp", nearBottom, right, right, {940, 0}},
                      Placement{"BottomLeftSlidUp", nearBottom, left, left, {587, 0}},
                      Placement{"LeftLeftFlipsRight", nearLeft, left, right, {60, 446}},
                      Placement{"LeftRight", nearLeft, right, right, {60, 446}},
                      Placement{"LeftAboveSlidRight", nearLeft, above, above, {0, 556}},
                      Placement{"LeftBelowSlidRight", nearLeft, below, below, {0, 323}},
                      Placement{"RightRightFlipsLeft", nearRight, right, left, {1547, 446}},
                      Placement{"RightLeft", nearRight, left, left, {1547, 446}},
                      Placement{"RightAboveSlidLeft", nearRight, above, above, {1620, 556}},
                      Placement{"RightBelowSlidLeft", nearRight, below, below, {1620, 323}},
                      Placement{"NoRoomAboveOrBelowSlidUp", tall, below, below, {770, 0}},
                      Placement{"NoRoomLeftOrRightSlidLeft", wide, right, right, {1607, 446}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelvana::platform
