// Configuration window logic.
#include "config_window/config_window.h"

#include <cstdio>

#include "config_window/config_state.h"
#include "config_window/own_windows.h"
#include "overlay/crosshair.h"
#include "pointer/click.h"
#include "pointer/movement.h"
#include "pointer/rearm.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {

constexpr SliderBand BANDS[] = {
    {1, 2000, 0},
    {2, 1500, 33},
    {4, 1000, 66},
    {6, 500, 99},
};

constexpr int ARM_PREVIEW_PAUSE_MS = 5;

int flag(bool on) { return on ? 1 : 0; }

ConfigState g_config;

// A kind whose place in the scan or whose cell is not what the record says
// is put right. Reading the file only ever adds kinds to the scan.
void scanClickKindsAsRecorded(Platform& p) {
    const ScanState& s = scanState();
    const SettingsValues r = settings();
    for (int kind = 0; kind < CLICK_KIND_COUNT; ++kind) {
        const bool on = r.enabledClicks[kind] == 1;
        const bool inScan = clickKindInScan(kind);
        const bool shownOff = s.cellState[cellOfClickKind(kind)] == CELL_DISABLED;
        if (inScan != on || shownOff == on) setClickKindInScan(p, kind, on);
    }
}

bool runningSwitchIsRecorded() {
    const SwitchState& sw = switchState();
    if (mouseIsSwitch()) return sw.keyboardHookActive == 0;
    return sw.mouseHookActive == 0;
}

} // namespace

const ConfigState& configState() { return g_config; }
ConfigState& configStateForTests() { return g_config; }

void resetConfigState() {
    ConfigState& c = g_config;
    for (auto& check : c.clickChecks) check = 0;
    c.colourDialogOpen = 0;
    c.helpCheck = 0;
    c.soundCheck = 0;
    c.deviceCheck = 0;
    c.english = 0;
    c.scanStoppedForConfig = 0;
    c.lastChosenColour = 0;
    for (Colour& colour : c.customColours) colour = 0;
}

void noteScanStoppedForConfig(bool stopped) { g_config.scanStoppedForConfig = flag(stopped); }

void keepCustomColour(int index, Colour colour) { g_config.customColours[index] = colour; }

// ---- Opening and closing ------------------------------------------------------

bool openConfigWindow(Platform& p) {
    if (!claimOwnWindow(OwnWindow::Settings)) return false;
    g_config.english =
        flag(settingsTextLanguageFor(currentOptions().value[OPTION_LANGUAGE]) == TextLanguage::English);
    initShownStates();
    p.openOwnWindow(OwnWindow::Settings);
    return true;
}

TextLanguage configWindowLanguage() {
    return g_config.english == 1 ? TextLanguage::English : TextLanguage::Spanish;
}

void configWindowGone() {
    g_config.colourDialogOpen = 0;
    ownWindowGone(OwnWindow::Settings);
}

void initShownStates() {
    ConfigState& c = g_config;
    const SettingsValues r = settings();
    for (int kind = 0; kind < CLICK_KIND_COUNT; ++kind)
        c.clickChecks[kind] = flag(r.enabledClicks[kind] == 1);
    c.helpCheck = flag(r.helpBox == 1);
    c.soundCheck = flag(r.clickSound == 1);
    c.deviceCheck = flag(r.switchDevice == 1);
}

void configTimerTick(Platform& p) {
    const SwitchState& sw = switchState();
    if (g_config.scanStoppedForConfig == 0 && (sw.mouseHookActive == 1 || sw.keyboardHookActive == 1))
        rebuildCrosshair(p, 5, 20);
    else
        applySettings(p);
}

bool acceptSettings(Platform& p) {
    if (settingsFileHeld()) return false;
    writeSettingsFile(p);
    // The writer says nothing of failure; the file itself does.
    std::string bytes;
    return p.readFile(SETTINGS_FILE_NAME, bytes, SETTINGS_FILE_LIMIT) == FileRead::Ok &&
           bytes == formatSettingsFile(settings());
}

void takeSettingsFile(Platform& p) {
    readSettingsFile(p);
    buildScanSequence();
    applySettings(p);
}

void closeConfigWindow(Platform& p) {
    takeSettingsFile(p);
    // Changes not saved leave nothing behind: the click kinds in the scan
    // and the switch that is armed are the file's, as after a restart.
    scanClickKindsAsRecorded(p);
    if (!runningSwitchIsRecorded()) restartWithSwitchDevice(p);
    if (live().liveHelpBox == 0) p.closeHelpBox();
    p.setTimer(TIMER_START_DELAY, START_DELAY_MS);
}

void configWindowDestroyed(Platform& p) {
    notePointerOver(OwnWindow::Settings, false);
    if (switchState().mouseHookActive == 0) {
        stopAndReset(p);
        startShortRearm(p);
    }
}

// ---- Sliders --------------------------------------------------------------------

SliderBand sliderBand(int position) {
    if (position >= 0 && position <= 16) return BANDS[0];
    if (position >= 17 && position <= 49) return BANDS[1];
    if (position >= 50 && position <= 82) return BANDS[2];
    return BANDS[3];
}

int sliderFromSpeed() {
    const int step = settings().moveStep;
    for (const SliderBand& band : BANDS)
        if (band.moveStep == step) return band.position;
    return BANDS[3].position;
}

int sliderFromPeriod() {
    const int period = settings().scanPeriodMs;
    for (const SliderBand& band : BANDS)
        if (band.scanPeriodMs == period) return band.position;
    return BANDS[0].position;
}

int speedFromSlider(Platform& p, int position) {
    const SliderBand band = sliderBand(position);
    changeSettings([&](SettingsValues& v) { v.moveStep = band.moveStep; });
    applySettings(p);
    return band.position;
}

