// Settings: the file's bytes, how odd files read, start-up loading and the
// apply step, seen through the recording fake.
#include <climits>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/panel.h"
#include "case_name.h"
#include "fake_platform.h"
#include "scan/scan.h"
#include "settings/fallback_log.h"
#include "settings/settings.h"

namespace sp {
namespace {

const std::string BOM("\xFF\xFE", 2);

// ASCII text widened to UTF-16LE, line ends exactly as given.
std::string utf16(const std::string& text) {
    std::string out;
    for (char c : text) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

std::string fileOf(const std::string& text) { return BOM + utf16(text); }

const std::string DEFAULT_TEXT = "1 1 1 1 1\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n";

struct Values {
    int clicks[5];
    int moveStep, scanPeriodMs, lineColour, opacity, helpBox, clickSound, switchDevice;
};

void expectRecord(const Values& want) {
    SettingsValues got = settings();
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(got.enabledClicks[k], want.clicks[k]) << "enabledClicks[" << k << "]";
    EXPECT_EQ(got.moveStep, want.moveStep);
    EXPECT_EQ(got.scanPeriodMs, want.scanPeriodMs);
    EXPECT_EQ(got.lineColour, want.lineColour);
    EXPECT_EQ(got.opacity, want.opacity);
    EXPECT_EQ(got.helpBox, want.helpBox);
    EXPECT_EQ(got.clickSound, want.clickSound);
    EXPECT_EQ(got.switchDevice, want.switchDevice);
}

const Values DEFAULTS = {{1, 1, 1, 1, 1}, 2, 1500, 255, 255, 0, 0, 1};

// Click kinds that take part in the scan, as the settings hold them.
std::vector<int> kindsWithScanCode() {
    std::vector<int> kinds;
    for (int k = 0; k < CLICK_KIND_COUNT; ++k)
        if (clickKindInScan(k)) kinds.push_back(k);
    return kinds;
}

// The click cells of the scan sequence built from them, as whoever reads the
// settings builds it, after the five that always take part.
std::vector<int> clickEntries() {
    buildScanSequence();
    std::vector<int> cells;
    for (int i = 5; i <= CELL_COUNT && scanState().scanSequence[i] != NO_CELL; ++i)
        cells.push_back(scanState().scanSequence[i]);
    return cells;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsState();
        resetScanState();
    }
    void TearDown() override {
        resetSettingsState();
        resetScanState();
    }

    int replaceCalls() const { return static_cast<int>(fake.calls("replaceFile config.ini").size()); }
    int applyCount() const { return static_cast<int>(fake.calls("setLineColour").size()); }

    FakePlatform fake;
};

// ---- Writing ---------------------------------------------------------------

TEST_F(SettingsTest, DefaultFileBytesAreExact) {
    const std::string bytes = formatSettingsFile(defaultSettings());
    // Byte-order mark, then "1 " as UTF-16LE, spelt out independently of the helper.
    const unsigned char head[] = {0xFF, 0xFE, 0x31, 0x00, 0x20, 0x00};
    ASSERT_GE(bytes.size(), sizeof head);
    for (std::size_t i = 0; i < sizeof head; ++i)
        EXPECT_EQ(static_cast<unsigned char>(bytes[i]), head[i]) << i;
    EXPECT_EQ(bytes, fileOf(DEFAULT_TEXT));
    // Last line ends with CR LF as UTF-16LE.
    EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\r\0\n\0", 4));
}

struct FormatCase {
    const char* name;
    SettingsValues values;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class SettingsFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(SettingsFormatTest, WritesLinesInFileFormat) {
    EXPECT_EQ(formatSettingsFile(GetParam().values), fileOf(GetParam().text));
}

SettingsValues valuesWith(int colour, int period, int step) {
    SettingsValues v = defaultSettings();
    v.lineColour = colour;
    v.scanPeriodMs = period;
    v.moveStep = step;
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsFormatTest,
    ::testing::Values(FormatCase{"WhiteAsDecimal", valuesWith(16777215, 1500, 2),
                                 "1 1 1 1 1\r\n2\r\n1500\r\n16777215\r\n255\r\n0\r\n0\r\n1\r\n"},
                      FormatCase{"NegativeColourSigned", valuesWith(-5, 1500, 2),
                                 "1 1 1 1 1\r\n2\r\n1500\r\n-5\r\n255\r\n0\r\n0\r\n1\r\n"},
                      FormatCase{"PeriodUnsigned", valuesWith(255, -1, -3),
                                 "1 1 1 1 1\r\n-3\r\n4294967295\r\n255\r\n255\r\n0\r\n0\r\n1\r\n"},
                      FormatCase{"MixedFlags", SettingsValues{{1, 0, 7, 0, -1}, 9, 800, 65280, 128, 1, 1, 0},
                                 "1 0 7 0 -1\r\n9\r\n800\r\n65280\r\n128\r\n1\r\n1\r\n0\r\n"}),
    CaseName());

TEST_F(SettingsTest, RoundTripKeepsEveryValue) {
    const SettingsValues chosen{{1, 0, 1, 1, 0}, 7, 900, 123456, 40, 1, 1, 2};
    storeSettings(chosen);
    writeSettingsFile(fake);
    EXPECT_EQ(replaceCalls(), 1);

    resetSettingsState();
    readSettingsFile(fake);
    expectRecord({{1, 0, 1, 1, 0}, 7, 900, 123456, 40, 1, 1, 2});
    EXPECT_EQ(replaceCalls(), 1) << "a valid file is not rewritten";
}

// Every file the writer can produce, read by the parser alone: exactly the
// values written. A period is written unsigned, so a negative one comes back
// as the largest int, as it always has.
TEST(SettingsParserTest, RoundTripOverTheValueRanges) {
    const int samples[] = {INT_MIN, -16777216, -100000,  -1,       0,         1,      2,   14,
                           15,      49,        50,       100,      101,       255,    256, 1500,
                           60000,   60001,     16777215, 16777216, 999999999, INT_MAX};
    const int n = static_cast<int>(sizeof samples / sizeof samples[0]);
    int files = 0;
    for (int flags = 0; flags < 32; ++flags)
        for (int i = 0; i < n; ++i) {
            SettingsValues v;
            for (int k = 0; k < 5; ++k) v.enabledClicks[k] = (flags >> k) & 1;
            int* fields[] = {&v.moveStep, &v.scanPeriodMs, &v.lineColour,  &v.opacity,
                             &v.helpBox,  &v.clickSound,   &v.switchDevice};
            for (int f = 0; f < 7; ++f) *fields[f] = samples[(i + 3 * f + flags) % n];
            const ParsedSettings parsed = parseSettingsFile(formatSettingsFile(v));
            ASSERT_EQ(parsed.fault, TextFault::None);
            ASSERT_EQ(parsed.flagsGiven, 5);
            SettingsValues want = v;
            if (want.scanPeriodMs < 0) want.scanPeriodMs = INT_MAX;
            const SettingsValues& got = parsed.values;
            for (int k = 0; k < 5; ++k) ASSERT_EQ(got.enabledClicks[k], want.enabledClicks[k]) << files;
            ASSERT_EQ(got.moveStep, want.moveStep);
            ASSERT_EQ(got.scanPeriodMs, want.scanPeriodMs) << v.scanPeriodMs;
            ASSERT_EQ(got.lineColour, want.lineColour);
            ASSERT_EQ(got.opacity, want.opacity);
            ASSERT_EQ(got.helpBox, want.helpBox);
            ASSERT_EQ(got.clickSound, want.clickSound);
            ASSERT_EQ(got.switchDevice, want.switchDevice);
            ++files;
        }
    EXPECT_EQ(files, 32 * n);
}

TEST_F(SettingsTest, FailedWriteLeavesRecordAndOldFileAlone) {
    const std::string old = fileOf("0 0 0 0 0\r\n5\r\n700\r\n1\r\n2\r\n1\r\n1\r\n0\r\n");
    fake.files[SETTINGS_FILE_NAME] = old;
    fake.failWrites = true;
    storeSettings(SettingsValues{{1, 0, 1, 0, 1}, 3, 600, 42, 99, 1, 0, 2});

    writeSettingsFile(fake);

    EXPECT_EQ(replaceCalls(), 1);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], old);
    expectRecord({{1, 0, 1, 0, 1}, 3, 600, 42, 99, 1, 0, 2});
    EXPECT_EQ(applyCount(), 0);
}

// ---- Reading line 1 ----------------------------------------------------------

struct LineOneCase {
    const char* name;
    const char* line; // without its line end
    int before[5];    // record flags before the read
    int after[5];
    std::vector<int> kindsSet; // click kinds given a scan code
};

void PrintTo(const LineOneCase& c, std::ostream* os) { *os << c.name; }

class SettingsLineOneTest : public SettingsTest, public ::testing::WithParamInterface<LineOneCase> {};

TEST_P(SettingsLineOneTest, FlagsAndScanCodes) {
    const LineOneCase& c = GetParam();
    SettingsValues start;
    for (int k = 0; k < 5; ++k) start.enabledClicks[k] = c.before[k];
    storeSettings(start);
    fake.files[SETTINGS_FILE_NAME] =
        fileOf(std::string(c.line) + "\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n");

    readSettingsFile(fake);

    SettingsValues got = settings();
    for (int k = 0; k < 5; ++k) EXPECT_EQ(got.enabledClicks[k], c.after[k]) << "enabledClicks[" << k << "]";
    EXPECT_EQ(kindsWithScanCode(), c.kindsSet);
    std::vector<int> cells;
    for (int k : c.kindsSet) cells.push_back(cellOfClickKind(k));
    EXPECT_EQ(clickEntries(), cells);
    EXPECT_EQ(replaceCalls(), 0) << "eight lines are a valid file";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SettingsLineOneTest,
    ::testing::Values(LineOneCase{"Spaced", "1 0 1 0 1", {0, 0, 0, 0, 0}, {1, 0, 1, 0, 1}, {0, 2, 4}},
                      LineOneCase{"Packed", "10101", {0, 0, 0, 0, 0}, {1, 0, 1, 0, 1}, {0, 2, 4}},
                      LineOneCase{"OtherCharsAreZero", "1x1x1", {1, 1, 1, 1, 1}, {1, 0, 1, 0, 1}, {0, 2, 4}},
                      LineOneCase{"TwoFlagsKeepTheRest", "1 1", {0, 0, 0, 0, 0}, {1, 1, 0, 0, 0}, {0, 1}},
                      LineOneCase{"TwoFlagsKeepEarlierValues", "1 0", {0, 1, 7, 1, 0}, {1, 0, 7, 1, 0}, {0}},
                      LineOneCase{
                          "BeyondFifthIgnored", "0 0 0 0 1 1 1", {0, 0, 0, 0, 0}, {0, 0, 0, 0, 1}, {4}},
                      LineOneCase{"TabIsAFlag", "1\t1 1 1 1", {0, 0, 0, 0, 0}, {1, 0, 1, 1, 1}, {0, 2, 3, 4}},
                      LineOneCase{"EmptyIsAll", "", {1, 0, 1, 0, 1}, {1, 1, 1, 1, 1}, {0, 1, 2, 3, 4}}),
    CaseName());

TEST_F(SettingsTest, RereadDoesNotClearScanCodesOfKindsTurnedOff) {
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) setClickKindCode(1, k);
    fake.files[SETTINGS_FILE_NAME] = fileOf("1 0 0 0 0\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n");

