// The state the hook and configuration threads share with the main thread,
// driven from real threads. `make tsan` runs these suites (named *ThreadsTest)
// under ThreadSanitizer, which reports any of it that is not safely shared.
#include <atomic>
#include <thread>

#include "config_window/config_window.h"
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
        setPendingAction(ACTION_RIGHT);
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

class ConfigRequestsThreadsTest : public LogicTest {};

// The window's thread posts requests as its controls do and reads what it
// paints from; the panel's thread scans and carries them out in turn.
TEST_F(ConfigRequestsThreadsTest, RequestsBesideTheScanLeaveRecordScanAndCellsAgreeing) {
    useDefaults();
    installSwitchHook(fake);
    ASSERT_TRUE(openConfigWindow(fake));
    handleSwitchPress(fake);
    using R = ConfigRequest;
    const R controls[] = {R::ClickKind, R::Speed,     R::Period, R::Opacity,     R::Sound,
                          R::HelpBox,   R::ClickKind, R::Device, R::ColourChosen};
    std::atomic<int> posted{0}; // requests 0 to posted - 1 are in the queue
    int shownWithNoKind = 0;
    std::thread window([&] {
        for (int i = 0; i < ROUNDS; ++i) {
            posted = i + 1;
            // The last kind on is never taken out: a record read half from
            // one store and half from the next could show none.
            int on = 0;
            for (int flag : settings().enabledClicks) on += flag;
            shownWithNoKind += on == 0;
        }
    });
    for (int done = 0; done < ROUNDS; fake.clearLog()) {
        scanStep(fake);
        for (const int upTo = posted; done < upTo; ++done) {
            const R what = controls[done % 9];
            const int n = (done * 37) % 100;
            onConfigRequest(fake, what, what == R::ClickKind ? n % 5 : what == R::Device ? n % 2 : n + 15);
        }
    }
    window.join();
    EXPECT_EQ(shownWithNoKind, 0);

    // One more step paints every cell as the record now has it.
    scanStep(fake);
    const SettingsValues r = settings();
    std::vector<int> sequence = {0, 1, 2, 3, 4};
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) {
        const bool on = r.enabledClicks[k] == 1;
        const int cell = cellOfClickKind(k);
        EXPECT_EQ(configState().clickChecks[k], r.enabledClicks[k]) << "kind " << k;
        EXPECT_EQ(fake.calls("paintCell " + std::to_string(cell) + " CCCCCC").size(), on ? 0u : 1u) << k;
        if (on) sequence.push_back(cell);
    }
    EXPECT_EQ(scanCells(), sequence) << "the scan holds exactly the kinds on";
    EXPECT_EQ(live().liveMoveStep, r.moveStep);
    EXPECT_EQ(live().liveScanPeriodMs, r.scanPeriodMs);
    EXPECT_EQ(switchState().mouseHookActive == 1, r.switchDevice == 1) << "the switch is the record's";
}

} // namespace
} // namespace sp
