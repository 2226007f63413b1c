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

#include "scan/scan.h"
#include "settings/fallback_log.h"

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

// One copy of an unusable file a run: a later fall-back in the same run
// must not replace the user's file with one of ours.
std::atomic<bool> g_copyMade{false};

constexpr int FILE_LINES = 8;

// Continuation bytes after a UTF-8 lead byte; -1 for a byte that cannot lead.
int continuationBytes(unsigned lead) {
    if (lead < 0x80) return 0;
    if ((lead & 0xE0) == 0xC0) return 1;
    if ((lead & 0xF0) == 0xE0) return 2;
    if ((lead & 0xF8) == 0xF0) return 3;
    return -1;
}

// The text as code points; false for bytes that are no text this reader knows.
// No mark: UTF-8, unless the second byte is zero, which is how a mark-less
// UTF-16LE file of ASCII digits starts.
bool decodeText(const std::string& bytes, std::u32string& text) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const std::size_t n = bytes.size();
    text.clear();
    if ((n >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) || (n >= 2 && byte(0) != 0 && byte(1) == 0)) {
        for (std::size_t i = (byte(0) == 0xFF ? 2 : 0); i + 1 < n; i += 2)
            text.push_back(static_cast<char32_t>(byte(i) | (byte(i + 1) << 8)));
    } else {
        std::size_t i = (n >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) ? 3 : 0;
        while (i < n) {
            const unsigned lead = byte(i);
            const int more = continuationBytes(lead);
            if (more < 0 || n - i <= static_cast<std::size_t>(more)) return false;
            char32_t c = more == 0 ? lead : lead & (0x3F >> more);
            for (int k = 1; k <= more; ++k) {
                const unsigned next = byte(i + static_cast<std::size_t>(k));
                if ((next & 0xC0) != 0x80) return false;
                c = (c << 6) | (next & 0x3F);
            }
            static const char32_t lowest[] = {0, 0x80, 0x800, 0x10000};
            if (c < lowest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
            text.push_back(c);
            i += static_cast<std::size_t>(more) + 1;
        }
    }
    // A zero is never part of a settings file: this is binary.
    return text.find(U'\0') == std::u32string::npos;
}

// Whole lines, up to `most` of them; CR LF, LF and CR each end a line, and
// a last line without a line end counts when it holds anything.
std::vector<std::u32string> splitLines(const std::u32string& text, std::size_t most) {
    std::vector<std::u32string> lines;
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size() && lines.size() < most; ++i) {
        if (text[i] != U'\r' && text[i] != U'\n') continue;
        lines.push_back(text.substr(from, i - from));
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
        from = i + 1;
    }
    if (lines.size() < most && from < text.size()) lines.push_back(text.substr(from));
    return lines;
}

bool isWideSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r';
}