    readSettingsFile(fake);

    EXPECT_EQ(settings().enabledClicks[1], 0);
    EXPECT_EQ(kindsWithScanCode(), (std::vector<int>{0, 1, 2, 3, 4}));
}

// ---- Reading lines 2 to 8 ------------------------------------------------------

struct NumberCase {
    const char* name;
    std::string line; // line 2, without its line end
    int moveStep;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class SettingsNumberTest : public SettingsTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(SettingsNumberTest, LineTwoConvertsLikeWtoi) {
    const ParsedSettings parsed = parseSettingsFile(
        fileOf("1 1 1 1 1\r\n" + GetParam().line + "\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n"));
    ASSERT_EQ(parsed.fault, TextFault::None);
    EXPECT_EQ(parsed.values.moveStep, GetParam().moveStep);
    EXPECT_EQ(parsed.values.scanPeriodMs, 1500);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SettingsNumberTest,
    ::testing::Values(NumberCase{"Plain", "17", 17}, NumberCase{"LettersGiveZero", "abc", 0},
                      NumberCase{"Empty", "", 0}, NumberCase{"LeadingWhiteSpace", " \t\v\f 42", 42},
                      NumberCase{"PlusSign", "+8", 8}, NumberCase{"MinusSign", "-12", -12},
                      NumberCase{"StopsAtFirstOther", "12ab3", 12}, NumberCase{"SignAlone", "-", 0},
                      NumberCase{"SpaceAfterSign", "- 5", 0},
                      NumberCase{"NegativeColourRange", "-2147483648", INT_MIN},
                      NumberCase{"OverflowSaturatesHigh", "99999999999", INT_MAX},
                      NumberCase{"OverflowSaturatesLow", "-99999999999", INT_MIN},
                      NumberCase{"LongRunOfZeros", std::string(5000, '0') + "4", 4}),
    CaseName());

TEST_F(SettingsTest, FileWithoutByteOrderMarkReadsTheSame) {
    fake.files[SETTINGS_FILE_NAME] = utf16("0 1 0 1 0\r\n6\r\n450\r\n7\r\n90\r\n1\r\n0\r\n3\r\n");
    readSettingsFile(fake);
    expectRecord({{0, 1, 0, 1, 0}, 6, 450, 7, 90, 1, 0, 3});
    EXPECT_EQ(replaceCalls(), 0);
}

TEST_F(SettingsTest, LineFeedOnlyLineEndsReadTheSame) {
    fake.files[SETTINGS_FILE_NAME] = fileOf("1 0 0 0 1\n3\n1000\n65535\n200\n0\n1\n1\n");
    readSettingsFile(fake);
    expectRecord({{1, 0, 0, 0, 1}, 3, 1000, 65535, 200, 0, 1, 1});
}

// ---- Damaged and hand-edited files at start-up ---------------------------------

const std::string OWN_TEXT = "1 0 1 0 1\r\n5\r\n900\r\n128\r\n100\r\n1\r\n1\r\n0\r\n";
const Values OWN = {{1, 0, 1, 0, 1}, 5, 900, 128, 100, 1, 1, 0};

std::string utf16be(const std::string& text) {
    std::string out("\xFE\xFF", 2);
    for (char c : text) {
        out.push_back('\0');
        out.push_back(c);
    }
    return out;
}

struct DamagedCase {
    const char* name;
    std::string bytes;
    Values want;
    bool usable;        // read as it is; otherwise kept as the copy and replaced
    const char* logged; // part of the log line; "" when nothing is logged
};

void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }

class SettingsDamagedFileTest : public SettingsTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(SettingsDamagedFileTest, StartUpReadsOrKeepsIt) {
    const DamagedCase& c = GetParam();
    fake.files[SETTINGS_FILE_NAME] = c.bytes;

    loadSettings(fake);

    expectRecord(c.want);
    EXPECT_EQ(live().liveScanPeriodMs, c.want.scanPeriodMs);
    EXPECT_EQ(live().liveMoveStep, c.want.moveStep);
    if (c.usable) {
        EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], c.bytes) << "the file keeps what it holds";
        EXPECT_EQ(fake.files.count(SETTINGS_COPY_NAME), 0u);
    } else {
        EXPECT_EQ(fake.files[SETTINGS_COPY_NAME], c.bytes);
        EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(DEFAULT_TEXT));
    }
    const std::string log = fake.files[SETTINGS_LOG_NAME];
    if (*c.logged)
        EXPECT_NE(log.find(std::string("2026-03-04 05:06:07 config.ini: ") + c.logged), std::string::npos)
            << log;
    else
        EXPECT_EQ(log, "");
}

const Values ALL_FLAGS = {{1, 1, 1, 1, 1}, 5, 900, 128, 100, 1, 1, 0};
const Values OWN_WITH_MOUSE = {{1, 0, 1, 0, 1}, 5, 900, 128, 100, 1, 1, 1};
const Values NO_BOX_SOUND = {{1, 0, 1, 0, 1}, 5, 900, 128, 100, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsDamagedFileTest,
    ::testing::Values(
        DamagedCase{"Empty", "", DEFAULTS, false, "fewer than 8 lines; kept as config.ini.bad"},
        DamagedCase{"OnlyByteOrderMark", BOM, DEFAULTS, false, "fewer than 8 lines"},
        DamagedCase{"OnlyUtf8Mark", "\xEF\xBB\xBF", DEFAULTS, false, "fewer than 8 lines"},
        DamagedCase{"SevenLines", fileOf("0 0 0 0 0\r\n9\r\n100\r\n1\r\n2\r\n1\r\n1\r\n"), DEFAULTS, false,
                    "fewer than 8 lines"},
        DamagedCase{"Utf8", OWN_TEXT, OWN, true, ""},
        DamagedCase{"Utf8WithMark", "\xEF\xBB\xBF" + OWN_TEXT, OWN, true, ""},
        DamagedCase{"Utf16BigEndian", utf16be(OWN_TEXT), DEFAULTS, false, "not UTF-16LE or UTF-8 text"},
        DamagedCase{"Binary",
                    std::string("\x7F"
                                "ELF\x02\x01\x01\0\0\0\x93\xFF\n\n\n\n\n\n\n\n",
                                20),
                    DEFAULTS, false, "not UTF-16LE or UTF-8 text"},
        DamagedCase{"BrokenUtf8", "1 0 1 0 1\r\n5\xC3\r\n900\r\n128\r\n100\r\n1\r\n1\r\n0\r\n", DEFAULTS,
                    false, "not UTF-16LE or UTF-8 text"},
        DamagedCase{"LastLineWithoutLineEnd",
                    fileOf("1 0 1 0 1\r\n5\r\n900\r\n128\r\n100\r\n1\r\n1\r\n1"),
                    {{1, 0, 1, 0, 1}, 5, 900, 128, 100, 1, 1, 1},
                    true,
                    ""},
        DamagedCase{"LongFirstLine", fileOf("1 0 1 0 1" + std::string(5000, '1') + OWN_TEXT.substr(9)), OWN,
                    true, ""},
        DamagedCase{"FiveHundredSpacesFirst", fileOf(std::string(500, ' ') + OWN_TEXT.substr(9)), ALL_FLAGS,
                    true, "click kinds line holds no flag, all used"},
        DamagedCase{"SpacesBeforeANumber",
                    fileOf("1 0 1 0 1\r\n" + std::string(500, ' ') + OWN_TEXT.substr(11)), OWN, true, ""},
        DamagedCase{"CarriageReturnLineEnds", "1 0 1 0 1\r5\r900\r128\r100\r1\r1\r0\r", OWN, true, ""},
        DamagedCase{
            "HugeNumbers",
            fileOf("1 0 1 0 1\r\n99999999999\r\n99999999999\r\n-99999999999\r\n100\r\n1\r\n1\r\n0\r\n"),
            {{1, 0, 1, 0, 1}, 2, 1500, 255, 100, 1, 1, 0},
            true,
            "move step 2147483647 is outside 1 to 100, 2 used; scan period 2147483647 is outside 50 to "
            "60000, 1500 used; line colour -2147483648 is outside 0 to 16777215, 255 used"},
        DamagedCase{"Letters",
                    fileOf("1 0 1 0 1\r\nabc\r\nabc\r\n128\r\nabc\r\n1\r\n1\r\n0\r\n"),
                    {{1, 0, 1, 0, 1}, 2, 1500, 128, 255, 1, 1, 0},
                    true,
                    "move step line holds no number, 2 used; scan period line holds no number, 1500 used; "
                    "opacity line holds no number, 255 used"},
        DamagedCase{"BlankDeviceLine", fileOf(OWN_TEXT.substr(0, 35) + "\r\n"), OWN_WITH_MOUSE, true,
                    "switch device line holds no number, 1 used\r\n"},
        DamagedCase{"BareCarriageReturns", "\r\r\r\r\r\r\r\r", DEFAULTS, true,
                    "click kinds line holds no flag, all used; move step line holds no number, 2 used"},
        DamagedCase{"WordsForHelpBoxAndSound", fileOf(OWN_TEXT.substr(0, 29) + "on\r\n-\r\n0\r\n"),
                    NO_BOX_SOUND, true,
                    "help box line holds no number, 0 used; click sound line holds no number, 0 used\r\n"},
        DamagedCase{"AtTheSizeLimit", OWN_TEXT + std::string(SETTINGS_FILE_LIMIT - OWN_TEXT.size(), ' '), OWN,
                    true, ""},
        DamagedCase{"PastTheSizeLimit",
                    OWN_TEXT + std::string(SETTINGS_FILE_LIMIT + 1 - OWN_TEXT.size(), ' '), DEFAULTS, false,
                    "larger than 65536 bytes; kept as config.ini.bad"}),
    CaseName());

