// Numbers in a picture are written one way on every build (natively, and under Node with another
// C++ library), so that the same picture is the same bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "simhost/app/svg_writer.h"
#include "tests/support/row_name.h"

namespace {

struct NumberCase {
    double value;
    const char* text;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.value; }

class SvgNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SvgNumber, HasAtMostTwoDecimalsAndNoTrailingZeros) {
    EXPECT_EQ(simhost::SvgWriter::Number(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, SvgNumber,
                         ::testing::Values(NumberCase{0.0, "0"}, NumberCase{-0.0, "0"},
                                           NumberCase{-0.001, "0"}, NumberCase{0.004, "0"},
                                           NumberCase{2.0, "2"}, NumberCase{-3.0, "-3"},
                                           NumberCase{1.5, "1.5"}, NumberCase{0.1, "0.1"},
                                           NumberCase{-0.07, "-0.07"}, NumberCase{12.3449, "12.34"},
                                           NumberCase{12.3451, "12.35"}, NumberCase{19.999, "20"},
                                           NumberCase{-3.25, "-3.25"}, NumberCase{100.07, "100.07"},
                                           NumberCase{1234567.891, "1234567.89"},
                                           NumberCase{-98765.4, "-98765.4"}),
                         quortest::RowName{});

TEST(SvgNumber, WhatNoDrawingReachesReadsZero) {
    EXPECT_EQ(simhost::SvgWriter::Number(1e20), "0");
    EXPECT_EQ(simhost::SvgWriter::Number(-1e20), "0");
    EXPECT_EQ(simhost::SvgWriter::Number(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(simhost::SvgWriter::Number(std::nan("")), "0");
}

}  // namespace
