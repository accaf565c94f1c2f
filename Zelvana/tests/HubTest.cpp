#include <gtest/gtest.h>

#include <filesystem>

#include "GridPanel/DialogPopover.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "KeyboardShortcuts/NamedShortcuts.hpp"
#include "Zelvana/AppNotifications.hpp"
#include "Zelvana/tests/HubFixture.hpp"
#include "gestures/GestureMatch.hpp"
#include "gestures/Gestures.hpp"
#include "input/ModifierTrigger.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::core::test {
namespace {

using platform::Modifier;
using State = gridpanel::GridPanelState;

class HubTest : public HubFixture {
protected:
    // Opens the panel with Command-Space held and steps once.
    void openAndStep() {
        setShow(spaceKey, Modifier::command);
        keyboard.flagsChanged(Modifier::command);
        keyboard.press(spaceKey, Modifier::command);
        keyboard.press(spaceKey, Modifier::command);
        clock.runPending();
    }
};

TEST_F(HubTest, CreationLeavesTheHubClosedAndTheWorkspaceRestored) {
    start(2);
    EXPECT_EQ(hub->gridState(), State::closed);
    EXPECT_FALSE(hub->triggerSource());
    EXPECT_EQ(defaults().boolForKey("NSWindowRestoresWorkspaceAtLaunch"), true);
    EXPECT_EQ(platform::Application::shared().activationPolicy(),
              platform::ActivationPolicy::Accessory);
    ASSERT_TRUE(hub->gestureManager());
    EXPECT_TRUE(hub->gestureManager()->gestures().empty());
}

TEST_F(HubTest, ADestroyedHubLeavesNoShortcutActionsBehind) {
    addDisplay(1);
    const auto& named = keyboardshortcuts::NamedShortcuts::shared();
    for (int made = 0; made < 2; ++made) {
        launchHub();
        EXPECT_EQ(named.actionCount(), 3u);
        hub.reset();
    }
    EXPECT_EQ(named.actionCount(), 0u);
}

TEST_F(HubTest, ReleasingTheLastModifierCommitsEvenWithCapsLockOnOrShiftLastUp) {
    for (const auto left : {platform::ModifierFlags(Modifier::capsLock),
                            platform::ModifierFlags(Modifier::capsLock | Modifier::function)}) {
        start();
        openAndStep();
        keyboard.flagsChanged(left);
        clock.advance(settleTime);
        EXPECT_EQ(shown(), spaces()[1]) << left.rawValue();
        hub.reset();
        resetInput();
        desktop.resetForTesting();
        switcher::SpaceSwitcher::resetSharedForTesting();
    }
    start();
    setShow(spaceKey, Modifier::command);
    keyboard.flagsChanged(Modifier::command | Modifier::shift);
    keyboard.press(spaceKey, Modifier::command);
    keyboard.press(spaceKey, Modifier::command);
    keyboard.flagsChanged(Modifier::shift);  // Command up first
    keyboard.flagsChanged({});               // Shift last: a release, not a step back
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
}

TEST_F(HubTest, OnlyShiftGoingUpAloneOutsideRepetitionModeStepsBack) {
    start();
    openAndStep();
    keyboard.press(spaceKey, Modifier::command);
    ASSERT_EQ(highlighted(), 2u);
    struct Case {
        const char* what;
        bool repetitionMode;
        platform::ModifierFlags held;
        std::size_t highlight;
    };
    for (const auto& [what, repetitionMode, held, highlight] :
         {Case{"Shift and Option up together", false,
               Modifier::command | Modifier::option | Modifier::shift, 2},
          Case{"Shift alone", false, Modifier::command | Modifier::shift, 1},
          Case{"Shift alone in repetition mode", true, Modifier::command | Modifier::shift, 1}}) {
        GlobalDefaults::repetitionMode().setValue(repetitionMode
                                                      ? settings::OptionalBool::userEnabled
                                                      : settings::OptionalBool::userDisabled);
        keyboard.flagsChanged(held);
        keyboard.flagsChanged(Modifier::command);
        EXPECT_EQ(highlighted(), highlight) << what;
    }
}

TEST_F(HubTest, ReleasingAModifierNeverSwitchesWhenNoTriggerWithModifiersOpenedThePanel) {
    start();
    hub->showKeyDown();  // the status menu's item
    hub->gridPanel().selectNext();
    keyboard.flagsChanged(Modifier::option);
    keyboard.flagsChanged({});
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[0]);
    EXPECT_TRUE(panelOpen());
}

