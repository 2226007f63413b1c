// The state the hook and configuration threads share with the main thread,
// driven from real threads. `make tsan` runs these suites (named *ThreadsTest)
// under ThreadSanitizer, which reports any of it that is not safely shared.
#include <deque>
#include <mutex>
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
    int pressesMisread = 0;
    std::thread hook([&] {
        // Far from wherever the main thread moves the pointer: every move is far.
        for (int i = 0; i < ROUNDS * 10 + 1; ++i) {
            if (classifyMouseEvent(0, MSG_MOUSEMOVE, {-5000, -5000}).event == SwitchEvent::FarMoveStop)
                ++farStops;
            if (classifyMouseEvent(0, MSG_LBUTTONDOWN, {0, 0}).event != SwitchEvent::Press) ++pressesMisread;
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

class ConfigRequestsThreadsTest : public LogicTest {};

// The window's thread asks for changes as its controls do and reads what it
// paints from (the record, the shown toggles); the panel's thread scans and
// carries the requests out in the order its queue hands them over.
TEST_F(ConfigRequestsThreadsTest, RequestsBesideTheScanLeaveRecordScanAndCellsAgreeing) {
    useDefaults();
    installSwitchHook(fake);
    ASSERT_TRUE(openConfigWindow(fake));
    handleSwitchPress(fake);

    struct Request {
        ConfigRequest what;
        int value;
    };
    std::mutex queueLock;
    std::deque<Request> queue;
    std::atomic<bool> windowDone{false};
    int recordsWithNoKind = 0;
    int checksWithNoKind = 0;
    std::thread window([&] {
        const ConfigRequest controls[] = {
            ConfigRequest::ClickKind, ConfigRequest::Speed,  ConfigRequest::Period,
            ConfigRequest::Opacity,   ConfigRequest::Sound,  ConfigRequest::HelpBox,
            ConfigRequest::ClickKind, ConfigRequest::Device, ConfigRequest::ColourChosen};
        for (int i = 0; i < ROUNDS; ++i) {
            const ConfigRequest what = controls[i % 9];
            const int value = what == ConfigRequest::ClickKind ? (i * 7) % CLICK_KIND_COUNT
                              : what == ConfigRequest::Device  ? (i / 9) % 2
                                                               : (i * 13) % 256;
            {
                const std::lock_guard<std::mutex> hold(queueLock);
                queue.push_back({what, value});
            }
            // What the window paints: the last kind on is never taken out.
            const SettingsValues shown = settings();
            int kindsOn = 0, checksOn = 0;
            for (int k = 0; k < CLICK_KIND_COUNT; ++k) {
                kindsOn += shown.enabledClicks[k];
                checksOn += configState().clickChecks[k];
            }
            recordsWithNoKind += kindsOn == 0;
            checksWithNoKind += checksOn == 0;
        }
        windowDone = true;
    });

    int carriedOut = 0;
    for (bool more = true; more;) {
        more = !windowDone;
        scanStep(fake);
        std::deque<Request> batch;
        {
            const std::lock_guard<std::mutex> hold(queueLock);
            batch.swap(queue);
        }
        more = more || !batch.empty();
        for (const Request& r : batch) handleConfigRequest(fake, r.what, r.value);
        carriedOut += static_cast<int>(batch.size());
        fake.clearLog();
    }
    window.join();

    EXPECT_EQ(carriedOut, ROUNDS);
    EXPECT_EQ(recordsWithNoKind, 0);
    EXPECT_EQ(checksWithNoKind, 0);
    // One more step paints every cell as the record now has it.
    scanStep(fake);
    const SettingsValues r = settings();
    const ScanState& s = scanState();
    int entry = 6;
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) {
        const bool on = r.enabledClicks[k] == 1;
        EXPECT_EQ(configState().clickChecks[k], r.enabledClicks[k]) << "kind " << k;
        const Lines painted = fake.calls("paintCell " + std::to_string(5 + k) + " ");
        ASSERT_EQ(painted.size(), 1u) << "kind " << k;
        EXPECT_EQ(painted[0].find(" CCCCCC ") != std::string::npos, !on) << painted[0];
        if (on) {
            EXPECT_EQ(s.scanSequence[entry++], 6 + k) << "kind " << k;
        }
    }
    EXPECT_EQ(s.scanSequence[entry], 0) << "the scan holds exactly the kinds on";
    EXPECT_EQ(live().liveMoveStep, r.moveStep);
    EXPECT_EQ(live().liveScanPeriodMs, r.scanPeriodMs);
    EXPECT_EQ(live().liveOpacity, r.opacity);
    EXPECT_EQ(live().liveClickSound, r.clickSound);
    EXPECT_EQ(switchState().mouseHookActive == 1, r.switchDevice == 1) << "the switch is the record's";
}

} // namespace
} // namespace sp