// ---- Ranges, at start-up and at every re-read ------------------------------------

struct RangeCase {
    const char* name;
    int line; // 2 move step, 3 scan period, 4 colour, 5 opacity
    int value;
    int kept;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class SettingsRangeTest : public SettingsTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(SettingsRangeTest, OutOfRangeFieldFallsBackAlone) {
    const RangeCase& c = GetParam();
    std::string lines[8] = {"1 1 0 1 1", "7", "3000", "65280", "200", "1", "0", "0"};
    lines[c.line - 1] = std::to_string(c.value);
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    fake.files[SETTINGS_FILE_NAME] = fileOf(text);
    Values want = {{1, 1, 0, 1, 1}, 7, 3000, 65280, 200, 1, 0, 0};
    int* field[] = {nullptr, nullptr, &want.moveStep, &want.scanPeriodMs, &want.lineColour, &want.opacity};
    *field[c.line] = c.kept;

    loadSettings(fake);
    expectRecord(want);
    EXPECT_EQ(live().liveMoveStep, want.moveStep);
    EXPECT_EQ(live().liveScanPeriodMs, want.scanPeriodMs);
    EXPECT_EQ(live().liveOpacity, want.opacity);
    EXPECT_EQ(fake.lineColour, static_cast<Colour>(want.lineColour));
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(text)) << "the file keeps what it holds";
    EXPECT_EQ(fake.files.count(SETTINGS_LOG_NAME), c.kept == c.value ? 0u : 1u);