TEST_F(HubTest, AHighlightClearedByThePointerLeavesThePanelOpenUntilTheNextShow) {
    start();
    openAndStep();
    hub->selectionChanged(nullptr);
    for (const auto& space : hub->spaceGrid().spaces()) space->setIsNewSelection(false);
    keyboard.flagsChanged({});
    clock.advance(settleTime);
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::openNoAutoSelect);
    EXPECT_FALSE(hub->gridPanel().cursorSelects());
    keyboard.press(spaceKey, Modifier::command);
    EXPECT_FALSE(panelOpen());
}

TEST_F(HubTest, ClosingThePanelClearsEveryHighlightAndTheMissionControlStyle) {
    start();
    openAndStep();
    hub->gridPanel().close();
    EXPECT_FALSE(highlighted());
    EXPECT_EQ(hub->gridState(), State::closed);
    EXPECT_FALSE(hub->triggerSource());
    EXPECT_FALSE(hub->isOpenLikeMissionControl());
}

TEST_F(HubTest, CycleReverseIsShowPlusShiftUnlessShowHoldsShift) {
    struct Case {
        platform::ModifierFlags show;
        bool reverses;
    };
    for (const auto& [show, reverses] : {Case{Modifier::command, true}, Case{{}, true},
                                         Case{Modifier::command | Modifier::shift, false}}) {
        keyboardshortcuts::resetForTesting();
        int reversed = 0;
        const auto action =
            keyboardshortcuts::onKeyDown(GlobalDefaults::cycleReverse(), [&] { ++reversed; });
        setShow(spaceKey, show);
        GlobalDefaults::repetitionMode().setValue(settings::OptionalBool::userEnabled);
        ZelvanaManager::updateReverseShortcut();
        keyboard.press(spaceKey, show | Modifier::shift);
        EXPECT_EQ(reversed, reverses ? 1 : 0) << show.rawValue();
    }
}

TEST_F(HubTest, ANegativeStoredArrowFlagsCountsAsNoFlags) {
    GlobalDefaults::arrowFlags().setValue(-5);
    start(2);
    EXPECT_TRUE(hub->modifierTrigger().modifierFlags().isEmpty());
    EXPECT_TRUE(recorder->hasWarningContaining("arrowFlags -5"));
}

TEST_F(HubTest, SwipesMoveAmongTheMainGridAndAnEdgeSwipeDoesNothing) {
    start(2);
    const auto swipe = [&](gestures::Directional direction) {
        hub->gestureRecognized(
            gestures::GestureMatch{gestures::Gesture::fourSwipe, direction}.packed());
        clock.advance(settleTime);
    };
    swipe(gestures::Directional::l);
    EXPECT_EQ(shown(), spaces()[0]) << "the first space has nothing to its left";
    swipe(gestures::Directional::r);
    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_FALSE(panelOpen());
}

TEST_F(HubTest, RestingToOneOpensInTheGestureStateAndEndingSelects) {
    start();
    hub->gestureRecognized(gestures::GestureMatch{gestures::Gesture::threeToOneDir}.packed());
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::gesture);
    hub->gestureRecognized(
        gestures::GestureMatch{gestures::Gesture::threeToOneDir, gestures::Directional::r}
            .packed());
    hub->selectionChanged(nullptr);
    EXPECT_EQ(hub->gridState(), State::gesture) << "a highlight change keeps the gesture state";
    hub->gestureEnded(gestures::GestureMatch{gestures::Gesture::threeToOneDir}.packed());
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
}

