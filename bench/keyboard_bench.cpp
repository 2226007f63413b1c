// How many scan steps the group scan takes per character, beside how many
// bits the language model says each character carries, over phrases of our
// own. A user who never errs presses while the key is lit and waits while it
// is not; each press or period is a step. Also how long a guess takes.
//
//   build/host/keyboard_bench
#include "keyboard/group_scan.h"
#include "keyboard/model.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const ENGLISH_PHRASES[] = {
    "the meeting is moved to friday",     "please call me when you get home",
    "i will be there in ten minutes",     "thank you for the lovely flowers",
    "can you send me the report",         "my brother lives near the sea",
    "we need milk and bread today",       "the weather was cold this morning",
    "she found her keys in the car",      "do not forget the doctor at four",
    "what time does the train leave",     "i would like a cup of tea",
    "the children are playing outside",   "let us meet after lunch",
    "he wrote a long letter to his aunt", "this book is better than the film",
    "turn off the lights please",         "our garden needs some rain",
    "where did you put my glasses",       "happy birthday to my best friend",
};
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

// One step of typing `key` (a character of the phrase) after `prefix`.
bool type(const sp::LanguageModel& model, const std::string& prefix, char32_t key, Tally& tally) {
    sp::GroupScan scan;
    const sp::Guess guess = model.guess(prefix);
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
        for (const auto& [key, utf8] : keysOf(phrases[i])) {
            if (!type(model, word, key, tally)) {
                std::printf("%s: cannot type %s\n", name, phrases[i]);
                return false;
            }
            if (key == sp::KEY_SPACE)
                word.clear();
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
        for (const char* prefix : prefixes) seen += model.guess(prefix).predictions.size();
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - begin;
    std::printf("a guess takes %.1f microseconds on average (%zu predictions made)\n",
                spent.count() / (ROUNDS * 6.0), seen);
}

} // namespace

int main() {
    const bool english = report("English", sp::LANGUAGE_EN, ENGLISH_PHRASES, std::size(ENGLISH_PHRASES));
    const bool spanish = report("Spanish", sp::LANGUAGE_ES, SPANISH_PHRASES, std::size(SPANISH_PHRASES));
    timeGuesses();
    return english && spanish ? 0 : 1;
}
