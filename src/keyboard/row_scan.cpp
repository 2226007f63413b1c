#include "keyboard/row_scan.h"

#include <algorithm>
#include <iterator>

namespace sp {

void RowScan::start(const std::vector<std::vector<int>>& rows, int loops) {
    rows_.clear();
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(rows_),
                 [](const std::vector<int>& row) { return !row.empty(); });
    loops_ = loops;
    resting_ = false;
    chosen_ = -1;
    toRows();
}

// The rows start again from the top, and so does the count of passes: the
// user has pressed since.
void RowScan::toRows() {
    row_ = 0;
    key_ = -1;
    passes_ = 0;
    light();
}

void RowScan::light() {
    lit_.clear();
    if (rows_.empty() || resting_ || chosen_ >= 0) return;
    if (key_ < 0)
        lit_ = rows_[row_];
    else
        lit_.push_back(rows_[row_][key_]);
}

void RowScan::press() {
    if (rows_.empty() || chosen_ >= 0) return;
    if (resting_) {
        resting_ = false;
        toRows();
    } else if (key_ < 0) {
        key_ = 0;
        light();
    } else {
        chosen_ = rows_[row_][key_];
        light();
    }
}

void RowScan::timeout() {
    if (rows_.empty() || chosen_ >= 0 || resting_) return;
    if (key_ >= 0) {
        if (++key_ == static_cast<int>(rows_[row_].size()))
            toRows();
        else
            light();
        return;
    }
    if (++row_ == static_cast<int>(rows_.size())) {
        row_ = 0;
        ++passes_;
        resting_ = loops_ > 0 && passes_ >= loops_;
    }
    light();
}

} // namespace sp
