#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "GridPanel/GridPanelViewController.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "GridPanel/GridUnitStackView.hpp"
#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/InfoPopover.hpp"
#include "Zelvana/tests/HubFixture.hpp"
#include "gestures/Gestures.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/simulator/PermissionSwitches.hpp"
#include "platform/simulator/Trackpad.hpp"
#include "platform/system/Permissions.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/SimulatedInput.hpp"

namespace zelvana::core::test {
namespace {

using platform::Modifier;
using platform::Permissions;
using platform::PermissionSwitches;
using State = gridpanel::GridPanelState;

// Fingers about one finger's width apart, in device-normalised positions.
constexpr double kFingerGap = 0.125;

class HubScenarioTest : public HubFixture {
protected:
    HubScenarioTest() { pad.resetForTesting(); }
    ~HubScenarioTest() override { pad.resetForTesting(); }

    void touchDown(int fingers) {
        for (int finger = 1; finger <= fingers; ++finger) {
            pad.touchDown(finger, {0.25 + kFingerGap * (finger - 1), 0.5});
        }
    }
    void sendFrame(double afterMs) {
        clock.advance(afterMs);
        pad.sendFrame();
        clock.runPending();
    }
    void swipe(int fingers, double dx) {
        touchDown(fingers);
        sendFrame(0);
        pad.moveAll(dx, 0);
        sendFrame(100);
        pad.liftAll();
        sendFrame(10);
    }
    // Three fingers rest, two lift: the last one steers.
    void restToOne() {
        touchDown(3);
        sendFrame(0);
        sendFrame(100);
        pad.lift(1);
        pad.lift(2);
        sendFrame(50);
        sendFrame(50);
    }
    void steer(double dxPoints) {
        const auto at = *pad.position(3);
        pad.move(3, {at.x + dxPoints / pad.deviceSize().width, at.y});
        sendFrame(10);
    }
    // The identifiers of the stored grid, once every save has landed.
    std::vector<std::string> storedIds() {
        hub->saveQueue().drain();
        clock.runPending();
        std::vector<std::string> ids;
        for (const auto& space :
             GlobalDefaults::grid().typedValue().value_or(std::vector<CodableSpace>{})) {
            ids.push_back(space.id.value_or(""));
        }
        return ids;
    }
    static std::size_t distinct(const std::vector<std::string>& ids) {
        return std::set<std::string>(ids.begin(), ids.end()).size();
    }

    platform::Trackpad& pad = platform::Trackpad::shared();
};

TEST_F(HubScenarioTest, ShowWithModifiersStepsAndSwitchesOnRelease) {
    start();
    setShow(spaceKey, Modifier::command);
    keyboard.flagsChanged(Modifier::command);
    keyboard.press(spaceKey, Modifier::command);
    clock.runPending();
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::open);
    keyboard.press(spaceKey, Modifier::command);
    clock.runPending();
    EXPECT_EQ(highlighted(), 1u);
    keyboard.flagsChanged({});
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::closed);
}

TEST_F(HubScenarioTest, AModifierLessShowTapsOpenAndAHoldCommits) {
    start();
    setShow(spaceKey, {});
    keyboard.press(spaceKey);  // a tap: the panel stays open
    clock.runPending();
    EXPECT_TRUE(panelOpen());
    EXPECT_TRUE(hub->isOpenLikeMissionControl());
    EXPECT_FALSE(hub->lastShowDown());
    hub->gridPanel().selectNext();
    keyboard.press(spaceKey);  // the next press commits
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_FALSE(hub->isOpenLikeMissionControl()) << "cleared when the panel closed";

    keyboard.keyDown(spaceKey);
    clock.advance(100);
    hub->gridPanel().selectNext();
    clock.advance(400);  // held longer than 0.3 s
    keyboard.keyUp(spaceKey);
    clock.advance(settleTime);
    EXPECT_NE(shown(), spaces()[1]);
    EXPECT_FALSE(hub->isOpenLikeMissionControl());
}

