// options.ini: the option table, reading, writing back, and the options in force.
#include "settings/options.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "settings/fallback_log.h"

namespace sp {

namespace {

constexpr const char* LANGUAGE_WORDS[] = {"auto", "en", "es"};
constexpr const char* AFTER_MOVE_WORDS[] = {"next", "clicks"};
constexpr const char* AFTER_CLICK_WORDS[] = {"first", "point"};
constexpr const char* KEYBOARD_SCAN_WORDS[] = {"groups", "rows"};
#define SP_EXTRA_WORD(id, word) word,
constexpr const char* EXTRA_CELL_WORDS[EXTRA_CELL_COUNT] = {SP_EXTRA_CELLS(SP_EXTRA_WORD)};
#undef SP_EXTRA_WORD

constexpr OptionDef OPTIONS[OPTION_COUNT] = {
    {"extra_cells", OptionType::Cells, 0, 0, 0, false, nullptr},
    {"scroll_interval_ms", OptionType::Number, 200, 50, 2000, false, nullptr},
    {"panel_steps_aside", OptionType::Number, 0, 0, 1, false, nullptr},
    {"language", OptionType::Choice, LANGUAGE_AUTO, 0, LANGUAGE_ES, false, LANGUAGE_WORDS},
    {"acceleration", OptionType::Number, 0, 0, 1, false, nullptr},
    {"acceleration_max", OptionType::Number, 4, 1, 10, false, nullptr},
    {"acceleration_ms", OptionType::Number, 2000, 200, 10000, false, nullptr},
    {"after_move", OptionType::Choice, AFTER_MOVE_NEXT, 0, AFTER_MOVE_CLICKS, false, AFTER_MOVE_WORDS},
    {"scan_loops", OptionType::Number, 0, 0, 20, false, nullptr},
    {"point_scan", OptionType::Number, 0, 0, 1, false, nullptr},
    {"point_band_px_s", OptionType::Number, 300, 50, 2000, false, nullptr},
    {"point_line_px_s", OptionType::Number, 100, 20, 1000, false, nullptr},
    {"after_click", OptionType::Choice, AFTER_CLICK_FIRST, 0, AFTER_CLICK_POINT, false, AFTER_CLICK_WORDS},
    {"hold_ms", OptionType::Number, 0, 30, 2000, true, nullptr},
    {"ignore_repeat_ms", OptionType::Number, 0, 50, 2000, true, nullptr},
    {"keyboard_scan", OptionType::Choice, KEYBOARD_SCAN_GROUPS, 0, KEYBOARD_SCAN_ROWS, false,
     KEYBOARD_SCAN_WORDS},
    {"keyboard_period_ms", OptionType::Number, 0, 200, 5000, true, nullptr},
    {"keyboard_learn", OptionType::Number, 0, 0, 1, false, nullptr},
};

// Nine digits cannot overflow, and no option goes that high.
constexpr std::size_t MOST_DIGITS = 9;

const char* NEW_FILE_HEADER = "# switchpoint options: key = value. The user guide says what each one does.";

bool isBlank(char32_t c) { return c == U' ' || c == U'\t'; }

std::u32string trimmed(const std::u32string& s) {
    std::size_t from = 0;
    std::size_t to = s.size();
    while (from < to && isBlank(s[from])) ++from;
    while (to > from && isBlank(s[to - 1])) --to;
    return s.substr(from, to - from);
}

char32_t lowerAscii(char32_t c) { return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c; }

bool sameWord(const std::u32string& text, const char* word) {
    std::size_t i = 0;
    for (; word[i] != '\0'; ++i)
        if (i >= text.size() || lowerAscii(text[i]) != static_cast<char32_t>(word[i])) return false;
    return i == text.size();
}

int wordIndex(const std::u32string& text, const char* const* words, int count) {
    for (int i = 0; i < count; ++i)
        if (sameWord(text, words[i])) return i;
    return -1;
}

std::vector<std::u32string> splitWords(const std::u32string& text) {
    std::vector<std::u32string> words;
    std::u32string word;
    for (char32_t c : text + U" ") {
        if (!isBlank(c)) {
            word.push_back(c);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

bool parseNumber(const std::u32string& text, int& value) {
    if (text.empty() || text.size() > MOST_DIGITS) return false;
    int v = 0;
    for (char32_t c : text) {
        if (c < U'0' || c > U'9') return false;
        v = v * 10 + static_cast<int>(c - U'0');
    }
    value = v;
    return true;
}

std::u32string ascii(const std::string& s) { return std::u32string(s.begin(), s.end()); }

// A `key = value` line: where its parts are. False for blank, comment and
// other lines, which are kept as they are.
struct KeyLine {
    int option = -1;
    std::u32string key;
    std::u32string value;
};

bool readKeyLine(const std::u32string& line, KeyLine& out) {
    const std::u32string t = trimmed(line);
    if (t.empty() || t[0] == U'#' || t[0] == U';') return false;
    const std::size_t equals = t.find(U'=');
    if (equals == std::u32string::npos) return false;
    out.key = trimmed(t.substr(0, equals));
    out.value = trimmed(t.substr(equals + 1));
    out.option = optionOfKey(out.key);
    return true;
}

std::u32string lineEndOf(const std::u32string& text) {
    const std::size_t at = text.find_first_of(U"\r\n");
    if (at == std::u32string::npos) return U"\r\n";
    if (text[at] == U'\n') return U"\n";
    return at + 1 < text.size() && text[at + 1] == U'\n' ? U"\r\n" : U"\r";
}

struct Store {
    std::mutex lock;
    OptionValues values;
    // The numbers of `values` again, for readers that cannot take the lock.
    std::atomic<int> inForce[OPTION_COUNT] = {};

    Store() { use(defaultOptions()); }
    // With the lock held, but for the first time.
    void use(const OptionValues& v) {
        values = v;
        for (int option = 0; option < OPTION_COUNT; ++option) inForce[option] = v.value[option];
    }
};
Store g_store;

// The file was held open at start-up and has not been read since; the
// options window's thread asks too.
std::atomic<bool> g_held{false};
double g_heldSinceMs = 0;

void logOptions(Platform& p, const std::string& text) {
    logLine(p, std::string(OPTIONS_FILE_NAME) + ": " + text);
}

} // namespace

const char* extraCellWord(int extra) {
    return extra >= 0 && extra < EXTRA_CELL_COUNT ? EXTRA_CELL_WORDS[extra] : nullptr;
}

const OptionDef& optionDef(int option) { return OPTIONS[option >= 0 && option < OPTION_COUNT ? option : 0]; }

int optionOfKey(const std::u32string& key) {
    for (int option = 0; option < OPTION_COUNT; ++option)
        if (sameWord(key, OPTIONS[option].key)) return option;
    return -1;
}

bool operator==(const OptionValues& a, const OptionValues& b) {
    for (int option = 0; option < OPTION_COUNT; ++option)
        if (a.value[option] != b.value[option]) return false;
    return a.extraCells == b.extraCells;
}

OptionValues defaultOptions() {
    OptionValues v;
    for (int option = 0; option < OPTION_COUNT; ++option) v.value[option] = OPTIONS[option].defaultValue;
    return v;
}

std::u32string optionText(const OptionValues& values, int option) {
    const OptionDef& def = optionDef(option);
    switch (def.type) {
    case OptionType::Number: return ascii(std::to_string(values.value[option]));
    case OptionType::Choice: return ascii(def.words[values.value[option]]);
    case OptionType::Cells: break;
    }
    std::u32string text;
    for (int extra : values.extraCells) text += (text.empty() ? U"" : U" ") + ascii(extraCellWord(extra));
    return text;
}

bool setOptionFromText(OptionValues& values, int option, const std::u32string& text,
                       std::vector<std::string>* leftOut) {
    if (option < 0 || option >= OPTION_COUNT) return false;
    const OptionDef& def = OPTIONS[option];
    switch (def.type) {
    case OptionType::Number: {
        int v = 0;
        if (!parseNumber(text, v)) return false;
        if (!(v >= def.low && v <= def.high) && !(def.zeroMeansOff && v == 0)) return false;
        values.value[option] = v;
        return true;
    }
    case OptionType::Choice: {
        const int index = wordIndex(text, def.words, def.high + 1);
        if (index < 0) return false;
        values.value[option] = index;
        return true;
    }
    case OptionType::Cells: break;
    }
    // A carer's slip costs the one word, not the whole row: the Menu cell
    // may be the switch user's only way to the settings.
    std::vector<int> cells;
    for (const std::u32string& word : splitWords(text)) {
        const int named = wordIndex(word, EXTRA_CELL_WORDS, EXTRA_CELL_COUNT);
        const char* why = nullptr;
        if (named < 0)
            why = "is no cell's name";
        else if (std::find(cells.begin(), cells.end(), named) != cells.end())
            why = "is named already";
        else if (cells.size() == MOST_EXTRA_CELLS)
            why = "comes after the five a row holds";
        if (!why) {
            cells.push_back(named);
        } else if (leftOut) {
            leftOut->push_back(std::string(def.key) + ": " + toUtf8(word) + " " + why + "; left out");
        }
    }
    values.extraCells = cells;
    return true;
}

ParsedOptions parseOptions(const std::string& bytes) {
    ParsedOptions parsed;
    parsed.values = defaultOptions();
    std::u32string text;
    if (!decodeText(bytes, text, &parsed.text.encoding)) {
        parsed.usable = false;
        return parsed;
    }
    parsed.text.lineEnd = lineEndOf(text);
    parsed.text.lines = splitLines(text, text.size() + 1);
    const OptionValues defaults = defaultOptions();
    for (const std::u32string& line : parsed.text.lines) {
        KeyLine kl;
        if (!readKeyLine(line, kl) || kl.option < 0) continue;
        if (setOptionFromText(parsed.values, kl.option, kl.value, &parsed.faults)) continue;
        // The latest line of a key is the one in force, even when it cannot be used.
        OptionValues reset = parsed.values;
        reset.value[kl.option] = defaults.value[kl.option];
        if (OPTIONS[kl.option].type == OptionType::Cells) reset.extraCells = defaults.extraCells;
        parsed.values = reset;
        const std::string fallback = toUtf8(optionText(defaults, kl.option));
        parsed.faults.push_back(std::string(OPTIONS[kl.option].key) + " = " + toUtf8(kl.value) +
                                " cannot be used; " + (fallback.empty() ? "(empty)" : fallback) + " used");
    }
    return parsed;
}

std::string formatOptions(const OptionsText& text, const OptionValues& values) {
    bool present[OPTION_COUNT] = {};
    std::u32string out;
    for (const std::u32string& line : text.lines) {
        KeyLine kl;
        if (readKeyLine(line, kl) && kl.option >= 0) {
            present[kl.option] = true;
            OptionValues asWritten = values;
            // A list with words left out is written as it is used.
            std::vector<std::string> leftOut;
            const bool same = setOptionFromText(asWritten, kl.option, kl.value, &leftOut) &&
                              leftOut.empty() && asWritten == values;
            if (!same) {
                out += kl.key + U" = " + optionText(values, kl.option) + text.lineEnd;
                continue;
            }
        }
        out += line + text.lineEnd;
    }
    if (text.lines.empty()) out += ascii(NEW_FILE_HEADER) + text.lineEnd;
    for (int option = 0; option < OPTION_COUNT; ++option)
        if (!present[option])
            out += ascii(OPTIONS[option].key) + U" = " + optionText(values, option) + text.lineEnd;
    return encodeText(out, text.encoding);
}

void loadOptions(Platform& p, bool atStartUp) {
    std::string bytes;
    const FileRead got = p.readFile(OPTIONS_FILE_NAME, bytes, OPTIONS_FILE_LIMIT);
    OptionValues values = defaultOptions();
    if (got == FileRead::Locked && (atStartUp || g_held)) {
        if (!g_held.exchange(true)) {
            g_heldSinceMs = p.nowMs();
            logOptions(p,
                       "held open by another program; every option at its default, nothing written; read as "
                       "soon as it is free");
        }
        useOptions(values);
        return;
    }
    if (g_held.exchange(false))
        logOptions(p, "free again after " +
                          std::to_string(static_cast<int>((p.nowMs() - g_heldSinceMs) / 1000)) +
                          " s; read now, as at start-up");
    switch (got) {
    case FileRead::Missing: break;
    case FileRead::Ok: {
        const ParsedOptions parsed = parseOptions(bytes);
        if (!parsed.usable) {
            logOptions(p, "not UTF-8 or UTF-16LE text; every option at its default, the file left as it is");
            break;
        }
        for (const std::string& fault : parsed.faults) logOptions(p, fault);
        values = parsed.values;
        break;
    }
    case FileRead::TooLarge:
        logOptions(p, "larger than " + std::to_string(OPTIONS_FILE_LIMIT) +
                          " bytes; every option at its default, the file left as it is");
        break;
    case FileRead::Locked:
    case FileRead::Failed:
        logOptions(p, "cannot be read; every option at its default, the file left as it is");
        break;
    }
    useOptions(values);
}

OptionValues currentOptions() {
    std::lock_guard<std::mutex> hold(g_store.lock);
    return g_store.values;
}

void useOptions(const OptionValues& values) {
    std::lock_guard<std::mutex> hold(g_store.lock);
    g_store.use(values);
}

int optionInForce(int option) {
    return option >= 0 && option < OPTION_COUNT ? g_store.inForce[option].load() : 0;
}

bool optionsFileHeld() { return g_held; }

OptionsSaved saveOptions(Platform& p) {
    // Written now, it would take the user's own options away for good.
    if (g_held) return OptionsSaved::Failed;
    OptionsText base;
    if (p.fileExists(OPTIONS_FILE_NAME)) {
        if (p.fileReadOnly(OPTIONS_FILE_NAME)) {
            logOptions(p, "read-only, so left as it is; the options are in use but not saved");
            return OptionsSaved::ReadOnly;
        }
        // Read afresh: what the user wrote into it since start-up stays.
        std::string bytes;
        const FileRead got = p.readFile(OPTIONS_FILE_NAME, bytes, OPTIONS_FILE_LIMIT);
        const ParsedOptions parsed = got == FileRead::Ok ? parseOptions(bytes) : ParsedOptions{};
        if (got == FileRead::Locked) {
            logOptions(p, "held open by another program; not saved");
            return OptionsSaved::Failed;
        }
        if (got != FileRead::Ok || !parsed.usable) {
            if (!p.copyFile(OPTIONS_FILE_NAME, OPTIONS_COPY_NAME)) {
                logOptions(p, "cannot be used and no copy could be made; not saved");
                return OptionsSaved::Failed;
            }
            logOptions(p, std::string("cannot be used; kept as ") + OPTIONS_COPY_NAME + " before saving");
        } else {
            base = parsed.text;
        }
    }
    if (!p.replaceFile(OPTIONS_FILE_NAME, formatOptions(base, currentOptions()))) {
        logOptions(p, "could not be written; the options are in use but not saved");
        return OptionsSaved::Failed;
    }
    return OptionsSaved::Saved;
}

void resetOptionsState() {
    g_held = false;
    useOptions(defaultOptions());
}

} // namespace sp
