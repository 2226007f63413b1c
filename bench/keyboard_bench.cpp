// How many scan steps the group scan takes per character, beside how many
// bits the language model says each character carries, over phrases of our
// own. A user who never errs presses while the key is lit and waits while it
// is not; each press or period is a step. Also how long a guess takes.
//
// Then a typing run through the keyboard's session, for each scan, by the
// simulated user of typist.h at a 500 ms period: words a minute, presses per
// character, errors left, and what predictions saved.
//
//   build/host/keyboard_bench
#include "keyboard/group_scan.h"
#include "keyboard/model.h"
#include "keyboard/session.h"
#include "phrases.h"
#include "settings/text_file.h"
#include "typist.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const SPANISH_PHRASES[] = {
    "mañana vamos a la playa",    "gracias por la ayuda de ayer", "la reunión es el viernes",
    "el niño está en el colegio", "quiero un café con leche",     "nos vemos después de comer",
};

struct Tally {
    int characters = 0;
    double steps = 0;         // taken for the characters typed
    double crossBits = 0;     // -log2 of the model's likelihood of each character typed
    double expectedSteps = 0; // steps for a key drawn from the model's own likelihoods
    double entropy = 0;       // of the model's likelihoods
};

// Steps from the start of a scan to `key` being typed.
int stepsTo(sp::GroupScan& scan, const std::vector<double>& likelihoods, int key) {
    scan.start(likelihoods);
    int steps = 0;
    while (scan.chosen() < 0 && steps < 1000) {
        const auto& lit = scan.lit();
        bool isLit = false;
        for (const int k : lit) isLit = isLit || k == key;
        if (isLit)
            scan.press();
        else
            scan.timeout();
        ++steps;
    }
    return scan.chosen() == key ? steps : -1;
}

// One step of typing `key` (a character of the phrase) after `prefix`, with
// `before` the word before it.
bool type(const sp::LanguageModel& model, const std::string& prefix, const std::string& before, char32_t key,
          Tally& tally) {
    sp::GroupScan scan;
    const sp::Guess guess = model.guess(prefix, before);
    const auto& keys = model.keys();
    int target = -1;
    for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
        if (keys[i] == key) target = i;
        const double p = guess.likelihoods[i];
        tally.expectedSteps += p * stepsTo(scan, guess.likelihoods, i);
        tally.entropy -= p > 0 ? p * std::log2(p) : 0;
    }
    const int steps = target < 0 ? -1 : stepsTo(scan, guess.likelihoods, target);
    if (steps < 0) return false;
    tally.steps += steps;
    tally.crossBits -= std::log2(guess.likelihoods[target]);
    ++tally.characters;
    return true;
}

// The phrase's characters as keys, UTF-8 decoded, Enter at the end.
std::vector<std::pair<char32_t, std::string>> keysOf(const std::string& phrase) {
    std::vector<std::pair<char32_t, std::string>> out;
    for (std::size_t i = 0; i < phrase.size(); ++i) {
        const auto b = static_cast<unsigned char>(phrase[i]);
        if (b < 0x80) {
            out.emplace_back(b, phrase.substr(i, 1));
        } else {
            out.emplace_back(((b & 0x1F) << 6) | (phrase[i + 1] & 0x3F), phrase.substr(i, 2));
            ++i;
        }
    }
    out.emplace_back(sp::KEY_ENTER, "");
    return out;
}

bool report(const char* name, sp::Language language, const char* const* phrases, int count) {
    const sp::LanguageModel& model = sp::languageModel(language);
    Tally tally;
    for (int i = 0; i < count; ++i) {
        std::string word;
        std::string before(sp::SENTENCE_START);
        for (const auto& [key, utf8] : keysOf(phrases[i])) {
            if (!type(model, word, before, key, tally)) {
                std::printf("%s: cannot type %s\n", name, phrases[i]);
                return false;
            }
            if (key == sp::KEY_SPACE)
                before = std::exchange(word, {});
            else
                word += utf8;
        }
    }
    const double n = tally.characters;
    std::printf("%s (%d words in the lexicon): %d phrases, %d characters with Enter\n", name,
                model.wordCount(), count, tally.characters);
    std::printf("  steps per character typed     %.3f   model's bits per character typed %.3f\n",
                tally.steps / n, tally.crossBits / n);
    std::printf("  steps per character expected  %.3f   model's entropy per character    %.3f\n",
                tally.expectedSteps / n, tally.entropy / n);
    return true;
}

void timeGuesses() {
    const sp::LanguageModel& model = sp::languageModel(sp::LANGUAGE_EN);
    const char* const prefixes[] = {"", "t", "th", "peo", "q", "xyzzy"};
    constexpr int ROUNDS = 2000;
    const auto begin = std::chrono::steady_clock::now();
    std::size_t seen = 0;
    for (int r = 0; r < ROUNDS; ++r)
        for (const char* prefix : prefixes) seen += model.guess(prefix, "the").predictions.size();
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - begin;
    std::printf("a guess after \"the\" takes %.1f microseconds on average (%zu predictions made)\n",
                spent.count() / (ROUNDS * 6.0), seen);
}

