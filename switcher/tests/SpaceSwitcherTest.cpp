#include "switcher/SpaceSwitcher.hpp"

#include <gtest/gtest.h>

#include "platform/appkit/Workspace.hpp"
#include "switcher/tests/SwitcherFixture.hpp"

namespace zelvana::switcher {
namespace {

using platform::Date;
using Ids = std::vector<std::string>;

class SpaceSwitcherTest : public SwitcherFixture {};

TEST_F(SpaceSwitcherTest, ReconcilesOneActiveAnchorPerShownSpace) {
    const auto screen = addDisplay(1, 2);
    switcher().setDelegate(delegate.weak.ref());
    ASSERT_EQ(switcher().anchors().size(), 1u);
    EXPECT_EQ(delegate.added, std::vector<Ids>{{anchor(0)->id()}});

    // Two active anchors on one shown space: the later one yields.
    const auto second = switcher().addAnchor(screen);
    const auto secondSince = second->lastActive();
    clock.advance(1000);
    switcher().refreshAnchors();
    EXPECT_TRUE(anchor(0)->isActive());
    EXPECT_FALSE(second->isActive());
    EXPECT_EQ(second->lastActive(), secondSince);
    EXPECT_EQ(delegate.added.back(), Ids{});

    // None active: the first comes back, active as of now.
    anchor(0)->setIsActive(false);
    clock.advance(1000);
    switcher().refreshAnchors();
    EXPECT_TRUE(anchor(0)->isActive());
    EXPECT_EQ(anchor(0)->lastActive(), Date::now());
    EXPECT_FALSE(second->isActive());
    EXPECT_EQ(switcher().activeAnchors().size(), 1u);
    EXPECT_EQ(switcher().activeAnchor(), anchor(0));

    // A display without an anchor gets exactly one; anchors off screen keep
    // their state.
    const auto other = addDisplay(2);
    desktop.switchToSpace(spacesOf(1)[1]);
    clock.advance(250);
    switcher().refreshAnchors();
    ASSERT_EQ(switcher().anchors().size(), 4u);
    EXPECT_EQ(delegate.added.back(), (Ids{anchor(2)->id(), anchor(3)->id()}));
    EXPECT_EQ(anchor(3)->screen(), other);
    EXPECT_TRUE(anchor(0)->isActive());
    EXPECT_FALSE(second->isActive());
    switcher().refreshAnchors();
    EXPECT_EQ(switcher().anchors().size(), 4u);
    EXPECT_EQ(delegate.added.back(), Ids{});
}

TEST_F(SpaceSwitcherTest, EveryDelegateAssignmentRefreshes) {
    switcher().setDelegate(delegate.weak.ref());
    switcher().setDelegate(delegate.weak.ref());
    EXPECT_EQ(delegate.added, (std::vector<Ids>{{}, {}}));  // no screens at all

    addDisplay(1);
    switcher().setDelegate({});
    EXPECT_EQ(switcher().anchors().size(), 1u);
    EXPECT_EQ(delegate.added.size(), 2u);
}

TEST_F(SpaceSwitcherTest, TrimsInactiveAnchorsFirstAndNeverTheShownSpacesAnchor) {
    const auto screen = addDisplay(1, 2);
    switcher().options()->anchorCountCap = 3;
    switcher().setDelegate(delegate.weak.ref());
    const auto left = anchor(0);
    switchAndSettle(spacesOf(1)[1]);
    const auto shown = anchor(1);
    const auto spare = switcher().addAnchor(screen);
    const auto older = switcher().addAnchor(screen);
    switcher().refreshAnchors();  // the duplicates on the shown space go inactive
    ASSERT_EQ(switcher().anchors().size(), 4u);
    ASSERT_FALSE(spare->isActive());
    ASSERT_FALSE(older->isActive());
    shown->setLastActive(Date{10});
    left->setLastActive(Date{50});
    older->setLastActive(Date{100});
    spare->setLastActive(Date{200});

    for (int i = 0; i < 3; ++i) switcher().addAnchor(screen);
    // Inactive ones first, oldest first; then the oldest active one whose
    // space is not shown, never the shown space's own.
    EXPECT_EQ(delegate.removed, (Ids{older->id(), spare->id(), left->id()}));
    EXPECT_TRUE(switcher().isRegistered(*shown));
    EXPECT_FALSE(switcher().isRegistered(*older));
}

TEST_F(SpaceSwitcherTest, AnAnchorIsRegisteredOnlyWithTheSwitcherHoldingIt) {
    addDisplay(1);
    switcher().setDelegate(delegate.weak.ref());
    const auto kept = anchor(0);
    ASSERT_TRUE(switcher().isRegistered(*kept));
    SpaceSwitcher::resetSharedForTesting();
    EXPECT_FALSE(switcher().isRegistered(*kept)) << "the next launch's switcher holds none yet";
}

TEST_F(SpaceSwitcherTest, TheCapNeverGoesBelowTheNumberOfDisplays) {
    addDisplay(1, 3);
    for (platform::DisplayID number = 2; number <= 3; ++number) addDisplay(number);
    switcher().options()->anchorCountCap = 1;
    switcher().setDelegate(delegate.weak.ref());
    ASSERT_EQ(switcher().anchors().size(), 3u);
    EXPECT_EQ(delegate.added.back(), (Ids{anchor(0)->id(), anchor(1)->id(), anchor(2)->id()}));
    EXPECT_EQ(switcher().activeAnchors().size(), 3u);

    const auto first = anchor(0);
    switchAndSettle(spacesOf(1)[1]);  // three anchors are within the cap of three
    EXPECT_EQ(switcher().anchors().size(), 4u);
    EXPECT_TRUE(delegate.removed.empty());
    switchAndSettle(spacesOf(1)[2]);  // four are not
    EXPECT_EQ(delegate.removed, Ids{first->id()});
}

TEST_F(SpaceSwitcherTest, ReportsScreenChangesOfRegisteredAnchorsOnly) {
    const auto left = addDisplay(1);
    const auto right = addDisplay(2);
    switcher().setDelegate(delegate.weak.ref());
    const auto a = anchor(0), b = anchor(1);

    a->setFrameOrigin(right.frame().origin);  // joins b's display
    EXPECT_EQ(delegate.changedScreen, Ids{a->id()});
    EXPECT_FALSE(a->isActive());
    b->setFrameOrigin({left.frame().minX() + 10, 10});
    EXPECT_TRUE(b->isActive());  // alone on its new display

    b->close();
    b->setFrameOrigin(right.frame().origin);
    EXPECT_EQ(delegate.changedScreen, (Ids{a->id(), b->id()}));
    EXPECT_FALSE(switcher().idAnchors().contains(b->id()));

    switcher().closeAllAnchors();
    EXPECT_TRUE(switcher().anchors().empty());
    EXPECT_TRUE(switcher().idAnchors().empty());
    EXPECT_TRUE(a->isClosed());
    EXPECT_TRUE(delegate.removed.empty());
}

TEST_F(SpaceSwitcherTest, ActivationSwitchesToTheAnchorsSpace) {
    addDisplay(1, 2);
    switcher().setDelegate(delegate.weak.ref());
    const auto target = anchor(0);
    const auto spaces = spacesOf(1);
    int notifications = 0;
    const auto counting = platform::Workspace::shared().notificationCenter().addObserver(
        platform::Workspace::activeSpaceDidChangeNotification,
        [&](const platform::Notification&) { ++notifications; });
    switchAndSettle(spaces[1]);
    ASSERT_EQ(switcher().anchors().size(), 2u);
    notifications = 0;

    target->setIsActive(false);
    const int switches = desktop.switchCount();
    const int fronts = target->orderFrontCount();
    target->activate();
    EXPECT_EQ(target->collectionBehavior().rawValue(), 64u);  // ignores cycle only
    EXPECT_TRUE(platform::Application::shared().isActive());
    EXPECT_EQ(target->orderFrontCount(), fronts);  // ordered on the next turn

    clock.runPending();
    EXPECT_EQ(target->orderFrontCount(), fronts + 1);
    EXPECT_FALSE(target->isKeyWindow());
    // Stationary again 0.1 s after the ordering, while the switch still runs.
    clock.advance(99);
    EXPECT_EQ(target->collectionBehavior(), SpaceAnchor::activatingBehavior);
    clock.advance(2);
    EXPECT_EQ(target->collectionBehavior(), SpaceAnchor::restingBehavior);
    EXPECT_EQ(desktop.shownSpace(1), spaces[1]);
    EXPECT_EQ(notifications, 0);

    clock.advance(149);  // the switch ends 0.25 s after the ordering
    EXPECT_EQ(desktop.shownSpace(1), spaces[0]);
    EXPECT_EQ(desktop.switchCount(), switches + 1);
    EXPECT_EQ(notifications, 1);
    clock.advance(48);
    EXPECT_FALSE(target->isActive());
    clock.advance(2);
    EXPECT_TRUE(target->isActive());  // the refresh 50 ms after the notification
    EXPECT_EQ(delegate.added.back(), Ids{});
}

TEST_F(SpaceSwitcherTest, ClosedOrUnknownAnchorsDoNotActivate) {
    const auto screen = addDisplay(1, 2);
    switcher().setDelegate(delegate.weak.ref());
    const auto closed = anchor(0);
    const auto stray = SpaceAnchor::makeAnchor(screen);
    closed->close();
    closed->activate();
    stray->activate();
    clock.advance(200);
    EXPECT_EQ(platform::Application::shared().activationCount(), 1);  // the addition's only
    EXPECT_FALSE(closed->isVisible());
    EXPECT_FALSE(stray->isVisible());
    EXPECT_EQ(closed->collectionBehavior(), SpaceAnchor::restingBehavior);

    // Closed after the activation but before the ordering.
    const auto late = switcher().addAnchor(screen);
    late->activate();
    late->close();
    clock.advance(200);
    EXPECT_FALSE(late->isVisible());
    EXPECT_EQ(late->collectionBehavior(), SpaceAnchor::restingBehavior);
}

TEST_F(SpaceSwitcherTest, AddedDisplayGetsItsAnchorAfterOneSecond) {
    addDisplay(1);
    switcher().setDelegate(delegate.weak.ref());
    const auto right = addDisplay(2);
    clock.advance(999);
    EXPECT_EQ(switcher().anchors().size(), 1u);
    clock.advance(2);
    ASSERT_EQ(switcher().anchors().size(), 2u);
    EXPECT_EQ(anchor(1)->screen(), right);
    EXPECT_EQ(delegate.added.back(), Ids{anchor(1)->id()});

    // A removed display's anchor goes with its space; a returning display
    // gets a new space and anchor.
    const auto moved = anchor(1);
    desktop.removeDisplay(2);
    clock.advance(1000);
    EXPECT_EQ(switcher().anchors().size(), 2u);
    EXPECT_EQ(moved->screen()->screenNumber(), 1u);
    EXPECT_EQ(delegate.changedScreen, Ids{moved->id()});
    addDisplay(2);
    clock.advance(1000);
    ASSERT_EQ(switcher().anchors().size(), 3u);
    EXPECT_EQ(delegate.added.back(), Ids{anchor(2)->id()});

    const auto reports = delegate.added.size();
    switcher().handleDisplayAdded(99);
    EXPECT_EQ(delegate.added.size(), reports);
}

TEST_F(SpaceSwitcherTest, RestoredAnchorsRegisterAndReportOnlyToADelegate) {
    addDisplay(1);
    const auto* restorer =
        platform::WindowRestoration::restorer(SpaceSwitcher::restorationClassName);
    ASSERT_NE(restorer, nullptr);
    platform::Window* handedBack = nullptr;
    const auto completion = [&](platform::Window* window, const std::optional<std::string>& error) {
        handedBack = window;
        EXPECT_FALSE(error);
    };
    platform::Coder state;
    state.encodeRect(platform::Coder::frameKey, platform::Rect::make(0, 0, 1, 1));
    (*restorer)("EARLY", state, completion);
    ASSERT_EQ(switcher().anchors().size(), 1u);
    EXPECT_EQ(handedBack, anchor(0).get());
    EXPECT_EQ(switcher().idAnchors().at("EARLY"), anchor(0));
    EXPECT_TRUE(anchor(0)->isActive());

    switcher().setDelegate(delegate.weak.ref());
    (*restorer)("LATE", state, completion);
    EXPECT_EQ(delegate.added.back(), Ids{"LATE"});
}

TEST_F(SpaceSwitcherTest, RelaunchFindsEveryAnchorOnItsSpace) {
    addDisplay(1, 3);
    addDisplay(2, 2);
    switcher().setDelegate(delegate.weak.ref());
    for (auto space : {spacesOf(1)[1], spacesOf(1)[2], spacesOf(2)[1]}) switchAndSettle(space);
    ASSERT_EQ(switcher().anchors().size(), 5u);
    std::map<std::string, platform::SpaceID> spaceOfAnchor;
    for (const auto& anchor : switcher().anchors()) {
        spaceOfAnchor[anchor->id()] = desktop.spaceOf(*anchor).value_or(0);
    }

    desktop.applicationWillTerminate();
    const std::string savedDesktop = desktop.jsonText();
    SpaceSwitcher::resetSharedForTesting();
    desktop.resetForTesting();
    ASSERT_TRUE(desktop.readJsonText(savedDesktop));
    desktop.applicationWillFinishLaunching();

    ASSERT_EQ(switcher().anchors().size(), 5u);
    for (const auto& [id, space] : spaceOfAnchor) {
        ASSERT_TRUE(switcher().idAnchors().contains(id)) << id;
        EXPECT_EQ(desktop.spaceOf(*switcher().idAnchors().at(id)), space) << id;
    }
    delegate.added.clear();
    switcher().setDelegate(delegate.weak.ref());
    EXPECT_EQ(delegate.added, std::vector<Ids>{{}});  // every shown space has its anchor
    EXPECT_EQ(switcher().activeAnchors().size(), 2u);
}

TEST_F(SpaceSwitcherTest, OnlyTheFirstAnchorOfAnIdentifierIsRestored) {
    addDisplay(1);
    std::vector<platform::Window*> handedBack;
    const auto completion = [&](platform::Window* window, const std::optional<std::string>&) {
        handedBack.push_back(window);
    };
    SpaceSwitcher::restoreWindow("TWICE", platform::Coder(), completion);
    SpaceSwitcher::restoreWindow("TWICE", platform::Coder(), completion);
    ASSERT_EQ(switcher().anchors().size(), 1u);
    EXPECT_EQ(handedBack, (std::vector<platform::Window*>{anchor(0).get(), nullptr}));

    anchor(0)->close();
    EXPECT_TRUE(switcher().anchors().empty());
    EXPECT_TRUE(switcher().idAnchors().empty()) << "no orphan left to save at quit";
}

}  // namespace
}  // namespace zelvana::switcher