TEST_F(HubTest, EndingARestToOneWhileARenameIsOpenNeitherSwitchesNorCloses) {
    start();
    hub->gestureRecognized(gestures::GestureMatch{gestures::Gesture::threeToOneDir}.packed());
    hub->gestureRecognized(
        gestures::GestureMatch{gestures::Gesture::threeToOneDir, gestures::Directional::r}
            .packed());
    keyboard.press(returnKey, Modifier::option);  // renames the highlighted space
    ASSERT_TRUE(hub->gridPanel().isRenaming());
    hub->gestureEnded(gestures::GestureMatch{gestures::Gesture::threeToOneDir}.packed());
    keyboard.press(escapeKey);  // the rename is cancelled
    clock.advance(settleTime);
    EXPECT_FALSE(hub->gridPanel().isRenaming());
    EXPECT_EQ(shown(), spaces()[0]);
    EXPECT_TRUE(panelOpen());
}

TEST_F(HubTest, BadSpaceSelectionsAreIgnoredOrCloseThePanel) {
    start(2);
    hub->showKeyDown();
    auto& center = platform::NotificationCenter::defaultCenter();
    center.post(AppNotification::spaceSelected);
    center.post(AppNotification::spaceSelected, 42);
    EXPECT_TRUE(panelOpen());
    center.post(AppNotification::spaceSelected, std::string("nothing"));
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(hub->spaceGrid().spaces().size(), 2u);

    // Only a space's menu item asks for a switch; a button sending it is refused.
    const auto before = shown();
    platform::Button button;
    EXPECT_TRUE(hub->performAction("switchToSpace:", &button));
    clock.runPending();
    EXPECT_EQ(shown(), before);
    logging::Logging::flush();
    ASSERT_FALSE(recorder->warnings().empty());
    EXPECT_NE(recorder->warnings().back().find("switchToSpace:"), std::string::npos);
}

TEST_F(HubTest, NothingClosesSwitchesOrReloadsWhileARenameIsOpen) {
    start(2);
    hub->showKeyDown();
    hub->gridPanel().selectNext();
    hub->gridPanel().setIsEditing(true);
    hub->commitSelection();
    hub->switchToSpaceWithId(*hub->spaceGrid().spaces()[1]->id());
    keyboard.flagsChanged({});
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[0]);
    EXPECT_TRUE(panelOpen());
    hub->gridPanel().setIsEditing(false);
    clock.advance(200);
}

TEST_F(HubTest, AddedAnchorsRefreshEveryDisplaysWindowListAndStaleness) {
    start(2);
    for (const auto& space : hub->spaceGrid().spaces()) space->setIsStale(true);
    visit(spaces()[1]);
    const auto current = hub->spaceGrid().space(hub->spaceSwitcher().activeAnchor()->id());
    EXPECT_FALSE(current->isStale());
    const auto firstSeen = current->anchor()->lastActive();
    clock.advance(60000);
    visit(spaces()[0]);
    visit(spaces()[1]);
    EXPECT_GT(current->anchor()->lastActive()->sinceReferenceDate,
              firstSeen->sinceReferenceDate + 59)
        << "dated at every active-space refresh";
}

