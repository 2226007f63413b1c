// Click actions: the table of what each click kind sends where, the drag
// toggle, and the help box that follows the crosshair.
#include <string>
#include <vector>

#include "case_name.h"
#include "overlay/help_box.h"
#include "scan/cells.h"
#include "test_state.h"

namespace sp {
namespace {

using Lines = std::vector<std::string>;

// Events by role ("P+" primary down, "S-" secondary up, "M+" middle down),
// turned into the flags the buttons give them.
Lines buttonLines(const std::string& roles, bool swapped) {
    Lines out;
    for (size_t i = 0; i + 1 < roles.size(); i += 3) {
        const char who = roles[i];
        const bool down = roles[i + 1] == '+';
        const bool left = (who == 'P') != swapped;
        unsigned flag = 0;
        if (who == 'M')
            flag = down ? BUTTON_MIDDLE_DOWN : BUTTON_MIDDLE_UP;
        else if (left)
            flag = down ? BUTTON_LEFT_DOWN : BUTTON_LEFT_UP;
        else
            flag = down ? BUTTON_RIGHT_DOWN : BUTTON_RIGHT_UP;
        out.push_back("sendButton " + std::to_string(flag));
    }
    return out;
}

struct ClickRow {
    const char* name;
    int action;
    // Where the pointer is and what the configuration window shows.
    bool onPanel, onConfig, configOpen, colourDialog, anyClickShown;
    int draggingBefore;
    const char* roles; // events, see buttonLines
    const char* other; // "open", "timer" or ""
    int draggingAfter;
};

void PrintTo(const ClickRow& r, std::ostream* os) { *os << r.name; }

class ClickTableTest : public LogicTest, public ::testing::WithParamInterface<ClickRow> {};

TEST_P(ClickTableTest, SendsItsEventsAndAlwaysScansAgainFromTheStart) {
    const ClickRow& row = GetParam();
    for (bool swapped : {false, true}) {
        resetAll();
        useDefaults();
        fake = FakePlatform{};
        fake.swapped = swapped;
        fake.onPanel = row.onPanel;
        fake.onOwnWindow[0] = row.onConfig;
        ownWindowStateForTests(OwnWindow::Settings).open = row.configOpen ? 1 : 0;
        configStateForTests().colourDialogOpen = row.colourDialog ? 1 : 0;
        configStateForTests().clickChecks[2] = row.anyClickShown ? 1 : 0;
        setDragging(row.draggingBefore != 0);
        setPendingAction(row.action);
        scanStateForTests().scanPos = 7;
        installSwitchHook(fake);

        performClick(fake);

        Lines effects;
        for (const auto& line : fake.log)
            if (line.rfind("sendButton", 0) == 0 || line == "openConfigWindow" ||
                line.rfind("setConfigTimer", 0) == 0 || line.rfind("showMenu", 0) == 0)
                effects.push_back(line);
        Lines expected = buttonLines(row.roles, swapped);
        if (std::string(row.other) == "open") expected.push_back("openConfigWindow");
        if (std::string(row.other) == "timer") expected.push_back("setConfigTimer 500");
        if (std::string(row.other) == "menu") expected.push_back("showMenu panel");
        EXPECT_EQ(effects, expected) << (swapped ? "swapped" : "not swapped");
        EXPECT_EQ(clickState().dragging, row.draggingAfter);
        EXPECT_EQ(pressState(), PressState::Scanning);
        EXPECT_EQ(scanState().scanPos, 1);
        EXPECT_TRUE(fake.timerRunning[TIMER_SCAN]);
        EXPECT_TRUE(fake.calls("removeHook").empty()) << "the switch stays in through the click";
        EXPECT_TRUE(fake.hookIn[0]);
        EXPECT_EQ(scanState().highlightedAction, NO_ACTION) << "nothing to click again before a step";
        EXPECT_EQ(fake.calls("sleep"), (Lines{"sleep 500"}));
    }
}

const ClickRow CLICK_ROWS[] = {
    // name                    action panel  config open   dialog shown  drag roles              other   after
    {"Left", 5, false, false, false, false, false, 0, "P+ P-", "", 0},
    {"LeftEndsDragThenClicks", 5, false, false, false, false, false, 1, "P- P+ P-", "", 0},
    {"LeftOnPanelOpensWindow", 5, true, false, false, false, false, 0, "", "open", 0},
    {"LeftOnPanelWindowOpen", 5, true, false, true, false, false, 0, "", "", 0},
    {"LeftOnWindow", 5, false, true, true, false, false, 0, "P+ P-", "", 0},
    {"LeftOnWindowEndsDrag", 5, false, true, true, false, false, 1, "P-", "", 0},
    {"LeftOnWindowWithColourDialog", 5, false, true, true, true, false, 0, "P+ P-", "timer", 0},
    {"OnWindowClientButNoWindow", 5, false, true, false, false, false, 0, "P+ P-", "", 0},
    {"Right", 6, false, false, false, false, false, 0, "S+ S-", "", 0},
    {"RightOnlyEndsDrag", 6, false, false, false, false, false, 1, "P-", "", 0},
    {"RightOnWindowKeepsDrag", 6, false, true, true, false, false, 1, "P+ P-", "", 1},
    {"RightOnPanelOpensMenu", 6, true, false, false, false, false, 0, "", "menu", 0},
    {"RightOnPanelKeepsDragLikeLeft", 6, true, false, false, false, false, 1, "", "menu", 1},
    {"MiddleOnPanelIsAMiddleClick", 7, true, false, false, false, false, 0, "M+ M-", "", 0},
    {"Middle", 7, false, false, false, false, false, 0, "M+ M-", "", 0},
    {"MiddleOnlyEndsDrag", 7, false, false, false, false, false, 1, "P-", "", 0},
    {"MiddleOnWindowWithColourDialog", 7, false, true, true, true, false, 0, "P+ P-", "timer", 0},
    {"Double", 8, false, false, false, false, false, 0, "P+ P- P+ P-", "", 0},
    {"DoubleOnlyEndsDrag", 8, false, false, false, false, false, 1, "P-", "", 0},
    {"DoubleOnWindow", 8, false, true, true, false, true, 0, "P+ P-", "", 0},
    {"DragStarts", 9, false, false, false, false, false, 0, "P+", "", 1},
    {"DragEnds", 9, false, false, false, false, false, 1, "P-", "", 0},
    {"DragOnWindowWithNoClickShownClicks", 9, false, true, true, true, false, 0, "P+ P-", "", 0},
    {"DragOnWindowWithAClickShownDrags", 9, false, true, true, false, true, 0, "P+", "", 1},
    {"NoActionSendsNothing", 0, false, false, false, false, false, 0, "", "", 0},
};

INSTANTIATE_TEST_SUITE_P(Kinds, ClickTableTest, ::testing::ValuesIn(CLICK_ROWS), CaseName());

TEST_F(LogicTest, DragToggleSequencesLeaveNoButtonHeld) {
    struct Sequence {
        std::vector<int> actions;
        const char* roles;
    };
    const Sequence sequences[] = {
        {{ACTION_DRAG, ACTION_DRAG}, "P+ P-"},
        {{ACTION_DRAG, ACTION_RIGHT_CLICK}, "P+ P-"},
        {{ACTION_DRAG, ACTION_LEFT_CLICK}, "P+ P- P+ P-"},
    };
    for (const Sequence& s : sequences) {
        resetAll();
        useDefaults();
        fake = FakePlatform{};
        for (size_t i = 0; i < s.actions.size(); ++i) {
            setPendingAction(s.actions[i]);
            performClick(fake);
            if (i == 0) {
                EXPECT_EQ(colourForState(9, CELL_NORMAL), COLOUR_DRAGGING) << "cell 9 shows the held drag";
                moveCrosshair(fake, {fake.cursor.x + 40, fake.cursor.y});
            }
        }
        EXPECT_EQ(fake.calls("sendButton"), buttonLines(s.roles, false)) << s.roles;
        EXPECT_EQ(clickState().dragging, 0);
    }
}

TEST_F(LogicTest, NoButtonIsLeftDownByAStopOrAnExit) {
    useDefaults();
    fake.swapped = true;
    stopAndReset(fake);
    EXPECT_EQ(fake.calls("sendButton"), (Lines{"sendButton 16"})) << "one primary up, no drag held";

    fake.clearLog();
    closePanel(fake);
    EXPECT_TRUE(fake.calls("sendButton").empty()) << "nothing held, nothing sent";
    setDragging(true);
    closePanel(fake);
    EXPECT_TRUE(fake.calls("sendButton").empty()) << "a second way out finds everything done";
    EXPECT_EQ(fake.calls("removeHook").size(), 2u) << "the hooks come out once";

    resetPanelState();
    fake.clearLog();
    closePanel(fake);
    EXPECT_EQ(fake.calls("sendButton"), (Lines{"sendButton 16"})) << "a held drag is released on exit";
    EXPECT_EQ(clickState().dragging, 0);
}

TEST_F(LogicTest, ALeftClickAfterThePointerCrossedThePanelIsAClick) {
    useDefaults();
    onPanelHitTest(true); // the pointer ran across the panel and left it
    fake.onPanel = false;
    setPendingAction(ACTION_LEFT_CLICK);
    performClick(fake);
    EXPECT_EQ(fake.calls("sendButton"), buttonLines("P+ P-", false));
    EXPECT_TRUE(fake.calls("openConfigWindow").empty());

    // On the panel it opens the window, and the crosshair gives way to it.
    fake = FakePlatform{};
    fake.onPanel = true;
    performClick(fake);
    EXPECT_TRUE(fake.calls("sendButton").empty());
    EXPECT_EQ(fake.calls("openConfigWindow").size(), 1u);
    EXPECT_EQ(fake.calls("closeArm").size(), 4u);
    EXPECT_EQ(panelState().pointerOverPanel, 0);
    EXPECT_EQ(configState().scanStoppedForConfig, 0);
}

// ---- Help box ------------------------------------------------------------------

TEST(HelpBoxTest, SitsBesideThePointerAndStaysOnScreenAtTheSideAndTopEdges) {
    struct Case {
        Point pointer, box;
    };
    const Case cases[] = {
        {{100, 100}, {120, 40}}, {{100, 30}, {120, 70}},    {{30, 30}, {50, 90}}, {{30, 100}, {50, 40}},
        {{1000, 30}, {940, 90}}, {{1000, 500}, {940, 440}}, {{60, 60}, {80, 0}},  {{964, 100}, {984, 40}},
    };
    for (const Case& c : cases) {
        const Point box = placeHelpBox(c.pointer, 1024);
        EXPECT_TRUE(box == c.box) << "pointer (" << c.pointer.x << ", " << c.pointer.y << ") gave (" << box.x
                                  << ", " << box.y << ")";
    }
}

TEST(HelpBoxTest, ShowsTheHighlightedCellsIconAndNothingForNoCell) {
    const char* expected[CELL_COUNT] = {
        "STOP",          "ESQUERRA",   "DRETA",       "AMUNT",    "AVALL",      "CLIC_ESQUERRA",
        "DOBLE_CLIC",    "CLIC_DRETA", "MIDDEL_CLIC", "ARRASTRA", "RODA_AMUNT", "RODA_AVALL",
        "RODA_ESQUERRA", "RODA_DRETA", "MENU",        "PUNT",     "TECLAT"};
    Icon icon = Icon::Stop;
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        ASSERT_TRUE(helpBoxIcon(cell, false, icon));
        EXPECT_STREQ(iconResourceName(icon), expected[cell]) << "cell " << cell;
    }
    ASSERT_TRUE(helpBoxIcon(0, true, icon));
    EXPECT_STREQ(iconResourceName(icon), "START") << "after a freeze on cell 0";
    for (int cell : {int{NO_CELL}, int{CELL_COUNT}})
        EXPECT_FALSE(helpBoxIcon(cell, true, icon)) << "cell " << cell;
}

TEST_F(LogicTest, HelpBoxComesGoesAndFollowsWithTheCrosshair) {
    SettingsValues v = defaultSettings();
    v.helpBox = 1;
    useSettings(v);
    rebuildCrosshair(fake, 0, 0);
    EXPECT_EQ(fake.calls("start"),
              (Lines{"startArm left", "startArm right", "startArm up", "startArm down", "startHelpBox"}));
    fake.clearLog();
    moveCrosshair(fake, {1000, 30});
    EXPECT_EQ(fake.log.end()[-3], "moveHelpBox 940 90");
    EXPECT_EQ(fake.log.end()[-2], "invalidateHelpBox");
    fake.clearLog();
    // From rest cell 0 shows START; once the scan is on it, the box shows
    // STOP as the cell does, whenever its thread repaints.
    resetCellStates();
    std::string painted;
    fake.onInvalidateHelpBox = [&] {
        Icon icon = Icon::Stop;
        if (currentHelpBoxIcon(icon)) painted = iconResourceName(icon);
    };
    scanStep(fake);
    fake.onInvalidateHelpBox = nullptr;
    EXPECT_EQ(fake.calls("invalidateHelpBox").size(), 1u) << "the box repaints for the new cell";
    EXPECT_EQ(painted, "STOP") << "the box is told to repaint only once the step's state is in place";
    fake.clearLog();
    closeCrosshair(fake);
    EXPECT_EQ(fake.log.back(), "closeHelpBox");
    fake.clearLog();
    scanStep(fake);
    EXPECT_TRUE(fake.calls("invalidateHelpBox").empty()) << "nothing is sent to a closed box";
}

TEST_F(LogicTest, FiveHundredRebuildsWithTheHelpBoxLeaveNothingBehind) {
    SettingsValues v = defaultSettings();
    v.helpBox = 1;
    useSettings(v);
    for (int i = 0; i < 500; ++i) {
        rebuildCrosshair(fake, 5, 20);
        moveCrosshair(fake, {100 + i, 200});
    }
    EXPECT_EQ(fake.liveWindows, 5) << "one crosshair is up";
    stopAndReset(fake);
    EXPECT_EQ(fake.liveThreads, 0);
    EXPECT_EQ(fake.liveWindows, 0);
    EXPECT_LE(fake.liveBrushes, 1);
}

} // namespace
} // namespace sp
