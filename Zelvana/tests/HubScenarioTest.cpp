#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>

#include "GridPanel/GridPanelViewController.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "GridPanel/GridUnitStackView.hpp"
#include "Zelvana/AppNotifications.hpp"
#include "Zelvana/tests/HubFixture.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/input/Mouse.hpp"

namespace zelvana::core::test {
namespace {

using platform::Modifier;
using State = gridpanel::GridPanelState;

class HubScenarioTest : public HubFixture {};

TEST_F(HubScenarioTest, ShowWithModifiersStepsAndSwitchesOnRelease) {
    start();
    setShow(kSpace, Modifier::command);
    keyboard.flagsChanged(Modifier::command);
    keyboard.press(kSpace, Modifier::command);
    clock.runPending();
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::open);
    keyboard.press(kSpace, Modifier::command);
    clock.runPending();
    EXPECT_EQ(highlighted(), 1u);
    keyboard.flagsChanged({});
    clock.advance(kSettle);
    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(hub->gridState(), State::closed);
}

TEST_F(HubScenarioTest, AModifierLessShowTapsOpenAndAHoldCommits) {
    start();
    setShow(kSpace, {});
    keyboard.press(kSpace);  // a tap: the panel stays open
    clock.runPending();
    EXPECT_TRUE(panelOpen());
    EXPECT_TRUE(hub->isOpenLikeMissionControl());
    EXPECT_FALSE(hub->lastShowDown());
    hub->gridPanel().selectNext();
    keyboard.press(kSpace);  // the next press commits
    clock.advance(kSettle);
    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_FALSE(hub->isOpenLikeMissionControl()) << "cleared when the panel closed";

    keyboard.keyDown(kSpace);
    clock.advance(100);
    hub->gridPanel().selectNext();
    clock.advance(400);  // held longer than 0.3 s
    keyboard.keyUp(kSpace);
    clock.advance(kSettle);
    EXPECT_NE(shown(), spaces()[1]);
    EXPECT_FALSE(hub->isOpenLikeMissionControl());
}

TEST_F(HubScenarioTest, AnArrowWithTheChosenModifiersOpensOnTheNeighbourAndReleaseSwitches) {
    GlobalDefaults::arrowFlags().setValue(0x80000);  // Option
    start();
    keyboard.flagsChanged(Modifier::option);
    keyboard.press(kRightArrow, Modifier::option);
    clock.runPending();
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(highlighted(), 1u);
    EXPECT_EQ(hub->triggerSource(), TriggerSource::arrow);
    keyboard.press(kRightArrow, Modifier::option);
    clock.runPending();
    EXPECT_EQ(highlighted(), 2u);
    keyboard.flagsChanged({});
    clock.advance(kSettle);
    EXPECT_EQ(shown(), spaces()[2]);
    EXPECT_FALSE(panelOpen());
}

TEST_F(HubScenarioTest, TheStatusMenuListsTheSpacesAndSwitchesToThePickedOne) {
    start(3);
    StatusItem::shared().setupStatusItem();
    auto& menu = *StatusItem::shared().statusMenu();
    const auto fixed = menu.numberOfItems();
    for (int opening = 0; opening < 2; ++opening) {
        platform::NotificationCenter::defaultCenter().post(AppNotification::statusMenuWillOpen);
    }
    ASSERT_EQ(menu.numberOfItems(), fixed + 4) << "three spaces and one separator, once";
    EXPECT_EQ(menu.itemArray()[0]->title(), "1");
    EXPECT_EQ(menu.itemArray()[0]->state(), platform::ControlState::on);
    EXPECT_TRUE(menu.itemArray()[3]->isSeparatorItem());
    hub->switchToSpace(*menu.itemArray()[2]);
    clock.advance(kSettle);
    EXPECT_EQ(shown(), spaces()[2]);
}

TEST_F(HubScenarioTest, TheTitleShowsTheCurrentCellAsAKeycapWhenAsked) {
    start(3);
    StatusItem::shared().setupStatusItem();
    auto* button = StatusItem::shared().nsStatusItem()->button();
    EXPECT_EQ(button->title(), "");
    GlobalDefaults::menuBarSpaceNumber().setValue(settings::OptionalBool::userEnabled);
    EXPECT_EQ(button->title(), "1\xE2\x83\xA3");
    EXPECT_FALSE(button->image());
    visit(spaces()[2]);
    EXPECT_EQ(button->title(), "3\xE2\x83\xA3");
}

TEST_F(HubScenarioTest, ACellDraggedInThePanelIsStoredAtItsNewPlace) {
    start(3);
    setShow(kSpace, Modifier::command);
    keyboard.flagsChanged(Modifier::command);
    keyboard.press(kSpace, Modifier::command);
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
    const auto moveTo = [&](platform::Point point) {
        mouse.moveTo(point);
        clock.runPending();
    };
    moveTo(from);
    mouse.press(platform::EventType::leftMouseDown);
    for (double dx : {1, 12, 13}) moveTo({from.x + dx, from.y});
    moveTo(to);
    moveTo({to.x + 1, to.y});
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

}  // namespace
}  // namespace zelvana::core::test