TEST_F(HubTest, ZelvanasOwnWindowsAreNoWindowsOfASpace) {
    addApplication(101, "Mail");
    start(2);
    // On every space, as a panel of ours may be.
    platform::Window settings(platform::Rect::make(100, 100, 500, 400));
    settings.setCollectionBehavior(platform::Window::CollectionBehavior::canJoinAllSpaces);
    settings.orderFront(nullptr);
    desktop.addWindow({0, 101, "Inbox", 0, platform::Rect::make(50, 50, 800, 600)});
    clock.advance(200);  // past the window lists' cache
    setShow(spaceKey, Modifier::command);
    keyboard.press(spaceKey, Modifier::command);
    ASSERT_TRUE(panelOpen());
    const auto current = hub->spaceGrid().space(hub->spaceSwitcher().activeAnchor()->id());
    ASSERT_EQ(current->windowList().size(), 1u);
    EXPECT_EQ(current->windowList().front().pid, 101);
    ASSERT_TRUE(current->image());
    EXPECT_EQ(current->image()->size().width, current->image()->size().height) << "one icon";

    hub->gridPanel().close();
    visit(*desktop.addSpace(1));
    const auto learned = hub->spaceGrid().space(hub->spaceSwitcher().activeAnchor()->id());
    EXPECT_TRUE(learned->windowList().empty());
}

TEST_F(HubTest, TheCurrentSpaceListsItsWindowsButNotTheSystemsOwn) {
    start(2);
    addApplication(700, "Mail");
    addApplication(701, "WindowManager");
    for (const int pid : {700, 701}) {
        platform::DesktopWindow window;
        window.ownerPID = pid;
        window.bounds = platform::Rect::make(100, 100, 800, 600);
        desktop.addWindow(window);
    }
    clock.advance(200);  // past the window list's cache
    setShow(spaceKey, Modifier::command);
    keyboard.press(spaceKey, Modifier::command);
    const auto current = hub->spaceGrid().space(hub->spaceSwitcher().activeAnchor()->id());
    std::vector<int> owners;
    for (const auto& window : current->windowList()) owners.push_back(window.pid);
    EXPECT_EQ(owners, std::vector<int>{700});
}

TEST_F(HubTest, ClearForgetsEverySpaceAndTheStoredGrid) {
    start(2);
    hub->saveQueue().drain();
    clock.runPending();
    hub->clear();
    hub->saveQueue().drain();
    clock.runPending();
    EXPECT_TRUE(hub->spaceGrid().spaces().empty());
    EXPECT_EQ(defaults().stringForKey("grid"), "");
    EXPECT_EQ(defaults().stringForKey("screens"), "");
}

TEST_F(HubTest, AnUnreadableStoredGridIsKeptAsideBeforeTheFirstSaveReplacesIt) {
    const std::string broken = R"([{"id":"A1",)";
    GlobalDefaults::grid().setValue(broken);
    start(2);
    const auto folder = *platform::SystemFolders::applicationSupport() / "zelvana";
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("grid.corrupt-")) kept.push_back(entry);
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(platform::FileManager::defaultManager().contentsAtPath(kept[0]), broken);
    EXPECT_TRUE(recorder->hasWarningContaining("the stored grid cannot be read"));
    hub->saveQueue().drain();
    clock.runPending();
    ASSERT_TRUE(GlobalDefaults::grid().typedValue());
    EXPECT_EQ(GlobalDefaults::grid().typedValue()->size(), 2u);
}

TEST_F(HubTest, AnUnreadableStoredGridThatCannotBeKeptIsNotOverwrittenUntilCleared) {
    GlobalDefaults::grid().setValue("[{");
    // A file where the folder should be: nothing can be kept there.
    const auto support = *platform::SystemFolders::applicationSupport();
    std::filesystem::create_directories(support);
    platform::FileManager::defaultManager().writeAtomically(support / "zelvana", "");
    start(2);
    hub->saveQueue().drain();
    clock.runPending();
    EXPECT_EQ(defaults().stringForKey("grid"), "[{");
    EXPECT_TRUE(recorder->hasWarningContaining("nor kept aside"));
    hub->clear();
    visit(spaces()[1]);
    hub->saveQueue().drain();
    clock.runPending();
    EXPECT_TRUE(GlobalDefaults::grid().typedValue()) << "the user chose to forget it";
}

}  // namespace
}  // namespace zelvana::core::test
