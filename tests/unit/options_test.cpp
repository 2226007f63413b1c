// options.ini: what a hand-edited file means, what a save keeps of it, and
// that a folder without one stays as it is.
#include "settings/options.h"

#include "settings/fallback_log.h"
#include "test_state.h"

namespace sp {
namespace {

// The first four options as the file would write them, in table order.
std::vector<std::string> asTexts(const OptionValues& v) {
    std::vector<std::string> texts;
    texts.reserve(OPTION_LANGUAGE + 1);
    for (int option = 0; option <= OPTION_LANGUAGE; ++option) texts.push_back(toUtf8(optionText(v, option)));
    return texts;
}

std::string utf16(const std::string& ascii) { return encodeText(fromUtf8(ascii), TextEncoding::Utf16Le); }

struct ParseCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> want; // extra_cells, scroll_interval_ms, panel_steps_aside, language
    std::vector<std::string> faults;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class OptionsParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(OptionsParseTest, ReadsWhatAUserWrote) {
    const ParsedOptions parsed = parseOptions(GetParam().bytes);
    ASSERT_TRUE(parsed.usable);
    EXPECT_EQ(asTexts(parsed.values), GetParam().want);
    EXPECT_EQ(parsed.faults, GetParam().faults);
    EXPECT_TRUE(parseOptions(formatOptions(parsed.text, parsed.values)).faults.empty()) << "saved as used";
}

const std::vector<std::string> DEFAULTS = {"", "200", "0", "auto"};

INSTANTIATE_TEST_SUITE_P(
    Files, OptionsParseTest,
    ::testing::Values(
        ParseCase{"empty", "", DEFAULTS, {}},
        ParseCase{"everyKeyInAnyCaseWithCommentsAndBlanks",
                  "# mine\r\n\r\n; also mine\r\n  EXTRA_cells =  Scroll_Down scroll_UP  "
                  "\r\nscroll_interval_ms=50\r\n"
                  "Panel_Steps_Aside = 1\r\nlanguage = ES\r\n",
                  {"scroll_down scroll_up", "50", "1", "es"},
                  {}},
        ParseCase{"bareLineEndsAndAMarkedUtf8File",
                  "\xEF\xBB\xBFscroll_interval_ms = 2000\rlanguage = en\nextra_cells = scroll_left scroll_up",
                  {"scroll_left scroll_up", "2000", "0", "en"},
                  {}},
        ParseCase{"utf16WithItsMark",
                  utf16("extra_cells = scroll_left scroll_right\r\n"),
                  {"scroll_left scroll_right", "200", "0", "auto"},
                  {}},
        ParseCase{"unusableValuesGetTheirDefaults",
                  "scroll_interval_ms = 49\r\npanel_steps_aside = yes\r\nlanguage = fr\r\n"
                  "hold_ms = 29\r\nignore_repeat_ms = 0\r\n",
                  DEFAULTS,
                  {"scroll_interval_ms = 49 cannot be used; 200 used",
                   "panel_steps_aside = yes cannot be used; 0 used",
                   "language = fr cannot be used; auto used", "hold_ms = 29 cannot be used; 0 used"}},
        ParseCase{"aCellListLosesOnlyTheNamesItCannotUse",
                  "extra_cells = scrol_down MENU scroll_up menu scroll_up\r\n",
                  {"menu scroll_up", "200", "0", "auto"},
                  {"extra_cells: scrol_down is no cell's name; left out",
                   "extra_cells: menu is named already; left out",
                   "extra_cells: scroll_up is named already; left out"}},
        ParseCase{"numbersAreDigitsOnly",
                  "scroll_interval_ms = -100\r\nscroll_interval_ms = 2001\r\nscroll_interval_ms = 1e3\r\n"
                  "scroll_interval_ms = 99999999999\r\n",
                  DEFAULTS,
                  {"scroll_interval_ms = -100 cannot be used; 200 used",
                   "scroll_interval_ms = 2001 cannot be used; 200 used",
                   "scroll_interval_ms = 1e3 cannot be used; 200 used",
                   "scroll_interval_ms = 99999999999 cannot be used; 200 used"}},
        ParseCase{"theLatestLineOfAKeyHolds",
                  "scroll_interval_ms = 300\r\nscroll_interval_ms = 400\r\nextra_cells = "
                  "scroll_up\r\nextra_cells = "
                  "wheel\r\n",
                  {"", "400", "0", "auto"},
                  {"extra_cells: wheel is no cell's name; left out"}},
        ParseCase{
            "unknownKeysAndStrayLinesAreIgnored", "colour = red\r\nno equals here\r\n= 5\r\n", DEFAULTS, {}}),
    CaseName());

TEST(OptionsFileTest, BinaryOrBrokenTextIsUnusable) {
    for (const std::string& bytes : {std::string("\0binary", 7), std::string("scroll_interval_ms = \xC3")})
        EXPECT_FALSE(parseOptions(bytes).usable);
}

// A save changes the values that changed and nothing else the user wrote,
// in the file's own encoding and line ends.
TEST(OptionsFileTest, SaveKeepsCommentsUnknownKeysOrderAndEncoding) {
    const std::string file = "# carer's note\nLanguage = es\nmy_key = 7\n\nscroll_interval_ms = 0300\n";
    for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf8WithMark, TextEncoding::Utf16Le}) {
        const ParsedOptions parsed = parseOptions(encodeText(fromUtf8(file), encoding));
        OptionValues v = parsed.values;
        ASSERT_TRUE(setOptionFromText(v, OPTION_EXTRA_CELLS, U"scroll_down"));
        ASSERT_TRUE(setOptionFromText(v, OPTION_SCROLL_INTERVAL_MS, U"500"));
        const std::string want =
            "# carer's note\nLanguage = es\nmy_key = 7\n\nscroll_interval_ms = 500\n"
            "extra_cells = scroll_down\npanel_steps_aside = 0\nacceleration = 0\n"
            "acceleration_max = 4\nacceleration_ms = 2000\nafter_move = next\nscan_loops = 0\n"
            "point_scan = 0\npoint_band_px_s = 300\npoint_line_px_s = 100\nafter_click = first\nhold_ms = "
            "0\nignore_repeat_ms = 0\nkeyboard_scan = groups\nkeyboard_period_ms = 0\nkeyboard_learn = 0\n";
        EXPECT_EQ(formatOptions(parsed.text, v), encodeText(fromUtf8(want), encoding));
        EXPECT_TRUE(parseOptions(formatOptions(parsed.text, v)).values == v) << "reads back as saved";
    }
}

