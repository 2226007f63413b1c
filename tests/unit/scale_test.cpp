// Every figure on a screen scaled for its DPI: 96 gives the figures the
// program has always had, and the others follow them by the one rounding.
#include <algorithm>
#include <ostream>

#include "config_window/layout.h"
#include "overlay/help_box.h"
#include "test_state.h"

namespace sp {
namespace {

TEST(ScaleTest, RoundsHalvesAwayFromZeroAndTakesAnUnknownDpiAsNinetySix) {
    const int rows[][3] = {{45, 144, 68}, {3, 144, 5},  {-5, 144, -8},          {2, 120, 3},
                           {45, 0, 45},   {45, -1, 45}, {1000000, 480, 5000000}};
    for (const auto& r : rows) EXPECT_EQ(scaleToDpi(r[0], r[1]), r[2]) << r[0] << " at " << r[1];
}

struct ScaleRow {
    const char* name;
    int dpi, cell;
    Size cellArea;
    // Moving the crosshair to (300, 200) on one 1024 x 768 monitor, help box on.
    Lines moves;
    Point helpBoxNearTop; // pointer at (500, 50)
    Rect configWindow, acceptButton;
};
void PrintTo(const ScaleRow& row, std::ostream* os) { *os << row.name; }

// clang-format off
const ScaleRow SCALE_ROWS[] = {
    {"dpi96", 96, 45, {223, 90},
     {"moveArm left 0 200 290 3", "moveArm right 310 200 1024 3", "moveArm up 300 0 3 190",
      "moveArm down 300 210 3 768", "moveHelpBox 320 140"},
     {520, 90}, {192, 106, 640, 555}, {430, 488, 90, 27}},
    {"dpi120", 120, 56, {277, 112},
     {"moveArm left 0 200 287 4", "moveArm right 313 200 1024 4", "moveArm up 300 0 4 187",
      "moveArm down 300 213 4 768", "moveHelpBox 325 125"},
     {525, 100}, {112, 37, 800, 694}, {538, 610, 113, 34}},
    {"dpi144", 144, 68, {337, 136},
     {"moveArm left 0 200 285 5", "moveArm right 315 200 1024 5", "moveArm up 300 0 5 185",
      "moveArm down 300 215 5 768", "moveHelpBox 330 110"},
     {530, 110}, {32, -32, 960, 833}, {645, 732, 135, 41}},
    {"dpi192", 192, 90, {446, 180},
     {"moveArm left 0 200 280 6", "moveArm right 320 200 1024 6", "moveArm up 300 0 6 180",
      "moveArm down 300 220 6 768", "moveHelpBox 340 80"},
     {540, 130}, {-128, -171, 1280, 1110}, {860, 976, 180, 54}},
};
// clang-format on

class ScaledGeometryTest : public LogicTest, public ::testing::WithParamInterface<ScaleRow> {};

TEST_P(ScaledGeometryTest, PanelCrosshairHelpBoxAndSettingsWindowFollowTheDpi) {
    const ScaleRow& r = GetParam();
    // The cells tile the panel at one pitch: none overlaps the next.
    for (int cell = 0; cell <= CELL_DRAG; ++cell)
        EXPECT_EQ(cellRectAt(cell, r.dpi), (Rect{r.cell * (cell % 5), r.cell * (cell / 5), r.cell, r.cell}))
            << "cell " << cell;
    EXPECT_EQ(panelCellArea(r.dpi).width, r.cellArea.width);
    EXPECT_EQ(panelCellArea(r.dpi).height, r.cellArea.height);
    EXPECT_EQ(placeHelpBox({500, 50}, Rect{0, 0, 1024, 768}, r.dpi), r.helpBoxNearTop);
    EXPECT_EQ(configWindowRect({1024, 768}, r.dpi), r.configWindow);
    const ControlRow* end = CONFIG_CONTROLS + CONFIG_CONTROL_COUNT;
    const ControlRow* accept =
        std::find_if(CONFIG_CONTROLS, end, [](const ControlRow& c) { return c.id == ID_ACCEPT; });
    ASSERT_NE(accept, end);
    EXPECT_EQ(controlRect(*accept, r.dpi), r.acceptButton);

    // The crosshair takes the scale of the monitor under the pointer.
    SettingsValues v = defaultSettings();
    v.helpBox = 1;
    useSettings(v);
    fake.dpi = r.dpi;
    moveCrosshair(fake, {300, 200});
    EXPECT_EQ(fake.calls("move"), r.moves);
}

INSTANTIATE_TEST_SUITE_P(Dpis, ScaledGeometryTest, ::testing::ValuesIn(SCALE_ROWS), CaseName());

} // namespace
} // namespace sp
