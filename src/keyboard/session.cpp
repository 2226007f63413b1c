#include "keyboard/session.h"

#include "settings/text_file.h"

#include <algorithm>

namespace sp {
namespace {

// What a Delete needs to find the word and the sentence again after a few
// mistakes; anything older is dropped.
constexpr std::size_t KEPT_TEXT = 64;

// Keys the model does not weigh. They are rare beside a letter, but must
// stay a few steps away, not ten. Going back from the symbols page is the
// likeliest thing there.
constexpr double SHIFT_WEIGHT = 0.004;
constexpr double CLOSE_WEIGHT = 0.002;
constexpr double TO_SYMBOLS_WEIGHT = 0.004;
constexpr double TO_LETTERS_WEIGHT = 0.1;
constexpr double SYMBOL_WEIGHT = 0.03;
// Punctuation mostly follows a whole word: a share of the likelihood that
// the word ends here, about as often as each mark ends a word in prose.
constexpr double PUNCTUATION_FLOOR = 0.001;

double punctuationShare(char32_t c) {
    switch (c) {
    case U'.': return 0.06;
    case U',': return 0.05;
    case U'?': return 0.01;
    case U'!': return 0.005;
    default: return 0.0;
    }
}

// The keyboard's letters are Latin-1: each capital is 32 below its small letter.
char32_t upper(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ? c - 32 : c;
}
char32_t lower(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 32 : c;
}

bool typesSomething(KeyKind kind) { return kind != KeyKind::Shift && kind != KeyKind::Page; }

std::string utf8(char32_t c) { return toUtf8(std::u32string(1, c)); }

} // namespace

KeyboardSession::KeyboardSession(Language language, KeyboardScan scan, int loops)
    : layout_(keyboardLayout(language)), model_(languageModel(language)), scanKind_(scan), loops_(loops) {
    relabel();
}

void KeyboardSession::open() {
    open_ = true;
    stopped_ = false;
    closeChosen_ = false;
    page_ = PAGE_LETTERS;
    shift_ = false;
    predictedSpace_ = false;
    text_.clear();
    strokes_.clear();
    relabel();
    startScan();
}

void KeyboardSession::press() {
    if (!open_) return;
    if (stopped_) {
        stopped_ = false;
        startScan();
        return;
    }
    if (scanKind_ == KeyboardScan::Groups)
        groups_.press();
    else
        rows_.press();
    afterStep();
}

void KeyboardSession::timeout() {
    if (!open_ || stopped_) return;
    if (scanKind_ == KeyboardScan::Groups)
        groups_.timeout();
    else
        rows_.timeout();
    afterStep();
}

void KeyboardSession::stop() { stopped_ = open_; }

bool KeyboardSession::resting() const {
    return !open_ || stopped_ || (scanKind_ == KeyboardScan::Groups ? groups_.resting() : rows_.resting());
}

// A chosen key is typed, and the next scan starts at once over what the
// keyboard now expects.
void KeyboardSession::afterStep() {
    const int chosen = scanKind_ == KeyboardScan::Groups ? groups_.chosen() : rows_.chosen();
    if (chosen < 0) return;
    choose(scanKeys_[chosen]);
    if (!open_) return;
    relabel();
    startScan();
}

void KeyboardSession::choose(int index) {
    const Key& key = keys_[index];
    const std::size_t before = text_.size();
    // A mark or Enter goes right after the word, not after the space its
    // prediction added.
    const bool takeBackSpace =
        predictedSpace_ && (key.kind == KeyKind::Enter || punctuationShare(key.ch) > 0.0);
    if (takeBackSpace) {
        strokes_ += KEY_DELETE;
        text_.pop_back();
    }
    predictedSpace_ = key.kind == KeyKind::Prediction || (predictedSpace_ && !typesSomething(key.kind));
    switch (key.kind) {
    case KeyKind::Letter:
        type(capital() ? upper(key.ch) : key.ch);
        shift_ = false;
        break;
    case KeyKind::Symbol:
    case KeyKind::Space:
    case KeyKind::Enter: type(key.ch); break;
    case KeyKind::Delete:
        strokes_ += KEY_DELETE;
        if (!text_.empty()) text_.pop_back();
        break;
    case KeyKind::Shift: shift_ = !shift_; break;
    case KeyKind::Page: page_ = page_ == PAGE_LETTERS ? PAGE_SYMBOLS : PAGE_LETTERS; break;
    case KeyKind::Prediction:
        for (const char32_t c : completions_[index]) type(c);
        type(KEY_SPACE);
        shift_ = false;
        break;
    case KeyKind::Close:
        closeChosen_ = true;
        open_ = false;
        break;
    }
    // A word ends where a key that is no letter follows it.
    if (text_.size() > before && key.kind != KeyKind::Letter) {
        const std::string word = prefix(1);
        if (!word.empty()) finished_.push_back(word);
    }
}

std::vector<std::string> KeyboardSession::takeFinishedWords() {
    std::vector<std::string> out;
    out.swap(finished_);
    return out;
}

void KeyboardSession::type(char32_t c) {
    strokes_ += c;
    text_ += c;
    if (text_.size() > KEPT_TEXT) text_.erase(0, text_.size() - KEPT_TEXT);
}

std::u32string KeyboardSession::takeStrokes() {
    std::u32string out;
    out.swap(strokes_);
    return out;
}

// After Shift, and where a sentence starts.
bool KeyboardSession::capital() const { return shift_ || sentenceStartsAfter(text_.size()); }

// Whether a sentence starts after the first `end` characters typed: in an
// empty field, on a new line, or after . ? or ! and a space (an opening ¿ or
// ¡ may come between).
bool KeyboardSession::sentenceStartsAfter(std::size_t end) const {
    while (end > 0 && (text_[end - 1] == U'¿' || text_[end - 1] == U'¡')) --end;
    if (end == 0 || text_[end - 1] == KEY_ENTER) return true;
    if (text_[end - 1] != KEY_SPACE) return false;
    while (end > 0 && text_[end - 1] == KEY_SPACE) --end;
    return end == 0 || std::u32string_view(U".?!\n").find(text_[end - 1]) != std::u32string_view::npos;
}

// The letters typed of the current word, in lowercase, as the model reads them.
std::string KeyboardSession::prefix(std::size_t end) const {
    const auto& keys = model_.keys();
    const auto letters = keys.end() - 3; // Space, Delete and Enter close the list
    const std::size_t last = text_.size() - std::min(end, text_.size());
    std::size_t start = last;
    while (start > 0 && std::find(keys.begin(), letters, lower(text_[start - 1])) != letters) --start;
    std::u32string word = text_.substr(start, last - start);
    std::transform(word.begin(), word.end(), word.begin(), lower);
    return toUtf8(word);
}

// What the model reads before the word being typed: the word before it
// (a comma between them changes little in what follows), the start of a
// sentence, or nothing known.
std::string KeyboardSession::wordBefore() const {
    const std::size_t end = text_.size() - fromUtf8(prefix()).size();
    if (sentenceStartsAfter(end)) return std::string(SENTENCE_START);
    std::size_t at = end;
    while (at > 0 && (text_[at - 1] == KEY_SPACE || text_[at - 1] == U',')) --at;
    // No letter there (a digit, a mark run into the word): nothing known.
    return prefix(text_.size() - at);
}

// The page, with each prediction in its slot as choosing it would type it:
// in capitals if the user began the word in capitals.
void KeyboardSession::relabel() {
    keys_ = layout_.pages[page_];
    const std::string typedPrefix = prefix();
    before_ = wordBefore();
    guess_ = model_.guess(typedPrefix, before_);
    if (learned_) {
        // The user's own words first, then the lexicon's not among them.
        std::vector<std::string> words = learned_->startingWith(typedPrefix, MOST_PREDICTIONS);
        for (const std::string& w : guess_.predictions)
            if (words.size() < MOST_PREDICTIONS && std::find(words.begin(), words.end(), w) == words.end())
                words.push_back(w);
        guess_.predictions = words;
    }
    const std::u32string typed = text_.substr(text_.size() - fromUtf8(typedPrefix).size());
    const bool allCapitals =
        typed.size() > 1 && std::all_of(typed.begin(), typed.end(), [](char32_t c) { return upper(c) == c; });
    const bool capitalNext = capital();
    completions_.assign(keys_.size(), {});
    wordLikelihoods_.assign(keys_.size(), 0.0);
    std::size_t slot = 0;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        Key& key = keys_[i];
        if (key.kind == KeyKind::Letter && capitalNext) key.label = utf8(upper(key.ch));
        if (key.kind != KeyKind::Prediction || slot >= guess_.predictions.size()) continue;
        const std::u32string rest = fromUtf8(guess_.predictions[slot++]).substr(typed.size());
        std::u32string shown = rest;
        if (allCapitals || (typed.empty() && capitalNext))
            std::transform(shown.begin(), allCapitals ? shown.end() : shown.begin() + 1, shown.begin(),
                           upper);
        key.label = toUtf8(typed + shown);
        completions_[i] = shown;
        if (scanKind_ == KeyboardScan::Groups) wordLikelihoods_[i] = wordLikelihood(typedPrefix, rest);
    }
}

