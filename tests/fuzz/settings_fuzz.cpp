// libFuzzer target for the settings reader: any bytes as config.ini, read by
// the parser alone, at start-up and again during the run, through the
// recording fake. A broken promise aborts, which the fuzzer counts as a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake_platform.h"
#include "scan/scan.h"
#include "settings/fallback_log.h"
#include "settings/settings.h"

namespace {

using namespace sp;

void require(bool ok) {
    if (!ok) std::abort();
}

bool sameValues(const SettingsValues& a, const SettingsValues& b) {
    for (int k = 0; k < 5; ++k)
        if (a.enabledClicks[k] != b.enabledClicks[k]) return false;
    return a.moveStep == b.moveStep && a.scanPeriodMs == b.scanPeriodMs && a.lineColour == b.lineColour &&
           a.opacity == b.opacity && a.helpBox == b.helpBox && a.clickSound == b.clickSound &&
           a.switchDevice == b.switchDevice;
}

bool usable(const SettingsValues& v) {
    SettingsValues checked = v;
    return keepUsableValues(checked).empty() && sameValues(checked, v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // What the parser takes, written back, reads back the same.
    const ParsedSettings parsed = parseSettingsFile(bytes);
    require(parsed.flagsGiven >= 0 && parsed.flagsGiven <= 5);
    if (parsed.fault == TextFault::None) {
        SettingsValues v = parsed.values;
        for (int k = parsed.flagsGiven; k < 5; ++k) v.enabledClicks[k] = 0;
        const ParsedSettings again = parseSettingsFile(formatSettingsFile(v));
        if (v.scanPeriodMs < 0) v.scanPeriodMs = 2147483647; // written unsigned
        require(again.fault == TextFault::None && again.flagsGiven == 5 && again.linesWithoutValue == 0 &&
                sameValues(again.values, v));
    }

    resetSettingsState();
    resetScanState();
    FakePlatform p;
    p.files[SETTINGS_FILE_NAME] = bytes;
    loadSettings(p);
    require(usable(settings()));
    const bool unusable = parsed.fault != TextFault::None || size > SETTINGS_FILE_LIMIT;
    const std::string after = p.files[SETTINGS_FILE_NAME];
    if (unusable)
        require(p.files[SETTINGS_COPY_NAME] == bytes && after == formatSettingsFile(defaultSettings()));
    else
        require(p.files.count(SETTINGS_COPY_NAME) == 0 && after == bytes);

    // A re-read takes the same file the same way and writes nothing.
    const SettingsValues running = settings();
    readSettingsFile(p);
    require(sameValues(settings(), running) && p.files[SETTINGS_FILE_NAME] == after);
    require(p.files[SETTINGS_LOG_NAME].size() <= SETTINGS_LOG_LIMIT);
    return 0;
}
