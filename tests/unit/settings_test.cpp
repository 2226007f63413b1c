// Settings: the file's bytes, how odd files read, start-up loading and the
// apply step, seen through the recording fake.
#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "case_name.h"
#include "fake_platform.h"
#include "scan/scan.h"
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
    SettingsValues got = snapshotSettings();
    for (int k = 0; k < 5; ++k) EXPECT_EQ(got.enabledClicks[k], want.clicks[k]) << "enabledClicks[" << k << "]";
    EXPECT_EQ(got.moveStep, want.moveStep);
    EXPECT_EQ(got.scanPeriodMs, want.scanPeriodMs);
    EXPECT_EQ(got.lineColour, want.lineColour);
    EXPECT_EQ(got.opacity, want.opacity);
    EXPECT_EQ(got.helpBox, want.helpBox);
    EXPECT_EQ(got.clickSound, want.clickSound);
    EXPECT_EQ(got.switchDevice, want.switchDevice);
}

const Values DEFAULTS = {{1, 1, 1, 1, 1}, 2, 1500, 255, 255, 0, 0, 1};

// Click kinds whose scan code is set, as the scan module holds them.
std::vector<int> kindsWithScanCode() {
    std::vector<int> kinds;
    for (int k = 0; k < CLICK_KIND_COUNT; ++k)
        if (scanState().clickKindCode[k] != 0) kinds.push_back(k);
    return kinds;
}

// The click entries of the scan sequence, up to its end mark.
std::vector<int> clickEntries() {
    std::vector<int> codes;
    for (int i = 6; i < 12 && scanState().scanSequence[i] != 0; ++i) codes.push_back(scanState().scanSequence[i]);
    return codes;
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

    int replaceCalls() const { return static_cast<int>(fake.calls("replaceFile").size()); }
    int applyCount() const { return static_cast<int>(fake.calls("setLineColour").size()); }

    FakePlatform fake;
};

// ---- Writing ---------------------------------------------------------------

TEST_F(SettingsTest, DefaultFileBytesAreExact) {
    const std::string bytes = formatSettingsFile(defaultSettings());
    // Byte-order mark, then "1 " as UTF-16LE, spelt out independently of the helper.
    const unsigned char head[] = {0xFF, 0xFE, 0x31, 0x00, 0x20, 0x00};
    ASSERT_GE(bytes.size(), sizeof head);
    for (std::size_t i = 0; i < sizeof head; ++i) EXPECT_EQ(static_cast<unsigned char>(bytes[i]), head[i]) << i;
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
    ::testing::Values(
        FormatCase{"WhiteAsDecimal", valuesWith(16777215, 1500, 2),
                   "1 1 1 1 1\r\n2\r\n1500\r\n16777215\r\n255\r\n0\r\n0\r\n1\r\n"},
        FormatCase{"NegativeColourSigned", valuesWith(-5, 1500, 2),
                   "1 1 1 1 1\r\n2\r\n1500\r\n-5\r\n255\r\n0\r\n0\r\n1\r\n"},
        FormatCase{"PeriodUnsigned", valuesWith(255, -1, -3),
                   "1 1 1 1 1\r\n-3\r\n4294967295\r\n255\r\n255\r\n0\r\n0\r\n1\r\n"},
        FormatCase{"MixedFlags", SettingsValues{{1, 0, 7, 0, -1}, 9, 800, 65280, 128, 1, 1, 0},
                   "1 0 7 0 -1\r\n9\r\n800\r\n65280\r\n128\r\n1\r\n1\r\n0\r\n"}),
    CaseName());

TEST_F(SettingsTest, RoundTripKeepsEveryValue) {
    const SettingsValues chosen{{1, 0, 1, 1, 0}, 7, 900, -123456, 40, 1, 1, 2};
    storeSettings(chosen);
    writeSettingsFile(fake);
    EXPECT_EQ(replaceCalls(), 1);

    resetSettingsState();
    readSettingsFile(fake);
    expectRecord({{1, 0, 1, 1, 0}, 7, 900, -123456, 40, 1, 1, 2});
    EXPECT_EQ(replaceCalls(), 1) << "a valid file is not rewritten";
}

