// The keyboard's language model over the real lexicons, its two scans, and
// what its keys send.
#include <algorithm>
#include <numeric>
#include <ostream>

#include "case_name.h"
#include "keyboard/group_scan.h"
#include "keyboard/learned_words.h"
#include "keyboard/model.h"
#include "keyboard/row_scan.h"
#include "keyboard/session.h"
#include "settings/text_file.h"

namespace sp {
namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

struct ModelRow {
    const char* name;
    Language language;
    const char* prefix;
    const char* before;    // the word before it, or "." a sentence start
    const char* firstKeys; // the most likely keys, most likely first
    const char* predictions;
};
void PrintTo(const ModelRow& row, std::ostream* os) { *os << row.name; }

// clang-format off
const ModelRow MODEL_ROWS[] = {
    {"EnglishWordStart",           LANGUAGE_EN, "", "",    "t i a s w",     "you i the to a"},
    {"EnglishTh",                  LANGUAGE_EN, "th", "",  "e a i Delete",  "the that this there they"},
    {"EnglishPeo",                 LANGUAGE_EN, "peo", "", "p Delete u",    "people peoples"},
    {"EnglishQ",                   LANGUAGE_EN, "q", "",   "u Delete",      "quite question questions quiet quick"},
    {"EnglishWholeWordMayEnd",     LANGUAGE_EN, "the", "", "Space r y Enter", "there they them then these"},
    {"EnglishContraction",         LANGUAGE_EN, "don", "", "' e Delete",    "don't done donkey dont donate"},
    {"EnglishUnknownWordBacksOff", LANGUAGE_EN, "xyz", "", "e Space y i",   ""},
    {"EnglishNoSpanishLetters",    LANGUAGE_EN, "señ", "", "Space Delete",  ""},
    {"SpanishAccentIsALetter",     LANGUAGE_ES, "qu", "",  "e i é Delete",  "que qué quiero quieres quién"},
    {"SpanishAccentedPrefix",      LANGUAGE_ES, "qué", "", "Space Enter",   "quédate quédese quédense quédatelo quédatela"},
    {"SpanishEnye",                LANGUAGE_ES, "señ", "", "o a Delete",    "señor señora señorita señal señores"},
    {"SpanishNi",                  LANGUAGE_ES, "ni", "",  "ñ n Space",     "niños niño ninguna ningún niña"},
    {"EnglishAfterOf",             LANGUAGE_EN, "",    "of",  "t a m y", "the a my your you"},
    {"EnglishAfterYou",            LANGUAGE_EN, "k",   "you", "n i Delete", "know knew keep kidding kill"},
    {"EnglishSentenceStart",       LANGUAGE_EN, "",    ".",   "i t y a", "i you the it we"},
    {"EnglishUnknownWordBefore",   LANGUAGE_EN, "",    "xyz", "t i a s w", "you i the to a"},
    {"SpanishHasNoPairs",          LANGUAGE_ES, "",    "de",  "e c p a", "que de la a no"},
};
// clang-format on

class ModelTest : public ::testing::TestWithParam<ModelRow> {};

TEST_P(ModelTest, RanksTheNextKeysAndPredicts) {
    const ModelRow& r = GetParam();
    const LanguageModel& model = languageModel(r.language);
    const Guess guess = model.guess(r.prefix, r.before);
    ASSERT_EQ(guess.likelihoods.size(), model.keys().size());
    EXPECT_NEAR(std::accumulate(guess.likelihoods.begin(), guess.likelihoods.end(), 0.0), 1.0, 1e-9);

    std::vector<int> order(model.keys().size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return guess.likelihoods[a] > guess.likelihoods[b]; });
    const std::string wanted = r.firstKeys;
    std::vector<std::string> first;
    for (auto i = 0; i <= std::count(wanted.begin(), wanted.end(), ' '); ++i)
        first.push_back(keyName(model.keys()[order[i]]));
    EXPECT_EQ(joined(first), r.firstKeys);
    EXPECT_EQ(joined(guess.predictions), r.predictions);
}

INSTANTIATE_TEST_SUITE_P(Prefixes, ModelTest, ::testing::ValuesIn(MODEL_ROWS), CaseName());

struct ScanRow {
    const char* name;
    std::vector<double> likelihoods; // of the keys a, b, c...
    int loops;
    const char* steps; // P a press, T a scan period without one
    char chosen;       // '-': none yet
    const char* litAfter;
};
void PrintTo(const ScanRow& row, std::ostream* os) { *os << row.name; }

// The groups of {a .4, b .25, c .2, d .1, e .05}: the first lights b c d e
// (.6) and leaves a (.4); within it c d e (.35) and b; then c, and d e.
const std::vector<double> FIVE = {0.4, 0.25, 0.2, 0.1, 0.05};

