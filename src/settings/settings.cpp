// The settings record, "config.ini" and the apply step.
//
// Whatever this program wrote reads back as it was written. A file from
// elsewhere (Notepad's UTF-8, a half-written copy, a file held open by a
// backup tool) never costs the user their settings: it is kept, or left as
// it is, and the fall-back is written to the log.
#include "settings/settings.h"

#include <climits>
#include <cstdio>
#include <mutex>
#include <vector>

#include "settings/fallback_log.h"
#include "settings/text_file.h"

namespace sp {

namespace {

// A copy under a lock rather than a lock-free scheme: the record is twelve
// words read a few times per press, the lock is held only for the copy, and
// no reader can see half of one store and half of the next.
std::mutex g_recordLock;
SettingsValues g_record;
LiveValues g_live;

// Set while the defaults just written are being read back; a failure inside
// that read-back must not start the cycle again.
thread_local bool t_readingBackDefaults = false;

// The file was held open at start-up and has not been read since; the
// settings window's thread asks too.
std::atomic<bool> g_held{false};
double g_heldSinceMs = 0;

constexpr int FILE_LINES = 8;

bool isWideSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r';
}

// _wtoi, saturating on overflow as the Microsoft runtime does; false when
// the text has no digit where the number would start.
bool wideToInt(const std::u32string& s, int& out) {
    std::size_t i = 0;
    while (i < s.size() && isWideSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == U'+' || s[i] == U'-')) negative = s[i++] == U'-';
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    const std::size_t first = i;
    long long value = 0;
    for (; i < s.size() && s[i] >= U'0' && s[i] <= U'9'; ++i) {
        value = value * 10 + (s[i] - U'0');
        if (value > limit) {
            value = limit;
            // The rest of the digits cannot bring it back.
            break;
        }
    }
    out = static_cast<int>(negative ? -value : value);
    return i > first;
}

bool writeFile(Platform& p) { return p.replaceFile(SETTINGS_FILE_NAME, formatSettingsFile(settings())); }

// The defaults as if their file had been read back.
void recordDefaults() {
    storeSettings(defaultSettings());
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) setClickKindCode(1, k);
}

// The defaults as if their file had been read back and applied.
void useDefaultsInMemory(Platform& p) {
    recordDefaults();
    applySettings(p);
}

// Sets, writes and reloads the defaults; false when they could not be
// written and are used from memory.
bool putDefaults(Platform& p) {
    if (t_readingBackDefaults) {
        // The defaults were written but do not read back.
        useDefaultsInMemory(p);
        return true;
    }
    storeSettings(defaultSettings());
    if (!writeFile(p)) {
        useDefaultsInMemory(p);
        return false;
    }
    t_readingBackDefaults = true;
    loadSettings(p);
    t_readingBackDefaults = false;
    return true;
}

// The file's bytes, waiting out another program that holds it open unless
// `once`: a file still held after the start-up wait is tried again from a
// timer, never by sleeping on the panel's thread.
FileRead readSettingsBytes(Platform& p, std::string& bytes, bool once) {
    FileRead got = p.readFile(SETTINGS_FILE_NAME, bytes, SETTINGS_FILE_LIMIT);
    for (int waited = 0; !once && got == FileRead::Locked && waited < LOCK_WAIT_MS; waited += LOCK_RETRY_MS) {
        p.sleepMs(LOCK_RETRY_MS);
        got = p.readFile(SETTINGS_FILE_NAME, bytes, SETTINGS_FILE_LIMIT);
    }
    return got;
}

