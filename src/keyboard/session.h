// One opening of the on-screen keyboard: the page shown, its labels, the
// scan over it, and what the chosen keys send. The window drives it with
// presses and scan periods and sends the strokes it hands out.
//
// What is typed lives only here, in memory, and only as much of it as the
// keyboard needs: the word being typed and the word before it, whether a
// sentence starts, and a little more so that Delete can mend a mistake.
#pragma once

#include "keyboard/group_scan.h"
#include "keyboard/layout.h"
#include "keyboard/learned_words.h"
#include "keyboard/model.h"
#include "keyboard/row_scan.h"

#include <string>
#include <vector>

namespace sp {

enum class KeyboardScan { Rows, Groups };

class KeyboardSession {
public:
    // loops: whole passes without a press before the scan rests; 0, never.
    KeyboardSession(Language language, KeyboardScan scan, int loops);

    // An empty field: a sentence starts, the letters page shows and the scan
    // starts at once.
    void open();
    void press();
    // One scan period passed without a press.
    void timeout();
    // Escape or a hand move: the scan rests and the keyboard stays open; a
    // press starts it again.
    void stop();
    bool resting() const;
    // Close was chosen: the window closes the keyboard.
    bool closeChosen() const { return closeChosen_; }

    // The page's keys with their labels now: predictions in their slots, and
    // letters in capitals when the next one will be.
    const std::vector<Key>& keys() const { return keys_; }
    // Indices into keys(), in reading order; an empty prediction slot is
    // never lit.
    std::vector<int> lit() const;
    // The lit keys' labels in reading order, or the keyboard's name at rest.
    std::string caption() const;
    // What the keys chosen since the last call send, in order: each
    // character as itself, KEY_DELETE for one back, KEY_ENTER for Enter.
    std::u32string takeStrokes();
    // The user's own words, offered before the lexicon's; null for none.
    void useLearned(const LearnedWords* learned) { learned_ = learned; }
    // The words finished (by a space, a mark, Enter or a prediction) since
    // the last call, in lowercase: what learning may take.
    std::vector<std::string> takeFinishedWords();

private:
    void afterStep();
    void choose(int key);
    void type(char32_t c);
    void startScan();
    void relabel();
    bool capital() const;
    bool sentenceStartsAfter(std::size_t end) const;
    // The letters of the word that ends `end` characters from the text's end.
    std::string prefix(std::size_t end = 0) const;
    std::string wordBefore() const;
    std::vector<double> likelihoods() const;
    double modelLikelihood(const Guess& guess, char32_t c) const;
    double wordLikelihood(std::string prefix, const std::u32string& rest) const;

    const KeyboardLayout& layout_;
    const LanguageModel& model_;
    KeyboardScan scanKind_;
    int loops_;
    GroupScan groups_;
    RowScan rows_;

    bool open_ = false;
    bool stopped_ = false;
    bool closeChosen_ = false;
    int page_ = PAGE_LETTERS;
    bool shift_ = false;
    // The last thing typed is the space after a predicted word.
    bool predictedSpace_ = false;
    // The end of what was typed since the keyboard opened, as typed.
    std::u32string text_;
    std::u32string strokes_;
    const LearnedWords* learned_ = nullptr;
    std::vector<std::string> finished_;

    std::string before_;
    Guess guess_;
    std::vector<Key> keys_;
    // Per key: what choosing it adds after the typed part of the word (a
    // prediction's rest), and how likely the model finds that word.
    std::vector<std::u32string> completions_;
    std::vector<double> wordLikelihoods_;
    // The keys the scan runs over, as indices into keys_.
    std::vector<int> scanKeys_;
};

} // namespace sp
