#include "keyboard/model.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace sp {
namespace {

// What the keys that end or mend a word are worth. A scanning user takes the
// wrong key now and then, and mends it at once: Delete is worth a few percent
// of every choice. A line or a field usually ends after a whole word: of the
// times a word is complete, one in ten ends with Enter rather than Space (a
// search or a file name is a word or two, a line of a letter ten or so), and
// at the start of a word (after a space) Enter is as likely as a Delete.
// Neither Space nor Enter may ever cost much more than the rarest letter to
// reach, so both have a floor.
constexpr double DELETE_WEIGHT = 0.03;
constexpr double ENTER_AT_WORD_START = 0.03;
constexpr double ENTER_SHARE_OF_WORD_END = 0.1;
constexpr double END_FLOOR = 0.002;
// A word the lexicon does not hold (a name, a typo) ends after any letter with
// about one over a word's mean length.
constexpr double UNKNOWN_WORD_END = 0.2;
// Share of the letters' likelihood taken from which letter follows which,
// so that a letter no known word has next stays within reach.
constexpr double BACK_OFF = 0.03;

// Accents are letters of their own: "que" does not match "qué". The keyboard
// has the accented keys, and the model weighs them as it weighs the others, so
// reaching "é" costs no more than "e"; and a prediction types the rest of its
// word after what was typed, which it could not do if the two differed.
// UTF-8 to the lexicon's Latin-1; false for a character it has no letter for.
bool toLatin1(std::string_view utf8, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else if ((b & 0xE0) == 0xC0 && b <= 0xC3 && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            out.push_back(static_cast<char>(((b & 0x1F) << 6) | (next & 0x3F)));
        } else {
            return false;
        }
    }
    return true;
}

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

LanguageModel::LanguageModel(const Lexicon& lexicon, std::string_view letters) {
    letterIndex_.fill(NO_LETTER);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const auto b = static_cast<unsigned char>(letters[i]);
        letterIndex_[b] = static_cast<int>(i);
        keys_.push_back(b);
    }
    keys_.insert(keys_.end(), {KEY_SPACE, KEY_DELETE, KEY_ENTER});

    const int n = lexicon.wordCount;
    const int letterCount = static_cast<int>(letters.size());
    starts_.reserve(n + 1);
    cumulative_.assign(n + 1, 0.0);
    following_.assign(letterCount + 1, std::vector<double>(letterCount, 0.0));
    std::string current;
    for (std::size_t at = 0; at < lexicon.entriesSize;) {
        current.resize(static_cast<std::size_t>(lexicon.entries[at++] - 'A'));
        while (at < lexicon.entriesSize && (lexicon.entries[at] < 'A' || lexicon.entries[at] > 'Z'))
            current.push_back(lexicon.entries[at++]);
        const int i = static_cast<int>(starts_.size());
        const double w = std::exp(lexicon.levels[i] * lexicon.levelStep);
        starts_.push_back(static_cast<std::uint32_t>(text_.size()));
        text_ += current;
        cumulative_[i + 1] = cumulative_[i] + w;
        int previous = letterCount;
        for (const char c : current) {
            const int letter = letterIndex_[static_cast<unsigned char>(c)];
            if (letter == NO_LETTER) break;
            following_[previous][letter] += w;
            previous = letter;
        }
    }
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));

    std::vector<int> byFrequency(n);
    std::iota(byFrequency.begin(), byFrequency.end(), 0);
    std::stable_sort(byFrequency.begin(), byFrequency.end(),
                     [&lexicon](int a, int b) { return lexicon.levels[a] > lexicon.levels[b]; });
    wordOfRank_ = byFrequency;
    rankTree_.assign(2 * static_cast<std::size_t>(n), 0);
    for (int rank = 0; rank < n; ++rank) rankTree_[n + byFrequency[rank]] = static_cast<std::uint32_t>(rank);
    for (auto i = static_cast<std::size_t>(n); i-- > 1;)
        rankTree_[i] = std::min(rankTree_[2 * i], rankTree_[2 * i + 1]);
}