    storeSettings(defaultSettings());
    readSettingsFile(fake);
    expectRecord(want);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, SettingsRangeTest,
    ::testing::Values(RangeCase{"StepBelow", 2, 0, 2}, RangeCase{"StepLowest", 2, 1, 1},
                      RangeCase{"StepHighest", 2, 100, 100}, RangeCase{"StepAbove", 2, 101, 2},
                      RangeCase{"PeriodBelow", 3, 49, 1500}, RangeCase{"PeriodLowest", 3, 50, 50},
                      RangeCase{"PeriodHighest", 3, 60000, 60000}, RangeCase{"PeriodAbove", 3, 60001, 1500},
                      RangeCase{"ColourBelow", 4, -1, 255}, RangeCase{"ColourBlack", 4, 0, 0},
                      RangeCase{"ColourWhite", 4, 0xFFFFFF, 0xFFFFFF},
                      RangeCase{"ColourAbove", 4, 0x1000000, 255}, RangeCase{"OpacityBelow", 5, 14, 255},
                      RangeCase{"OpacityLowest", 5, 15, 15}, RangeCase{"OpacityHighest", 5, 255, 255},
                      RangeCase{"OpacityAbove", 5, 256, 255}),
    CaseName());

void expectDefaultsInMemory(const FakePlatform& p);

// ---- Files that must be left alone ------------------------------------------------

TEST_F(SettingsTest, ReadOnlyUnusableFileIsLeftAndDefaultsRunInMemory) {
    const std::string shortFile = fileOf("0 0 0 0 0\r\n9\r\n");
    fake.files[SETTINGS_FILE_NAME] = shortFile;
    fake.readOnly.insert(SETTINGS_FILE_NAME);

    loadSettings(fake);
    expectRecord(DEFAULTS);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], shortFile);
    EXPECT_TRUE(fake.calls("copyFile").empty());
    EXPECT_NE(fake.files[SETTINGS_LOG_NAME].find("read-only, so left as it is"), std::string::npos);

    writeSettingsFile(fake);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], shortFile) << "saving never clears the flag";
}

