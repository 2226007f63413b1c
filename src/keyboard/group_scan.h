// The keyboard's group scan: the keys stay where they are, and the highlight
// shows groups of them, split as a Huffman code splits its symbols so that
// each step halves what is likely. A press takes the lit group and splits it
// again; a scan period without one takes the other group; one key left is
// typed. The caller owns the clock: it calls timeout() when a period passes.
#pragma once

#include <vector>

namespace sp {

class GroupScan {
public:
    // likelihoods: one per key, in the keyboard's order. loops: whole passes
    // without a press before the scan comes to rest; 0, never.
    void start(const std::vector<double>& likelihoods, int loops = 0);
    // The keys lit now, in the keyboard's order; none at rest or once a key is chosen.
    const std::vector<int>& lit() const { return lit_; }
    void press();
    void timeout();
    // The key chosen, or -1 while none is.
    int chosen() const { return chosen_; }
    bool resting() const { return resting_; }

private:
    struct Node {
        double weight;
        int key;   // a single key, or -1 for a group
        int lit;   // the heavier half, lit first
        int other; // the half a period without a press takes
        std::vector<int> keys;
    };
    void moveTo(int node);
    void endPass();

    std::vector<Node> nodes_;
    std::vector<int> lit_;
    int root_ = -1;
    int node_ = -1;
    int loops_ = 0;
    int passes_ = 0;
    bool pressed_ = false;
    bool resting_ = false;
    int chosen_ = -1;
};

} // namespace sp
