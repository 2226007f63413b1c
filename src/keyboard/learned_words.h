// The user's own words, learnt as they are typed when keyboard_learn is on,
// and offered first among the predictions. Kept as "word count" lines in a
// file beside config.ini; nothing else typed is ever kept.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sp {

constexpr const char* LEARNED_WORDS_FILE_NAME = "words.txt";
// A word the user typed this often is offered; fewer could be a slip.
constexpr int LEARNED_WORD_OFFERED_AT = 2;
// The file stays small: the least used go first once there are more.
constexpr std::size_t MOST_LEARNED_WORDS = 2000;

class LearnedWords {
public:
    // Lines that are not a lowercase word and a count are skipped.
    void read(const std::string& text);
    std::string text() const;
    // word: lowercase UTF-8, as the keyboard's model reads it.
    void learn(const std::string& word);
    // The most used words that start with `prefix` and are offered, most
    // used first, at most `count`.
    std::vector<std::string> startingWith(std::string_view prefix, std::size_t count) const;
    bool changed() const { return changed_; }
    void saved() { changed_ = false; }

private:
    std::map<std::string, int> counts_;
    bool changed_ = false;
};

} // namespace sp
