#include "seen_typist.h"

#include "typist.h"

#include <cwctype>

namespace bench {
namespace {

std::string utf8(const std::wstring& text) {
    std::u32string wide;
    for (const wchar_t c : text) wide += static_cast<char32_t>(c);
    return sp::toUtf8(wide);
}

// A key as its child window shows it: a one-character label is the
// character it types; the top row's other keys are predictions.
sp::Key keyOf(const SeenKey& seen) {
    const std::wstring& label = seen.label;
    const auto named = [&](sp::KeyKind kind) { return sp::Key{kind, 0, 0, 1, utf8(label), 0}; };
    if (label == L"Close") return named(sp::KeyKind::Close);
    if (seen.topRow) return named(sp::KeyKind::Prediction);
    if (label == L"Space") return named(sp::KeyKind::Space);
    if (label == L"Delete") return named(sp::KeyKind::Delete);
    if (label == L"Enter") return named(sp::KeyKind::Enter);
    if (label == L"Shift") return named(sp::KeyKind::Shift);
    if (label == L"abc" || label == L"123") return named(sp::KeyKind::Page);
    const wchar_t c = label.empty() ? L'\0' : label[0];
    const bool letter = std::iswalpha(static_cast<wint_t>(c)) != 0;
    return {letter ? sp::KeyKind::Letter : sp::KeyKind::Symbol,
            0,
            0,
            1,
            utf8(label),
            static_cast<char32_t>(letter ? std::towlower(static_cast<wint_t>(c)) : c)};
}

} // namespace

SeenTypist::SeenTypist(unsigned seed) : typist_(std::make_unique<Typist>(seed)) {}
SeenTypist::~SeenTypist() = default;

double SeenTypist::reactionMs() { return typist_->reactionMs(); }

int SeenTypist::wanted(const std::vector<SeenKey>& keys, const std::u32string& typed,
                       const std::u32string& target, bool predictedSpace) {
    std::vector<sp::Key> known;
    for (const SeenKey& k : keys) known.push_back(keyOf(k));
    return Typist::wanted(known, typed, target, predictedSpace);
}

} // namespace bench
