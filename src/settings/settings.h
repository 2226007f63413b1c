// The settings record, its defaults, the "config.ini" file and the apply step.
//
// The record holds what the user chose and what survives between runs; the
// live values are what the running system uses, and only applySettings
// writes them. The file is written as UTF-16LE with a byte-order mark and
// CR LF line ends, eight lines; a file edited by hand may also be UTF-8.
// A value that would leave the program unusable is replaced by that
// field's default whenever the file is read.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace sp {

constexpr const char* SETTINGS_FILE_NAME = "config.ini";
// Where an unusable file is kept before the defaults replace it: the newest
// copy under this name, older ones as "config.ini.bad.2" up to
// "config.ini.bad.5"; the oldest is dropped.
constexpr const char* SETTINGS_COPY_NAME = "config.ini.bad";
constexpr int SETTINGS_COPIES = 5;
constexpr std::size_t SETTINGS_FILE_LIMIT = std::size_t{64} * 1024;
// How long a file held open by another program is waited for.
constexpr int LOCK_WAIT_MS = 2000;
constexpr int LOCK_RETRY_MS = 100;

struct LiveValues {
    std::atomic<int> liveMoveStep;
    std::atomic<int> liveScanPeriodMs;
    std::atomic<int> liveOpacity;
    std::atomic<int> liveHelpBox;
    std::atomic<int> liveClickSound;
};

// The twelve signed 32-bit values of the record, in file order.
// Click kinds, the order of `enabledClicks`: left, double, right, middle, drag.
constexpr int CLICK_KIND_COUNT = 5;

struct SettingsValues {
    int enabledClicks[CLICK_KIND_COUNT] = {0, 0, 0, 0, 0}; // left, double, right, middle, drag
    int moveStep = 0;
    int scanPeriodMs = 0;
    int lineColour = 0; // COLORREF held as a signed integer
    int opacity = 0;
    int helpBox = 0;
    int clickSound = 0;
    int switchDevice = 0; // 1 = mouse, anything else = keyboard
};

// Whether the click kind takes part in the scan. The settings window
// changes it at once; reading the file only ever adds kinds. Whoever reads
// or changes it builds the scan sequence afresh from it.
bool clickKindInScan(int kind);
void setClickKindCode(int value, int kind);

// The record, read whole: the values of one store, never a mix of two.
// Any thread may read it; only the panel's thread stores it.
SettingsValues settings();
void storeSettings(const SettingsValues& values);
// Stores the record with `change` made to it. Sound because one thread
// stores: no other change can fall between the read and the store.
template <class Change> void changeSettings(Change change) {
    SettingsValues v = settings();
    change(v);
    storeSettings(v);
}
const LiveValues& live();

// Back to the process-start state: record and live values all zero.
void resetSettingsState();

SettingsValues defaultSettings();

// true when the switch is a mouse button.
bool mouseIsSwitch();

// The existence test, then reading or defaults; once at start-up. A file
// that exists but cannot be used is kept as SETTINGS_COPY_NAME before the
// defaults are written over it; a read-only or locked one, or one that
// cannot be kept, is left alone and the defaults are used in memory.
void loadSettings(Platform& p);
// Reads the file into the record during the run; a file that cannot be
// used leaves the record as it is. While the file is held (below) the
// record goes back to the defaults, the values that run meanwhile.
void readSettingsFile(Platform& p);
// Writes the record to the file; a file that cannot be written, or that is
// held, is left alone.
void writeSettingsFile(Platform& p);

// The file was held open by another program past the start-up wait and has
// not been read since: the defaults run and nothing is written to it. Any
// thread.
bool settingsFileHeld();
// One try, without waiting, at the held file: false while it is still held,
// nothing changed. Once free it is read as start-up reads it (a damaged one
// kept, the defaults written for a missing one) into the record and the
// live values; making the switch and the scan follow is the caller's.
bool readHeldSettingsFile(Platform& p);
// Sets, writes and reloads the defaults.
void setDefaultSettings(Platform& p);
// Copies the record into the live values and recolours the crosshair.
void applySettings(Platform& p);

// The file's exact bytes for these values.
std::string formatSettingsFile(const SettingsValues& values);

enum class TextFault { None, Encoding, Short };

// What a file's bytes say. Line 1 gives flagsGiven flags (the others are
// not in the file); the rest are taken as written, unchecked. Bit n of
// linesWithoutValue is set when line n + 1 holds no flag or no number.
struct ParsedSettings {
    TextFault fault = TextFault::None;
    int flagsGiven = 0;
    unsigned linesWithoutValue = 0;
    SettingsValues values;
};
ParsedSettings parseSettingsFile(const std::string& bytes);

// Each field outside its usable range, or whose line held no value (bits as
// in ParsedSettings), goes back to its default. Returns what was replaced,
// for the log; empty when nothing was.
std::string keepUsableValues(SettingsValues& values, unsigned linesWithoutValue = 0);

} // namespace sp
