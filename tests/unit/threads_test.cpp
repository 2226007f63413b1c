// The state the hook and configuration threads share with the main thread,
// driven from real threads. `make tsan` runs these suites (named *ThreadsTest)
// under ThreadSanitizer, which reports any of it that is not safely shared.
#include <thread>

#include "pointer/movement.h"
#include "test_state.h"

namespace sp {
namespace {

constexpr int ROUNDS = 2000;

class SharedFlagsThreadsTest : public LogicTest {};

// The hook thread classifies while the main thread scans, presses, moves the
// pointer and stops; a third thread stores settings as the window does.
TEST_F(SharedFlagsThreadsTest, HookAndSettingsThreadsRunBesideTheMainThread) {
    useDefaults();
    SettingsValues noClicks = defaultSettings();
    for (int& on : noClicks.enabledClicks) on = 0;

    int farStops = 0;
    int pressesMisread = 0;
    std::thread hook([&] {
        // Far from wherever the main thread moves the pointer: every move is far.
        for (int i = 0; i < ROUNDS * 10 + 1; ++i) {
            if (classifyMouseEvent(0, MSG_MOUSEMOVE, {-5000, -5000}, false).event == SwitchEvent::FarMoveStop)
                ++farStops;
            if (classifyMouseEvent(0, MSG_LBUTTONDOWN, {0, 0}, false).event != SwitchEvent::Press)
                ++pressesMisread;
            if (classifyKeyEvent(0, MSG_KEYDOWN, 'A').event != SwitchEvent::Press) ++pressesMisread;
        }
    });
    std::thread window([&] {
        for (int i = 0; i < ROUNDS; ++i) storeSettings(i % 2 ? noClicks : defaultSettings());
    });

    for (int i = 0; i < ROUNDS; ++i) {
        handleSwitchPress(fake);
        scanStep(fake);
        handleSwitchPress(fake);
        switchState().pendingAction = ACTION_RIGHT;
        movementTick(fake);
        if (i % 50 == 0) stopAndReset(fake);
        fake.clearLog();
    }
    hook.join();
    window.join();

    EXPECT_EQ(farStops, ROUNDS) << "only the hook thread counts far moves";
    EXPECT_EQ(pressesMisread, 0);
}

} // namespace
} // namespace sp
