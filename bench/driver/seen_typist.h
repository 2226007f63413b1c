// The simulated user of typist.h for a driver that knows the keyboard only
// as it shows on the screen: labelled child windows, some of them lit. Kept
// apart because the product's own headers and the driver's share a namespace.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace bench {

class Typist;

struct SeenKey {
    std::wstring label;
    bool topRow; // the predictions' row, with Close
};

class SeenTypist {
public:
    explicit SeenTypist(unsigned seed);
    ~SeenTypist();
    SeenTypist(const SeenTypist&) = delete;
    SeenTypist& operator=(const SeenTypist&) = delete;

    double reactionMs();
    // Index into `keys` of the key wanted next, as Typist::wanted; -1 once
    // `typed` is `target`.
    static int wanted(const std::vector<SeenKey>& keys, const std::u32string& typed,
                      const std::u32string& target, bool predictedSpace);

private:
    std::unique_ptr<Typist> typist_;
};

} // namespace bench