TEST_F(SettingsTest, UnsignedPeriodOfMinusOneReadsBackSaturated) {
    SettingsValues v = defaultSettings();
    v.scanPeriodMs = -1;
    storeSettings(v);
    writeSettingsFile(fake);
    readSettingsFile(fake);
    EXPECT_EQ(settings().scanPeriodMs, INT_MAX);
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
    fake.files[SETTINGS_FILE_NAME] = fileOf(std::string(c.line) + "\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n");

    readSettingsFile(fake);

    SettingsValues got = snapshotSettings();
    for (int k = 0; k < 5; ++k) EXPECT_EQ(got.enabledClicks[k], c.after[k]) << "enabledClicks[" << k << "]";
    EXPECT_EQ(kindsWithScanCode(), c.kindsSet);
    std::vector<int> codes;
    for (int k : c.kindsSet) codes.push_back(6 + k); // cell 5 + k, plus one
    EXPECT_EQ(clickEntries(), codes);
    EXPECT_EQ(replaceCalls(), 0) << "eight lines are a valid file";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SettingsLineOneTest,
    ::testing::Values(
        LineOneCase{"Spaced", "1 0 1 0 1", {0, 0, 0, 0, 0}, {1, 0, 1, 0, 1}, {0, 2, 4}},
        LineOneCase{"Packed", "10101", {0, 0, 0, 0, 0}, {1, 0, 1, 0, 1}, {0, 2, 4}},
        LineOneCase{"OtherCharsAreZero", "1x1x1", {1, 1, 1, 1, 1}, {1, 0, 1, 0, 1}, {0, 2, 4}},
        LineOneCase{"TwoFlagsKeepTheRest", "1 1", {0, 0, 0, 0, 0}, {1, 1, 0, 0, 0}, {0, 1}},
        LineOneCase{"TwoFlagsKeepEarlierValues", "1 0", {0, 1, 7, 1, 0}, {1, 0, 7, 1, 0}, {0}},
        LineOneCase{"BeyondFifthIgnored", "0 0 0 0 1 1 1", {0, 0, 0, 0, 0}, {0, 0, 0, 0, 1}, {4}},
        LineOneCase{"TabIsAFlag", "1\t1 1 1 1", {0, 0, 0, 0, 0}, {1, 0, 1, 1, 1}, {0, 2, 3, 4}},
        LineOneCase{"LoneCarriageReturnStays", "1 0\r1 0 1", {0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 3}},
        LineOneCase{"Empty", "", {1, 0, 1, 0, 1}, {1, 0, 1, 0, 1}, {}}),
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
    fake.files[SETTINGS_FILE_NAME] =
        fileOf("1 1 1 1 1\r\n" + GetParam().line + "\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n");
    readSettingsFile(fake);
    EXPECT_EQ(settings().moveStep, GetParam().moveStep);
    EXPECT_EQ(settings().scanPeriodMs, 1500);
    EXPECT_EQ(replaceCalls(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SettingsNumberTest,
    ::testing::Values(NumberCase{"Plain", "17", 17}, NumberCase{"LettersGiveZero", "abc", 0},
                      NumberCase{"Empty", "", 0}, NumberCase{"LeadingWhiteSpace", " \t\v\f 42", 42},
                      NumberCase{"PlusSign", "+8", 8}, NumberCase{"MinusSign", "-12", -12},
                      NumberCase{"StopsAtFirstOther", "12ab3", 12}, NumberCase{"SignAlone", "-", 0},
                      NumberCase{"SpaceAfterSign", "- 5", 0}, NumberCase{"LoneCarriageReturn", "\r9", 9},
                      NumberCase{"NegativeColourRange", "-2147483648", INT_MIN},
                      NumberCase{"OverflowSaturatesHigh", "99999999999", INT_MAX},
                      NumberCase{"OverflowSaturatesLow", "-99999999999", INT_MIN},
                      NumberCase{"FillsTheBufferExactly", std::string(17, '0') + "4", 4},
                      // The buffer is a C string: it ends at the NUL, and the cut takes the '4'.
                      NumberCase{"NulEndsTheText", std::string("4\0" "7", 3), 0}),
    CaseName());

TEST_F(SettingsTest, LongLineIsTakenInPieces) {
    // Line 2 is 22 characters: the first piece is 19 of them and loses the
    // '8' to the cut; "725" makes the next piece, so every later line lands
    // one field further on and the file's last line is never read.
    const std::string longLine = std::string(17, '0') + "48" + "725";
    fake.files[SETTINGS_FILE_NAME] =
        fileOf("1 1 1 1 1\r\n" + longLine + "\r\n300\r\n255\r\n128\r\n1\r\n1\r\n1\r\n");

    readSettingsFile(fake);

    expectRecord({{1, 1, 1, 1, 1}, 4, 725, 300, 255, 128, 1, 1});
    EXPECT_EQ(replaceCalls(), 0);
}

TEST_F(SettingsTest, PiecesCountAsLines) {
    // Seven file lines, but line 2 makes two pieces: eight reads, a valid file.
    const std::string longLine = std::string(17, '0') + "39" + "12";
    fake.files[SETTINGS_FILE_NAME] = fileOf("1 1 1 1 1\r\n" + longLine + "\r\n5\r\n6\r\n7\r\n8\r\n9\r\n");
    readSettingsFile(fake);
    expectRecord({{1, 1, 1, 1, 1}, 3, 12, 5, 6, 7, 8, 9});
    EXPECT_EQ(replaceCalls(), 0);
}

TEST_F(SettingsTest, LastLineWithoutLineEndLosesItsCharacter) {
    fake.files[SETTINGS_FILE_NAME] = fileOf("1 1 1 1 1\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1");
    readSettingsFile(fake);
    EXPECT_EQ(settings().switchDevice, 0);
    EXPECT_FALSE(mouseIsSwitch());
    EXPECT_EQ(replaceCalls(), 0);
}

TEST_F(SettingsTest, FileWithoutByteOrderMarkReadsTheSame) {
    fake.files[SETTINGS_FILE_NAME] = utf16("0 1 0 1 0\r\n6\r\n450\r\n-7\r\n90\r\n1\r\n0\r\n3\r\n");
    readSettingsFile(fake);
    expectRecord({{0, 1, 0, 1, 0}, 6, 450, -7, 90, 1, 0, 3});
    EXPECT_EQ(replaceCalls(), 0);
}

TEST_F(SettingsTest, LineFeedOnlyLineEndsReadTheSame) {
    fake.files[SETTINGS_FILE_NAME] = fileOf("1 0 0 0 1\n3\n1000\n65535\n200\n0\n1\n1\n");
    readSettingsFile(fake);
    expectRecord({{1, 0, 0, 0, 1}, 3, 1000, 65535, 200, 0, 1, 1});
}

TEST_F(SettingsTest, NegativeAndWhiteColoursSurviveTheFile) {
    for (int colour : {16777215, -1, -16777216, INT_MIN}) {
        SettingsValues v = defaultSettings();
        v.lineColour = colour;
        storeSettings(v);
        writeSettingsFile(fake);
        storeSettings(defaultSettings());
        readSettingsFile(fake);
        EXPECT_EQ(settings().lineColour, colour);
    }
}

// ---- Short and unreadable files --------------------------------------------------

struct ShortCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const ShortCase& c, std::ostream* os) { *os << c.name; }

class SettingsShortFileTest : public SettingsTest, public ::testing::WithParamInterface<ShortCase> {};

TEST_P(SettingsShortFileTest, StartUpReplacesItWithDefaults) {
    fake.files[SETTINGS_FILE_NAME] = GetParam().bytes;

    loadSettings(fake);

    expectRecord(DEFAULTS);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(DEFAULT_TEXT));
    EXPECT_EQ(replaceCalls(), 1);
    EXPECT_EQ(kindsWithScanCode(), (std::vector<int>{0, 1, 2, 3, 4}));
    // Once for the read-back, once at the end of the outer load.
    EXPECT_EQ(applyCount(), 2);
    EXPECT_EQ(live().liveScanPeriodMs, 1500);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsShortFileTest,
    ::testing::Values(ShortCase{"SevenLines", fileOf("0 0 0 0 0\r\n9\r\n100\r\n1\r\n2\r\n1\r\n1\r\n")},
                      ShortCase{"Empty", ""}, ShortCase{"OnlyByteOrderMark", BOM},
                      ShortCase{"OneLine", fileOf("1 0 1 0 1\r\n")}),
    CaseName());