TEST_F(HubScenarioTest, AnArrowWithTheChosenModifiersOpensOnTheNeighbourAndReleaseSwitches) {
    GlobalDefaults::arrowFlags().setValue(0x80000);  // Option
    start();
    keyboard.flagsChanged(Modifier::option);
    keyboard.press(rightArrowKey, Modifier::option);
    clock.runPending();
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(highlighted(), 1u);
    EXPECT_EQ(hub->triggerSource(), TriggerSource::arrow);
    keyboard.press(rightArrowKey, Modifier::option);
    clock.runPending();
    EXPECT_EQ(highlighted(), 2u);
    keyboard.flagsChanged({});
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[2]);
    EXPECT_FALSE(panelOpen());
}

TEST_F(HubScenarioTest, AnArrowPastTheGridsEdgeLeavesEverythingAsItWas) {
    GlobalDefaults::arrowFlags().setValue(0x80000);  // Option
    start(3);
    visit(spaces()[2]);  // the last cell of the row
    keyboard.flagsChanged(Modifier::option);
    keyboard.press(rightArrowKey, Modifier::option);
    clock.runPending();
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(highlighted(), std::nullopt);
    keyboard.flagsChanged({});
    clock.advance(settleTime);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(shown(), spaces()[2]);

    keyboard.flagsChanged(Modifier::option);
    keyboard.press(leftArrowKey, Modifier::option);
    clock.runPending();
    EXPECT_EQ(highlighted(), 1u) << "the other way there is a neighbour";
    keyboard.flagsChanged({});
    clock.advance(settleTime);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(shown(), spaces()[1]);
}

TEST_F(HubScenarioTest, AClickOnTheStatusItemListsTheSpacesAndAPickSwitches) {
    start(3);
    StatusItem::shared().setupStatusItem();
    auto& menu = *StatusItem::shared().statusMenu();
    const auto fixed = menu.numberOfItems();
    auto* button = StatusItem::shared().nsStatusItem()->button();
    for (int opening = 0; opening < 2; ++opening) {
        button->performClick();
        menu.endTracking();
    }
    ASSERT_EQ(menu.numberOfItems(), fixed + 4) << "three spaces and one separator, once";
    EXPECT_EQ(menu.itemArray()[0]->title(), "1");
    EXPECT_EQ(menu.itemArray()[0]->state(), platform::ControlState::on);
    EXPECT_TRUE(menu.itemArray()[3]->isSeparatorItem());
    button->performClick();
    EXPECT_TRUE(menu.itemArray()[2]->perform());
    menu.endTracking();
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[2]);
}

TEST_F(HubScenarioTest, OpeningTheStatusMenuClosesThePanelUnlessARenameIsOpen) {
    start(3);
    StatusItem::shared().setupStatusItem();
    auto& menu = *StatusItem::shared().statusMenu();
    auto* button = StatusItem::shared().nsStatusItem()->button();
    setShow(spaceKey, Modifier::command);
    keyboard.press(spaceKey, Modifier::command);
    ASSERT_TRUE(panelOpen());
    button->performClick();
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::closed);
    menu.endTracking();

    keyboard.press(spaceKey, Modifier::command);
    keyboard.press(returnKey, Modifier::option);  // renames the current space
    hub->spaceGrid().mainScreenGrid()[0][1]->setTitle("Mail");
    button->performClick();
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(menu.itemArray()[1]->title(), "2 Mail") << "the items are still rebuilt";
    menu.endTracking();
    keyboard.press(escapeKey);
    EXPECT_TRUE(panelOpen()) << "the rename ended";
}

