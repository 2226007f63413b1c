#include "keyboard/group_scan.h"

#include <algorithm>
#include <iterator>

namespace sp {
namespace {

// A key the model all but rules out must stay within reach: the user may be
// typing a word it does not know.
constexpr double LEAST_LIKELIHOOD = 1e-6;

} // namespace

void GroupScan::start(const std::vector<double>& likelihoods, int loops) {
    nodes_.clear();
    std::vector<int> open;
    for (int key = 0; key < static_cast<int>(likelihoods.size()); ++key) {
        nodes_.push_back({std::max(likelihoods[key], LEAST_LIKELIHOOD), key, -1, -1, {key}});
        open.push_back(key);
    }
    // Huffman's construction: the two lightest groups become one, until one is
    // left. Ties go to the group made first, so the same likelihoods always
    // give the same groups.
    const auto lighter = [this](int a, int b) {
        return nodes_[a].weight < nodes_[b].weight || (nodes_[a].weight == nodes_[b].weight && a < b);
    };
    while (open.size() > 1) {
        std::sort(open.begin(), open.end(), lighter);
        const int light = open[0];
        const int heavy = open[1];
        Node parent{nodes_[light].weight + nodes_[heavy].weight, -1, heavy, light, {}};
        std::merge(nodes_[light].keys.begin(), nodes_[light].keys.end(), nodes_[heavy].keys.begin(),
                   nodes_[heavy].keys.end(), std::back_inserter(parent.keys));
        nodes_.push_back(std::move(parent));
        open.erase(open.begin(), open.begin() + 2);
        open.push_back(static_cast<int>(nodes_.size()) - 1);
    }
    root_ = open.empty() ? -1 : open[0];
    loops_ = loops;
    passes_ = 0;
    resting_ = false;
    chosen_ = -1;
    pressed_ = false;
    moveTo(root_);
}

// Before the first press of a pass, the key that periods without a press
// reach is only lit: the user who never presses types nothing.
void GroupScan::moveTo(int node) {
    node_ = node;
    lit_.clear();
    if (node < 0 || resting_) return;
    const Node& at = nodes_[node];
    if (at.key >= 0 && pressed_) {
        chosen_ = at.key;
        return;
    }
    lit_ = at.key >= 0 ? at.keys : nodes_[at.lit].keys;
}

void GroupScan::press() {
    if (node_ < 0 || chosen_ >= 0) return;
    if (resting_) {
        resting_ = false;
        passes_ = 0;
        moveTo(root_);
        return;
    }
    const Node& at = nodes_[node_];
    pressed_ = true;
    moveTo(at.key >= 0 ? node_ : at.lit);
}

void GroupScan::timeout() {
    if (node_ < 0 || chosen_ >= 0 || resting_) return;
    const Node& at = nodes_[node_];
    if (at.key >= 0)
        endPass();
    else
        moveTo(at.other);
}

void GroupScan::endPass() {
    ++passes_;
    pressed_ = false;
    resting_ = loops_ > 0 && passes_ >= loops_;
    moveTo(root_);
}

} // namespace sp
