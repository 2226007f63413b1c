// The scan: which cells a pass visits, what one tick paints and says, the
// freeze on a press, and the cell states the panel repaints from.
#include "scan/cells.h"
#include "test_state.h"

namespace sp {
namespace {

SettingsValues withClicks(std::initializer_list<int> flags) {
    SettingsValues v = defaultSettings();
    int k = 0;
    for (int f : flags) v.enabledClicks[k++] = f;
    return v;
}

// ---- Sequence -----------------------------------------------------------------

struct SequenceCase {
    const char* name;
    SettingsValues settings;
    std::vector<int> clickCells; // in the sequence after the five fixed ones
    std::vector<int> cells;      // highlighted by consecutive ticks from the start
};

void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }

class ScanSequenceTest : public LogicTest, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(ScanSequenceTest, PassVisitsEnabledCellsThenWrapsToCellZero) {
    const SequenceCase& c = GetParam();
    useSettings(c.settings);
    std::vector<int> sequence = {0, 1, 2, 3, 4};
    sequence.insert(sequence.end(), c.clickCells.begin(), c.clickCells.end());
    EXPECT_EQ(scanCells(), sequence);
    EXPECT_EQ(highlights(static_cast<int>(c.cells.size())), c.cells);
}

INSTANTIATE_TEST_SUITE_P(
    ClickKinds, ScanSequenceTest,
    ::testing::Values(
        SequenceCase{
            "all", withClicks({1, 1, 1, 1, 1}), {5, 6, 7, 8, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1}},
        SequenceCase{"none", withClicks({0, 0, 0, 0, 0}), {}, {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0}},
        SequenceCase{"dragOnly", withClicks({0, 0, 0, 0, 1}), {9}, {0, 1, 2, 3, 4, 9, 0, 1}},
        SequenceCase{"doubleAndDrag", withClicks({0, 1, 0, 0, 1}), {6, 9}, {0, 1, 2, 3, 4, 6, 9, 0}},
        SequenceCase{"rightOnly", withClicks({0, 0, 1, 0, 0}), {7}, {0, 1, 2, 3, 4, 7, 0}}),
    CaseName());

TEST_F(LogicTest, TickAfterTheLastEntryHighlightsCellZeroInTheSameTick) {
    useDefaults();
    highlights(10);
    ASSERT_EQ(scanState().scanPos, 11);
    fake.clearLog();
    scanStep(fake);
    EXPECT_EQ(scanState().highlightedCell, 0);
    EXPECT_EQ(scanState().highlightedAction, 0);
    EXPECT_EQ(scanState().scanPos, 2);
    EXPECT_EQ(fake.calls("paintCell 0").front(), "paintCell 0 00FF00 STOP");
    EXPECT_EQ(fake.caption, "STOP");
}

TEST_F(LogicTest, KindTurnedOffBehindTheScanPositionSendsTheNextTickToCellZero) {
    useDefaults();
    highlights(8); // cells 0..7, scanPos now 9
    setClickKindCode(0, 2);
    setClickKindCode(0, 3);
    setClickKindCode(0, 4);
    buildScanSequence();
    EXPECT_EQ(scanState().scanPos, 9) << "a rebuild leaves the position alone";
    EXPECT_EQ(highlights(3), (std::vector<int>{0, 1, 2}));
}

TEST_F(LogicTest, OnlyTheValueOneEnablesAClickKind) {
    setClickKindCode(1, 3);
    EXPECT_TRUE(clickKindInScan(3));
    setClickKindCode(2, 3);
    EXPECT_FALSE(clickKindInScan(3));
    setClickKindCode(2, 0);
    buildScanSequence();
    EXPECT_EQ(scanCells(), (std::vector<int>{0, 1, 2, 3, 4}));
}

// ---- One step -------------------------------------------------------------

TEST_F(LogicTest, StepPaintsAllCellsThenStatesCaptionIconAndWaits) {
    useSettings(withClicks({1, 0, 1, 1, 0})); // double click and drag off
    setDragging(true);
    scanStateForTests().cellState[6] = CELL_DISABLED;
    scanStateForTests().startIconShown = 1;
    scanStateForTests().scanPos = 4; // up
    scanStep(fake);

    // A held drag outranks the grey of a kind that is off.
    EXPECT_EQ(fake.log,
              (Lines{"paintCell 0 FEFFFF STOP", "paintCell 1 FEFFFF ESQUERRA", "paintCell 2 FEFFFF DRETA",
                     "paintCell 3 00FF00 AMUNT", "paintCell 4 FEFFFF AVALL",
                     "paintCell 5 FEFFFF CLIC_ESQUERRA", "paintCell 6 CCCCCC DOBLE_CLIC",
                     "paintCell 7 FEFFFF CLIC_DRETA", "paintCell 8 FEFFFF MIDDEL_CLIC",
                     "paintCell 9 49AFF7 ARRASTRA", "setCaption UP", "setClassIcon AMUNT", "sleep 10"}));
    EXPECT_EQ(scanState().scanPos, 5);
    EXPECT_EQ(scanState().highlightedAction, 3);
    EXPECT_EQ(scanState().startIconShown, 0);
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        EXPECT_EQ(scanState().cellState[cell], cell == 3 ? CELL_HIGHLIGHTED : CELL_NORMAL) << cell;
}

TEST_F(LogicTest, HighlightedDragCellIsGreenEvenWhileDragging) {
    useDefaults();
    setDragging(true);
    scanStateForTests().scanPos = 10;
    scanStep(fake);
    EXPECT_EQ(fake.calls("paintCell 9"), (Lines{"paintCell 9 00FF00 ARRASTRA"}));
}

struct CaptionCase {
    int cell;
    const char* caption;
    const char* icon;
};

void PrintTo(const CaptionCase& c, std::ostream* os) { *os << "cell " << c.cell; }

class ScanCaptionTest : public LogicTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(ScanCaptionTest, StepNamesTheHighlightedCell) {
    useDefaults();
    scanStateForTests().scanPos = GetParam().cell + 1;
    scanStep(fake);
    EXPECT_EQ(fake.caption, GetParam().caption);
    EXPECT_EQ(fake.calls("setClassIcon"), (Lines{std::string("setClassIcon ") + GetParam().icon}));
}

INSTANTIATE_TEST_SUITE_P(Cells, ScanCaptionTest,
                         ::testing::Values(CaptionCase{0, "STOP", "STOP"}, CaptionCase{1, "LEFT", "ESQUERRA"},
                                           CaptionCase{2, "RIGHT", "DRETA"}, CaptionCase{3, "UP", "AMUNT"},
                                           CaptionCase{4, "DOWN", "AVALL"},
                                           CaptionCase{5, "Left Click", "CLIC_ESQUERRA"},
                                           CaptionCase{6, "Double Left Click", "DOBLE_CLIC"},
                                           CaptionCase{7, "Middle Right", "CLIC_DRETA"},
                                           CaptionCase{8, "Middle Click", "MIDDEL_CLIC"},
                                           CaptionCase{9, "Click To Drag", "ARRASTRA"}),
                         [](const auto& info) { return "cell" + std::to_string(info.param.cell); });

// ---- Freeze ---------------------------------------------------------------

struct FreezeCase {
    int cell;
    int action;
    Lines log;
};

void PrintTo(const FreezeCase& c, std::ostream* os) { *os << "cell " << c.cell; }

class FreezeTest : public LogicTest, public ::testing::WithParamInterface<FreezeCase> {};

TEST_P(FreezeTest, SelectsTheHighlightedCell) {
    const FreezeCase& c = GetParam();
    useDefaults();
    setPressState(PressState::Scanning);
    scanStateForTests().scanPos = c.cell + 1;
    scanStep(fake);
    EXPECT_EQ(scanState().highlightedAction, c.action);
    fake.clearLog();

    freezeScan(fake);
    EXPECT_EQ(fake.log, c.log);
    EXPECT_EQ(pressState(), (c.action >= 1 && c.action <= 4) ? PressState::Moving : PressState::Idle);
    EXPECT_EQ(scanState().highlightedAction, c.action);
    EXPECT_EQ(scanState().scanPos, c.cell + 2) << "the freeze does not move the scan";
    EXPECT_EQ(scanState().startIconShown, c.cell == 0 ? 1 : 0);
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        EXPECT_EQ(scanState().cellState[cell], cell == c.cell ? CELL_SELECTED : CELL_NORMAL) << cell;
}

INSTANTIATE_TEST_SUITE_P(
    Cells, FreezeTest,
    ::testing::Values(FreezeCase{0, 0, {"killTimer 11", "paintCell 0 00FF00 START", "sleep 100"}},
                      FreezeCase{2, 2, {"killTimer 11", "paintCell 2 00FF00 DRETA", "sleep 100"}},
                      FreezeCase{5, 5, {"killTimer 11", "paintCell 5 00FF00 CLIC_ESQUERRA", "sleep 100"}},
                      FreezeCase{6, 8, {"killTimer 11", "paintCell 6 00FF00 DOBLE_CLIC", "sleep 100"}},
                      FreezeCase{7, 6, {"killTimer 11", "paintCell 7 00FF00 CLIC_DRETA", "sleep 100"}},
                      FreezeCase{8, 7, {"killTimer 11", "paintCell 8 00FF00 MIDDEL_CLIC", "sleep 100"}},
                      FreezeCase{9, 9, {"killTimer 11", "paintCell 9 00FF00 ARRASTRA", "sleep 100"}}),
    [](const auto& info) { return "cell" + std::to_string(info.param.cell); });

TEST_F(LogicTest, StopScanTimersEndsMovementButKeepsThePosition) {
    setPressState(PressState::Moving);
    setPendingAction(2);
    scanStateForTests().scanPos = 4;
    stopScanTimers(fake);
    EXPECT_EQ(fake.log, (Lines{"killTimer 11", "killTimer 99", "sleep 10"}));
    EXPECT_NE(pressState(), PressState::Moving);
    EXPECT_EQ(switchState().pendingAction, 0);
    EXPECT_EQ(scanState().scanPos, 4);
}

// ---- States and painting from them ------------------------------------------

TEST_F(LogicTest, RestStatesFollowTheEnabledClickKinds) {
    useSettings(withClicks({1, 0, 1, 0, 1}));
    for (auto& s : scanStateForTests().cellState) s = CELL_SELECTED;
    resetCellStates();
    EXPECT_TRUE(fake.log.empty()) << "resetting states paints nothing";
    const int want[CELL_COUNT] = {CELL_HIGHLIGHTED, CELL_NORMAL,   CELL_NORMAL, CELL_NORMAL,   CELL_NORMAL,
                                  CELL_NORMAL,      CELL_DISABLED, CELL_NORMAL, CELL_DISABLED, CELL_NORMAL};
    for (int cell = 0; cell < CELL_COUNT; ++cell) EXPECT_EQ(scanState().cellState[cell], want[cell]) << cell;
    EXPECT_EQ(scanState().startIconShown, 1);
}

TEST_F(LogicTest, ColourForStateOnlyTurnsANormalDragCellOrange) {
    setDragging(true);
    EXPECT_EQ(colourForState(9, CELL_NORMAL), 0x49AFF7u);
    EXPECT_EQ(colourForState(9, CELL_HIGHLIGHTED), 0x00FF00u);
    EXPECT_EQ(colourForState(9, CELL_SELECTED), 0x00FF00u);
    EXPECT_EQ(colourForState(9, CELL_DISABLED), 0xCCCCCCu);
    EXPECT_EQ(colourForState(8, CELL_NORMAL), 0xFEFFFFu);
    setDragging(false);
    EXPECT_EQ(colourForState(9, CELL_NORMAL), 0xFEFFFFu);
}

} // namespace
} // namespace sp

