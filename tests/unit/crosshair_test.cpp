// Crosshair geometry and the shared close, rebuild and move steps.
#include "test_state.h"

namespace sp {
namespace {

const Size SCREEN{1024, 768};

bool covers(const Rect& r, int px, int py) {
    return px >= r.left && px < r.left + r.width && py >= r.top && py < r.top + r.height;
}

TEST(ArmRectTest, NearTheTopLeftCornerTheLeftAndUpArmsVanish) {
    EXPECT_EQ(armRect(Arm::Left, {5, 5}, SCREEN), (Rect{0, 5, -5, 3}));
    EXPECT_EQ(armRect(Arm::Right, {5, 5}, SCREEN), (Rect{15, 5, 1024, 3}));
    EXPECT_EQ(armRect(Arm::Up, {5, 5}, SCREEN), (Rect{5, 0, 3, -5}));
    EXPECT_EQ(armRect(Arm::Down, {5, 5}, SCREEN), (Rect{5, 15, 3, 768}));
    EXPECT_LE(armRect(Arm::Left, {10, 5}, SCREEN).width, 0);
    EXPECT_LE(armRect(Arm::Up, {5, 10}, SCREEN).height, 0);
}

TEST(ArmRectTest, AtTheBottomRightCornerTheRightAndDownArmsLieOffScreen) {
    EXPECT_EQ(armRect(Arm::Right, {1023, 767}, SCREEN), (Rect{1033, 767, 1024, 3}));
    EXPECT_EQ(armRect(Arm::Down, {1023, 767}, SCREEN), (Rect{1023, 777, 3, 768}));
    EXPECT_EQ(armRect(Arm::Left, {1023, 767}, SCREEN), (Rect{0, 767, 1013, 3}));
    EXPECT_EQ(armRect(Arm::Up, {1023, 767}, SCREEN), (Rect{1023, 0, 3, 757}));
}

// For pointers all over the screen: the 20 x 20 square around the pointer
// stays clear, each arm runs from its screen edge right up to that square
// along the pointer's row or column, and nothing else is covered.
TEST(ArmRectTest, ArmsReachTheSquareAroundThePointerButNeverEnterIt) {
    const int xs[] = {0, 1, 9, 10, 11, 12, 37, 500, 1000, 1013, 1014, 1022, 1023};
    const int ys[] = {0, 1, 9, 10, 11, 12, 41, 384, 700, 757, 758, 766, 767};
    for (int x : xs) {
        for (int y : ys) {
            SCOPED_TRACE(::testing::Message() << "pointer " << x << "," << y);
            Rect r[ARM_COUNT];
            for (Arm arm : ALL_ARMS) r[static_cast<int>(arm)] = armRect(arm, {x, y}, SCREEN);
            const Rect& left = r[0];
            const Rect& right = r[1];
            const Rect& up = r[2];
            const Rect& down = r[3];

            for (int py = y - 12; py <= y + 12; ++py)
                for (int px = x - 12; px <= x + 12; ++px) {
                    const bool inSquare = px >= x - 10 && px <= x + 9 && py >= y - 10 && py <= y + 9;
                    if (!inSquare) continue;
                    for (const Rect& arm : r) ASSERT_FALSE(covers(arm, px, py)) << px << "," << py;
                }

            if (x - 11 >= 0) {
                EXPECT_TRUE(covers(left, 0, y));
                EXPECT_TRUE(covers(left, x - 11, y));
                EXPECT_TRUE(covers(left, x - 11, y + 2));
                EXPECT_FALSE(covers(left, x - 11, y + 3)) << "three pixels thick";
            }
            EXPECT_TRUE(covers(right, x + 10, y));
            EXPECT_TRUE(covers(right, 1023, y) || x + 10 > 1023);
            if (y - 11 >= 0) {
                EXPECT_TRUE(covers(up, x, 0));
                EXPECT_TRUE(covers(up, x, y - 11));
                EXPECT_TRUE(covers(up, x + 2, y - 11));
                EXPECT_FALSE(covers(up, x + 3, y - 11)) << "three pixels thick";
            }
            EXPECT_TRUE(covers(down, x, y + 10));
            EXPECT_TRUE(covers(down, x, 767) || y + 10 > 767);
        }
    }
}

TEST_F(LogicTest, CloseIfOpenSendsToAllFourArmsWhenAnyWindowIsOpen) {
    closeCrosshairIfOpen(fake);
    EXPECT_TRUE(fake.log.empty());

    const Lines closeAll = {"closeArm left", "closeArm right", "closeArm up", "closeArm down"};
    noteArmOpen(Arm::Down, true);
    closeCrosshairIfOpen(fake);
    EXPECT_EQ(fake.log, closeAll);

    resetOverlayState();
    noteHelpBoxOpen(true);
    fake.clearLog();
    closeCrosshairIfOpen(fake);
    EXPECT_EQ(fake.log, closeAll) << "an open help box counts too";
}

TEST_F(LogicTest, RebuildSkipsZeroWaits) {
    useDefaults();
    rebuildCrosshair(fake, 0, 5);
    EXPECT_EQ(fake.log, (Lines{"startArm left", "startArm right", "startArm up", "startArm down", "sleep 5",
                               "setLineColour 0000FF", "sleep 100"}));
}

TEST_F(LogicTest, MoveCrosshairPlacesTheFourArmsThenPauses) {
    moveCrosshair(fake, {300, 200});
    EXPECT_EQ(fake.log, (Lines{"moveArm left 0 200 290 3", "moveArm right 310 200 1024 3",
                               "moveArm up 300 0 3 190", "moveArm down 300 210 3 768", "sleep 33"}));
}

} // namespace
} // namespace sp
