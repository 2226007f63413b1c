// A fixture that puts every process-wide value back to how the program
// starts, so no test sees what an earlier one left behind.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/held_files.h"
#include "app/keyboard.h"
#include "app/menu.h"
#include "app/panel.h"
#include "app/press.h"
#include "case_name.h"
#include "config_window/config_state.h"
#include "config_window/options_window.h"
#include "config_window/own_windows.h"
#include "fake_platform.h"
#include "overlay/crosshair.h"
#include "pointer/click.h"
#include "pointer/movement.h"
#include "pointer/point_scan.h"
#include "pointer/rearm.h"
#include "pointer/scroll.h"
#include "pointer/step_aside.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "scan/watchdog.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

using Lines = std::vector<std::string>;

// A test's way in to a state's fields, for a setup no operation of the
// owner reaches; each is defined beside the state it opens.
RearmState& rearmStateForTests();
ConfigState& configStateForTests();
ScanState& scanStateForTests();
SwitchState& switchStateForTests();
OwnWindowState& ownWindowStateForTests(OwnWindow window);

class LogicTest : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    void TearDown() override { resetAll(); }

    static void resetAll() {
        resetSettingsState();
        resetScanState();
        resetSwitchState();
        resetClickState();
        resetMovementState();
        resetOverlayState();
        resetRearmState();
        resetConfigState();
        resetPanelState();
        resetWatchdogState();
        resetOptionsState();
        layOutListedCells();
        resetScrollState();
        resetPointScanState();
        resetMenuState();
        resetOptionsWindowState();
        resetOwnWindows();
        resetStepAsideState();
        resetHeldFilesState();
        forgetKeyboard();
    }

    // Record and live values as the program runs them, the scan sequence
    // rebuilt from the click kinds, and an empty log.
    void useSettings(const SettingsValues& v) {
        storeSettings(v);
        for (int k = 0; k < CLICK_KIND_COUNT; ++k) setClickKindCode(v.enabledClicks[k], k);
        buildScanSequence();
        applySettings(fake);
        fake.clearLog();
    }
    void useDefaults() { useSettings(defaultSettings()); }

    // The cells that `ticks` scan steps highlight, in order.
    std::vector<int> highlights(int ticks) {
        std::vector<int> cells;
        for (int i = 0; i < ticks; ++i) {
            scanStep(fake);
            cells.push_back(scanState().highlightedCell);
        }
        return cells;
    }

    // The scan sequence up to its end.
    static std::vector<int> scanCells() {
        std::vector<int> cells;
        for (const auto& cell : scanState().scanSequence) {
            if (cell == NO_CELL) break;
            cells.push_back(cell);
        }
        return cells;
    }

    // Arms every crosshair window as open, as the arm threads would.
    static void markCrosshairOpen() {
        for (const Arm arm : ALL_ARMS) noteArmOpen(arm, true);
    }

    FakePlatform fake;
};

} // namespace sp