TEST_F(HubScenarioTest, TheTitleShowsTheCurrentCellAsAKeycapUpToNineWhenAsked) {
    start(12);
    StatusItem::shared().setupStatusItem();
    auto* button = StatusItem::shared().nsStatusItem()->button();
    EXPECT_EQ(button->title(), "");
    GlobalDefaults::menuBarSpaceNumber().setValue(settings::OptionalBool::userEnabled);
    EXPECT_EQ(button->title(), "1\xE2\x83\xA3");
    EXPECT_FALSE(button->image());
    for (const auto& [cell, title] : std::initializer_list<std::pair<std::size_t, std::string>>{
             {3, "3\xE2\x83\xA3"}, {9, "9\xE2\x83\xA3"}, {10, "10"}, {12, "12"}}) {
        visit(spaces()[cell - 1]);
        EXPECT_EQ(button->title(), title) << cell;
    }
}

TEST_F(HubScenarioTest, ANewSpaceShowsThePanelForTwoSecondsUnlessAWindowFillsTheDisplay) {
    addDisplay(1);
    desktop.addSpace(1);
    desktop.addSpace(1);
    addApplication(700, "Films");
    platform::DesktopWindow film;
    film.ownerPID = 700;
    film.bounds = platform::Rect::make(0, 0, screenWidth, screenHeight);
    film.space = spaces()[2];
    desktop.addWindow(film);
    launchHub();
    EXPECT_FALSE(panelOpen()) << "one known space";
    visit(spaces()[1]);
    EXPECT_TRUE(panelOpen());
    clock.advance(1600);
    EXPECT_TRUE(panelOpen());
    clock.advance(400);
    EXPECT_FALSE(panelOpen());
    visit(spaces()[2]);
    EXPECT_FALSE(panelOpen()) << "a window fills the display";
    EXPECT_EQ(hub->spaceGrid().spaces().size(), 3u);
}

// The panel of a grid larger than the screen, opened with "show".
class LargeGridTest : public HubScenarioTest {
protected:
    void open(int columns, int count) {
        GlobalDefaults::gridWidth().setValue(columns);
        start(count);
        setShow(spaceKey, Modifier::command);
        keyboard.press(spaceKey, Modifier::command);
        clock.runPending();
        ASSERT_TRUE(panelOpen());
    }
    gridpanel::GridPanelViewController& panel() { return *hub->gridPanel().viewController(); }
    platform::Rect panelFrame() { return hub->gridPanel().window()->frame(); }
    platform::Rect visibleFrame() { return platform::Screen::main()->visibleFrame(); }
    // A cell's rectangle on the screen, cut to what its panel shows of it.
    platform::Rect shownRect(std::int64_t row, std::int64_t col) {
        gridpanel::GridUnitStackView& cell = *panel().cellView(row, col);
        const auto inWindow = cell.convertRectToView(cell.bounds(), nullptr);
        return hub->gridPanel().window()->convertRectToScreen(inWindow);
    }
    std::int64_t rows() { return static_cast<std::int64_t>(panel().grid->grid.size()); }
};

TEST_F(LargeGridTest, ATallGridShrinksItsCellsAlikeUntilTheWholeOfItFitsTheScreen) {
    open(3, 24);  // 8 rows of cells 140 points tall
    EXPECT_TRUE(visibleFrame().contains(panelFrame()));
    const auto first = shownRect(0, 0);
    EXPECT_LT(first.height(), 0.13 * screenHeight) << "shrunk";
    EXPECT_NEAR(first.width() / first.height(), screenWidth / screenHeight, 0.01);
    for (std::int64_t row = 0; row < rows(); ++row) {
        for (std::int64_t col = 0; col < 3; ++col) {
            const auto rect = shownRect(row, col);
            EXPECT_TRUE(panelFrame().contains(rect)) << row << ", " << col;
            EXPECT_EQ(rect.size, first.size);
        }
    }
}

TEST_F(LargeGridTest, AGridTooLargeAtTheSmallestCellsKeepsTheHighlightedCellOnScreen) {
    open(1, 40);  // one column of 40 cells: beyond what the smallest cells fit
    const auto inside = [&](std::int64_t row) {
        return panelFrame().contains(shownRect(row, 0)) && visibleFrame().contains(panelFrame());
    };
    EXPECT_EQ(shownRect(0, 0).height(), 40) << "the smallest a cell gets";
    EXPECT_TRUE(inside(0)) << "the current cell";
    for (int step = 0; step < 30; ++step) keyboard.press(downArrowKey);
    EXPECT_TRUE(inside(30));
    EXPECT_FALSE(inside(0)) << "the rest of the grid is cut at the panel's edge";
    keyboard.press(digit3Key);
    EXPECT_TRUE(inside(2));
}

