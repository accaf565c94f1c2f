#include "DropPane/DropPane.hpp"

#include <gtest/gtest.h>

#include "DropPane/tests/DropPaneTestSupport.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::droppane::test {
namespace {

using platform::FileDrag;
using platform::Modifier;
using platform::ModifierFlags;
using platform::Point;

class DropPaneTest : public DropPaneTestCase {
protected:
    DropPane make(DropPaneOptions options) {
        auto pane = DropPane::make(std::move(options));
        EXPECT_TRUE(pane.has_value());
        return *pane;
    }
    static platform::Window& window(const DropPane& pane) {
        return *pane.windowController()->window();
    }
    // A point in a unit view, `inset` from its right edge and halfway down,
    // in the window server's coordinates.
    static Point pointIn(const DropPane& pane, std::size_t unit, double inset) {
        const auto view = pane.windowController()->dropPaneViewController()->unitViews()[unit];
        const auto inWindow = view->convertRectToView(view->bounds(), nullptr);
        const auto onScreen = view->window()->convertRectToScreen(inWindow);
        return {onScreen.maxX() - inset, 900 - (onScreen.minY() + onScreen.height() / 2)};
    }
    static Point centreOf(const DropPane& pane, std::size_t unit) {
        return pointIn(pane, unit, 20);
    }

