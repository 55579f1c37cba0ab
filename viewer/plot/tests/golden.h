// Comparison of a recording with a golden file in golden/ beside this file. With UPDATE_GOLDEN=1
// in the environment a differing file is rewritten instead (then review it line by line).
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace plot_test {

::testing::AssertionResult matches_golden(const std::string &name, const std::string &recording);

} // namespace plot_test
