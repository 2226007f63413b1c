#include "keyboard/layout.h"

#include "keyboard/model.h"
#include "settings/text_file.h"

#include <algorithm>

namespace sp {
namespace {

// One page is a table of rows; each word a key: "Word" a prediction slot,
// the other capitalised words the named keys, anything else the character
// it types. "*2" after a word makes the key two columns wide.
//
// The letters follow the diagonals from Space (the most typed) at the top
// left, then e t, a o n, i s h r..., with Delete, where a mistaken key is
// mended, no further than the middling letters.
const char* const ENGLISH_LETTERS[] = {
    "Word Word Word Word Word Close",
    "Space e a i d w",
    "t o s l f b",
    "n h u g v ,",
    "r c y k x q",
    "m p Enter j ' z",
    "Delete . Shift ? ! Page",
};
const char* const ENGLISH_SYMBOLS[] = {
    "Word Word Word Word Word Close",
    "Space 1 2 3 4 5",
    "Page 6 7 8 9 0",
    "Delete . , ? ! '",
    "Enter - : ; / \"",
    "( ) @ # % &",
    "+ = * $ _",
};
// Spanish has more letters: a seventh column.
const char* const SPANISH_LETTERS[] = {
    "Word Word Word Word Word Close*2",
    "Space e o n c b ó",
    "a s i t g í é",
    "r d u v h j x",
    "l m y f z ú w",
    "p q á ñ k ü '",
    "Delete Enter , ¿ ¡ Page",
    ". Shift ? !",
};
const char* const SPANISH_SYMBOLS[] = {
    "Word Word Word Word Word Close*2",
    "Space 1 2 3 4 5 6",
    "Page 7 8 9 0 ¿ ¡",
    "Delete . , ? ! ' \"",
    "Enter - : ; / ( )",
    "@ # % & + = *",
    "$ _ €",
};

struct Names {
    const char* space;
    const char* del;
    const char* enter;
    const char* shift;
    const char* close;
    const char* keyboard;
};
const Names ENGLISH_NAMES = {"Space", "Delete", "Enter", "Shift", "Close", "Keyboard"};
const Names SPANISH_NAMES = {"Espacio", "Borrar", "Intro", "Mayús", "Cerrar", "Teclado"};
// What each page is called on the key that shows it.
const char* const PAGE_NAMES[PAGE_COUNT] = {"abc", "123"};

bool isLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7); }

Key keyOf(const std::string& word, const Names& names, int page) {
    struct Named {
        const char* word;
        const char* label;
        KeyKind kind;
        char32_t ch;
    };
    const Named named[] = {
        {"Word", "", KeyKind::Prediction, 0},
        {"Space", names.space, KeyKind::Space, KEY_SPACE},
        {"Delete", names.del, KeyKind::Delete, KEY_DELETE},
        {"Enter", names.enter, KeyKind::Enter, KEY_ENTER},
        {"Shift", names.shift, KeyKind::Shift, 0},
        {"Page", PAGE_NAMES[1 - page], KeyKind::Page, 0},
        {"Close", names.close, KeyKind::Close, 0},
    };
    for (const Named& n : named)
        if (word == n.word) return {n.kind, 0, 0, 1, n.label, n.ch};
    const char32_t c = fromUtf8(word).front();
    return {isLetter(c) ? KeyKind::Letter : KeyKind::Symbol, 0, 0, 1, word, c};
}

std::vector<Key> pageOf(const char* const* rows, int rowCount, const Names& names, int page) {
    std::vector<Key> keys;
    for (int row = 0; row < rowCount; ++row) {
        int column = 0;
        const std::string line = rows[row];
        for (std::size_t at = 0; at < line.size();) {
            const std::size_t end = std::min(line.find(' ', at + 1), line.size());
            std::string word = line.substr(at, end - at);
            int span = 1;
            if (word.size() > 2 && word[word.size() - 2] == '*') {
                span = word.back() - '0';
                word.resize(word.size() - 2);
            }
            Key key = keyOf(word, names, page);
            key.row = row;
            key.column = column;
            key.span = span;
            keys.push_back(std::move(key));
            column += span;
            at = end + 1;
        }
    }
    return keys;
}

template <int LETTER_ROWS, int SYMBOL_ROWS>
KeyboardLayout layoutOf(const char* const (&letters)[LETTER_ROWS], const char* const (&symbols)[SYMBOL_ROWS],
                        const Names& names, int columns) {
    return {{pageOf(letters, LETTER_ROWS, names, PAGE_LETTERS),
             pageOf(symbols, SYMBOL_ROWS, names, PAGE_SYMBOLS)},
            std::max(LETTER_ROWS, SYMBOL_ROWS),
            columns,
            names.keyboard};
}

} // namespace

const KeyboardLayout& keyboardLayout(Language language) {
    static const KeyboardLayout english = layoutOf(ENGLISH_LETTERS, ENGLISH_SYMBOLS, ENGLISH_NAMES, 6);
    static const KeyboardLayout spanish = layoutOf(SPANISH_LETTERS, SPANISH_SYMBOLS, SPANISH_NAMES, 7);
    return language == LANGUAGE_ES ? spanish : english;
}

} // namespace sp
