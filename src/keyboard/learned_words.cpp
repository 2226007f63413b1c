#include "keyboard/learned_words.h"

#include <algorithm>

namespace sp {

namespace {

constexpr std::size_t LONGEST_WORD = 40;
constexpr int MOST_COUNT = 1000000;

bool wordLike(const std::string& word) {
    if (word.empty() || word.size() > LONGEST_WORD) return false;
    // Bytes of 0x80 and above are the letters beyond ASCII, in UTF-8.
    return std::all_of(word.begin(), word.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >= 'a' && b <= 'z') || b == '\'' || b >= 0x80;
    });
}

} // namespace

// No stream: reading them would bring a whole locale library into the exe.
void LearnedWords::read(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const std::size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string word = line.substr(0, space);
        int count = 0;
        std::size_t i = space + 1;
        for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && count < MOST_COUNT; ++i)
            count = count * 10 + (line[i] - '0');
        const bool whole = i > space + 1 && (i == line.size() || line[i] == '\r');
        if (whole && wordLike(word) && count > 0) counts_[word] = std::min(count, MOST_COUNT);
    }
}

std::string LearnedWords::text() const {
    std::string out;
    for (const auto& [word, count] : counts_) out += word + " " + std::to_string(count) + "\n";
    return out;
}

void LearnedWords::learn(const std::string& word) {
    if (!wordLike(word)) return;
    int& count = counts_[word];
    count = std::min(count + 1, MOST_COUNT);
    changed_ = true;
    if (counts_.size() <= MOST_LEARNED_WORDS) return;
    // Never the word just learnt: it would never get a second use.
    auto least = counts_.end();
    for (auto it = counts_.begin(); it != counts_.end(); ++it)
        if (it->first != word && (least == counts_.end() || it->second < least->second)) least = it;
    counts_.erase(least);
}

std::vector<std::string> LearnedWords::startingWith(std::string_view prefix, std::size_t count) const {
    std::vector<std::pair<int, std::string>> found;
    for (auto it = counts_.lower_bound(std::string(prefix)); it != counts_.end(); ++it) {
        if (it->first.compare(0, prefix.size(), prefix) != 0) break;
        if (it->second >= LEARNED_WORD_OFFERED_AT && it->first.size() > prefix.size())
            found.emplace_back(-it->second, it->first);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> words;
    for (std::size_t i = 0; i < found.size() && i < count; ++i) words.push_back(found[i].second);
    return words;
}

} // namespace sp
