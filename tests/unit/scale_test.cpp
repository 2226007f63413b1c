// Every figure on a screen scaled for its DPI: 96 gives the figures the
// program has always had, and the others follow them by the one rounding.
#include <ostream>

#include "config_window/layout.h"
#include "overlay/help_box.h"
#include "platform/scale.h"
#include "pointer/monitors.h"
#include "test_state.h"

namespace sp {
namespace {

TEST(ScaleTest, RoundsHalvesAwayFromZeroAndTakesAnUnknownDpiAsNinetySix) {
    const struct {
        int value, dpi, want;
    } rows[] = {
        {45, 144, 68}, {3, 144, 5}, {-5, 144, -8}, {-3, 120, -4}, {2, 120, 3},
        {0, 192, 0},   {45, 0, 45}, {45, -1, 45},  {7, 96, 7},    {1000000, 480, 5000000},
    };
    for (const auto& r : rows) EXPECT_EQ(scaleToDpi(r.value, r.dpi), r.want) << r.value << " at " << r.dpi;
}

struct ScaleRow {
    const char* name;
    int dpi;
    int cell;
    Size cellArea;
    Rect dragCell;
    // Pointer at (300, 200) on one 1024 x 768 monitor.
    Rect left, right, up, down;
    // Pointer at (500, 300), and at (500, 50) near the top edge.
    Point helpBox, helpBoxNearTop;
    Rect configWindow;
    Rect acceptButton;
};
void PrintTo(const ScaleRow& row, std::ostream* os) { *os << row.name; }

const ScaleRow SCALE_ROWS[] = {
    {"dpi96",
     96,
     45,
     {223, 90},
     {180, 45, 45, 45},
     {0, 200, 290, 3},
     {310, 200, 1024, 3},
     {300, 0, 3, 190},
     {300, 210, 3, 768},
     {520, 240},
     {520, 90},
     {192, 106, 640, 555},
     {430, 488, 90, 27}},
    {"dpi120",
     120,
     56,
     {277, 112},
     {224, 56, 56, 56},
     {0, 200, 287, 4},
     {313, 200, 1024, 4},
     {300, 0, 4, 187},
     {300, 213, 4, 768},
     {525, 225},
     {525, 100},
     {112, 37, 800, 694},
     {538, 610, 113, 34}},
    {"dpi144",
     144,
     68,
     {337, 136},
     {272, 68, 68, 68},
     {0, 200, 285, 5},
     {315, 200, 1024, 5},
     {300, 0, 5, 185},
     {300, 215, 5, 768},
     {530, 210},
     {530, 110},
     {32, -32, 960, 833},
     {645, 732, 135, 41}},
    {"dpi192",
     192,
     90,
     {446, 180},
     {360, 90, 90, 90},
     {0, 200, 280, 6},
     {320, 200, 1024, 6},
     {300, 0, 6, 180},
     {300, 220, 6, 768},
     {540, 180},
     {540, 130},
     {-128, -171, 1280, 1110},
     {860, 976, 180, 54}},
};

class ScaledGeometryTest : public LogicTest, public ::testing::WithParamInterface<ScaleRow> {};

TEST_P(ScaledGeometryTest, PanelCrosshairHelpBoxAndSettingsWindowFollowTheDpi) {
    const ScaleRow& r = GetParam();
    const MonitorLayout one = singleMonitor({1024, 768});

    // The cells tile the panel at one pitch: none overlaps the next.
    for (int cell = 0; cell <= CELL_DRAG; ++cell) {
        const Rect c = cellRectAt(cell, r.dpi);
        EXPECT_EQ(c, (Rect{r.cell * (cell % 5), r.cell * (cell / 5), r.cell, r.cell})) << "cell " << cell;
    }
    EXPECT_EQ(cellRectAt(CELL_DRAG, r.dpi), r.dragCell);
    EXPECT_EQ(panelCellArea(r.dpi).width, r.cellArea.width);
    EXPECT_EQ(panelCellArea(r.dpi).height, r.cellArea.height);

    EXPECT_EQ(armRect(Arm::Left, {300, 200}, one, r.dpi), r.left);
    EXPECT_EQ(armRect(Arm::Right, {300, 200}, one, r.dpi), r.right);
    EXPECT_EQ(armRect(Arm::Up, {300, 200}, one, r.dpi), r.up);
    EXPECT_EQ(armRect(Arm::Down, {300, 200}, one, r.dpi), r.down);

    EXPECT_EQ(placeHelpBox({500, 300}, one[0], r.dpi), r.helpBox);
    EXPECT_EQ(placeHelpBox({500, 50}, one[0], r.dpi), r.helpBoxNearTop);

    EXPECT_EQ(configWindowRect({1024, 768}, r.dpi), r.configWindow);
    const ControlRow* accept = nullptr;
    for (int i = 0; i < CONFIG_CONTROL_COUNT; ++i)
        if (CONFIG_CONTROLS[i].id == ID_ACCEPT) accept = &CONFIG_CONTROLS[i];
    ASSERT_NE(accept, nullptr);
    EXPECT_EQ(controlRect(*accept, r.dpi), r.acceptButton);
}

// The crosshair asks the system for the scale where the pointer is.
TEST_P(ScaledGeometryTest, MovingTheCrosshairUsesTheDpiUnderThePointer) {
    const ScaleRow& r = GetParam();
    SettingsValues v = defaultSettings();
    v.helpBox = 1;
    useSettings(v);
    fake.dpi = r.dpi;
    moveCrosshair(fake, {500, 300});
    const auto line = [](const char* what, const Rect& a) {
        return std::string(what) + " " + std::to_string(a.left) + " " + std::to_string(a.top) + " " +
               std::to_string(a.width) + " " + std::to_string(a.height);
    };
    const MonitorLayout one = singleMonitor({1024, 768});
    EXPECT_EQ(fake.calls("move"),
              (Lines{line("moveArm left", armRect(Arm::Left, {500, 300}, one, r.dpi)),
                     line("moveArm right", armRect(Arm::Right, {500, 300}, one, r.dpi)),
                     line("moveArm up", armRect(Arm::Up, {500, 300}, one, r.dpi)),
                     line("moveArm down", armRect(Arm::Down, {500, 300}, one, r.dpi)),
                     "moveHelpBox " + std::to_string(r.helpBox.x) + " " + std::to_string(r.helpBox.y)}));
    EXPECT_EQ(fake.armRect[static_cast<int>(Arm::Left)].height, scaleToDpi(ARM_THICKNESS, r.dpi));
}

INSTANTIATE_TEST_SUITE_P(Dpis, ScaledGeometryTest, ::testing::ValuesIn(SCALE_ROWS), CaseName());

} // namespace
} // namespace sp