    std::vector<std::string> received;
};

TEST_F(DropPaneTest, HidingFadesOutAndOrdersOutAfterThreeTenthsOfASecond) {
    auto pane = make(optionsWith({receiving(received)}));
    pane.show(std::nullopt);
    EXPECT_TRUE(pane.windowController()->isOpen());
    EXPECT_TRUE(window(pane).isVisible());
    EXPECT_EQ(window(pane).frame().maxX(), 1440) << "bottom right";
    pane.hide();
    EXPECT_EQ(window(pane).alphaValue(), 0);
    clock.advance(299);
    EXPECT_TRUE(window(pane).isVisible());
    clock.advance(1);
    EXPECT_FALSE(window(pane).isVisible());
    EXPECT_EQ(window(pane).alphaValue(), 1);
}

TEST_F(DropPaneTest, ShownAgainWhileFadingOutItStaysShown) {
    auto pane = make(optionsWith({receiving(received)}));
    pane.show(std::nullopt);
    pane.hide();
    clock.advance(100);
    pane.show(std::nullopt);
    clock.advance(500);
    EXPECT_TRUE(window(pane).isVisible());
    EXPECT_EQ(window(pane).alphaValue(), 1);
    const int shown = window(pane).orderFrontCount();
    pane.show(std::nullopt);
    EXPECT_EQ(window(pane).orderFrontCount(), shown) << "showing an open pane does nothing";
    pane.hide();
    pane.hide();
    clock.advance(300);
    EXPECT_FALSE(window(pane).isVisible());
}

TEST_F(DropPaneTest, OpensOnceADragOfFilesBeginsAndHandsDroppedFilesToTheUnit) {
    auto pane = make(optionsWith({receiving(received)}));
    {
        FileDrag baseline({FileDrag::fileItem("/tmp/first.txt")}, {});
        baseline.moveTo({100, 100});
        EXPECT_FALSE(pane.windowController()->isOpen()) << "the first event sets the baseline";
        baseline.drop();
    }
    FileDrag text({FileDrag::textItem("hello")}, {});
    text.moveTo({100, 100});
    EXPECT_FALSE(pane.windowController()->isOpen()) << "no file, no pane";
    text.drop();

    FileDrag one({FileDrag::fileItem("/tmp/a.txt")}, {});
    one.moveTo({100, 100});
    EXPECT_TRUE(pane.windowController()->isOpen());
    one.moveTo(centreOf(pane, 0));
    EXPECT_TRUE(one.drop());
    EXPECT_EQ(received, std::vector<std::string>{"file:///tmp/a.txt"});
    EXPECT_FALSE(pane.windowController()->isOpen()) << "the mouse went up";

    clock.advance(300);
    received.clear();
    FileDrag several({FileDrag::fileItem("/tmp/b.txt"), FileDrag::textItem("clip"),
                      FileDrag::fileItem("/tmp/c.txt")},
                     {});
    several.moveTo({100, 100});
    several.moveTo(centreOf(pane, 0));
    EXPECT_TRUE(several.drop());
    EXPECT_EQ(received, (std::vector<std::string>{"file:///tmp/b.txt", "file:///tmp/c.txt"}));

    FileDrag hidden({FileDrag::fileItem("/tmp/d.txt")}, {});
    hidden.moveTo({100, 100});
    ASSERT_TRUE(pane.windowController()->isOpen());
    pane.hide();
    hidden.moveTo({120, 100});
    EXPECT_FALSE(pane.windowController()->isOpen()) << "one drag opens the pane once";
}

TEST_F(DropPaneTest, WithAPaneModifierOnlyDragsWithItHeldOpenThePane) {
    const ModifierFlags command = Modifier::command;
    auto options = optionsWith({receiving(received)});
    options.paneModifier = ModifierFlags::fromRaw(0x100000);
    auto pane = make(options);
    const auto& listener = *pane.dragListener();
    EXPECT_FALSE(listener.isWatchingDrags());

    FileDrag drag({FileDrag::fileItem("/tmp/a.txt")}, {});
    drag.setModifiers(command);
    drag.moveTo({100, 100});
    drag.drop();
    FileDrag held({FileDrag::fileItem("/tmp/b.txt")}, command);
    held.moveTo({100, 100});
    EXPECT_TRUE(pane.windowController()->isOpen());
    held.setModifiers({});
    EXPECT_TRUE(pane.windowController()->isOpen()) << "open until the mouse goes up";
    held.drop();
    EXPECT_FALSE(pane.windowController()->isOpen());
    EXPECT_FALSE(listener.isWatchingDrags()) << "released without the modifier";
}

class Recorder : public DropPaneDelegate {
public:
    void dragEvent(const std::optional<platform::Event>& event) override {
        events.push_back(event->type);
    }
    std::vector<platform::EventType> events;
    platform::WeakFactory<Recorder> weak{this};
};

TEST_F(DropPaneTest, TheCustomModifierForwardsDragsUntilItIsLetGo) {
    auto options = optionsWith({receiving(received)});
    options.customModifier = ModifierFlags::fromRaw(0x80000);
    auto pane = make(options);
    auto recorder = std::make_unique<Recorder>();
    pane.dragListener()->delegate = recorder->weak.ref();

    FileDrag drag({FileDrag::fileItem("/tmp/a.txt")}, {});
    drag.setModifiers(Modifier::option);
    drag.moveTo({10, 10});
    drag.setModifiers({});
    drag.moveTo({20, 20});
    EXPECT_EQ(recorder->events, std::vector{platform::EventType::leftMouseDragged});
    pane.dragListener()->appOpenedByDrag = true;
    drag.setModifiers(Modifier::option);
    drag.setModifiers({});
    drag.drop();
    EXPECT_EQ(recorder->events.back(), platform::EventType::leftMouseUp);
}

TEST_F(DropPaneTest, OptionsWithoutModifiersOrLocationStopTheirMonitors) {
    auto options = optionsWith({receiving(received)});
    options.paneModifier = ModifierFlags::fromRaw(0x100000);
    options.customModifier = ModifierFlags::fromRaw(0x80000);
    auto pane = make(options);
    const auto& listener = *pane.dragListener();
    EXPECT_TRUE(listener.isWatchingPaneModifier());
    EXPECT_TRUE(listener.isWatchingAppModifier());
    options.paneModifier = {};
    options.customModifier = {};
    pane.setOptions(options);
    EXPECT_FALSE(listener.isWatchingPaneModifier());
    EXPECT_FALSE(listener.isWatchingAppModifier());
    EXPECT_TRUE(listener.isWatchingDrags());
    pane.setLocation(DropPaneLocation::none);
    EXPECT_FALSE(listener.isWatchingDrags());
    EXPECT_EQ(platform::EventMonitors::installedCount(), 0u);
}

TEST_F(DropPaneTest, MouseUpReachesOnlyTheUnitUnderThePointer) {
    std::vector<int> ups;
    auto pane = make(optionsWith(
        {DropUnit::onMouseUp(image(), "One",
                             [&ups](const std::any& v) { ups.push_back(std::any_cast<int>(v)); }),
         DropUnit::onMouseUp(image(), "Two", [&ups](const std::any&) { ups.push_back(-1); })}));
    EXPECT_EQ(pane.dragListener(), nullptr) << "no unit takes files";
    pane.show(std::nullopt);
    // Near the unit's edge, where its frame and the window's coordinates differ.
    platform::Mouse::shared().warpCursorPosition(pointIn(pane, 0, 2));
    pane.showLater(std::nullopt);
    const auto views = pane.windowController()->dropPaneViewController()->unitViews();
    EXPECT_TRUE(views[0]->isReceivingDrag());
    EXPECT_FALSE(views[1]->isReceivingDrag());
    pane.mouseUp(7);
    EXPECT_EQ(ups, std::vector{7});
    EXPECT_FALSE(pane.windowController()->isOpen());
}

}  // namespace
}  // namespace zelvana::droppane::test
