// Path data as the pictures write it: one way for every number, so that pictures stay the
// same bytes.
#include "simhost/app/svg_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using simhost::SvgPath;

struct PathCase {
    SvgPath path;
    const char* data;
};

TEST(SvgPath, WritesEachCommandWithItsPointsAfterItsLetter) {
    const PathCase cases[] = {
        {SvgPath(), ""},
        {SvgPath().MoveTo(4, 5).LineBy(5, -7).Close(), "M4,5 l5,-7 Z"},
        {SvgPath().MoveTo(0, 0).CurveTo(1, 2, 3, 4, 5, 6), "M0,0 C1,2 3,4 5,6"},
        {SvgPath().MoveTo(0, 0).CurveBy(0, 2.5, -1, 3, 6, 15), "M0,0 c0,2.5 -1,3 6,15"},
        {SvgPath().MoveTo(0, 0).QuadraticBy(3, 2, 6, -1), "M0,0 q3,2 6,-1"},
        {SvgPath().MoveTo(1, 1).ArcTo(6.5, 4.6, -20, true, true, 2, 2),
         "M1,1 A6.5,4.6 -20 1 1 2,2"},
        {SvgPath().MoveTo(1, 1).ArcTo(3, 2, 0, false, true, 2, 2).ArcTo(3, 2, 0, true, false, 1, 1),
         "M1,1 A3,2 0 0 1 2,2 A3,2 0 1 0 1,1"},
    };
    for (const PathCase& c : cases) EXPECT_EQ(c.path.Data(), c.data);
}

TEST(SvgPath, WritesNumbersToHundredthsWithoutNegativeZero) {
    EXPECT_EQ(SvgPath().MoveTo(1.0 / 3, -0.001).LineBy(2.006, 12.50).Data(), "M0.33,0 l2.01,12.5");
}

}  // namespace