TEST_F(HubScenarioTest, ACellDraggedInThePanelIsStoredAtItsNewPlace) {
    start(3);
    setShow(spaceKey, Modifier::command);
    keyboard.flagsChanged(Modifier::command);
    keyboard.press(spaceKey, Modifier::command);
    clock.runPending();
    ASSERT_TRUE(panelOpen());
    gridpanel::GridPanelViewController& panel = *hub->gridPanel().viewController();
    const std::string dragged = *panel.grid->grid[0][0]->element()->id();
    const auto center = [&](std::int64_t col) {
        gridpanel::GridUnitStackView& cell = *panel.cellView(0, col);
        const auto size = cell.bounds().size;
        const auto inWindow = cell.convertPointToView({size.width / 2, size.height / 2}, nullptr);
        const auto origin = desktop.boundsFromFrame(hub->gridPanel().window()->frame()).origin;
        return platform::Point{origin.x + inWindow.x, origin.y + inWindow.y};
    };
    const platform::Point from = center(0);
    const platform::Point to = center(2);
    platform::Mouse& mouse = platform::Mouse::shared();
    mouse.moveTo(from);
    mouse.press(platform::EventType::leftMouseDown);
    mouse.dragTo(to);  // one move of the hand, past the threshold at once
    clock.runPending();
    const auto shownAt = [&](std::int64_t col) { return panel.cellView(0, col)->unit(); };
    EXPECT_EQ(shownAt(2)->type(), gridpanel::GridUnitType::target)
        << "while the button is held, the place it would land";
    EXPECT_NE(*shownAt(0)->element()->id(), dragged);
    mouse.press(platform::EventType::leftMouseUp);
    clock.runPending();
    hub->saveQueue().drain();
    clock.runPending();

    const auto stored = nlohmann::json::parse(defaults().stringForKey("grid").value_or("[]"));
    const auto entry = std::ranges::find_if(
        stored, [&](const nlohmann::json& space) { return space["id"] == dragged; });
    ASSERT_NE(entry, stored.end());
    EXPECT_EQ((*entry)["coordinates"][1], (nlohmann::json{{"row", 0}, {"col", 2}}));
    EXPECT_TRUE(panelOpen());
}

TEST_F(HubScenarioTest, AFourFingerSwipeSwitchesToTheNeighbourAndAnEdgeSwipeDoesNot) {
    GlobalDefaults::gesture().setValue(2);  // four-finger swipes
    start(3);
    swipe(4, -0.3);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[0]) << "nothing left of the first space";
    swipe(3, 0.3);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[0]) << "three fingers are not the chosen gesture";
    swipe(4, 0.3);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_FALSE(panelOpen());
}

TEST_F(HubScenarioTest, RestingToOneOpensThePanelTheFingerSteersAndLiftingSwitches) {
    GlobalDefaults::gesture().setValue(6);  // three to one, with direction
    start(3);
    restToOne();
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::gesture);
    steer(40);
    steer(40);
    EXPECT_EQ(highlighted(), 2u);
    EXPECT_EQ(hub->gridState(), State::gesture);
    pad.liftAll();
    sendFrame(10);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[2]);
    EXPECT_FALSE(panelOpen());
}