// clang-format off
const ScanRow SCAN_ROWS[] = {
    {"PressTakesTheLitGroup",        FIVE,            0, "PPP",     'c', ""},
    {"PeriodTakesTheOtherGroup",     FIVE,            0, "PT",      'b', ""},
    {"DeepestKeys",                  FIVE,            0, "PPTT",    'e', ""},
    {"SplitsAgainAfterAPress",       FIVE,            0, "PPT",     '-', "d"},
    {"LastKeyOfAPassNeedsAPress",    FIVE,            0, "T",       '-', "a"},
    {"PressOnTheLastKeyOfAPass",     FIVE,            0, "TP",      'a', ""},
    {"PassStartsOver",               FIVE,            0, "TTPT",    'b', ""},
    {"RestsAfterLoops",              FIVE,            2, "TTTT",    '-', ""},
    {"PressWakesFromRest",           FIVE,            2, "TTTTPTP", 'a', ""},
    {"OneKey",                       {1.0},           0, "TP",      'a', ""},
    {"UnlikelyKeyStaysWithinReach",  {0.9, 0, 0.1},   0, "TTP",     'b', ""},
};
// clang-format on

// P a press, anything else a period; checks the key chosen ('-': none) and
// gives the keys lit after, as letters.
template <typename Scan> std::string runSteps(Scan& scan, const char* steps, char chosen) {
    for (const char* s = steps; *s; ++s) {
        if (*s == 'P')
            scan.press();
        else
            scan.timeout();
    }
    EXPECT_EQ(scan.chosen() < 0 ? '-' : static_cast<char>('a' + scan.chosen()), chosen);
    std::string lit;
    for (const int key : scan.lit()) lit += static_cast<char>('a' + key);
    return lit;
}

class GroupScanTest : public ::testing::TestWithParam<ScanRow> {};

TEST_P(GroupScanTest, ChoosesAKeyFromPressesAndPeriods) {
    const ScanRow& r = GetParam();
    GroupScan scan;
    scan.start(r.likelihoods, r.loops);
    const std::string lit = runSteps(scan, r.steps, r.chosen);
    EXPECT_EQ(lit, r.litAfter);
}

INSTANTIATE_TEST_SUITE_P(Steps, GroupScanTest, ::testing::ValuesIn(SCAN_ROWS), CaseName());

struct RowScanRow {
    const char* name;
    int loops;
    const char* steps;
    char chosen;
    const char* litAfter;
};
void PrintTo(const RowScanRow& row, std::ostream* os) { *os << row.name; }

// clang-format off
const RowScanRow ROW_SCAN_ROWS[] = {
    {"PressTakesTheRowThenTheKey",   0, "PP",     'a', ""},
    {"PeriodLightsTheNextKey",       0, "PTP",    'b', ""},
    {"PeriodLightsTheNextRow",       0, "T",      '-', "de"},
    {"RowWithoutKeysIsPassedOver",   0, "TTPP",   'f', ""},
    {"RowsStartOverAfterTheLast",    0, "TTT",    '-', "abc"},
    {"KeysPassedBackToTheRows",      0, "TPTT",   '-', "abc"},
    {"RestsAfterLoops",              1, "TTT",    '-', ""},
    {"PressWakesFromRest",           1, "TTTPPP", 'a', ""},
};
// clang-format on

class RowScanTest : public ::testing::TestWithParam<RowScanRow> {};

TEST_P(RowScanTest, ChoosesAKeyFromPressesAndPeriods) {
    const RowScanRow& r = GetParam();
    RowScan scan;
    scan.start({{0, 1, 2}, {3, 4}, {}, {5}}, r.loops);
    const std::string lit = runSteps(scan, r.steps, r.chosen);
    EXPECT_EQ(lit, r.litAfter);
    EXPECT_EQ(scan.resting(), r.loops > 0 && lit.empty() && r.chosen == '-');
}

INSTANTIATE_TEST_SUITE_P(Steps, RowScanTest, ::testing::ValuesIn(ROW_SCAN_ROWS), CaseName());

struct KeysRow {
    const char* name;
    Language language;
    KeyboardScan scan;
    // Keys by their labels now; "@word" a prediction, "!stop" Escape.
    const char* selections;
    const char* strokes; // "<" a Back, "|" an Enter
    const char* captionAfter;
};
void PrintTo(const KeysRow& row, std::ostream* os) { *os << row.name; }

