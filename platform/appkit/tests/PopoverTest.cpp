#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"

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

}  // namespace
}  // namespace zelvana::platform