TEST_F(HubScenarioTest, ADisplayRemovedWhileThePanelIsOpenLosesNoSpace) {
    addDisplay(1);
    desktop.addSpace(1);
    desktop.addSpace(1);
    addDisplay(2);
    desktop.addSpace(2);
    launchHub();
    for (const auto space : spaces(2)) visit(space);
    for (const auto space : {spaces()[1], spaces()[2], spaces()[0]}) visit(space);
    clock.advance(2500);
    ASSERT_EQ(storedIds().size(), 5u);

    setShow(spaceKey, Modifier::command);
    keyboard.flagsChanged(Modifier::command);
    keyboard.press(spaceKey, Modifier::command);
    keyboard.press(spaceKey, Modifier::command);
    clock.runPending();
    ASSERT_EQ(highlighted(), 1u);
    ASSERT_TRUE(desktop.removeDisplay(2));
    clock.advance(1500);
    keyboard.flagsChanged({});
    clock.advance(settleTime);

    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_EQ(hub->spaceGrid().spaces().size(), 5u);
    const auto ids = storedIds();
    EXPECT_EQ(ids.size(), 5u);
    EXPECT_EQ(distinct(ids), 5u);
}

TEST_F(HubScenarioTest, ASpaceAnUnpluggedDisplayHandsOnDrawsItsPictureForItsNewCell) {
    addDisplay(1);
    desktop.addDisplay(platform::Display::make(
        2, platform::Rect::make(screenWidth, 0, 2 * screenWidth, 2 * screenHeight), "Large"));
    addApplication(700, "Mail");
    for (const auto& [space, x] : {std::pair{spaces()[0], 100.0}, {spaces(2)[0], 2000.0}})
        desktop.addWindow({0, 700, "", 0, platform::Rect::make(x, 100, 800, 600), space});
    launchHub();
    const auto spaceOn = [&](platform::SpaceID shown) {
        for (const auto& space : hub->spaceGrid().spaces())
            if (desktop.spaceOf(*space->anchor()) == shown) return space;
        return std::shared_ptr<Space>();
    };
    const auto native = spaceOn(spaces()[0])->image()->size();
    const auto handedOn = spaceOn(spaces(2)[0]);
    ASSERT_GT(handedOn->image()->size().height, native.height) << "drawn for the larger cells";

    ASSERT_TRUE(desktop.removeDisplay(2));
    clock.advance(1500);
    ASSERT_EQ(handedOn->anchor()->screen()->screenNumber(), 1u);
    EXPECT_EQ(handedOn->image()->size(), native) << "the same one icon, sized for display 1";
}

TEST_F(HubScenarioTest, ShiftAmongTheArrowModifiersGoingUpFirstIsNoStepBack) {
    GlobalDefaults::arrowFlags().setValue(0xA0000);  // Option-Shift
    start();
    keyboard.flagsChanged(Modifier::option | Modifier::shift);
    keyboard.press(rightArrowKey, Modifier::option | Modifier::shift);
    clock.runPending();
    ASSERT_EQ(highlighted(), 1u);
    keyboard.flagsChanged(Modifier::option);
    EXPECT_EQ(highlighted(), 1u);
}

TEST_F(HubScenarioTest, ASwipeArrivingDuringAnArrowTriggerSwitchesOnceAndKeepsEverySpace) {
    GlobalDefaults::arrowFlags().setValue(0x80000);  // Option
    GlobalDefaults::gesture().setValue(2);
    start(3);
    const auto switchesBefore = desktop.switchCount();
    keyboard.flagsChanged(Modifier::option);
    keyboard.press(rightArrowKey, Modifier::option);
    clock.runPending();
    ASSERT_EQ(highlighted(), 1u);
    swipe(4, 0.3);
    keyboard.press(rightArrowKey, Modifier::option);
    keyboard.flagsChanged({});
    clock.advance(settleTime);
    clock.advance(settleTime);

    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_EQ(desktop.switchCount(), switchesBefore + 1);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::closed);
    const auto ids = storedIds();
    EXPECT_EQ(ids.size(), 3u);
    EXPECT_EQ(distinct(ids), 3u);
}

