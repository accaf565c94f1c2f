#include "switcher/SpaceAnchorViewController.hpp"

#include <gtest/gtest.h>

#include "platform/testing/SimulatedInput.hpp"
#include "switcher/tests/SwitcherFixture.hpp"

namespace zelvana::switcher {
namespace {

using platform::Color;
using platform::Rect;
using platform::Size;

class SpaceAnchorViewControllerTest : public SwitcherFixture {
protected:
    void SetUp() override {
        SwitcherFixture::SetUp();
        screen = addDisplay(1, 2);
        switcher().refreshAnchors();
        switcher().addAnchor(screen);
        clock.runPending();  // the labels learn their anchors
        first = anchor(0);
        second = anchor(1);
    }
    static SpaceAnchorViewController& controllerOf(const std::shared_ptr<SpaceAnchor>& anchor) {
        return dynamic_cast<SpaceAnchorViewController&>(*anchor->contentViewController());
    }
    // The label with the anchor's identifier and the close symbol, inset by 4.
    static Size shownSize(const std::shared_ptr<SpaceAnchor>& anchor) {
        const Size label = controllerOf(anchor).textField()->fittingSize();
        const Size symbol = controllerOf(anchor).closeButton()->image()->size();
        return {label.width + 4 + symbol.width + 8, std::max(label.height, symbol.height) + 8};
    }

    platform::Screen screen;
    std::shared_ptr<SpaceAnchor> first;
    std::shared_ptr<SpaceAnchor> second;
};

TEST_F(SpaceAnchorViewControllerTest, HiddenAnchorsStayOnePoint) {
    for (const auto& anchor : {first, second}) {
        const auto& controller = controllerOf(anchor);
        EXPECT_TRUE(controller.transparentView()->isHidden());
        EXPECT_FALSE(controller.stackViewConstraints().front().isActive);
        EXPECT_EQ(anchor->frame().size, (Size{1, 1}));
    }
    EXPECT_EQ(second->frame().origin.y, 1);
    EXPECT_EQ(controllerOf(first).textField()->stringValue(), first->id().substr(30));
}

TEST_F(SpaceAnchorViewControllerTest, VisibleLabelsStackUpAndMarkTheActiveAnchor) {
    switcher().refreshAnchors();  // the second anchor yields
    switcher().setVisibility(SpaceAnchorVisibility::allVisible);
    const Size size = shownSize(first);
    EXPECT_EQ(first->frame(), (Rect{{0, 0}, size}));
    EXPECT_EQ(second->frame(), (Rect{{0, size.height}, shownSize(second)}));
    const auto& controller = controllerOf(first);
    EXPECT_FALSE(controller.transparentView()->isHidden());
    EXPECT_EQ(controller.transparentView()->frame().size, size);
    EXPECT_TRUE(controller.stackViewConstraints().back().isActive);
    EXPECT_NE(controller.textField()->textColor(), Color::textColor());
    EXPECT_EQ(controllerOf(second).textField()->textColor(), Color::textColor());

    const auto firstColor = controller.textField()->textColor();
    switcher().setVisibility(SpaceAnchorVisibility::activeVisible);
    EXPECT_EQ(second->frame(), (Rect{{0, size.height}, shownSize(second)}));
    EXPECT_EQ(controller.textField()->textColor(), firstColor);

    // Off the shown space an anchor takes the lowest place.
    desktop.switchToSpace(spacesOf(1)[1]);
    clock.advance(250);
    controllerOf(second).updateAppearance();
    EXPECT_EQ(second->frame().origin, (platform::Point{0, 0}));

    switcher().setVisibility(SpaceAnchorVisibility::hidden);
    EXPECT_EQ(first->frame().size, (Size{1, 1}));
    EXPECT_TRUE(controller.transparentView()->isHidden());
}

TEST_F(SpaceAnchorViewControllerTest, EachDisplayStacksItsOwnLabels) {
    const auto other = addDisplay(2);
    const auto third = switcher().addAnchor(other);
    const auto fourth = switcher().addAnchor(other);
    switcher().setVisibility(SpaceAnchorVisibility::allVisible);
    const double height = shownSize(first).height;
    EXPECT_EQ(second->frame().origin.y, height);
    EXPECT_EQ(third->frame().origin, other.frame().origin);
    EXPECT_EQ(fourth->frame().origin,
              (platform::Point{other.frame().minX(), other.frame().minY() + height}));
}

TEST_F(SpaceAnchorViewControllerTest, RefreshingViewsRespectsHiddenVisibility) {
    switcher().options()->visibility = SpaceAnchorVisibility::allVisible;
    EXPECT_EQ(first->frame().size, (Size{1, 1}));
    switcher().refreshAnchorViews();
    EXPECT_EQ(first->frame().size, shownSize(first));
    switcher().options()->visibility = SpaceAnchorVisibility::hidden;
    switcher().refreshAnchorViews();
    EXPECT_EQ(first->frame().size, shownSize(first));
}

TEST_F(SpaceAnchorViewControllerTest, TheCloseSymbolAfterTheLabelClosesTheAnchor) {
    switcher().setVisibility(SpaceAnchorVisibility::allVisible);
    const auto& controller = controllerOf(first);
    const auto& button = *controller.closeButton();
    ASSERT_TRUE(button.image());
    EXPECT_EQ(*button.image(), *platform::Image::systemSymbol("x.circle.fill", ""));
    EXPECT_EQ(button.image()->accessibilityDescription(), "Close");
    EXPECT_FALSE(button.isBordered());
    EXPECT_GE(button.frame().minX(), controller.textField()->frame().maxX());

    platform::testing::clickMiddleOf(button);
    EXPECT_TRUE(first->isClosed());
    EXPECT_EQ(switcher().anchors(), std::vector{second});
}

TEST_F(SpaceAnchorViewControllerTest, OlderSystemsAndShortIdentifiers) {
    platform::Coder state;
    state.encodeRect(platform::Coder::frameKey, Rect::make(0, 0, 1, 1));
    const auto restored = SpaceAnchor::restoreAnchor("AB12", state);
    // Below macOS 13 no anchor has a view; below 11 a view has no button.
    platform::SystemVersion::setMajorVersion(10);
    const auto old = switcher().addAnchor(screen);
    old->setContentViewController(std::make_shared<SpaceAnchorViewController>());
    clock.runPending();
    EXPECT_EQ(controllerOf(restored).textField()->stringValue(), "AB12");

    auto& controller = controllerOf(old);
    EXPECT_EQ(controller.closeButton(), nullptr);
    switcher().options()->visibility = SpaceAnchorVisibility::allVisible;
    controller.viewWillAppear();
    const Size label = controller.textField()->fittingSize();
    EXPECT_EQ(old->frame().size, (Size{label.width + 8, label.height + 8}));

    platform::SystemVersion::setMajorVersion(12);
    const auto bare = switcher().addAnchor(screen);
    EXPECT_EQ(bare->contentViewController(), nullptr);
    switcher().setVisibility(SpaceAnchorVisibility::allVisible);
    EXPECT_EQ(bare->frame().size, (Size{1, 1}));
}

}  // namespace
}  // namespace zelvana::switcher
