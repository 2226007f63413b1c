// The settings record, "config.ini" and the apply step.
//
// The file is read the way the Windows runtime's wide text stream reads it
// ("r, ccs=UNICODE" and fgetws with a 20-character buffer), so files written
// by earlier versions, by hand or cut short read the same as they always did.
#include "settings/settings.h"

#include <climits>
#include <cstdio>

#include "scan/scan.h"

namespace sp {

namespace {

SettingsRecord g_record;
LiveValues g_live;

// Set while the defaults just written are being read back; a failure inside
// that read-back must not start the cycle again.
thread_local bool t_readingBackDefaults = false;

constexpr std::size_t LINE_BUFFER = 20; // fgetws limit: at most 19 characters a read

// The file's text after the stream's decoding: byte-order mark gone, CR LF
// folded to LF, read out in fgetws pieces.
class WideLineReader {
public:
    explicit WideLineReader(const std::string& bytes) {
        std::size_t i = 0;
        if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
            static_cast<unsigned char>(bytes[1]) == 0xFE)
            i = 2;
        std::u16string raw;
        for (; i + 1 < bytes.size(); i += 2)
            raw.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        for (std::size_t k = 0; k < raw.size(); ++k) {
            if (raw[k] == u'\r' && k + 1 < raw.size() && raw[k + 1] == u'\n') continue;
            text_.push_back(raw[k]);
        }
    }

    // One fgetws call; false at end of file.
    bool getLine(std::u16string& out) {
        if (pos_ >= text_.size()) return false;
        out.clear();
        while (pos_ < text_.size() && out.size() < LINE_BUFFER - 1) {
            char16_t c = text_[pos_++];
            out.push_back(c);
            if (c == u'\n') break;
        }
        return true;
    }

private:
    std::u16string text_;
    std::size_t pos_ = 0;
};

// What the buffer holds as a C string once its last character is cut off,
// line end or not.
std::u16string cutLast(const std::u16string& piece) {
    std::u16string s = piece.substr(0, piece.find(u'\0'));
    if (!s.empty()) s.pop_back();
    return s;
}

bool isWideSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// _wtoi, saturating on overflow as the Microsoft runtime does.
int wideToInt(const std::u16string& s) {
    std::size_t i = 0;
    while (i < s.size() && isWideSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        value = value * 10 + (s[i] - u'0');
        if (value > limit) {
            value = limit;
            // The rest of the digits cannot bring it back.
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

void readLineOne(const std::u16string& text) {
    SettingsRecord& r = g_record;
    int flag = 0;
    for (char16_t c : text) {
        if (c == u' ') continue;
        if (flag >= CLICK_KIND_COUNT) break;
        int on = c == u'1' ? 1 : 0;
        r.enabledClicks[flag] = on;
        if (on) setClickKindCode(1, flag);
        ++flag;
    }
}

bool writeFile(Platform& p) {
    return p.replaceFile(SETTINGS_FILE_NAME, formatSettingsFile(snapshotSettings()));
}

// The defaults as if their file had been read back and applied.
void useDefaultsInMemory(Platform& p) {
    storeSettings(defaultSettings());
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) setClickKindCode(1, k);
    buildScanSequence();
    applySettings(p);
}

} // namespace

SettingsRecord& settings() { return g_record; }
const LiveValues& live() { return g_live; }

void resetSettingsState() {
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

SettingsValues snapshotSettings() {
    const SettingsRecord& r = g_record;
    SettingsValues v;
    for (int k = 0; k < 5; ++k) v.enabledClicks[k] = r.enabledClicks[k];
    v.moveStep = r.moveStep;
    v.scanPeriodMs = r.scanPeriodMs;
    v.lineColour = r.lineColour;
    v.opacity = r.opacity;
    v.helpBox = r.helpBox;
    v.clickSound = r.clickSound;
    v.switchDevice = r.switchDevice;
    return v;
}

void storeSettings(const SettingsValues& v) {
    SettingsRecord& r = g_record;
    for (int k = 0; k < 5; ++k) r.enabledClicks[k] = v.enabledClicks[k];
    r.moveStep = v.moveStep;
    r.scanPeriodMs = v.scanPeriodMs;
    r.lineColour = v.lineColour;
    r.opacity = v.opacity;
    r.helpBox = v.helpBox;
    r.clickSound = v.clickSound;
    r.switchDevice = v.switchDevice;
}

bool mouseIsSwitch() { return g_record.switchDevice == 1; }

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

void loadSettings(Platform& p) {
    if (!p.fileExists(SETTINGS_FILE_NAME)) {
        setDefaultSettings(p);
        return;
    }
    readSettingsFile(p);
    applySettings(p);
}

void readSettingsFile(Platform& p) {
    std::string bytes;
    if (!p.readFile(SETTINGS_FILE_NAME, bytes)) {
        setDefaultSettings(p);
        return;
    }
    WideLineReader reader(bytes);
    std::u16string piece;
    int count = 0;
    if (reader.getLine(piece)) {
        count = 1;
        readLineOne(cutLast(piece));
    }
    buildScanSequence();

    std::atomic<int>* fields[] = {&g_record.moveStep,   &g_record.scanPeriodMs, &g_record.lineColour,
                                  &g_record.opacity,    &g_record.helpBox,      &g_record.clickSound,
                                  &g_record.switchDevice};
    for (std::atomic<int>* field : fields) {
        if (!reader.getLine(piece)) continue;
        *field = wideToInt(cutLast(piece));
        ++count;
    }
    if (count < 8) setDefaultSettings(p);
}

void writeSettingsFile(Platform& p) { writeFile(p); }

void setDefaultSettings(Platform& p) {
    if (t_readingBackDefaults) {
        // The defaults were written but do not read back.
        useDefaultsInMemory(p);
        return;
    }
    storeSettings(defaultSettings());
    if (!writeFile(p)) {
        useDefaultsInMemory(p);
        return;
    }
    t_readingBackDefaults = true;
    loadSettings(p);
    t_readingBackDefaults = false;
}

void applySettings(Platform& p) {
    g_live.liveMoveStep = g_record.moveStep.load();
    g_live.liveScanPeriodMs = g_record.scanPeriodMs.load();
    g_live.liveOpacity = g_record.opacity.load();
    p.setLineColour(static_cast<Colour>(g_record.lineColour.load()));
    g_live.liveClickSound = g_record.clickSound.load();
    g_live.liveHelpBox = g_record.helpBox.load();
    p.sleepMs(100);
}

} // namespace sp