TEST_F(HubScenarioTest, SwipesStopWithTheirPermissionAndComeBackWhenThePromptSeesItGranted) {
    GlobalDefaults::gesture().setValue(2);  // four-finger swipes
    start(3);
    // Only Accessibility lets the gesture tap listen.
    PermissionSwitches::setInputMonitoringAccess(Permissions::Access::denied);
    PermissionSwitches::setAccessibilityTrusted(false);
    clock.runPending();
    swipe(4, 0.3);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[0]);
    const auto* prompt = hub->gestureManager()->accessibilityAuth();
    ASSERT_TRUE(prompt && prompt->accessibilityWindowController());
    EXPECT_TRUE(prompt->accessibilityWindowController()->window()->isVisible());

    PermissionSwitches::setAccessibilityTrusted(true);
    clock.advance(300);  // the prompt looks again
    EXPECT_FALSE(hub->gestureManager()->accessibilityAuth());
    swipe(4, 0.3);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
}

TEST_F(HubScenarioTest, RestingToOneListensWhileEitherPermissionIsLeft) {
    GlobalDefaults::gesture().setValue(3);  // three to one
    start(3);
    PermissionSwitches::setAccessibilityTrusted(false);
    clock.runPending();
    restToOne();
    EXPECT_TRUE(panelOpen()) << "input monitoring still lets the tap listen";
    pad.liftAll();
    sendFrame(10);
    clock.advance(settleTime);
    ASSERT_FALSE(panelOpen());

    PermissionSwitches::setInputMonitoringAccess(Permissions::Access::denied);
    clock.runPending();
    restToOne();
    EXPECT_FALSE(panelOpen());
    pad.liftAll();
    sendFrame(10);

    PermissionSwitches::setAccessibilityTrusted(true);
    clock.advance(300);
    restToOne();
    EXPECT_TRUE(panelOpen());
}

// A person at work in another application: a tap on F5 opens the panel,
// which is key without making Zelvana the active application.
class PanelFromAnotherApplicationTest : public HubScenarioTest {
protected:
    void SetUp() override {
        start();
        setShow(f5Key, {});
    }
    void showFromElsewhere() {
        desktop.activateOtherApplication();
        keyboard.press(f5Key);
        clock.runPending();
        ASSERT_TRUE(panelOpen());
        ASSERT_FALSE(platform::Application::shared().isActive());
    }
    void press(std::uint16_t key, platform::ModifierFlags flags = {}) {
        keyboard.press(key, flags);
        clock.runPending();
    }
    // Option-Return on the second space, the keys typed into its name, Return.
    void renameSecond(const std::vector<std::uint16_t>& typed) {
        press(digit2Key);
        keyboard.flagsChanged(Modifier::option);
        press(returnKey, Modifier::option);
        keyboard.flagsChanged({});
        ASSERT_TRUE(hub->gridPanel().isEditing());
        for (const std::uint16_t key : typed) press(key);
        press(returnKey);
        EXPECT_FALSE(hub->gridPanel().isEditing());
    }

    static constexpr std::uint16_t deleteKey = 51;
    const std::vector<std::uint16_t> mail{46, 0, 34, 37};  // "mail"
};

TEST_F(PanelFromAnotherApplicationTest, DigitsArrowsAndReturnSwitch) {
    showFromElsewhere();
    press(digit3Key);
    EXPECT_EQ(highlighted(), 2u);
    press(returnKey);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[2]);
    EXPECT_FALSE(panelOpen());

    showFromElsewhere();
    press(digit1Key);
    press(rightArrowKey);
    EXPECT_EQ(highlighted(), 1u);
    press(returnKey);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
}

TEST_F(PanelFromAnotherApplicationTest, EscapeClosesAndTypingFindsARenamedSpace) {
    showFromElsewhere();
    press(escapeKey);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::closed);

    // Option-Return renames the second space; its name is typed and kept.
    showFromElsewhere();
    renameSecond(mail);
    press(escapeKey);
    ASSERT_FALSE(panelOpen());

    showFromElsewhere();
    press(46);  // m
    EXPECT_EQ(highlighted(), 1u);
    press(returnKey);
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
}

