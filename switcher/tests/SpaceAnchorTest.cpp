#include "switcher/SpaceAnchor.hpp"

#include <gtest/gtest.h>

#include "platform/foundation/UUID.hpp"
#include "switcher/WindowTransparency.hpp"
#include "switcher/tests/SwitcherFixture.hpp"

namespace zelvana::switcher {
namespace {

using platform::Color;
using platform::Date;
using platform::Rect;

class SpaceAnchorTest : public SwitcherFixture {};

TEST_F(SpaceAnchorTest, NewAnchorIsActiveAtTheScreensCorner) {
    addDisplay(1);
    const auto screen = addDisplay(2);
    const auto anchor = SpaceAnchor::makeAnchor(screen);
    EXPECT_TRUE(anchor->isActive());
    EXPECT_EQ(anchor->lastActive(), Date::now());
    EXPECT_EQ(anchor->frame(), Rect::make(displayWidth, 0, 1, 1));
    EXPECT_EQ(anchor->screen(), screen);
    EXPECT_FALSE(anchor->isVisible());
    const auto uuid = platform::UUID::fromString(anchor->id());
    ASSERT_TRUE(uuid);
    EXPECT_EQ(uuid->uuidString(), anchor->id());
    EXPECT_NE(SpaceAnchor::makeAnchor(screen)->id(), anchor->id());
}

TEST_F(SpaceAnchorTest, OnlyTurningActiveMovesLastActive) {
    const auto anchor = SpaceAnchor::makeAnchor(addDisplay(1));
    const auto created = anchor->lastActive();
    clock.advance(1000);
    anchor->setIsActive(false);
    EXPECT_EQ(anchor->lastActive(), created);
    EXPECT_FALSE(anchor->canBecomeKeyWindow());
    EXPECT_FALSE(anchor->canBecomeMainWindow());
    clock.advance(1000);
    anchor->setIsActive(true);
    EXPECT_EQ(anchor->lastActive(), Date::now());
    EXPECT_TRUE(anchor->canBecomeKeyWindow());
}

TEST_F(SpaceAnchorTest, NeverStaysKeyOrMain) {
    addDisplay(1);
    switcher().refreshAnchors();
    const auto anchor = switcher().anchors().front();
    anchor->makeKeyAndOrderFront(nullptr);
    EXPECT_TRUE(anchor->isVisible());
    EXPECT_FALSE(anchor->isKeyWindow());
    EXPECT_FALSE(anchor->isMainWindow());
    EXPECT_EQ(platform::Window::keyWindow(), nullptr);

    anchor->close();
    EXPECT_TRUE(anchor->isClosed());
    EXPECT_TRUE(switcher().anchors().empty());
}

TEST_F(SpaceAnchorTest, QuickActivationsEachOrderAndEndStationary) {
    addDisplay(1);
    switcher().refreshAnchors();
    const auto anchor = switcher().anchors().front();
    const int fronts = anchor->orderFrontCount();
    anchor->activate();
    clock.advance(50);
    anchor->activate();
    clock.advance(60);  // the first restoration has run
    EXPECT_EQ(anchor->orderFrontCount(), fronts + 2);
    clock.advance(50);
    EXPECT_EQ(anchor->collectionBehavior().rawValue(), 80u);  // stationary, ignores cycle
}

TEST_F(SpaceAnchorTest, TransparencyFollowsOpacityAndClearBackground) {
    platform::Window window;
    EXPECT_FALSE(isTransparent(window));
    setTransparent(window, true);
    EXPECT_TRUE(isTransparent(window));
    EXPECT_FALSE(window.isOpaque());

    setTransparent(window, false);
    EXPECT_TRUE(window.isOpaque());
    EXPECT_EQ(window.backgroundColor(), Color::clear());  // the background stays
    EXPECT_FALSE(isTransparent(window));

    window.setOpaque(false);
    window.setBackgroundColor(std::nullopt);
    EXPECT_FALSE(isTransparent(window));
}

// The system's own numbers: the non-activating panel style (128, nothing
// else), stationary 16 plus ignores-cycle 64 at rest, ignores-cycle alone
// for 0.1 s from an activation's ordering.
TEST_F(SpaceAnchorTest, StyleAndCollectionBehaviourAreTheSystemsNumbers) {
    addDisplay(1);
    switcher().refreshAnchors();
    const auto anchor = switcher().anchors().front();
    const auto restored = SpaceAnchor::restoreAnchor("8F1C-RESTORED", platform::Coder());
    for (const auto* made : {anchor.get(), restored.get()}) {
        EXPECT_EQ(made->styleMask().rawValue(), 128u);
        EXPECT_EQ(made->collectionBehavior().rawValue(), 80u);
    }
    anchor->activate();
    EXPECT_EQ(anchor->collectionBehavior().rawValue(), 64u);
    clock.advance(99);  // ordered at once, restored 100 ms later
    EXPECT_EQ(anchor->collectionBehavior().rawValue(), 64u);
    clock.advance(1);
    EXPECT_EQ(anchor->collectionBehavior().rawValue(), 80u);
}

}  // namespace
}  // namespace zelvana::switcher