constexpr double PERIOD_MS = 500.0;
constexpr unsigned SEED = 24;
// A phrase not done in this long counts as typed as far as it got.
constexpr double GIVE_UP_MS = 300000.0;
constexpr double NEVER = std::numeric_limits<double>::infinity();

struct Typing {
    double wpm = 0;       // ISO: from the first character typed to the last, summed over phrases
    double wholeWpm = 0;  // from the phrase's first highlight to its Enter, summed
    double errorRate = 0; // summed over phrases
    int characters = 0;   // of the phrases, each Enter one more
    int presses = 0;
    int predictedSaved = 0; // characters a prediction typed beyond the one its press stands for
};

// A field of the program the user works in: what the strokes leave in it.
void apply(const std::u32string& strokes, std::u32string& field) {
    for (const char32_t c : strokes) {
        if (c != sp::KEY_DELETE)
            field += c;
        else if (!field.empty())
            field.pop_back();
    }
}

// The phrases typed one after another into one field, each followed by
// Enter. The keyboard starts a sentence with a capital by itself, so the
// user wants each phrase with its first letter in capitals.
Typing typeAll(sp::KeyboardScan scan, const char* const* phrases, int count) {
    sp::KeyboardSession session(sp::LANGUAGE_EN, scan, 0);
    bench::Typist typist(SEED);
    session.open();
    Typing out;
    std::u32string field;
    bool predictedSpace = false;
    double now = 0;
    double shownAt = 0;
    double nextPeriod = PERIOD_MS;
    double pressAt = NEVER;
    for (int p = 0; p < count; ++p) {
        std::u32string phrase = sp::fromUtf8(phrases[p]);
        phrase[0] = static_cast<char32_t>(std::toupper(static_cast<int>(phrase[0])));
        const std::size_t lineStart = field.size();
        const std::u32string target = field + phrase + U'\n';
        const double began = now;
        double firstTyped = NEVER;
        double lastTyped = now;
        while (field != target && now - began < GIVE_UP_MS) {
            // The user looks at each highlight once, as it shows; a press on
            // its way lands on whatever is lit by then.
            if (pressAt == NEVER &&
                bench::Typist::presses(session.keys(), session.lit(), field, target, predictedSpace))
                pressAt = shownAt + typist.reactionMs();
            if (pressAt < nextPeriod) {
                now = pressAt;
                pressAt = NEVER;
                session.press();
                ++out.presses;
            } else {
                now = nextPeriod;
                session.timeout();
            }
            shownAt = now;
            nextPeriod = now + PERIOD_MS;
            const auto strokes = session.takeStrokes();
            if (strokes.empty()) continue;
            const bool predicted = strokes.size() > 1 && strokes.back() == U' ';
            if (predicted) out.predictedSaved += static_cast<int>(strokes.size()) - 1;
            predictedSpace = predicted;
            apply(strokes, field);
            if (field != target) lastTyped = now;
            firstTyped = std::min(firstTyped, now);
        }
        const std::u32string line = field.substr(std::min(lineStart, field.size()));
        const std::u32string typed = line.substr(0, line.find(U'\n'));
        const double characters = static_cast<double>(phrase.size());
        out.errorRate += static_cast<double>(bench::distance(typed, phrase)) / characters;
        out.wpm += (characters - 1.0) / ((lastTyped - firstTyped) / 1000.0) * 60.0 / 5.0;
        out.wholeWpm += characters / ((now - began) / 1000.0) * 60.0 / 5.0;
        out.characters += static_cast<int>(phrase.size()) + 1;
    }
    out.wpm /= count;
    out.wholeWpm /= count;
    out.errorRate /= count;
    return out;
}

void reportTyping(const char* const* phrases, int count) {
    std::printf(
        "typing %d English phrases, each with Enter, at a %.0f ms period, reaction Normal(350, 60) ms:\n",
        count, PERIOD_MS);
    std::printf("  scan    words a minute (ISO; whole phrase)  presses a character  errors left  "
                "characters typed by predictions\n");
    for (const auto& [name, scan] :
         {std::pair{"rows", sp::KeyboardScan::Rows}, {"groups", sp::KeyboardScan::Groups}}) {
        const Typing t = typeAll(scan, phrases, count);
        std::printf(
            "  %-6s  %5.2f; %5.2f                       %4.2f                 %5.2f%%       %4.1f%%\n", name,
            t.wpm, t.wholeWpm, static_cast<double>(t.presses) / t.characters, 100.0 * t.errorRate,
            100.0 * t.predictedSaved / t.characters);
    }
}

} // namespace

int main() {
    const bool english =
        report("English", sp::LANGUAGE_EN, bench::ENGLISH_PHRASES, std::size(bench::ENGLISH_PHRASES));
    const bool spanish = report("Spanish", sp::LANGUAGE_ES, SPANISH_PHRASES, std::size(SPANISH_PHRASES));
    timeGuesses();
    reportTyping(bench::ENGLISH_PHRASES, static_cast<int>(std::size(bench::ENGLISH_PHRASES)));
    return english && spanish ? 0 : 1;
}