TEST_F(SettingsTest, SevenLinesOverwriteWhatWasTakenFromThem) {
    fake.files[SETTINGS_FILE_NAME] = fileOf("0 0 0 0 0\r\n9\r\n100\r\n1\r\n2\r\n1\r\n1\r\n");
    readSettingsFile(fake);
    expectRecord(DEFAULTS);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(DEFAULT_TEXT));
}

// ---- Start-up --------------------------------------------------------------------

TEST_F(SettingsTest, NoFileWritesDefaultsAndAppliesThem) {
    loadSettings(fake);

    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(DEFAULT_TEXT));
    expectRecord(DEFAULTS);
    EXPECT_EQ(kindsWithScanCode(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(clickEntries(), (std::vector<int>{6, 7, 8, 9, 10}));
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
    bool readFile(const char* name, std::string&) override {
        log.push_back(std::string("readFile ") + name);
        return false;
    }
};

void expectDefaultsInMemory(const FakePlatform& p) {
    expectRecord(DEFAULTS);
    EXPECT_EQ(kindsWithScanCode(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(clickEntries(), (std::vector<int>{6, 7, 8, 9, 10}));
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
    EXPECT_EQ(replaceCalls(), 1);
}

TEST_F(SettingsTest, ShortFileInReadOnlyDirectoryKeepsFileAndUsesDefaults) {
    const std::string shortFile = fileOf("0 0 0 0 0\r\n9\r\n100\r\n");
    fake.files[SETTINGS_FILE_NAME] = shortFile;
    fake.failWrites = true;
    loadSettings(fake);
    expectDefaultsInMemory(fake);
    EXPECT_EQ(replaceCalls(), 1);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], shortFile) << "the user's file is never removed";
}

TEST_F(SettingsTest, WrittenDefaultsThatDoNotReadBackEndWithDefaultsInMemory) {
    UnreadablePlatform p;
    loadSettings(p);
    expectDefaultsInMemory(p);
    EXPECT_EQ(p.calls("replaceFile").size(), 1u);
    EXPECT_EQ(p.calls("readFile").size(), 1u);
}

TEST_F(SettingsTest, CycleStaysBoundedOnLaterCalls) {
    // The guard must not stick: after one failed start-up a later re-read of
    // a broken file again ends with the defaults, and a good file still reads.
    fake.directories[SETTINGS_FILE_NAME] = true;
    loadSettings(fake);
    storeSettings(SettingsValues{});
    readSettingsFile(fake);
    expectRecord(DEFAULTS);
    EXPECT_EQ(replaceCalls(), 2);

    fake.directories.clear();
    fake.files[SETTINGS_FILE_NAME] = fileOf("0 0 0 0 0\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n");
    readSettingsFile(fake);
    EXPECT_EQ(settings().enabledClicks[0], 0);
    fake.files.erase(SETTINGS_FILE_NAME);
    loadSettings(fake);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], fileOf(DEFAULT_TEXT)) << "a writable disk gets the file again";
    EXPECT_EQ(replaceCalls(), 3);
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
