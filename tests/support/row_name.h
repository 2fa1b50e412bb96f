// Rows of a parameterised test name the tests made from them. Each row type has a PrintTo that
// says which row it is (its name, or its values); RowName turns that into the test's name, so
// that a failure, `--gtest_list_tests` and `--gtest_filter` all read the same words, and never
// a row's bytes, which hold pointers and change from run to run.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace quortest {

// A name GoogleTest accepts: letters and digits kept, each run of anything else one underscore,
// none at either end, and a minus sign before a number spelt out: "key -7" is "key_minus_7".
std::string TestName(std::string_view text);

// A 32-bit value as the host's headers write versions and tags: 0x12050000.
std::string Hex(std::uint32_t value);

// The name generator for INSTANTIATE_TEST_SUITE_P.
struct RowName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return TestName(::testing::PrintToString(info.param));
    }
};

}  // namespace quortest