constexpr KeyboardScan ROWS = KeyboardScan::Rows;
constexpr KeyboardScan GROUPS = KeyboardScan::Groups;
// clang-format off
const KeysRow KEYS_ROWS[] = {
    {"CapitalInAnEmptyField",      LANGUAGE_EN, ROWS, "H i",                  "Hi",       "His Him Hit High History Close"},
    {"CapitalAfterAFullStop",      LANGUAGE_EN, ROWS, "H i . Space Y",        "Hi. Y",    "You Your Yet Ya Yours Close"},
    {"NoCapitalAfterAComma",       LANGUAGE_EN, ROWS, "H i , Space y",        "Hi, y",    "you your years yourself yet Close"},
    {"ShiftForOneLetter",          LANGUAGE_EN, ROWS, "H i Space Shift Y o",  "Hi Yo",    "You Your Yourself Young Yours Close"},
    {"DeleteMendsTheSentence",     LANGUAGE_EN, ROWS, "H Delete H",           "H<H",      "He Here Huh Her His Close"},
    {"PredictionTypesTheRest",     LANGUAGE_EN, ROWS, "P e o @People",        "People ",  "who are that to you Close"},
    {"PredictionInCapitals",       LANGUAGE_EN, ROWS, "P Shift E Shift O @PEOPLE", "PEOPLE ", "who are that to you Close"},
    {"EnterTakesBackItsSpace",     LANGUAGE_EN, ROWS, "@The p e o @people Enter", "The people <|", "I You The It We Close"},
    {"DigitsPage",                 LANGUAGE_EN, ROWS, "123 4 abc h",          "4h",       "he have here him her Close"},
    {"StopRests",                  LANGUAGE_EN, ROWS, "H !stop",              "H",        "Keyboard"},
    {"PressAfterStopScansAgain",   LANGUAGE_EN, ROWS, "H !stop i",            "Hi",       "His Him Hit High History Close"},
    {"CloseSendsNothing",          LANGUAGE_EN, ROWS, "H Close",              "H",        "Keyboard"},
    {"SpanishNamedKeys",           LANGUAGE_ES, ROWS, "S e ñ Espacio Borrar Intro", "Señ <|", "Que De La A No Cerrar"},
    {"SpanishCapitalAfterOpening", LANGUAGE_ES, ROWS, "H o l a . Espacio ¿ Q", "Hola. ¿Q", "Que Qué Quiero Quieres Quién Cerrar"},
    {"SpanishRestsAsTeclado",      LANGUAGE_ES, ROWS, "!stop",                "",         "Teclado"},
    {"GroupsTypeTheSameKeys",      LANGUAGE_EN, GROUPS, "H i Space @you Enter", "Hi you <|",
     "I The Close E A W O F B N H U G V , R C Y P Enter J . ?"},
};
// clang-format on

std::string sentText(const std::u32string& strokes) {
    std::string out;
    for (const char32_t c : strokes) out += c == KEY_DELETE ? "<" : c == KEY_ENTER ? "|" : toUtf8({c});
    return out;
}

// Rows: periods until the key's row is lit, a press, periods until it alone
// is lit, a press. Groups: a press while it is lit, a period while not,
// until something is sent.
void select(KeyboardSession& session, KeyboardScan scan, const std::string& token, std::string& sent) {
    if (token == "!stop") return session.stop();
    const bool prediction = token[0] == '@';
    const std::string label = prediction ? token.substr(1) : token;
    const auto& keys = session.keys();
    const auto key = std::find_if(keys.begin(), keys.end(), [&](const Key& k) {
        return k.label == label && (k.kind == KeyKind::Prediction) == prediction;
    });
    ASSERT_NE(key, keys.end()) << token;
    const int index = static_cast<int>(key - keys.begin());
    if (session.resting()) session.press();
    for (int step = 0, presses = 0; step < 60 && presses < 2; ++step) {
        const std::vector<int> lit = session.lit();
        const bool rowsKey = scan == KeyboardScan::Rows && presses == 1;
        if (rowsKey ? lit == std::vector<int>{index} : std::count(lit.begin(), lit.end(), index) > 0) {
            session.press();
            presses += scan == KeyboardScan::Rows ? 1 : 0;
        } else {
            session.timeout();
        }
        const std::string typed = sentText(session.takeStrokes());
        sent += typed;
        if (!typed.empty()) break;
    }
}

class KeysTest : public ::testing::TestWithParam<KeysRow> {};

TEST_P(KeysTest, SendWhatTheSelectionsType) {
    const KeysRow& r = GetParam();
    KeyboardSession session(r.language, r.scan, 0);
    session.open();
    std::string sent;
    const std::string selections = r.selections;
    for (std::size_t at = 0; at < selections.size();) {
        const std::size_t end = std::min(selections.find(' ', at), selections.size());
        select(session, r.scan, selections.substr(at, end - at), sent);
        at = end + 1;
    }
    EXPECT_EQ(sent, r.strokes);
    EXPECT_EQ(session.caption(), r.captionAfter);
    EXPECT_EQ(session.closeChosen(),
              selections.size() >= 5 && selections.substr(selections.size() - 5) == "Close");
}

INSTANTIATE_TEST_SUITE_P(Selections, KeysTest, ::testing::ValuesIn(KEYS_ROWS), CaseName());

// The learnt words' file is the user's to edit: a line that is no lowercase
// word and count is left out, and a word is offered from its second use.
TEST(LearnedWordsTest, ReadsOnlyWordsWithCountsAndOffersTheUsedOnes) {
    LearnedWords words;
    words.read("you 3\nBAD 2\nnocount\nzero 0\nyo 2x\nyoga 2\r\nyonder 1\n");
    EXPECT_EQ(words.text(), "yoga 2\nyonder 1\nyou 3\n");
    words.learn("yonder");
    EXPECT_EQ(words.startingWith("yo", 5), (std::vector<std::string>{"you", "yoga", "yonder"}));
    EXPECT_TRUE(words.startingWith("you", 5).empty()) << "only longer words are predictions";
}

} // namespace
} // namespace sp
