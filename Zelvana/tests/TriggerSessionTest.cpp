#include <gtest/gtest.h>

#include "Zelvana/TriggerSession.hpp"

namespace zelvana::core::test {
namespace {

using platform::Modifier;
using platform::ModifierFlags;
using State = gridpanel::GridPanelState;
using enum FlagsOutcome;

platform::Date at(double seconds) {
    return platform::Date::fromTimeIntervalSince1970(seconds);
}

TriggerKeys keys(std::optional<ModifierFlags> show, ModifierFlags arrows = Modifier::option) {
    return {[show] { return show; }, [arrows] { return arrows; }};
}

TEST(TriggerSession, ABareShowCommitsWhenHeldPastThreeTenthsAndStaysOpenWhenTapped) {
    TriggerSession session;
    const auto bare = keys(ModifierFlags{});
    session.opened();
    session.showPressed(at(5));
    EXPECT_EQ(session.showReleased(at(6), keys(Modifier::command)), ShowRelease::ignored)
        << "a combination commits when its modifiers go up";
    session.showPressed(at(10));
    EXPECT_EQ(session.showReleased(at(10.31), bare), ShowRelease::commits);
    session.showPressed(at(20));
    EXPECT_EQ(session.showReleased(at(20.29), bare), ShowRelease::keepsOpen);
    EXPECT_TRUE(session.isOpenLikeMissionControl());
    EXPECT_EQ(session.showReleased(at(30), bare), ShowRelease::ignored) << "no press to measure";
    session.closing();
    EXPECT_FALSE(session.isOpenLikeMissionControl());
    session.showPressed(at(40));
    EXPECT_EQ(session.showReleased(at(41), bare), ShowRelease::ignored) << "the panel is closed";
}

TEST(TriggerSession, ReleasingTheLastHeldModifierCommitsOnceEvenWithCapsLockOn) {
    TriggerSession session;
    const auto show = keys(Modifier::command | Modifier::option);
    session.showPressed(at(1));
    EXPECT_EQ(session.flagsChanged(Modifier::command, show, LoneShift::stepsBack), none);
    EXPECT_EQ(session.flagsChanged(Modifier::capsLock, show, LoneShift::stepsBack), commits);
    EXPECT_FALSE(session.source());
    EXPECT_EQ(session.flagsChanged({}, show, LoneShift::stepsBack), none);
    session.openedByGesture();
    EXPECT_EQ(session.flagsChanged({}, show, LoneShift::stepsBack), none);
}

TEST(TriggerSession, ShiftLetGoAloneStepsBackOnlyWhenTheTriggerLacksShift) {
    const auto shiftUp = [](TriggerSession& session, const TriggerKeys& keys, LoneShift lone) {
        session.flagsChanged(Modifier::command | Modifier::shift, keys, lone);
        return session.flagsChanged(Modifier::command, keys, lone);
    };
    TriggerSession session;
    session.reversePressed();
    EXPECT_EQ(shiftUp(session, keys(Modifier::command), LoneShift::stepsBack), stepsBack);
    EXPECT_EQ(shiftUp(session, keys(Modifier::command), LoneShift::ignored), none);
    EXPECT_EQ(shiftUp(session, keys(Modifier::command | Modifier::shift), LoneShift::stepsBack),
              none);
    session.arrowPressed();
    EXPECT_EQ(shiftUp(session, keys({}, Modifier::command | Modifier::shift), LoneShift::stepsBack),
              none);
    session.flagsChanged(Modifier::shift, keys({}), LoneShift::stepsBack);
    EXPECT_EQ(session.flagsChanged({}, keys({}), LoneShift::stepsBack), commits)
        << "Shift as the last key up commits";
}

TEST(TriggerSession, AReleaseWithoutAPickHoldsThePanelAgainstLaterHighlightsUntilItCloses) {
    TriggerSession session;
    session.opened();
    session.selectionChanged();
    EXPECT_EQ(session.gridState(), State::selectable);
    EXPECT_TRUE(session.keepOpenForPick());
    session.selectionChanged();
    EXPECT_EQ(session.gridState(), State::openNoAutoSelect);
    session.openedByGesture();
    session.selectionChanged();
    EXPECT_FALSE(session.keepOpenForPick());
    EXPECT_EQ(session.gridState(), State::gesture);
    session.closed();
    EXPECT_EQ(session.gridState(), State::closed);
    EXPECT_FALSE(session.source());
}

TEST(TriggerSession, AReloadBlockedByARenameAsksForOneRetryUntilItIsDone) {
    TriggerSession session;
    EXPECT_TRUE(session.reloadDeferred());
    EXPECT_FALSE(session.reloadDeferred());
    session.reloaded();
    EXPECT_TRUE(session.reloadDeferred());
}

}  // namespace
}  // namespace zelvana::core::test