double KeyboardSession::modelLikelihood(const Guess& guess, char32_t c) const {
    const auto& keys = model_.keys();
    const auto at = std::find(keys.begin(), keys.end(), c);
    return at == keys.end() ? -1.0 : guess.likelihoods[at - keys.begin()];
}

// How likely the user is to type exactly this word next: each of its
// remaining letters in turn, then a space.
double KeyboardSession::wordLikelihood(std::string prefix, const std::u32string& rest) const {
    double p = 1.0;
    for (const char32_t c : rest) {
        p *= std::max(modelLikelihood(model_.guess(prefix, before_, 0), c), 0.0);
        prefix += utf8(c);
    }
    return p * modelLikelihood(model_.guess(prefix, before_, 0), KEY_SPACE);
}

// The group scan's weights, one per scanned key. A user who wants a
// predicted word takes the prediction rather than its next letter, so the
// word's likelihood moves from that letter to its slot: a likely word is a
// step or two away, and the letter costs what the other words under it are
// worth.
std::vector<double> KeyboardSession::likelihoods() const {
    Guess letters = guess_;
    const auto& keys = model_.keys();
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (completions_[i].empty()) continue;
        const auto at = std::find(keys.begin(), keys.end(), lower(completions_[i].front()));
        if (at != keys.end()) {
            double& p = letters.likelihoods[at - keys.begin()];
            p = std::max(p - wordLikelihoods_[i], 0.0);
        }
    }
    const double wordEnd = modelLikelihood(guess_, KEY_SPACE) + modelLikelihood(guess_, KEY_ENTER);
    std::vector<double> out;
    for (const int index : scanKeys_) {
        const Key& key = keys_[index];
        const double model = modelLikelihood(letters, key.ch);
        switch (key.kind) {
        case KeyKind::Prediction: out.push_back(wordLikelihoods_[index]); break;
        case KeyKind::Shift: out.push_back(SHIFT_WEIGHT); break;
        case KeyKind::Close: out.push_back(CLOSE_WEIGHT); break;
        case KeyKind::Page:
            out.push_back(page_ == PAGE_LETTERS ? TO_SYMBOLS_WEIGHT : TO_LETTERS_WEIGHT);
            break;
        default:
            if (model >= 0.0)
                out.push_back(model);
            else if (page_ == PAGE_SYMBOLS)
                out.push_back(SYMBOL_WEIGHT);
            else
                out.push_back(PUNCTUATION_FLOOR + punctuationShare(key.ch) * wordEnd);
        }
    }
    return out;
}

void KeyboardSession::startScan() {
    scanKeys_.clear();
    for (int i = 0; i < static_cast<int>(keys_.size()); ++i)
        if (keys_[i].kind != KeyKind::Prediction || !keys_[i].label.empty()) scanKeys_.push_back(i);
    if (scanKind_ == KeyboardScan::Groups) {
        groups_.start(likelihoods(), loops_);
        return;
    }
    std::vector<std::vector<int>> rows(layout_.rows);
    for (int i = 0; i < static_cast<int>(scanKeys_.size()); ++i) rows[keys_[scanKeys_[i]].row].push_back(i);
    rows_.start(rows, loops_);
}

std::vector<int> KeyboardSession::lit() const {
    std::vector<int> out;
    if (!open_ || stopped_) return out;
    for (const int i : scanKind_ == KeyboardScan::Groups ? groups_.lit() : rows_.lit())
        out.push_back(scanKeys_[i]);
    std::sort(out.begin(), out.end());
    return out;
}

std::string KeyboardSession::caption() const {
    if (resting()) return layout_.name;
    std::string out;
    for (const int i : lit()) out += (out.empty() ? "" : " ") + keys_[i].label;
    return out;
}

} // namespace sp
