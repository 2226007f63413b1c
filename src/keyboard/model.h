// The keyboard's language model: how likely each key is next, and which
// words the user may be typing, from the letters typed so far of the word.
#pragma once

#include "keyboard/lexicon.h"
#include "settings/options.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sp {

// A key is the character it types; these type no letter.
constexpr char32_t KEY_SPACE = U' ';
constexpr char32_t KEY_DELETE = U'\b';
constexpr char32_t KEY_ENTER = U'\n';

constexpr int MOST_PREDICTIONS = 5;

// What the model knows of what came before the word: nothing, the word
// before it (lowercase UTF-8), or that a sentence starts.
constexpr std::string_view NO_CONTEXT = "";
constexpr std::string_view SENTENCE_START = ".";

struct Guess {
    // One per key of the model's keys(), in that order; they add up to 1.
    std::vector<double> likelihoods;
    // Whole words, UTF-8, the most frequent first.
    std::vector<std::string> predictions;
};

class LanguageModel {
public:
    // letters: the language's letters in Latin-1, in the keyboard's order;
    // pairs: which word follows which, where the language has them.
    LanguageModel(const Lexicon& lexicon, std::string_view letters, const WordPairs* pairs = nullptr);

    // The keys it weighs: the letters, then Space, Delete and Enter.
    const std::vector<char32_t>& keys() const { return keys_; }
    // prefix: what has been typed of the current word, lowercase UTF-8;
    // before: the word before it, or SENTENCE_START, or NO_CONTEXT;
    // most: how many predictions are wanted.
    Guess guess(std::string_view prefix, std::string_view before = NO_CONTEXT,
                int most = MOST_PREDICTIONS) const;
    int wordCount() const { return static_cast<int>(starts_.size()) - 1; }

private:
    static constexpr int NO_LETTER = -1;
    // Words [first, last) that start with `bytes`.
    std::pair<int, int> range(std::string_view bytes, int first, int last) const;
    std::string_view word(int i) const;
    // The words that follow one word more or less often than their own
    // frequency says, in the lexicon's order, and what that adds to the
    // weights before each of them.
    struct Followers {
        std::vector<int> words;
        std::vector<double> boosts;
        std::vector<double> added;
        double between(int first, int last) const;
        double boost(int word) const;
    };
    static const Followers NONE;

    void readPairs(const WordPairs& pairs);
    const Followers& followersOf(std::string_view before) const;
    double weight(int first, int last) const { return cumulative_[last] - cumulative_[first]; }
    double weight(int first, int last, const Followers& f) const {
        return weight(first, last) + f.between(first, last);
    }
    // The lowest rank (most frequent word) in [first, last).
    std::uint32_t bestRank(int first, int last) const;
    void predict(int first, int last, std::string_view bytes, const Followers& f, int most,
                 std::vector<std::string>& out) const;

    std::vector<char32_t> keys_;
    std::array<int, 256> letterIndex_{};
    std::string text_;
    std::vector<std::uint32_t> starts_;
    std::vector<double> cumulative_;
    // Ranks by frequency, 0 the most frequent, as a tree for the best rank of
    // a range: leaves at [n, 2n), each parent the lower of its two children.
    std::vector<std::uint32_t> rankTree_;
    std::vector<int> wordOfRank_;
    // How often each letter follows each letter (the last row: starts a
    // word), for words the lexicon does not hold.
    std::vector<std::vector<double>> following_;
    // Per word of the lexicon, and for the start of a sentence: its index
    // into followers_, or -1.
    std::vector<int> followersAt_;
    int sentenceFollowers_ = -1;
    std::vector<Followers> followers_;
};

// The model of a language, built from its lexicon on first use (Auto is the
// caller's to resolve; it gets English).
const LanguageModel& languageModel(Language language);

// "Space", "Delete", "Enter", or the letter in UTF-8.
std::string keyName(char32_t key);

} // namespace sp
