// The words each keyboard language knows, with how often each is used, as
// tools/make_lexicon.py writes them into lexicon_en.cpp and lexicon_es.cpp.
#pragma once

#include <cstddef>

namespace sp {

struct Lexicon {
    // The words in byte order, letters in Latin-1, front-coded: each entry is
    // 'A' plus the number of leading bytes it shares with the word before,
    // then the rest of the word.
    const char* entries;
    std::size_t entriesSize;
    // One per word: its frequency as exp(level * levelStep), relative to the
    // rarest word kept.
    const unsigned char* levels;
    int wordCount;
    double levelStep;
};

// Which words follow which more, or less, often than their frequencies say,
// as tools/make_word_pairs.py writes them into word_pairs_en.cpp: the format
// is told there.
struct WordPairs {
    const char* text;
    std::size_t size;
    int levelZero;
};

extern const Lexicon LEXICON_EN;
extern const WordPairs WORD_PAIRS_EN;
extern const Lexicon LEXICON_ES;

} // namespace sp