int periodFromSlider(Platform& p, int position) {
    const SliderBand band = sliderBand(position);
    changeSettings([&](SettingsValues& v) { v.scanPeriodMs = band.scanPeriodMs; });
    applySettings(p);
    return band.position;
}

int opacityFromSlider(Platform& p, int position) {
    for (Arm arm : {Arm::Right, Arm::Left, Arm::Up, Arm::Down}) {
        p.setArmOpacity(arm, position);
        p.sleepMs(ARM_PREVIEW_PAUSE_MS);
    }
    changeSettings([&](SettingsValues& v) { v.opacity = position; });
    applySettings(p);
    return position;
}

std::string opacityLabel(int opacity) {
    char text[10];
    std::snprintf(text, sizeof text, "%i ", opacity * 100 / 255);
    return std::string(text) + "%";
}

// ---- Toggles ---------------------------------------------------------------------

bool toggleClickKind(Platform& p, int kind) {
    if (kind < 0 || kind >= CLICK_KIND_COUNT) return false;
    ConfigState& c = g_config;
    const bool on = c.clickChecks[kind] == 1;
    if (on) {
        // The last kind that is on stays on: without one the scan could
        // never click again.
        bool anotherOn = false;
        for (int other = 0; other < CLICK_KIND_COUNT; ++other)
            if (other != kind && c.clickChecks[other] == 1) anotherOn = true;
        if (!anotherOn) return false;
    }
    // A kind that is off can always come back, even when every kind is off.
    const int now = flag(!on);
    c.clickChecks[kind] = now;
    changeSettings([&](SettingsValues& v) { v.enabledClicks[kind] = now; });
    setClickKindInScan(p, kind, now == 1);
    return true;
}

void toggleHelpBox(Platform& p) {
    ConfigState& c = g_config;
    const int now = flag(c.helpCheck == 0);
    c.helpCheck = now;
    changeSettings([&](SettingsValues& v) { v.helpBox = now; });
    applySettings(p);
    if (live().liveHelpBox == 0)
        p.closeHelpBox();
    else if (overlayState().armOpen[static_cast<int>(Arm::Left)] == 1)
        p.startHelpBox();
}

void toggleSound(Platform& p) {
    ConfigState& c = g_config;
    const int now = flag(c.soundCheck == 0);
    changeSettings([&](SettingsValues& v) { v.clickSound = now; });
    c.soundCheck = now;
    applySettings(p);
}

bool chooseDevice(Platform& p, int device) {
    ConfigState& c = g_config;
    const int mouse = flag(device == 1);
    if (c.deviceCheck == mouse) return false;
    c.deviceCheck = mouse;
    changeSettings([&](SettingsValues& v) { v.switchDevice = mouse; });
    restartWithSwitchDevice(p);
    return true;
}

// ---- Colour dialog -----------------------------------------------------------------

void beforeColourDialog(Platform& p) {
    p.setConfigTimer(CONFIG_TIMER_PERIOD_MS);
    g_config.colourDialogOpen = 1;
}

void afterColourDialog(Platform& p, bool chosen, Colour colour) {
    ConfigState& c = g_config;
    if (chosen) {
        c.lastChosenColour = colour;
        changeSettings([&](SettingsValues& v) { v.lineColour = static_cast<int>(colour); });
        applySettings(p);
    }
    c.colourDialogOpen = 0;
    // The crosshair is rebuilt once the dialog has gone.
    p.setConfigTimer(CONFIG_TIMER_PERIOD_MS);
}

// ---- Requests from the window -------------------------------------------------------

namespace {

// A change to the record and the running system; false for a request that
// is not one.
bool carryOutChange(Platform& p, ConfigRequest request, int value) {
    switch (request) {
    case ConfigRequest::ClickKind: toggleClickKind(p, value); return true;
    case ConfigRequest::Device: chooseDevice(p, value); return true;
    case ConfigRequest::Sound: toggleSound(p); return true;
    case ConfigRequest::HelpBox: toggleHelpBox(p); return true;
    case ConfigRequest::Speed: speedFromSlider(p, value); return true;
    case ConfigRequest::Period: periodFromSlider(p, value); return true;
    case ConfigRequest::Opacity: opacityFromSlider(p, value); return true;
    case ConfigRequest::ColourChosen: afterColourDialog(p, true, static_cast<Colour>(value)); return true;
    default: return false;
    }
}

} // namespace

void handleConfigRequest(Platform& p, ConfigRequest request, int value) {
    if (strayRequest(OwnWindow::Settings)) return;
    switch (request) {
    case ConfigRequest::Destroyed: configWindowDestroyed(p); return;
    case ConfigRequest::Gone: configWindowGone(); return;
    default: break;
    }
    // After the close a window goes with the file's values, not by saving now.
    if (answeredAfterClose(p, OwnWindow::Settings,
                           request == ConfigRequest::Close || request == ConfigRequest::Accept))
        return;
    switch (request) {
    case ConfigRequest::TimerTick: configTimerTick(p); return;
    case ConfigRequest::ColourDialogOpening: beforeColourDialog(p); return;
    case ConfigRequest::ColourKept: afterColourDialog(p, false, 0); return;
    case ConfigRequest::Accept:
        if (acceptSettings(p))
            closeOwnWindow(p, OwnWindow::Settings, closeConfigWindow);
        else
            p.answerOwnWindow(OwnWindow::Settings, WindowAnswer::SaveFailed);
        return;
    case ConfigRequest::Close: closeOwnWindow(p, OwnWindow::Settings, closeConfigWindow); return;
    default: break;
    }
    if (carryOutChange(p, request, value)) p.answerOwnWindow(OwnWindow::Settings, WindowAnswer::ShowState);
}

} // namespace sp
