// libFuzzer target for the options reader: any bytes as options.ini. What it
// reads is always in range, a save reads back as it was saved and saving
// again changes nothing, and loading never writes the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake_platform.h"
#include "settings/options.h"

namespace {

using namespace sp;

void require(bool ok) {
    if (!ok) std::abort();
}

bool inRange(const OptionValues& v) {
    for (int option = 0; option < OPTION_COUNT; ++option) {
        const OptionDef& def = optionDef(option);
        const int value = v.value[option];
        if (def.type == OptionType::Cells) continue;
        if (!(value >= def.low && value <= def.high) && !(def.zeroMeansOff && value == 0)) return false;
    }
    for (int extra : v.extraCells)
        if (!extraCellWord(extra)) return false;
    return v.extraCells.size() <= MOST_EXTRA_CELLS;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ParsedOptions parsed = parseOptions(bytes);
    require(inRange(parsed.values));
    if (parsed.usable) {
        const std::string saved = formatOptions(parsed.text, parsed.values);
        const ParsedOptions again = parseOptions(saved);
        require(again.usable && again.faults.empty() && again.values == parsed.values);
        require(formatOptions(again.text, again.values) == saved);
    }

    resetOptionsState();
    FakePlatform p;
    p.files[OPTIONS_FILE_NAME] = bytes;
    loadOptions(p);
    require(inRange(currentOptions()) && p.files[OPTIONS_FILE_NAME] == bytes);
    return 0;
}
