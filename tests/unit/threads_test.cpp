// The state the hook and configuration threads share with the main thread,
// driven from real threads. `make tsan` runs these suites (named *ThreadsTest)
// under ThreadSanitizer, which reports any of it that is not safely shared.
#include <atomic>
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
    // Presses the hook passed on, and those the main thread took up.
    std::atomic<int> passedOn{0}, takenUp{0};
    int passedWhileInHand = 0;
    std::atomic<bool> hookDone{false};
    std::thread hook([&] {
        // Far from wherever the main thread moves the pointer: every move is far.
        for (int i = 0; i < ROUNDS * 10 + 1; ++i) {
            const double at = i * 100.0;
            if (classifyMouseEvent(0, MSG_MOUSEMOVE, {-5000, -5000}, false, at).event ==
                SwitchEvent::FarMoveStop)
                ++farStops;
            if (classifyKeyEvent(0, MSG_KEYDOWN, 'A', at).event == SwitchEvent::Press)
                passedWhileInHand += passedOn++ != takenUp;
            classifyKeyEvent(0, MSG_KEYUP, 'A', at + 50);
        }
        hookDone = true;
    });
    const auto takeUpPress = [&] {
        if (passedOn == takenUp) return;
        ++takenUp;
        handleSwitchEvent(fake, SwitchEvent::Press, true);
    };
    std::thread window([&] {
        for (int i = 0; i < ROUNDS; ++i) storeSettings(i % 2 ? noClicks : defaultSettings());
    });

    for (int i = 0; i < ROUNDS; ++i) {
        handleSwitchPress(fake);
        scanStep(fake);
        takeUpPress();
        switchState().pendingAction = ACTION_RIGHT;
        movementTick(fake);
        if (i % 50 == 0) stopAndReset(fake);
        fake.clearLog();
    }
    while (!hookDone) {
        takeUpPress();
        fake.clearLog();
    }
    hook.join();
    window.join();
    takeUpPress();

    EXPECT_EQ(farStops, ROUNDS) << "only the hook thread counts far moves";
    EXPECT_GT(passedOn, 0);
    EXPECT_EQ(passedWhileInHand, 0) << "a press passed on while the last was still in hand";
}

} // namespace
} // namespace sp