std::string_view LanguageModel::word(int i) const {
    return std::string_view(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
}

std::pair<int, int> LanguageModel::range(std::string_view bytes, int first, int last) const {
    int lo = first;
    int hi = last;
    while (lo < hi) { // the first word not before `bytes`
        const int mid = lo + (hi - lo) / 2;
        if (word(mid) < bytes)
            lo = mid + 1;
        else
            hi = mid;
    }
    const int begin = lo;
    hi = last;
    while (lo < hi) { // the first word past those that start with it
        const int mid = lo + (hi - lo) / 2;
        if (word(mid).substr(0, bytes.size()) == bytes)
            lo = mid + 1;
        else
            hi = mid;
    }
    return {begin, lo};
}

std::uint32_t LanguageModel::bestRank(int first, int last) const {
    const int n = wordCount();
    std::uint32_t best = UINT32_MAX;
    for (int l = first + n, r = last + n; l < r; l /= 2, r /= 2) {
        if (l & 1) best = std::min(best, rankTree_[l++]);
        if (r & 1) best = std::min(best, rankTree_[--r]);
    }
    return best;
}

// The most frequent words of [first, last) in turn: the best of a range, then
// the best of what lies either side of it, a few tree walks per word.
void LanguageModel::predict(int first, int last, std::string_view bytes,
                            std::vector<std::string>& out) const {
    struct Span {
        std::uint32_t rank;
        int first;
        int last;
    };
    std::array<Span, 2 * MOST_PREDICTIONS + 4> spans{};
    int open = 0;
    spans[open++] = {bestRank(first, last), first, last};
    while (open > 0 && static_cast<int>(out.size()) < MOST_PREDICTIONS) {
        int best = 0;
        for (int i = 1; i < open; ++i)
            if (spans[i].rank < spans[best].rank) best = i;
        const Span span = spans[best];
        spans[best] = spans[--open];
        if (span.first >= span.last) continue;
        const int at = wordOfRank_[span.rank];
        if (word(at) != bytes) {
            std::string utf8;
            for (const char c : word(at)) appendUtf8(static_cast<unsigned char>(c), utf8);
            out.push_back(std::move(utf8));
        }
        if (span.first < at) spans[open++] = {bestRank(span.first, at), span.first, at};
        if (at + 1 < span.last) spans[open++] = {bestRank(at + 1, span.last), at + 1, span.last};
    }
}

Guess LanguageModel::guess(std::string_view prefix) const {
    const int letterCount = static_cast<int>(keys_.size()) - 3;
    Guess guess;
    guess.likelihoods.assign(keys_.size(), 0.0);
    std::string bytes;
    const bool spelled = toLatin1(prefix, bytes);
    const auto [first, last] = spelled ? range(bytes, 0, wordCount()) : std::pair<int, int>{0, 0};

    // Which letter follows the last one typed, for the back-off.
    int previous = letterCount;
    if (!bytes.empty()) previous = letterIndex_[static_cast<unsigned char>(bytes.back())];
    std::vector<double> backOff(letterCount, 1.0);
    if (previous != NO_LETTER) {
        const auto& row = following_[previous];
        const double floor = 1e-4 * std::accumulate(row.begin(), row.end(), 0.0) + 1e-12;
        std::transform(row.begin(), row.end(), backOff.begin(), [floor](double w) { return w + floor; });
    }
    const double backOffTotal = std::accumulate(backOff.begin(), backOff.end(), 0.0);

    double end = UNKNOWN_WORD_END;
    double letterShare = 0.0; // the letters' share of the lexicon's words, before the back-off
    std::vector<double> lexicon(letterCount, 0.0);
    if (first < last) {
        const double total = weight(first, last);
        // Even a word no longer one the lexicon holds may go on.
        end = word(first) == bytes ? std::min(weight(first, first + 1) / total, 1.0 - BACK_OFF) : 0.0;
        std::string next = bytes + ' ';
        for (int i = 0; i < letterCount; ++i) {
            next.back() = static_cast<char>(keys_[i]);
            const auto [from, to] = range(next, first, last);
            lexicon[i] = weight(from, to);
            letterShare += lexicon[i];
        }
    }
    const double toWord = 1.0 - DELETE_WEIGHT - (bytes.empty() ? ENTER_AT_WORD_START : 0.0);
    for (int i = 0; i < letterCount; ++i) {
        const double fromBackOff = backOff[i] / backOffTotal;
        const double p = letterShare > 0.0
                             ? (1.0 - BACK_OFF) * lexicon[i] / letterShare + BACK_OFF * fromBackOff
                             : fromBackOff;
        guess.likelihoods[i] = toWord * (1.0 - end) * p;
    }
    guess.likelihoods[letterCount] = toWord * end * (1.0 - ENTER_SHARE_OF_WORD_END) + END_FLOOR;
    guess.likelihoods[letterCount + 1] = DELETE_WEIGHT;
    guess.likelihoods[letterCount + 2] =
        toWord * end * ENTER_SHARE_OF_WORD_END + END_FLOOR + (bytes.empty() ? ENTER_AT_WORD_START : 0.0);
    const double sum = std::accumulate(guess.likelihoods.begin(), guess.likelihoods.end(), 0.0);
    for (double& p : guess.likelihoods) p /= sum;

    if (first < last) predict(first, last, bytes, guess.predictions);
    return guess;
}

const LanguageModel& languageModel(Language language) {
    static const LanguageModel english(LEXICON_EN, "abcdefghijklmnopqrstuvwxyz'");
    static const LanguageModel spanish(LEXICON_ES, "abcdefghijklmnopqrstuvwxyz\xF1\xE1\xE9\xED\xF3\xFA\xFC");
    return language == LANGUAGE_ES ? spanish : english;
}

std::string keyName(char32_t key) {
    switch (key) {
    case KEY_SPACE: return "Space";
    case KEY_DELETE: return "Delete";
    case KEY_ENTER: return "Enter";
    default: break;
    }
    std::string out;
    appendUtf8(key, out);
    return out;
}

} // namespace sp
