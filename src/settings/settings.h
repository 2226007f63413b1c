// The settings record, its defaults, the "config.ini" file and the apply step.
//
// The record holds what the user chose and what survives between runs; the
// live values are what the running system uses, and only applySettings
// writes them. The file is UTF-16LE with a byte-order mark and CR LF line
// ends, eight lines. This module does not check ranges: whatever integer the
// file holds is taken.
#pragma once

#include <atomic>
#include <string>

#include "platform/platform.h"

namespace sp {

constexpr const char* SETTINGS_FILE_NAME = "config.ini";

// Twelve signed 32-bit values in file order. Read by the main, hook and
// configuration threads; each value is written whole.
struct SettingsRecord {
    std::atomic<int> enabledClicks[5]; // left, double, right, middle, drag
    std::atomic<int> moveStep;
    std::atomic<int> scanPeriodMs;
    std::atomic<int> lineColour; // COLORREF held as a signed integer
    std::atomic<int> opacity;
    std::atomic<int> helpBox;
    std::atomic<int> clickSound;
    std::atomic<int> switchDevice; // 1 = mouse, anything else = keyboard
};

struct LiveValues {
    std::atomic<int> liveMoveStep;
    std::atomic<int> liveScanPeriodMs;
    std::atomic<int> liveOpacity;
    std::atomic<int> liveHelpBox;
    std::atomic<int> liveClickSound;
};

// A plain copy of the twelve values, for formatting and parsing.
struct SettingsValues {
    int enabledClicks[5] = {0, 0, 0, 0, 0};
    int moveStep = 0;
    int scanPeriodMs = 0;
    int lineColour = 0;
    int opacity = 0;
    int helpBox = 0;
    int clickSound = 0;
    int switchDevice = 0;
};

SettingsRecord& settings();
const LiveValues& live();

// Back to the process-start state: record and live values all zero.
void resetSettingsState();

SettingsValues defaultSettings();
SettingsValues snapshotSettings();
void storeSettings(const SettingsValues& values);

// true when the switch is a mouse button.
bool mouseIsSwitch();

// The existence test, then reading or defaults; once at start-up.
void loadSettings(Platform& p);
// Reads the file into the record; a missing or short file gives the defaults.
void readSettingsFile(Platform& p);
// Writes the record to the file; a file that cannot be written is left alone.
void writeSettingsFile(Platform& p);
// Sets, writes and reloads the defaults.
void setDefaultSettings(Platform& p);
// Copies the record into the live values and recolours the crosshair.
void applySettings(Platform& p);

// The file's exact bytes for these values.
std::string formatSettingsFile(const SettingsValues& values);

} // namespace sp