class OptionsRunTest : public LogicTest {
protected:
    std::string logged() { return fake.files.count(SETTINGS_LOG_NAME) ? fake.files[SETTINGS_LOG_NAME] : ""; }
};

TEST_F(OptionsRunTest, NoFileMeansDefaultsAndNothingWritten) {
    useOptions(parseOptions("panel_steps_aside = 1").values);
    loadOptions(fake);
    EXPECT_TRUE(currentOptions() == defaultOptions());
    EXPECT_TRUE(fake.calls("replaceFile").empty());
    EXPECT_TRUE(fake.files.empty());
}

TEST_F(OptionsRunTest, EachUnusableValueIsOneLogLineAndTooLargeAFileLeftAlone) {
    fake.files[OPTIONS_FILE_NAME] = "scroll_interval_ms = 10\r\npanel_steps_aside = 1\r\n";
    loadOptions(fake);
    EXPECT_EQ(currentOptions().value[OPTION_PANEL_STEPS_ASIDE], 1);
    EXPECT_EQ(logged(),
              "2026-03-04 05:06:07 options.ini: scroll_interval_ms = 10 cannot be used; 200 used\r\n");

    const std::string large(OPTIONS_FILE_LIMIT + 1, '#');
    fake.files[OPTIONS_FILE_NAME] = large;
    loadOptions(fake);
    EXPECT_TRUE(currentOptions() == defaultOptions());
    EXPECT_EQ(fake.files[OPTIONS_FILE_NAME], large);
    EXPECT_NE(logged().find("options.ini: larger than 65536 bytes"), std::string::npos);
}

TEST_F(OptionsRunTest, SavingMakesTheFileLeavesAReadOnlyOneAndKeepsAnUnusableOne) {
    OptionValues v = defaultOptions();
    v.value[OPTION_PANEL_STEPS_ASIDE] = 1;
    useOptions(v);
    ASSERT_EQ(saveOptions(fake), OptionsSaved::Saved);
    EXPECT_EQ(fake.files[OPTIONS_FILE_NAME].rfind("# switchpoint options", 0), 0u)
        << "a new file says what it is";
    EXPECT_TRUE(parseOptions(fake.files[OPTIONS_FILE_NAME]).values == v);

    fake.readOnly.insert(OPTIONS_FILE_NAME);
    fake.files[OPTIONS_FILE_NAME] = "language = en\r\n";
    EXPECT_EQ(saveOptions(fake), OptionsSaved::ReadOnly);
    EXPECT_EQ(fake.files[OPTIONS_FILE_NAME], "language = en\r\n");
    fake.readOnly.clear();

    const std::string binary("\0binary", 7);
    fake.files[OPTIONS_FILE_NAME] = binary;
    EXPECT_EQ(saveOptions(fake), OptionsSaved::Saved);
    EXPECT_EQ(fake.files[OPTIONS_COPY_NAME], binary);
    EXPECT_TRUE(parseOptions(fake.files[OPTIONS_FILE_NAME]).values == v);

    fake.files[OPTIONS_FILE_NAME] = binary;
    fake.failWrites = true;
    EXPECT_EQ(saveOptions(fake), OptionsSaved::Failed) << "no copy, no save";
    EXPECT_EQ(fake.files[OPTIONS_FILE_NAME], binary);
}

} // namespace
} // namespace sp
