// A simulated one-switch user typing on the keyboard: the one the pointing
// benchmark uses. It reacts to each new highlight after Normal(350 ms, 60 ms)
// and presses when the key it wants is lit; a press that lands after the
// highlight has moved on takes whatever is lit then. It mends a wrong
// character with Delete at once, and takes a predicted word when the word it
// wants is shown. The simulated run and the real-exe run both ask it.
#pragma once

#include "keyboard/layout.h"
#include "settings/text_file.h"

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

class Typist {
public:
    explicit Typist(unsigned seed) : random_(seed) {}

    // Milliseconds from a highlight showing to the press landing.
    double reactionMs() { return std::max(reaction_(random_), 50.0); }

    // The key the user wants next among `keys`, given the text so far and
    // the text wanted; -1 once they are the same. predictedSpace: the last
    // thing typed is the space a predicted word brought, which Enter or a
    // mark after the word takes back.
    static int wanted(const std::vector<sp::Key>& keys, const std::u32string& typed,
                      const std::u32string& target, bool predictedSpace) {
        std::size_t same = 0;
        while (same < typed.size() && same < target.size() && typed[same] == target[same]) ++same;
        if (same + 1 == typed.size() && predictedSpace && same < target.size() &&
            std::u32string_view(U"\n.,?!").find(target[same]) != std::u32string_view::npos)
            return keyFor(keys, target[same]);
        if (same < typed.size()) return find(keys, sp::KeyKind::Delete);
        if (same == target.size()) return -1;
        const std::size_t wordStart = typed.find_last_of(U" \n") + 1; // npos + 1 is 0
        for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
            const std::u32string word = sp::fromUtf8(keys[i].label);
            const std::size_t end = wordStart + word.size();
            if (keys[i].kind == sp::KeyKind::Prediction && !word.empty() && end <= target.size() &&
                target.compare(wordStart, word.size(), word) == 0 &&
                (end == target.size() ||
                 std::u32string_view(U" \n.,?!").find(target[end]) != std::u32string_view::npos))
                return i;
        }
        return keyFor(keys, target[same]);
    }

    // Whether the user, seeing `lit`, presses.
    static bool presses(const std::vector<sp::Key>& keys, const std::vector<int>& lit,
                        const std::u32string& typed, const std::u32string& target, bool predictedSpace) {
        const int key = wanted(keys, typed, target, predictedSpace);
        return key >= 0 && std::find(lit.begin(), lit.end(), key) != lit.end();
    }

private:
    // The key that types `c`, or the page key to look for it on the other page.
    static int keyFor(const std::vector<sp::Key>& keys, char32_t c) {
        if (c == U'\n') return find(keys, sp::KeyKind::Enter);
        if (c == U' ') return find(keys, sp::KeyKind::Space);
        for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
            const bool typesIt = keys[i].kind == sp::KeyKind::Letter || keys[i].kind == sp::KeyKind::Symbol;
            if (typesIt && keys[i].ch == lower(c)) return i;
        }
        return find(keys, sp::KeyKind::Page);
    }
    static int find(const std::vector<sp::Key>& keys, sp::KeyKind kind) {
        for (int i = 0; i < static_cast<int>(keys.size()); ++i)
            if (keys[i].kind == kind) return i;
        return -1;
    }
    static char32_t lower(char32_t c) {
        return (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 32 : c;
    }

    std::mt19937 random_;
    std::normal_distribution<double> reaction_{350.0, 60.0};
};

} // namespace bench
