// Readable names for parameterised cases, in the test list and in failures.
#pragma once

#include <string>

#include <gtest/gtest.h>

namespace sp {

// Names each case of a parameterised suite after the case's own `name`. A
// PrintTo beside the case type keeps gtest from printing it as bytes.
struct CaseName {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

} // namespace sp