TEST_F(PanelFromAnotherApplicationTest, ANameDeletedInTheRenameLeavesTheSpaceUntitled) {
    showFromElsewhere();
    renameSecond(mail);
    renameSecond(std::vector<std::uint16_t>(4, deleteKey));
    press(escapeKey);
    hub->saveQueue().drain();
    clock.runPending();
    for (const auto& stored : *GlobalDefaults::grid().typedValue()) {
        EXPECT_FALSE(stored.title) << "\"" << *stored.title << "\" stored";
    }

    StatusItem::shared().setupStatusItem();
    platform::testing::clickMiddleOf(*StatusItem::shared().nsStatusItem()->button());
    const auto& menu = *StatusItem::shared().statusMenu();
    ASSERT_TRUE(menu.isTracking());
    EXPECT_EQ(menu.itemArray()[1]->title(), "2");
    press(escapeKey);
}

TEST_F(PanelFromAnotherApplicationTest, OpenedAgainThePanelShowsEachSpaceAsItIsNow) {
    const auto openWindowOnSecond = [&] {
        addApplication(700, "Mail");
        desktop.addWindow({0, 700, "", 0, platform::Rect::make(100, 100, 800, 600), spaces()[1]});
        visit(spaces()[1]);  // a space's windows are listed while it is shown
        visit(spaces()[0]);
    };
    const auto renamedTo = [&](std::vector<std::uint16_t> typed) {
        return [this, typed] {
            showFromElsewhere();
            renameSecond(typed);
            press(escapeKey);
        };
    };
    struct Change {
        std::string what;
        std::function<void()> make;
        std::string title;
        bool titleShown;
    };
    const std::vector<Change> changes{
        {"a window opened on it", openWindowOnSecond, "", false},
        {"named", renamedTo(mail), "mail", true},
        {"its name deleted", renamedTo(std::vector<std::uint16_t>(4, deleteKey)), "", false},
    };
    showFromElsewhere();  // the cells are built, to be kept while they show alike
    press(escapeKey);
    for (const auto& change : changes) {
        change.make();
        showFromElsewhere();
        const auto& cell = *hub->gridPanel().viewController()->cellView(0, 1);
        EXPECT_TRUE(cell.imageView()) << change.what << ": the picture of its window";
        ASSERT_TRUE(cell.titleButton());
        EXPECT_EQ(cell.titleButton()->title(), change.title) << change.what;
        EXPECT_EQ(cell.titleButton()->isHidden(), !change.titleShown) << change.what;
        press(escapeKey);
    }
}

TEST_F(PanelFromAnotherApplicationTest, AClickOutsideClosesThePanelAndTheNextShowOpensIt) {
    showFromElsewhere();
    auto& mouse = platform::Mouse::shared();
    mouse.moveTo({700, 900});
    mouse.press(platform::EventType::leftMouseDown);
    mouse.press(platform::EventType::leftMouseUp);
    clock.runPending();
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::closed);

    keyboard.press(f5Key);
    clock.runPending();
    EXPECT_TRUE(panelOpen());
    mouse.resetForTesting();
}

// The whole application on the same folders, quit and launched again.
class HubRelaunchTest : public HubScenarioTest {
protected:
    HubRelaunchTest() {
        std::filesystem::copy_file(std::filesystem::path(ZELVANA_RESOURCES_DIR) / "Info.storyboard",
                                   bundle.resourcePath() / "Info.storyboard");
    }
    ~HubRelaunchTest() override {
        app.reset();
        platform::Application::shared().resetForTesting();
    }

    void launchApp() {
        relaunch();
        isFirstLaunch = false;
        wasRelaunched = false;
        desktop.applicationWillFinishLaunching();  // the anchors come back first
        app = std::make_unique<AppDelegate>();
        platform::Application::shared().setDelegate(app.get());
        app->applicationDidFinishLaunching();
        logging::Logging::addDestination(log);
        clock.advance(1100);
    }
    // The user quits from the status menu and the process ends right after
    // the system's termination: what the main queue still held is gone.
    void quitAndRelaunch() {
        app->terminateApp();
        app.reset();
        switcher::SpaceSwitcher::resetSharedForTesting();
        platform::Application::shared().resetForTesting();
        resetInput();
        desktop.resetForTesting();
        ASSERT_TRUE(desktop.loadAtLaunch(std::nullopt));
        launchApp();
    }
    ZelvanaManager& manager() { return *app->manager(); }
    bool welcomeShown() {
        auto* welcome = StatusItem::shared().welcomePopover();
        return welcome && welcome->popover()->isShown();
    }