// Into the record, as the file has it: flags that line 1 does not name keep
// their value, and only flags that are on reach the scan. `afresh`: as into
// the record of a process just started, whatever has run meanwhile.
void takeParsed(Platform& p, const ParsedSettings& parsed, bool afresh) {
    SettingsValues v = parsed.values;
    const SettingsValues before = afresh ? SettingsValues{} : settings();
    for (int k = parsed.flagsGiven; k < CLICK_KIND_COUNT; ++k) v.enabledClicks[k] = before.enabledClicks[k];
    const std::string replaced = keepUsableValues(v, parsed.linesWithoutValue);
    storeSettings(v);
    if (afresh)
        for (int k = 0; k < CLICK_KIND_COUNT; ++k) setClickKindCode(0, k);
    // A line 1 without flags falls back to all five.
    const int given = (parsed.linesWithoutValue & 1u) != 0 ? CLICK_KIND_COUNT : parsed.flagsGiven;
    for (int k = 0; k < given; ++k)
        if (v.enabledClicks[k] == 1) setClickKindCode(1, k);
    if (!replaced.empty()) logSettingsFallback(p, replaced);
}

// Why the file cannot be used; empty when it was read into the record.
// `late`: one try at the file held at start-up, read as start-up reads it.
std::string readIntoRecord(Platform& p, FileRead& got, bool late = false) {
    std::string bytes;
    got = readSettingsBytes(p, bytes, late);
    if (late && got != FileRead::Locked) {
        g_held = false;
        logSettingsFallback(p, "free again after " +
                                   std::to_string(static_cast<int>((p.nowMs() - g_heldSinceMs) / 1000)) +
                                   " s; read now, as at start-up");
    }
    switch (got) {
    case FileRead::Missing: return "missing";
    case FileRead::Locked:
        return "held open by another program for " + std::to_string(LOCK_WAIT_MS / 1000) + " s";
    case FileRead::Failed: return "cannot be read";
    case FileRead::TooLarge: return "larger than " + std::to_string(SETTINGS_FILE_LIMIT) + " bytes";
    case FileRead::Ok: break;
    }
    const ParsedSettings parsed = parseSettingsFile(bytes);
    switch (parsed.fault) {
    case TextFault::Encoding: return "not UTF-16LE or UTF-8 text";
    case TextFault::Short: return "fewer than " + std::to_string(FILE_LINES) + " lines";
    case TextFault::None: break;
    }
    takeParsed(p, parsed, late);
    return std::string();
}

std::string copyName(int n) {
    return n == 1 ? std::string(SETTINGS_COPY_NAME)
                  : std::string(SETTINGS_COPY_NAME) + "." + std::to_string(n);
}

// Each earlier copy moves one name on, oldest first, so the oldest is the
// one dropped; a copy that cannot move stops it all before any copy is
// overwritten. Copied rather than renamed: a kill half-way leaves a copy
// twice, never none.
bool keepDamagedCopy(Platform& p) {
    for (int n = SETTINGS_COPIES; n >= 2; --n) {
        const std::string older = copyName(n - 1);
        if (p.fileExists(older.c_str()) && !p.copyFile(older.c_str(), copyName(n).c_str())) return false;
    }
    return p.copyFile(SETTINGS_FILE_NAME, SETTINGS_COPY_NAME);
}

// Start-up with a file that exists, or `late` a try at one held open then.
void readAtStartUp(Platform& p, bool late = false) {
    FileRead got = FileRead::Ok;
    if (!late) g_heldSinceMs = p.nowMs();
    const std::string fault = readIntoRecord(p, got, late);
    if (fault.empty() || (late && got == FileRead::Locked)) return;
    if (t_readingBackDefaults) {
        logSettingsFallback(p, "the defaults just written " + fault + "; running on the defaults");
        useDefaultsInMemory(p);
        return;
    }
    if (got == FileRead::Missing) {
        putDefaults(p);
        return;
    }
    if (got == FileRead::Locked) {
        g_held = true;
        logSettingsFallback(p,
                            fault + "; running on the defaults, nothing written; read as soon as it is free");
        useDefaultsInMemory(p);
        return;
    }
    if (p.fileReadOnly(SETTINGS_FILE_NAME)) {
        logSettingsFallback(p, fault + "; read-only, so left as it is; running on the defaults");
        useDefaultsInMemory(p);
        return;
    }
    if (!keepDamagedCopy(p)) {
        logSettingsFallback(p, fault + "; no copy could be made, so left as it is; running on the defaults");
        useDefaultsInMemory(p);
        return;
    }
    const bool written = putDefaults(p);
    logSettingsFallback(p, fault + "; kept as " + SETTINGS_COPY_NAME +
                               (written ? "; the defaults written in its place"
                                        : "; the defaults could not be written, running on them"));
}

} // namespace

