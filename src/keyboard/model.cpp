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

const LanguageModel::Followers LanguageModel::NONE{{}, {}, {0.0}};

LanguageModel::LanguageModel(const Lexicon& lexicon, std::string_view letters, const WordPairs* pairs) {
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
    followersAt_.assign(n, -1);
    if (pairs) readPairs(*pairs);
}

double LanguageModel::Followers::between(int first, int last) const {
    const auto from = std::lower_bound(words.begin(), words.end(), first) - words.begin();
    const auto to = std::lower_bound(words.begin(), words.end(), last) - words.begin();
    return added[to] - added[from];
}

double LanguageModel::Followers::boost(int word) const {
    const auto at = std::lower_bound(words.begin(), words.end(), word);
    return at != words.end() && *at == word ? boosts[at - words.begin()] : 1.0;
}

// The table as its generator writes it; a table that does not read to its
// end keeps what was read whole, as the lexicon alone serves without it.
void LanguageModel::readPairs(const WordPairs& pairs) {
    static constexpr std::string_view ALPHABET =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::array<int, 256> digit{};
    digit.fill(-1);
    for (std::size_t i = 0; i < ALPHABET.size(); ++i)
        digit[static_cast<unsigned char>(ALPHABET[i])] = static_cast<int>(i);
    std::size_t at = 0;
    const auto number = [&]() -> long {
        long n = 0;
        while (at < pairs.size && n < (1L << 24)) {
            const int d = digit[static_cast<unsigned char>(pairs.text[at++])];
            if (d < 0) break;
            n = n * 32 + (d & 31);
            if ((d & 32) == 0) return n;
        }
        return -1;
    };
    const int n = wordCount();
    long word = -1;
    while (at < pairs.size) {
        const long step = number();
        const long count = number();
        word += step;
        if (step < 0 || count < 0 || word >= n) return;
        Followers f;
        f.added.push_back(0.0);
        long following = 0;
        for (long k = 0; k < count; ++k) {
            const long ahead = number();
            const long level = number();
            following += ahead;
            if (ahead < 0 || level < 0 || following >= n) return;
            const int i = static_cast<int>(following);
            const double boost = std::exp2(static_cast<double>(level - pairs.levelZero));
            f.words.push_back(i);
            f.boosts.push_back(boost);
            f.added.push_back(f.added.back() + weight(i, i + 1) * (boost - 1.0));
        }
        (word < 0 ? sentenceFollowers_ : followersAt_[static_cast<std::size_t>(word)]) =
            static_cast<int>(followers_.size());
        followers_.push_back(std::move(f));
    }
}

const LanguageModel::Followers& LanguageModel::followersOf(std::string_view before) const {
    if (before == SENTENCE_START) return sentenceFollowers_ < 0 ? NONE : followers_[sentenceFollowers_];
    std::string bytes;
    if (before.empty() || !toLatin1(before, bytes)) return NONE;
    const auto [first, last] = range(bytes, 0, wordCount());
    if (first == last || word(first) != bytes || followersAt_[first] < 0) return NONE;
    return followers_[followersAt_[first]];
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

// The likeliest words of [first, last): the most frequent in turn (the best
// of a range, then the best of what lies either side of it, a few tree walks
// per word), weighed against the words that often follow the word before.
void LanguageModel::predict(int first, int last, std::string_view bytes, const Followers& f, int most,
                            std::vector<std::string>& out) const {
    // A word often after the one before may outrank a few more frequent ones.
    constexpr int BY_FREQUENCY = 2 * MOST_PREDICTIONS;
    struct Span {
        std::uint32_t rank;
        int first;
        int last;
    };
    struct Candidate {
        double weight;
        std::uint32_t rank;
        int word;
    };
    std::vector<Candidate> candidates;
    const auto consider = [&](int at, double boost) {
        if (word(at) != bytes)
            candidates.push_back({weight(at, at + 1) * boost, rankTree_[wordCount() + at], at});
    };
    std::array<Span, 2 * BY_FREQUENCY + 4> spans{};
    int open = 0;
    spans[open++] = {bestRank(first, last), first, last};
    for (int walked = 0; open > 0 && walked < BY_FREQUENCY; ++walked) {
        int best = 0;
        for (int i = 1; i < open; ++i)
            if (spans[i].rank < spans[best].rank) best = i;
        const Span span = spans[best];
        spans[best] = spans[--open];
        if (span.first >= span.last) continue;
        const int at = wordOfRank_[span.rank];
        consider(at, f.boost(at));
        if (span.first < at) spans[open++] = {bestRank(span.first, at), span.first, at};
        if (at + 1 < span.last) spans[open++] = {bestRank(at + 1, span.last), at + 1, span.last};
    }
    const auto from = std::lower_bound(f.words.begin(), f.words.end(), first) - f.words.begin();
    const auto to = std::lower_bound(f.words.begin(), f.words.end(), last) - f.words.begin();
    for (auto i = from; i < to; ++i) consider(f.words[i], f.boosts[i]);
    // A word may be there twice, once by its frequency and once after the
    // word before; the best of the rest are among the first few past those.
    const std::size_t keep = std::min(candidates.size(), static_cast<std::size_t>(most + BY_FREQUENCY));
    const auto ranked = candidates.begin() + static_cast<std::ptrdiff_t>(keep);
    std::partial_sort(candidates.begin(), ranked, candidates.end(),
                      [](const Candidate& a, const Candidate& b) {
                          return a.weight != b.weight ? a.weight > b.weight : a.rank < b.rank;
                      });
    candidates.erase(ranked, candidates.end());
    std::vector<int> chosen;
    for (const Candidate& c : candidates) {
        if (static_cast<int>(chosen.size()) == most) break;
        if (std::find(chosen.begin(), chosen.end(), c.word) != chosen.end()) continue;
        chosen.push_back(c.word);
        std::string utf8;
        for (const char ch : word(c.word)) appendUtf8(static_cast<unsigned char>(ch), utf8);
        out.push_back(std::move(utf8));
    }
}

Guess LanguageModel::guess(std::string_view prefix, std::string_view before, int most) const {
    const Followers& f = followersOf(before);
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
        const double total = weight(first, last, f);
        // Even a word no longer one the lexicon holds may go on.
        end = word(first) == bytes ? std::min(weight(first, first + 1, f) / total, 1.0 - BACK_OFF) : 0.0;
        std::string next = bytes + ' ';
        for (int i = 0; i < letterCount; ++i) {
            next.back() = static_cast<char>(keys_[i]);
            const auto [from, to] = range(next, first, last);
            lexicon[i] = weight(from, to, f);
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

    if (first < last && most > 0) predict(first, last, bytes, f, most, guess.predictions);
    return guess;
}

const LanguageModel& languageModel(Language language) {
    static const LanguageModel english(LEXICON_EN, "abcdefghijklmnopqrstuvwxyz'", &WORD_PAIRS_EN);
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