    platform::testing::ScopedMainBundle bundle{{{"CFBundleName", "Zelvana"},
                                                {"CFBundleIdentifier", "com.quorrim.Zelvana"},
                                                {"CFBundleVersion", "17"}}};
    std::unique_ptr<AppDelegate> app;
};

TEST_F(HubRelaunchTest, StoredSpacesComeBackOnTheirAnchorsWithTheEditJustBeforeQuitting) {
    addDisplay(1);
    desktop.addSpace(1);
    desktop.addSpace(1);
    launchApp();
    EXPECT_TRUE(welcomeShown()) << "the first launch";
    for (const auto space : {spaces()[1], spaces()[2], spaces()[0]}) visit(space);
    clock.advance(2500);
    auto& grid = manager().spaceGrid();
    ASSERT_EQ(grid.spaces().size(), 3u);
    std::map<platform::SpaceID, std::string> idOnSpace;
    for (const auto& space : grid.spaces())
        idOnSpace[*desktop.spaceOf(*space->anchor())] = *space->id();
    const auto mail = grid.space(idOnSpace[spaces()[2]]);
    mail->setTitle("Mail");
    manager().saveGrid();  // still encoding when the user quits

    quitAndRelaunch();
    EXPECT_FALSE(welcomeShown()) << "only the first launch greets";
    auto& restored = manager().spaceGrid();
    ASSERT_EQ(restored.spaces().size(), 3u);
    for (const auto& [onSpace, id] : idOnSpace) {
        const auto space = restored.space(id);
        ASSERT_TRUE(space) << id;
        EXPECT_EQ(desktop.spaceOf(*space->anchor()), onSpace);
    }
    EXPECT_EQ(restored.space(idOnSpace[spaces()[2]])->title(), "Mail");
    EXPECT_EQ(restored.space(idOnSpace[spaces()[2]])->coordinates().at(1), (Coordinates{0, 2}));
}

TEST_F(HubRelaunchTest, ShowAfterClearingEverySpaceOpensOnTheCurrentSpaceLearntAnew) {
    addDisplay(1);
    desktop.addSpace(1);
    launchApp();
    for (const auto space : {spaces()[1], spaces()[0]}) visit(space);
    clock.advance(2500);
    auto& menu = *StatusItem::shared().statusMenu();
    auto* button = StatusItem::shared().nsStatusItem()->button();
    const auto pick = [&](const std::string& path) {
        button->performClick();
        auto item = menu.itemWithTitle(path);
        if (!item) item = menu.itemWithTitle("Advanced")->submenu()->itemWithTitle(path);
        ASSERT_TRUE(item) << path;
        item->perform();
        menu.endTracking();
        clock.runPending();
    };
    keyboard.flagsChanged(Modifier::option);  // shows "Advanced"
    pick("Clear All Spaces");
    keyboard.flagsChanged({});
    ASSERT_TRUE(manager().spaceGrid().spaces().empty());

    pick("Show Zelvana");
    ASSERT_TRUE(manager().gridPanel().isOpen()) << "not an empty box, nor nothing";
    const auto& cells = manager().gridPanel().viewController()->grid->grid;
    ASSERT_EQ(cells.size(), 1u);
    ASSERT_EQ(cells[0].size(), 1u);
    EXPECT_TRUE(cells[0][0]->element()->isCurrent());
    const auto space = manager().spaceGrid().space(*cells[0][0]->element()->id());
    ASSERT_TRUE(space);
    EXPECT_EQ(desktop.spaceOf(*space->anchor()), spaces()[0]);
}

}  // namespace
}  // namespace zelvana::core::test