const LiveValues& live() { return g_live; }

namespace {
// Shared with the settings window's thread; each flag one aligned word.
std::atomic<int> g_clickKindInScan[CLICK_KIND_COUNT] = {0, 0, 0, 0, 0};
} // namespace

bool clickKindInScan(int kind) {
    return kind >= 0 && kind < CLICK_KIND_COUNT && g_clickKindInScan[kind] == 1;
}

void setClickKindCode(int value, int kind) {
    if (kind < 0 || kind >= CLICK_KIND_COUNT) return;
    g_clickKindInScan[kind] = value == 1 ? 1 : 0;
}

void resetSettingsState() {
    g_held = false;
    for (auto& on : g_clickKindInScan) on = 0;
    storeSettings(SettingsValues{});
    g_live.liveMoveStep = 0;
    g_live.liveScanPeriodMs = 0;
    g_live.liveOpacity = 0;
    g_live.liveHelpBox = 0;
    g_live.liveClickSound = 0;
}

SettingsValues defaultSettings() {
    SettingsValues v;
    for (int& flag : v.enabledClicks) flag = 1;
    v.moveStep = 2;
    v.scanPeriodMs = 1500;
    v.lineColour = 255;
    v.opacity = 255;
    v.helpBox = 0;
    v.clickSound = 0;
    v.switchDevice = 1;
    return v;
}

SettingsValues settings() {
    const std::lock_guard<std::mutex> hold(g_recordLock);
    return g_record;
}

void storeSettings(const SettingsValues& v) {
    const std::lock_guard<std::mutex> hold(g_recordLock);
    g_record = v;
}

bool mouseIsSwitch() { return settings().switchDevice == 1; }

std::string formatSettingsFile(const SettingsValues& v) {
    char text[256];
    std::snprintf(text, sizeof text, "%i %i %i %i %i\n%i\n%u\n%d\n%i\n%i\n%i\n%i\n", v.enabledClicks[0],
                  v.enabledClicks[1], v.enabledClicks[2], v.enabledClicks[3], v.enabledClicks[4], v.moveStep,
                  static_cast<unsigned>(v.scanPeriodMs), v.lineColour, v.opacity, v.helpBox, v.clickSound,
                  v.switchDevice);
    std::string bytes("\xFF\xFE", 2);
    for (const char* c = text; *c; ++c) {
        if (*c == '\n') bytes.append("\r\0", 2);
        bytes.push_back(*c);
        bytes.push_back('\0');
    }
    return bytes;
}

ParsedSettings parseSettingsFile(const std::string& bytes) {
    ParsedSettings parsed;
    std::u32string text;
    if (!decodeText(bytes, text)) {
        parsed.fault = TextFault::Encoding;
        return parsed;
    }
    const std::vector<std::u32string> lines = splitLines(text, FILE_LINES);
    if (lines.size() < static_cast<std::size_t>(FILE_LINES)) {
        parsed.fault = TextFault::Short;
        return parsed;
    }
    SettingsValues& v = parsed.values;
    for (char32_t c : lines[0]) {
        if (c == U' ') continue;
        if (parsed.flagsGiven >= CLICK_KIND_COUNT) break;
        v.enabledClicks[parsed.flagsGiven++] = c == U'1' ? 1 : 0;
    }
    if (parsed.flagsGiven == 0) parsed.linesWithoutValue |= 1u;
    int* fields[] = {&v.moveStep, &v.scanPeriodMs, &v.lineColour,  &v.opacity,
                     &v.helpBox,  &v.clickSound,   &v.switchDevice};
    for (std::size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i)
        if (!wideToInt(lines[i + 1], *fields[i])) parsed.linesWithoutValue |= 1u << (i + 1);
    return parsed;
}