TEST_F(SettingsTest, FileStillLockedRunsOnDefaultsAndWritesNothing) {
    fake.files[SETTINGS_FILE_NAME] = fileOf(OWN_TEXT);
    fake.lockedReads[SETTINGS_FILE_NAME] = 1000;
    loadSettings(fake);
    expectRecord(DEFAULTS);
    EXPECT_TRUE(mouseIsSwitch());
    EXPECT_EQ(replaceCalls(), 0);
    EXPECT_TRUE(fake.calls("copyFile").empty());
    EXPECT_EQ(fake.calls("readFile config.ini").size(),
              static_cast<std::size_t>(LOCK_WAIT_MS / LOCK_RETRY_MS + 1));
    EXPECT_NE(
        fake.files[SETTINGS_LOG_NAME].find("held open by another program for 2 s; running on the defaults"),
        std::string::npos);
}

TEST_F(SettingsTest, EachDamagedStartKeepsItsOwnCopy) {
    fake.files[SETTINGS_FILE_NAME] = "first";
    loadSettings(fake);
    fake.files[SETTINGS_FILE_NAME] = "second";
    loadSettings(fake);
    EXPECT_EQ(fake.files[SETTINGS_COPY_NAME], "second");
    EXPECT_EQ(fake.files["config.ini.bad.2"], "first");
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(DEFAULT_TEXT));
}

// Copies 1 (config.ini.bad) to 6, a word each: "-" none, "dir" a directory,
// "!" read-only; the damaged file holds "new".
TEST_F(SettingsTest, DamagedFileIsKeptOrLeftAlone) {
    const struct {
        const char *before, *after;
        bool kept;
    } rows[] = {{"- - - - -", "new - - - - -", true},          {"b1 b2 - - -", "new b1 b2 - - -", true},
                {"b1 b2 b3 b4 b5", "new b1 b2 b3 b4 -", true}, {"dir - - - -", "- - - - - -", false},
                {"b1 b2 dir - -", "b1 b2 - - - -", false},     {"b1 b2 b3 b4 b5!", "b1 b2 b3 b4 b5 -", false},
                {"b1! - - - -", "b1 b1 - - - -", false}}; // moved on, but none is lost
    auto name = [](int n) { return n == 1 ? "config.ini.bad" : "config.ini.bad." + std::to_string(n); };
    for (const auto& row : rows) {
        FakePlatform p;
        p.files[SETTINGS_FILE_NAME] = "new";
        std::istringstream before(row.before);
        std::string word, after;
        for (int n = 1; before >> word; ++n) {
            if (word == "dir") p.directories[name(n)] = true;
            if (word != "-" && word != "dir") p.files[name(n)] = word.substr(0, 2);
            if (word.back() == '!') p.readOnly.insert(name(n));
        }
        loadSettings(p);
        for (int n = 1; n <= 6; ++n)
            after += (n == 1 ? "" : " ") + (p.files.count(name(n)) ? p.files[name(n)] : "-");
        EXPECT_EQ(after, row.after) << row.before;
        EXPECT_EQ(p.files[SETTINGS_FILE_NAME], row.kept ? fileOf(DEFAULT_TEXT) : "new") << row.before;
        EXPECT_NE(p.files[SETTINGS_LOG_NAME].find(row.kept
                                                      ? "kept as config.ini.bad; the defaults written"
                                                      : "no copy could be made, so left as it is; running"),
                  std::string::npos);
        expectRecord(DEFAULTS);
    }
}

// ---- Re-reads during the run -----------------------------------------------------

TEST_F(SettingsTest, RereadThatCannotUseTheFileKeepsTheRunningValues) {
    const std::string unusable[] = {"", BOM, utf16be(OWN_TEXT), fileOf("1 1 1 1 1\r\n2\r\n")};
    for (const std::string& bytes : unusable) {
        storeSettings(SettingsValues{{1, 0, 1, 0, 1}, 5, 900, 128, 100, 1, 1, 0});
        fake.files[SETTINGS_FILE_NAME] = bytes;
        readSettingsFile(fake);
        expectRecord(OWN);
        EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], bytes);
    }
    fake.lockedReads[SETTINGS_FILE_NAME] = 1000;
    readSettingsFile(fake);
    fake.lockedReads.clear();
    fake.files.erase(SETTINGS_FILE_NAME);
    readSettingsFile(fake);
    expectRecord(OWN);
    EXPECT_EQ(replaceCalls(), 0);
    EXPECT_TRUE(fake.calls("copyFile").empty());
    const std::string log = fake.files[SETTINGS_LOG_NAME];
    EXPECT_NE(log.find("held open by another program for 2 s; the settings in use are kept"),
              std::string::npos);
    EXPECT_NE(log.find("missing; the settings in use are kept"), std::string::npos);
}

// ---- The log -----------------------------------------------------------------------

