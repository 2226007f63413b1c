// The keyboard's language model over the real lexicons, and its group scan.
#include <algorithm>
#include <numeric>
#include <ostream>

#include "case_name.h"
#include "keyboard/group_scan.h"
#include "keyboard/model.h"

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
    const char* firstKeys; // the most likely keys, most likely first
    const char* predictions;
};
void PrintTo(const ModelRow& row, std::ostream* os) { *os << row.name; }

// clang-format off
const ModelRow MODEL_ROWS[] = {
    {"EnglishWordStart",           LANGUAGE_EN, "",    "t i a s w",     "you i the to a"},
    {"EnglishTh",                  LANGUAGE_EN, "th",  "e a i Delete",  "the that this there they"},
    {"EnglishPeo",                 LANGUAGE_EN, "peo", "p Delete u",    "people peoples"},
    {"EnglishQ",                   LANGUAGE_EN, "q",   "u Delete",      "quite question questions quiet quick"},
    {"EnglishWholeWordMayEnd",     LANGUAGE_EN, "the", "Space r y Enter", "there they them then these"},
    {"EnglishContraction",         LANGUAGE_EN, "don", "' e Delete",    "don't done donkey dont donate"},
    {"EnglishUnknownWordBacksOff", LANGUAGE_EN, "xyz", "e Space y i",   ""},
    {"EnglishNoSpanishLetters",    LANGUAGE_EN, "señ", "Space Delete",  ""},
    {"SpanishAccentIsALetter",     LANGUAGE_ES, "qu",  "e i é Delete",  "que qué quiero quieres quién"},
    {"SpanishAccentedPrefix",      LANGUAGE_ES, "qué", "Space Enter",   "quédate quédese quédense quédatelo quédatela"},
    {"SpanishEnye",                LANGUAGE_ES, "señ", "o a Delete",    "señor señora señorita señal señores"},
    {"SpanishNi",                  LANGUAGE_ES, "ni",  "ñ n Space",     "niños niño ninguna ningún niña"},
};
// clang-format on

class ModelTest : public ::testing::TestWithParam<ModelRow> {};

TEST_P(ModelTest, RanksTheNextKeysAndPredicts) {
    const ModelRow& r = GetParam();
    const LanguageModel& model = languageModel(r.language);
    const Guess guess = model.guess(r.prefix);
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

class GroupScanTest : public ::testing::TestWithParam<ScanRow> {};

TEST_P(GroupScanTest, ChoosesAKeyFromPressesAndPeriods) {
    const ScanRow& r = GetParam();
    GroupScan scan;
    scan.start(r.likelihoods, r.loops);
    for (const char* s = r.steps; *s; ++s) {
        if (*s == 'P')
            scan.press();
        else
            scan.timeout();
    }
    EXPECT_EQ(scan.chosen() < 0 ? '-' : static_cast<char>('a' + scan.chosen()), r.chosen);
    std::string lit;
    for (const int key : scan.lit()) lit += static_cast<char>('a' + key);
    EXPECT_EQ(lit, r.litAfter);
}

INSTANTIATE_TEST_SUITE_P(Steps, GroupScanTest, ::testing::ValuesIn(SCAN_ROWS), CaseName());

} // namespace
} // namespace sp