// _wtoi, saturating on overflow as the Microsoft runtime does.
int wideToInt(const std::u32string& s) {
    std::size_t i = 0;
    while (i < s.size() && isWideSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == U'+' || s[i] == U'-')) negative = s[i++] == U'-';
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; i < s.size() && s[i] >= U'0' && s[i] <= U'9'; ++i) {
        value = value * 10 + (s[i] - U'0');
        if (value > limit) {
            value = limit;
            // The rest of the digits cannot bring it back.
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

bool writeFile(Platform& p) { return p.replaceFile(SETTINGS_FILE_NAME, formatSettingsFile(settings())); }

// The defaults as if their file had been read back and applied.
void useDefaultsInMemory(Platform& p) {
    storeSettings(defaultSettings());
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) setClickKindCode(1, k);
    buildScanSequence();
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

// The file's bytes, waiting out another program that holds it open.
FileRead readSettingsBytes(Platform& p, std::string& bytes) {
    FileRead got = p.readFile(SETTINGS_FILE_NAME, bytes, SETTINGS_FILE_LIMIT);
    for (int waited = 0; got == FileRead::Locked && waited < LOCK_WAIT_MS; waited += LOCK_RETRY_MS) {
        p.sleepMs(LOCK_RETRY_MS);
        got = p.readFile(SETTINGS_FILE_NAME, bytes, SETTINGS_FILE_LIMIT);
    }
    return got;
}

// Into the record, as the file has it: flags that line 1 does not name keep
// their value, and only flags that are on reach the scan.
void takeParsed(Platform& p, const ParsedSettings& parsed) {
    SettingsValues v = parsed.values;
    const SettingsValues before = settings();
    for (int k = parsed.flagsGiven; k < CLICK_KIND_COUNT; ++k) v.enabledClicks[k] = before.enabledClicks[k];
    const std::string replaced = keepUsableValues(v);
    storeSettings(v);
    for (int k = 0; k < parsed.flagsGiven; ++k)
        if (v.enabledClicks[k] == 1) setClickKindCode(1, k);
    buildScanSequence();
    if (!replaced.empty()) logSettingsFallback(p, replaced);
}

// Why the file cannot be used; empty when it was read into the record.
std::string readIntoRecord(Platform& p, FileRead& got) {
    std::string bytes;
    got = readSettingsBytes(p, bytes);
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
    takeParsed(p, parsed);
    return std::string();
}

// Start-up with a file that exists.
void readAtStartUp(Platform& p) {
    FileRead got = FileRead::Ok;
    const std::string fault = readIntoRecord(p, got);
    if (fault.empty()) return;
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
        logSettingsFallback(p, fault + "; running on the defaults, nothing written");
        useDefaultsInMemory(p);
        return;
    }
    if (p.fileReadOnly(SETTINGS_FILE_NAME)) {
        logSettingsFallback(p, fault + "; read-only, so left as it is; running on the defaults");
        useDefaultsInMemory(p);
        return;
    }
    std::string kept = "; no copy made, one was made earlier in this run";
    if (!g_copyMade.exchange(true))
        kept = p.copyFile(SETTINGS_FILE_NAME, SETTINGS_COPY_NAME)
                   ? std::string("; kept as ") + SETTINGS_COPY_NAME
                   : std::string("; no copy could be made");
    const bool written = putDefaults(p);
    logSettingsFallback(p, fault + kept +
                               (written ? "; the defaults written in its place"
                                        : "; the defaults could not be written, running on them"));
}

} // namespace

const LiveValues& live() { return g_live; }

void resetSettingsState() {
    storeSettings(SettingsValues{});
    g_copyMade = false;
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
    int* fields[] = {&v.moveStep, &v.scanPeriodMs, &v.lineColour,  &v.opacity,
                     &v.helpBox,  &v.clickSound,   &v.switchDevice};
    for (std::size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i) *fields[i] = wideToInt(lines[i + 1]);
    return parsed;
}

std::string keepUsableValues(SettingsValues& v) {
    struct Range {
        const char* name;
        int SettingsValues::*field;
        int low, high;
    };
    static const Range ranges[] = {
        {"move step", &SettingsValues::moveStep, 1, 100},
        {"scan period", &SettingsValues::scanPeriodMs, 50, 60000},
        {"line colour", &SettingsValues::lineColour, 0, 0xFFFFFF},
        {"opacity", &SettingsValues::opacity, 15, 255},
    };
    const SettingsValues defaults = defaultSettings();
    std::string replaced;
    for (const Range& r : ranges) {
        int& value = v.*r.field;
        if (value >= r.low && value <= r.high) continue;
        replaced += (replaced.empty() ? "" : "; ") + std::string(r.name) + " " + std::to_string(value) +
                    " is outside " + std::to_string(r.low) + " to " + std::to_string(r.high) + ", " +
                    std::to_string(defaults.*r.field) + " used";
        value = defaults.*r.field;
    }
    return replaced;
}

void loadSettings(Platform& p) {
    if (!p.fileExists(SETTINGS_FILE_NAME)) {
        setDefaultSettings(p);
        return;
    }
    readAtStartUp(p);
    applySettings(p);
}

void readSettingsFile(Platform& p) {
    FileRead got = FileRead::Ok;
    const std::string fault = readIntoRecord(p, got);
    if (!fault.empty()) logSettingsFallback(p, fault + "; the settings in use are kept");
}

void writeSettingsFile(Platform& p) { writeFile(p); }

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
