#include "app/held_files.h"

#include "app/session.h"
#include "config_window/options_window.h"
#include "config_window/own_windows.h"
#include "scan/scan.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {

double g_sinceMs = 0;
bool g_slow = false;

bool anyHeld() { return settingsFileHeld() || optionsFileHeld(); }

} // namespace

void watchHeldFiles(Platform& p) {
    if (!anyHeld()) return;
    g_sinceMs = p.nowMs();
    g_slow = false;
    p.setTimer(TIMER_HELD_FILES, HELD_FILE_RETRY_MS);
}

void heldFilesTick(Platform& p) {
    // An open window shows choices not yet saved (and refuses to save them
    // while the file is held): a file read under it would change what runs
    // while the window still shows otherwise. It is read once the window
    // has gone, and so wins over what was chosen there.
    if (!anyOwnWindowOpen()) {
        // Options first, as at start-up: the scan the settings build takes in their cells.
        if (optionsFileHeld()) reloadOptions(p);
        if (readHeldSettingsFile(p)) {
            buildScanSequence();
            restartAtRest(p);
        }
    }
    if (!anyHeld()) {
        p.killTimer(TIMER_HELD_FILES);
        return;
    }
    if (!g_slow && p.nowMs() - g_sinceMs >= HELD_FILE_FAST_FOR_MS) {
        g_slow = true;
        p.setTimer(TIMER_HELD_FILES, HELD_FILE_SLOW_RETRY_MS);
    }
}

void resetHeldFilesState() {
    g_sinceMs = 0;
    g_slow = false;
}

} // namespace sp
