// "options.ini", beside config.ini: the choices that the eight-line settings
// do not hold. Every option is off, or as the program has always been, by
// default, so a folder without the file behaves as it always has; the file
// is made only when the user saves from the options window.
//
// `key = value` lines; `#` or `;` starts a comment line; keys are read in
// any case. A value that cannot be used gets the option's default and one
// line in the log. Saving keeps every other line (comments, unknown keys,
// their order) as the user wrote it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/text_file.h"

namespace sp {

constexpr const char* OPTIONS_FILE_NAME = "options.ini";
// An unusable file is kept under this name before a save replaces it.
constexpr const char* OPTIONS_COPY_NAME = "options.ini.bad";
constexpr std::size_t OPTIONS_FILE_LIMIT = std::size_t{64} * 1024;

enum Option : int {
    OPTION_EXTRA_CELLS,
    OPTION_SCROLL_INTERVAL_MS,
    OPTION_PANEL_STEPS_ASIDE,
    OPTION_LANGUAGE,
    OPTION_ACCELERATION,
    OPTION_ACCELERATION_MAX,
    OPTION_ACCELERATION_MS,
    OPTION_AFTER_MOVE,
    OPTION_SCAN_LOOPS,
    OPTION_POINT_SCAN,
    OPTION_POINT_BAND_PX_S,
    OPTION_POINT_LINE_PX_S,
    OPTION_AFTER_CLICK,
    OPTION_HOLD_MS,
    OPTION_IGNORE_REPEAT_MS,
    OPTION_KEYBOARD_SCAN,
    OPTION_KEYBOARD_PERIOD_MS,
    OPTION_KEYBOARD_LEARN,
    OPTION_COUNT
};

// The cells `extra_cells` can name, one per word of the file; the cell
// table says which of its cells each one is. The list fills one row of the
// panel.
#define SP_EXTRA_CELLS(X)                                                                                    \
    X(EXTRA_SCROLL_UP, "scroll_up")                                                                          \
    X(EXTRA_SCROLL_DOWN, "scroll_down")                                                                      \
    X(EXTRA_SCROLL_LEFT, "scroll_left")                                                                      \
    X(EXTRA_SCROLL_RIGHT, "scroll_right")                                                                    \
    X(EXTRA_MENU, "menu")                                                                                    \
    X(EXTRA_KEYBOARD, "keyboard")
#define SP_EXTRA_ENUM(id, word) id,
enum ExtraCell : int { SP_EXTRA_CELLS(SP_EXTRA_ENUM) EXTRA_CELL_COUNT };
#undef SP_EXTRA_ENUM
constexpr int MOST_EXTRA_CELLS = 5;
// The word `extra_cells` names `extra` by; null for no ExtraCell.
const char* extraCellWord(int extra);

enum Language : int { LANGUAGE_AUTO, LANGUAGE_EN, LANGUAGE_ES };
// Where the scan goes on when a press ends a movement.
enum AfterMove : int { AFTER_MOVE_NEXT, AFTER_MOVE_CLICKS };
// Where the scan starts again after a click.
enum AfterClick : int { AFTER_CLICK_FIRST, AFTER_CLICK_POINT };
// How the keyboard is scanned: groups of likely keys, or rows then keys.
enum KeyboardScanWord : int { KEYBOARD_SCAN_GROUPS, KEYBOARD_SCAN_ROWS };

enum class OptionType {
    Number, // a whole number in a range, or 0 where the option allows it
    Choice, // one of a list of words; the value is its index
    Cells,  // ExtraCell words, space-separated, each at most once
};

struct OptionDef {
    const char* key;
    OptionType type;
    int defaultValue;
    int low;
    int high;
    bool zeroMeansOff;
    // Choice: the words, `high + 1` of them.
    const char* const* words;
};

const OptionDef& optionDef(int option);
// The option of a key, in any case; -1 for a key this program does not know.
int optionOfKey(const std::u32string& key);

struct OptionValues {
    int value[OPTION_COUNT] = {};
    std::vector<int> extraCells; // ExtraCell values, in the order given
};
bool operator==(const OptionValues& a, const OptionValues& b);

OptionValues defaultOptions();
// The value as the file would have it: "200", "auto", "scroll_up menu".
std::u32string optionText(const OptionValues& values, int option);
// Takes a value as the file would have it; false, and nothing changed, when
// it cannot be used. A cell list keeps the cells it can, in its order, and
// adds a line to `leftOut` for each word it leaves out.
bool setOptionFromText(OptionValues& values, int option, const std::u32string& text,
                       std::vector<std::string>* leftOut = nullptr);

// The file as read, kept so that a save changes only the values.
struct OptionsText {
    TextEncoding encoding = TextEncoding::Utf8;
    std::u32string lineEnd = U"\r\n";
    std::vector<std::u32string> lines;
};

struct ParsedOptions {
    bool usable = true; // false: no text this reader knows
    OptionValues values;
    OptionsText text;
    // One per value that could not be used (key, value, default used) and
    // one per cell name left out of a list.
    std::vector<std::string> faults;
};
ParsedOptions parseOptions(const std::string& bytes);
// The file's bytes for `values`: the lines of `text` with each known key's
// value put right where it differs, and keys the file lacks added at its end.
std::string formatOptions(const OptionsText& text, const OptionValues& values);

// ---- The options of the running program (main thread) -------------------

// Reads the file if there is one; what cannot be used is logged. One held
// open by another program `atStartUp` is held (below) until a later call
// finds it free; meanwhile every option is at its default, quietly.
void loadOptions(Platform& p, bool atStartUp = false);
// The file was held open at start-up and has not been read since: nothing
// is written to it. Any thread.
bool optionsFileHeld();
// A copy of the options in force, from any thread.
OptionValues currentOptions();
// The options in force from now on (the options window's changes).
void useOptions(const OptionValues& values);
// One number of the options in force, without a lock: the hook thread's
// way, which must never wait on another thread.
int optionInForce(int option);

enum class OptionsSaved { Saved, ReadOnly, Failed };
// Writes the options in force to the file in one step. A read-only or held
// file is left alone; an unusable one is first kept as OPTIONS_COPY_NAME.
OptionsSaved saveOptions(Platform& p);
// Back to the process-start state: defaults, no file read.
void resetOptionsState();

} // namespace sp
