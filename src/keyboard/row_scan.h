// The keyboard's row-column scan: the rows are lit in turn, a press takes
// the lit row, then its keys are lit in turn and a press types the lit key.
// A whole pass over a row's keys without a press goes back to the rows. The
// caller owns the clock, as with GroupScan: timeout() when a period passes.
#pragma once

#include <vector>

namespace sp {

class RowScan {
public:
    // rows: the keys of each row, in the keyboard's order; a row without keys
    // is passed over. loops: whole passes over the rows without a press
    // before the scan comes to rest; 0, never.
    void start(const std::vector<std::vector<int>>& rows, int loops = 0);
    // The keys lit now; none at rest or once a key is chosen.
    const std::vector<int>& lit() const { return lit_; }
    void press();
    void timeout();
    // The key chosen, or -1 while none is.
    int chosen() const { return chosen_; }
    bool resting() const { return resting_; }

private:
    void toRows();
    void light();

    std::vector<std::vector<int>> rows_;
    std::vector<int> lit_;
    int row_ = 0;
    int key_ = -1; // -1 while the rows are lit
    int loops_ = 0;
    int passes_ = 0;
    bool resting_ = false;
    int chosen_ = -1;
};

} // namespace sp
