#include <gtest/gtest.h>

#include "GridPanel/GridPanelWindowController.hpp"
#include "Zelvana/tests/HubFixture.hpp"

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

}  // namespace
}  // namespace zelvana::core::test