namespace sp {
namespace {

// ---- The cell table ------------------------------------------------------------

TEST(CellTableTest, EachActionAndClickKindHasOneCellAndThePanelKeepsItsShape) {
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        EXPECT_EQ(cellForAction(cellRow(cell).action), cell) << "one cell for the action of cell " << cell;
    for (int kind = 0; kind < CLICK_KIND_COUNT; ++kind)
        EXPECT_EQ(cellRow(cellOfClickKind(kind)).clickKind, kind) << "kind " << kind;
    EXPECT_EQ(cellForAction(-1), NO_CELL);
    EXPECT_EQ(actionKind(-1), ActionKind::None);
    EXPECT_EQ(cellOfClickKind(CLICK_KIND_COUNT), NO_CELL);

    // Two rows of five 45-pixel cells, as the panel has always had them.
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        EXPECT_EQ(cellShown(cell), cell <= CELL_DRAG) << "cell " << cell;
        if (cell <= CELL_DRAG) {
            EXPECT_TRUE(cellRect(cell) == (Rect{45 * (cell % 5), 45 * (cell / 5), 45, 45}))
                << "cell " << cell;
        }
    }
    EXPECT_EQ(panelCellArea().width, 223);
    EXPECT_EQ(panelCellArea().height, 90);
}

class KindOffTest : public LogicTest, public ::testing::WithParamInterface<int> {};

// Each kind greys its own cell and no other, and a cell outside the table is
// never taken for a click cell.
TEST_P(KindOffTest, GreysOnlyItsOwnCell) {
    SettingsValues v = defaultSettings();
    v.enabledClicks[GetParam()] = 0;
    useSettings(v);
    const int off = cellOfClickKind(GetParam());
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        EXPECT_EQ(scanStepColour(cell, NO_CELL), cell == off ? COLOUR_DISABLED : COLOUR_NORMAL)
            << "cell " << cell;
    EXPECT_EQ(scanStepColour(CELL_COUNT, NO_CELL), COLOUR_NORMAL);
    EXPECT_FALSE(clickKindOff(CELL_START_STOP));
}

std::string kindName(const ::testing::TestParamInfo<int>& info) {
    const char* names[CLICK_KIND_COUNT] = {"left", "double", "right", "middle", "drag"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(ClickKinds, KindOffTest, ::testing::Range(0, int{CLICK_KIND_COUNT}), kindName);

} // namespace
} // namespace sp