std::string keepUsableValues(SettingsValues& v, unsigned linesWithoutValue) {
    struct Field {
        const char* name;
        int SettingsValues::*field;
        int low, high;
        int line;
    };
    // Lines 6 to 8 take any number: the reader makes sense of each.
    static const Field fields[] = {
        {"move step", &SettingsValues::moveStep, 1, 100, 2},
        {"scan period", &SettingsValues::scanPeriodMs, 50, 60000, 3},
        {"line colour", &SettingsValues::lineColour, 0, 0xFFFFFF, 4},
        {"opacity", &SettingsValues::opacity, 15, 255, 5},
        {"help box", &SettingsValues::helpBox, INT_MIN, INT_MAX, 6},
        {"click sound", &SettingsValues::clickSound, INT_MIN, INT_MAX, 7},
        {"switch device", &SettingsValues::switchDevice, INT_MIN, INT_MAX, 8},
    };
    const SettingsValues defaults = defaultSettings();
    std::string replaced;
    auto note = [&replaced](const std::string& text) { replaced += (replaced.empty() ? "" : "; ") + text; };
    if ((linesWithoutValue & 1u) != 0) {
        for (int k = 0; k < CLICK_KIND_COUNT; ++k) v.enabledClicks[k] = defaults.enabledClicks[k];
        note("click kinds line holds no flag, all used");
    }
    for (const Field& f : fields) {
        int& value = v.*f.field;
        const std::string fallBack = ", " + std::to_string(defaults.*f.field) + " used";
        if ((linesWithoutValue & (1u << (f.line - 1))) != 0)
            note(std::string(f.name) + " line holds no number" + fallBack);
        else if (value < f.low || value > f.high)
            note(std::string(f.name) + " " + std::to_string(value) + " is outside " + std::to_string(f.low) +
                 " to " + std::to_string(f.high) + fallBack);
        else
            continue;
        value = defaults.*f.field;
    }
    return replaced;
}

void loadSettings(Platform& p) {
    if (!t_readingBackDefaults) {
        // What a run killed during a save left behind.
        p.removeUnfinishedReplace(SETTINGS_FILE_NAME);
        p.removeUnfinishedReplace(SETTINGS_LOG_NAME);
    }
    if (!p.fileExists(SETTINGS_FILE_NAME)) {
        setDefaultSettings(p);
        return;
    }
    readAtStartUp(p);
    applySettings(p);
}

bool settingsFileHeld() { return g_held; }

bool readHeldSettingsFile(Platform& p) {
    if (!g_held) return false;
    readAtStartUp(p, true);
    if (g_held) return false;
    applySettings(p);
    return true;
}

void readSettingsFile(Platform& p) {
    if (g_held) {
        // Nothing of the file is known yet: what runs meanwhile is the defaults.
        recordDefaults();
        return;
    }
    FileRead got = FileRead::Ok;
    const std::string fault = readIntoRecord(p, got);
    if (!fault.empty()) logSettingsFallback(p, fault + "; the settings in use are kept");
}

void writeSettingsFile(Platform& p) {
    // Written now, it would take the user's own settings away for good.
    if (!g_held) writeFile(p);
}

void setDefaultSettings(Platform& p) { putDefaults(p); }

void applySettings(Platform& p) {
    const SettingsValues r = settings();
    g_live.liveMoveStep = r.moveStep;
    g_live.liveScanPeriodMs = r.scanPeriodMs;
    g_live.liveOpacity = r.opacity;
    p.setLineColour(static_cast<Colour>(r.lineColour));
    g_live.liveClickSound = r.clickSound;
    g_live.liveHelpBox = r.helpBox;
    p.sleepMs(100);
}

} // namespace sp
