// The keys of the on-screen keyboard, per language: where each sits on the
// grid, what it is called and what it types. Row-column scanning reaches a
// key in as many steps as its row and column add up to, so the letters are
// laid out along the diagonals by how often they are typed; the group scan
// does not care where a key is.
#pragma once

#include "settings/options.h"

#include <string>
#include <vector>

namespace sp {

enum class KeyKind { Letter, Symbol, Space, Delete, Enter, Shift, Page, Prediction, Close };

struct Key {
    KeyKind kind;
    int row;
    int column;
    int span; // columns it takes
    // UTF-8. Empty for a prediction slot, which the keyboard fills.
    std::string label;
    // What it types: a Letter's or Symbol's character (a letter in lowercase),
    // KEY_SPACE, KEY_DELETE or KEY_ENTER; 0 for a key that types nothing itself.
    char32_t ch;
};

enum KeyboardPage : int { PAGE_LETTERS, PAGE_SYMBOLS, PAGE_COUNT };

struct KeyboardLayout {
    // Each page's keys in reading order: row by row, left to right. Row 0
    // holds the predictions.
    std::vector<Key> pages[PAGE_COUNT];
    int rows;
    int columns;
    // The caption while nothing is lit: "Keyboard".
    const char* name;
};

// Auto is the caller's to resolve; it gets English.
const KeyboardLayout& keyboardLayout(Language language);

} // namespace sp
