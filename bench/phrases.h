// What the typing runs share: the phrases the simulated user types (our own,
// lowercase, 20 to 40 characters) and how the errors left in a typed phrase
// are counted. The host simulation and the run through the real exe type
// the same phrases, so their figures can be set side by side.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace bench {

inline const char* const ENGLISH_PHRASES[] = {
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

// Levenshtein's distance: the uncorrected errors of a typed phrase.
inline std::size_t distance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace bench