TEST(SettingsLogTest, KeepsItsNewestWholeLinesWithinTheLimit) {
    EXPECT_EQ(appendToLog("aaaa\r\nbbbb\r\n", "cccc\r\n", 18), "aaaa\r\nbbbb\r\ncccc\r\n");
    // Past the limit the oldest lines go, down to half of it.
    EXPECT_EQ(appendToLog("aaaa\r\nbbbb\r\n", "cccc\r\n", 17), "cccc\r\n");
    EXPECT_EQ(appendToLog("aa\r\nbb\r\ncc\r\n", "d\r\n", 14), "cc\r\nd\r\n");
    std::string log;
    for (int i = 0; i < 5000; ++i) {
        log = appendToLog(log, "line " + std::to_string(i) + "\r\n", SETTINGS_LOG_LIMIT);
        ASSERT_LE(log.size(), SETTINGS_LOG_LIMIT);
    }
    EXPECT_EQ(log.compare(0, 5, "line "), 0) << "starts at a whole line";
    EXPECT_EQ(log.substr(log.size() - 11), "line 4999\r\n");
}

// ---- Start-up --------------------------------------------------------------------

TEST_F(SettingsTest, NoFileWritesDefaultsAndAppliesThem) {
    loadSettings(fake);

    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(DEFAULT_TEXT));
    expectRecord(DEFAULTS);
    EXPECT_EQ(kindsWithScanCode(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(clickEntries(), (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_EQ(live().liveMoveStep, 2);
    EXPECT_EQ(live().liveScanPeriodMs, 1500);
    EXPECT_EQ(live().liveOpacity, 255);
    EXPECT_EQ(fake.lineColour, 255u);
    EXPECT_EQ(applyCount(), 1);
    EXPECT_TRUE(mouseIsSwitch());
}

TEST_F(SettingsTest, ValidFileIsReadAndAppliedOnce) {
    fake.files[SETTINGS_FILE_NAME] = fileOf("1 1 0 0 1\r\n4\r\n2000\r\n65280\r\n180\r\n1\r\n0\r\n0\r\n");

    loadSettings(fake);

    expectRecord({{1, 1, 0, 0, 1}, 4, 2000, 65280, 180, 1, 0, 0});
    const std::vector<std::string> first(fake.log.begin(), fake.log.begin() + 2);
    EXPECT_EQ(first, fake.calls("removeUnfinishedReplace")) << "before the file is touched, and only then";
    EXPECT_EQ(replaceCalls(), 0);
    EXPECT_EQ(applyCount(), 1);
    EXPECT_EQ(live().liveHelpBox, 1);
    EXPECT_EQ(live().liveClickSound, 0);
    EXPECT_EQ(live().liveOpacity, 180);
    EXPECT_EQ(kindsWithScanCode(), (std::vector<int>{0, 1, 4}));
}

// ---- The defaults cycle when the file cannot be written or read back -------------

// A disk that takes writes but hands nothing back.
class UnreadablePlatform : public FakePlatform {
public:
    FileRead readFile(const char* name, std::string&, std::size_t) override {
        log.push_back(std::string("readFile ") + name);
        return FileRead::Failed;
    }
};

void expectDefaultsInMemory(const FakePlatform& p) {
    expectRecord(DEFAULTS);
    EXPECT_EQ(kindsWithScanCode(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(clickEntries(), (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_EQ(live().liveMoveStep, 2);
    EXPECT_EQ(live().liveScanPeriodMs, 1500);
    EXPECT_EQ(live().liveOpacity, 255);
    EXPECT_EQ(p.lineColour, 255u);
    EXPECT_GE(p.calls("setLineColour").size(), 1u);
}

TEST_F(SettingsTest, ReadOnlyDirectoryWithNoFileEndsWithDefaultsInMemory) {
    fake.failWrites = true;
    loadSettings(fake);
    expectDefaultsInMemory(fake);
    EXPECT_EQ(replaceCalls(), 1);
    EXPECT_EQ(fake.files.count(SETTINGS_FILE_NAME), 0u);
}

TEST_F(SettingsTest, ConfigNameThatIsADirectoryEndsWithDefaultsInMemory) {
    fake.directories[SETTINGS_FILE_NAME] = true;
    loadSettings(fake);
    expectDefaultsInMemory(fake);
    EXPECT_EQ(replaceCalls(), 0) << "it cannot be copied, so it is not written over";
}

TEST_F(SettingsTest, ShortFileInReadOnlyDirectoryKeepsFileAndUsesDefaults) {
    const std::string shortFile = fileOf("0 0 0 0 0\r\n9\r\n100\r\n");
    fake.files[SETTINGS_FILE_NAME] = shortFile;
    fake.failWrites = true;
    loadSettings(fake);
    expectDefaultsInMemory(fake);
    EXPECT_EQ(replaceCalls(), 0) << "no copy, so no write";
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], shortFile) << "the user's file is never removed";
}

TEST_F(SettingsTest, WrittenDefaultsThatDoNotReadBackEndWithDefaultsInMemory) {
    UnreadablePlatform p;
    loadSettings(p);
    expectDefaultsInMemory(p);
    EXPECT_EQ(p.calls("replaceFile config.ini").size(), 1u);
    EXPECT_EQ(p.calls("readFile config.ini").size(), 1u);
}

TEST_F(SettingsTest, CycleStaysBoundedOnLaterCalls) {
    // The guard must not stick: after one failed start-up a good file still
    // reads, and a missing one is written again.
    fake.directories[SETTINGS_FILE_NAME] = true;
    loadSettings(fake);
    expectRecord(DEFAULTS);
    EXPECT_EQ(replaceCalls(), 0);

    fake.directories.clear();
    fake.files[SETTINGS_FILE_NAME] = fileOf("0 0 0 0 0\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n");
    readSettingsFile(fake);
    EXPECT_EQ(settings().enabledClicks[0], 0);
    fake.files.erase(SETTINGS_FILE_NAME);
    loadSettings(fake);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(DEFAULT_TEXT)) << "a writable disk gets the file again";
    EXPECT_EQ(replaceCalls(), 1);
}

// ---- One copy a session --------------------------------------------------------

// The other copy's claim (the wait that gets it: 0 free, -1 never) and
// answers; then what this copy asks in order, "show" for each request.
TEST_F(SettingsTest, SecondStartShowsTheFirstOrStartsPastIt) {
    const std::vector<RunningCopy> none, shown = {RunningCopy::Shown}, hung = {RunningCopy::NoAnswer},
                                         late = {RunningCopy::Gone, RunningCopy::Shown};
    const struct {
        int claimFreeAfterMs;
        const std::vector<RunningCopy>& answers;
        bool starts;
        const char *calls, *logged;
    } rows[] = {
        {0, none, true, "0 show", ""},
        {-1, shown, false, "0 show 1000", ""},
        {1000, shown, true, "0 show 1000", "the copy that answered has ended; this one starts"},
        {2000, none, true, "0 show 2000", ""}, // it ended, and let go
        {-1, late, false, "0 show 2000 show 1000", ""},
        {-1, none, true, "0 show 2000 show",
         "another copy has shown no panel for 2 s; this one starts as well"},
        {-1, hung, true, "0 show 0", "another copy did not answer within 2 s; this one starts as well"}};
    for (const auto& row : rows) {
        FakePlatform p;
        p.claimFreeAfterMs = row.claimFreeAfterMs;
        p.copyAnswers = row.answers;
        EXPECT_EQ(startAsOnlyCopy(p), row.starts) << row.calls;
        std::string calls;
        for (const std::string& line : p.log)
            if (line.find("switchpoint.log") == std::string::npos)
                calls +=
                    (calls.empty() ? "" : " ") + (line == "showRunningCopy 2000" ? "show" : line.substr(14));
        EXPECT_EQ(calls, row.calls) << "nothing else is touched";
        EXPECT_EQ(p.files[SETTINGS_LOG_NAME],
                  *row.logged ? std::string("2026-03-04 05:06:07 start: ") + row.logged + "\r\n" : "");
    }
}

// ---- Apply -------------------------------------------------------------------------

TEST_F(SettingsTest, ApplyCopiesRecordRecoloursThenWaits) {
    storeSettings(SettingsValues{{1, 1, 1, 1, 1}, 5, 750, -1, 77, 0, 1, 0});
    applySettings(fake);

    EXPECT_EQ(live().liveMoveStep, 5);
    EXPECT_EQ(live().liveScanPeriodMs, 750);
    EXPECT_EQ(live().liveOpacity, 77);
    EXPECT_EQ(live().liveHelpBox, 0);
    EXPECT_EQ(live().liveClickSound, 1);
    EXPECT_EQ(fake.lineColour, 0xFFFFFFFFu);
    EXPECT_EQ(fake.log, (std::vector<std::string>{"setLineColour FFFFFFFF", "sleep 100"}));
}

TEST_F(SettingsTest, LiveValuesChangeOnlyOnApply) {
    storeSettings(SettingsValues{{0, 0, 0, 0, 0}, 9, 333, 1, 2, 1, 1, 1});
    EXPECT_EQ(live().liveMoveStep, 0);
    EXPECT_EQ(live().liveScanPeriodMs, 0);
    EXPECT_EQ(live().liveHelpBox, 0);
    applySettings(fake);
    storeSettings(defaultSettings());
    EXPECT_EQ(live().liveMoveStep, 9);
    EXPECT_EQ(live().liveScanPeriodMs, 333);
}

TEST_F(SettingsTest, SwitchDeviceOneMeansMouse) {
    for (int device : {1, 0, 2, -1}) {
        SettingsValues v = defaultSettings();
        v.switchDevice = device;
        storeSettings(v);
        EXPECT_EQ(mouseIsSwitch(), device == 1) << device;
    }
}

TEST_F(SettingsTest, ResetZeroesRecordAndLiveValues) {
    loadSettings(fake);
    resetSettingsState();
    expectRecord({{0, 0, 0, 0, 0}, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(live().liveMoveStep, 0);
    EXPECT_EQ(live().liveOpacity, 0);
    EXPECT_EQ(live().liveScanPeriodMs, 0);
}

} // namespace
} // namespace sp
