// A popover stays within the visible frame of its anchor's screen: it slides
// along the anchor's edge, and shows on the opposite edge when the preferred
// one has no room, its arrow pointing at the middle of the anchor.

#include <gtest/gtest.h>

#include <memory>

#include "platform/appkit/Popover.hpp"
#include "platform/appkit/PopoverWindow.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/desktop/tests/DesktopFixture.hpp"

namespace zelvana::platform {
namespace {

struct PlacementCase {
    const char* name;
    Rect anchor;  // in the host's content, y down; the host fills display 1 below its menu bar
    RectEdge preferred;
    RectEdge shown;
};

class PopoverPlacementTest : public DesktopFixture,
                             public ::testing::WithParamInterface<PlacementCase> {
protected:
    PopoverPlacementTest() {
        host.setContentView(root);
        host.orderFront(nullptr);
        auto content = std::make_shared<ViewController>();
        content->setView(std::make_shared<View>(Rect::make(0, 0, 300, 200)));
        popover->setContentViewController(content);
    }
    ~PopoverPlacementTest() override { popover->close(); }

    // Display 1 less the 24-point menu bar, as the host and the screen see it.
    Window host{Rect::make(0, 0, 1920, 1056), Window::Style::borderless,
                Window::BackingStore::buffered, false};
    std::shared_ptr<View> root = std::make_shared<View>(Rect::make(0, 0, 1920, 1056));
    std::shared_ptr<Popover> popover = std::make_shared<Popover>();
};

TEST_P(PopoverPlacementTest, StaysOnTheScreenBesideTheAnchorAndPointsAtIt) {
    const PlacementCase& c = GetParam();
    auto anchor = std::make_shared<View>(c.anchor);
    root->addSubview(anchor);
    popover->show(Rect{}, *anchor, c.preferred);
    auto* window = dynamic_cast<PopoverWindow*>(popover->window());
    ASSERT_NE(window, nullptr);
    const Rect frame = window->frame();
    EXPECT_TRUE(Rect::make(0, 0, 1920, 1056).contains(frame))
        << frame.minX() << ", " << frame.minY();
    EXPECT_EQ(window->edge(), c.shown);
    // The anchor on screen (y up), and the side of the frame that touches it.
    const Rect a = host.convertRectToScreen(c.anchor);
    switch (c.shown) {
        case RectEdge::maxY:
            EXPECT_EQ(frame.maxY(), a.minY());
            break;
        case RectEdge::minY:
            EXPECT_EQ(frame.minY(), a.maxY());
            break;
        case RectEdge::maxX:
            EXPECT_EQ(frame.minX(), a.maxX());
            break;
        case RectEdge::minX:
            EXPECT_EQ(frame.maxX(), a.minX());
            break;
    }
    const bool horizontal = c.shown == RectEdge::minY || c.shown == RectEdge::maxY;
    const double middle = horizontal ? a.minX() + a.width() / 2 - frame.minX()
                                     : frame.maxY() - (a.minY() + a.height() / 2);
    EXPECT_DOUBLE_EQ(window->arrowPosition(), middle);
    // The content lies clear of the arrow, at its own size.
    EXPECT_EQ(window->contentRectForFrameRect(frame).size, (Size{300, 200}));
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PopoverPlacementTest,
    ::testing::Values(PlacementCase{"BelowInTheMiddle", Rect::make(900, 400, 40, 20),
                                    RectEdge::maxY, RectEdge::maxY},
                      PlacementCase{"BelowSlidLeftAtTheRightEdge", Rect::make(1880, 2, 30, 20),
                                    RectEdge::maxY, RectEdge::maxY},
                      PlacementCase{"AboveWhenTheBottomHasNoRoom", Rect::make(900, 1000, 40, 20),
                                    RectEdge::maxY, RectEdge::minY},
                      PlacementCase{"BelowWhenTheTopHasNoRoom", Rect::make(900, 30, 40, 20),
                                    RectEdge::minY, RectEdge::maxY},
                      PlacementCase{"LeftWhenTheRightHasNoRoom", Rect::make(1800, 500, 40, 20),
                                    RectEdge::maxX, RectEdge::minX},
                      PlacementCase{"RightWhenTheLeftHasNoRoom", Rect::make(20, 500, 40, 20),
                                    RectEdge::minX, RectEdge::maxX},
                      PlacementCase{"RightSlidDownAtTheTop", Rect::make(600, 40, 40, 20),
                                    RectEdge::maxX, RectEdge::maxX}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelvana::platform
