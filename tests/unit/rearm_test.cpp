// The re-arm countdown, the start delay, and the panel's start-up, timers,
// hit test and closing.
#include "app/panel.h"
#include "config_window/config_state.h"
#include "test_state.h"

namespace sp {
namespace {

class RearmTest : public LogicTest {
protected:
    void SetUp() override {
        LogicTest::SetUp();
        useDefaults();
        // At rest since the tick before the countdown started.
        rearmStateForTests().rearmLastX = fake.cursor.x;
        rearmStateForTests().rearmLastY = fake.cursor.y;
    }

    // Captions shown by `ticks` countdown ticks.
    Lines titles(int ticks) {
        Lines out;
        for (int i = 0; i < ticks; ++i) {
            rearmTick(fake);
            out.push_back(fake.caption);
        }
        return out;
    }
};

TEST_F(RearmTest, CountsDownFromFiveAndReArmsOnTheSeventhTick) {
    EXPECT_EQ(titles(6), (Lines{"Ready (5 s)", "Ready (4 s)", "Ready (3 s)", "Ready (2 s)", "Ready (1 s)",
                                "Ready (0 s)"}));
    EXPECT_TRUE(fake.calls("installHook").empty());
    markCrosshairOpen();
    fake.clearLog();

    rearmTick(fake);
    EXPECT_EQ(fake.log, (Lines{"installHook mouse",
                               "closeArm left",
                               "closeArm right",
                               "closeArm up",
                               "closeArm down",
                               "sleep 5",
                               "startArm left",
                               "startArm right",
                               "startArm up",
                               "startArm down",
                               "sleep 20",
                               "setLineColour 0000FF",
                               "sleep 100",
                               "moveArm left 0 384 502 3",
                               "moveArm right 522 384 1024 3",
                               "moveArm up 512 0 3 374",
                               "moveArm down 512 394 3 768",
                               "sleep 33",
                               "killTimer 14",
                               "setCaption Ready",
                               "setClassIcon START"}));
    EXPECT_EQ(switchState().mouseHookActive, 1);
    EXPECT_EQ(rearmState().rearmCount, 0);
    EXPECT_EQ(scanState().cellState[0], CELL_HIGHLIGHTED);
    EXPECT_EQ(scanState().startIconShown, 1);
}

TEST_F(RearmTest, PointerThatMovedBeforeTheFirstTickShowsOneExtraFive) {
    forgetRearmPointer();
    EXPECT_EQ(titles(3), (Lines{"Ready (5 s)", "Ready (5 s)", "Ready (4 s)"}));
}

TEST_F(RearmTest, MovingMoreThanTenPixelsStartsAgainAndTenIsRest) {
    titles(3);
    fake.cursor = {512 + 6, 384 + 8}; // exactly 10
    EXPECT_EQ(titles(1), (Lines{"Ready (2 s)"}));
    fake.cursor = {518 + 8, 392 + 7}; // 10.6
    EXPECT_EQ(titles(2), (Lines{"Ready (5 s)", "Ready (5 s)"}))
        << "the count restarts, and the tick after it counts from zero";
    EXPECT_EQ(rearmState().rearmCount, 1);
    fake.cursor = {526 - 11, 399};
    titles(1);
    EXPECT_EQ(rearmState().rearmCount, 0);
}

TEST_F(RearmTest, ShortRearmCountsFromTwoForTheRestOfTheRun) {
    startShortRearm(fake);
    EXPECT_EQ(titles(3), (Lines{"Ready (2 s)", "Ready (1 s)", "Ready (0 s)"}));
    EXPECT_EQ(rearmState().shortRearm, 0);
    fake.clearLog();
    rearmTick(fake);
    EXPECT_EQ(fake.calls("killTimer"), (Lines{"killTimer 14"}));
    EXPECT_EQ(fake.caption, "Ready");

    EXPECT_EQ(titles(1), (Lines{"Ready (2 s)"}));
    EXPECT_EQ(rearmState().rearmLimit, 2);
}

TEST_F(LogicTest, StartDelayBuildsTheCrosshairOnlyWithAHookIn) {
    useDefaults();
    startDelayTick(fake);
    EXPECT_EQ(fake.log, (Lines{"killTimer 17"}));

    switchStateForTests().keyboardHookActive = 1;
    markCrosshairOpen();
    fake.clearLog();
    startDelayTick(fake);
    EXPECT_EQ(fake.log, (Lines{"sleep 5", "closeArm left", "closeArm right", "closeArm up", "closeArm down",
                               "startArm left", "startArm right", "startArm up", "startArm down", "sleep 5",
                               "setLineColour 0000FF", "sleep 100", "killTimer 17"}));
}

// ---- Panel --------------------------------------------------------------------

TEST_F(LogicTest, StartUpLoadsSettingsRestsTheCellsAndInstallsTheHook) {
    rearmStateForTests().rearmLastX = 40;
    rearmStateForTests().rearmLastY = 50;
    startUp(fake);
    EXPECT_EQ(fake.calls("installHook"), (Lines{"installHook mouse"}));
    EXPECT_EQ(switchState().mouseHookActive, 1);
    EXPECT_EQ(live().liveScanPeriodMs, 1500);
    EXPECT_EQ(scanCells(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(scanState().cellState[0], CELL_HIGHLIGHTED);
    EXPECT_EQ(scanState().startIconShown, 1);
    EXPECT_EQ(rearmState().rearmLastX, 0);
    EXPECT_EQ(rearmState().rearmLastY, 0);
}

TEST_F(LogicTest, PanelTimersGoToTheirTicks) {
    useDefaults();
    onPanelTimer(fake, TIMER_SCAN);
    EXPECT_EQ(fake.caption, "STOP");
    onPanelTimer(fake, TIMER_REARM);
    EXPECT_EQ(fake.caption, "Ready (5 s)");
    fake.clearLog();
    onPanelTimer(fake, TIMER_START_DELAY);
    EXPECT_EQ(fake.log, (Lines{"killTimer 17"}));

    setPressState(PressState::Moving);
    setPendingAction(4);
    fake.clearLog();
    onPanelTimer(fake, TIMER_MOVE);
    EXPECT_EQ(fake.calls("sendAbsoluteMove").size(), 1u);
    EXPECT_EQ(switchState().lastMoveY, 386);

    fake.clearLog();
    onPanelTimer(fake, TIMER_CONFIG);
    onPanelTimer(fake, 12);
    EXPECT_TRUE(fake.log.empty());
}

TEST_F(LogicTest, OnlyCellZeroCommandStopsAndRestoreArmsTheStartDelay) {
    onCellCommand(fake, 3);
    EXPECT_TRUE(fake.log.empty());
    onCellCommand(fake, 0);
    EXPECT_EQ(fake.log.front(), "sendButton 4");
    EXPECT_EQ(fake.caption, "Ready");
    fake.clearLog();
    onPanelRestored(fake);
    EXPECT_EQ(fake.log, (Lines{"setTimer 17 1500"}));
}

TEST_F(LogicTest, HitTestKeepsPointerOverPanelWhileConfigIsOpen) {
    ownWindowStateForTests(OwnWindow::Settings).open = 0;
    clearPointerOverPanel();
    onPanelHitTest(true);
    EXPECT_EQ(panelState().pointerOverPanel, 1);
    onPanelHitTest(false);
    EXPECT_EQ(panelState().pointerOverPanel, 0);

    ownWindowStateForTests(OwnWindow::Settings).open = 1;
    onPanelHitTest(true);
    EXPECT_EQ(panelState().pointerOverPanel, 0) << "unchanged while the window is open";
    fake.onPanel = true;
    refreshPointerOverPanel(fake);
    onPanelHitTest(false);
    EXPECT_EQ(panelState().pointerOverPanel, 0);
    ownWindowStateForTests(OwnWindow::Settings).open = 0;
}

TEST_F(LogicTest, ClosingThePanelStopsEverythingItStarted) {
    switchStateForTests().mouseHookActive = 1;
    switchStateForTests().keyboardHookActive = 1;
    closePanel(fake);
    EXPECT_EQ(fake.log, (Lines{"removeHook mouse", "removeHook keyboard", "killTimer 11", "killTimer 99",
                               "killTimer 14", "closeArm left", "closeArm right", "closeArm up",
                               "closeArm down", "endMenu"}));
    EXPECT_EQ(switchState().mouseHookActive, 0);
    EXPECT_EQ(switchState().keyboardHookActive, 0);
}

} // namespace
} // namespace sp
