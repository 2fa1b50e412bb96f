// How wide a note is: the allotment table with its interpolation and ends, scaling from a
// reference note, and where the preferences are read from.
#include "simhost/document/note_widths.h"

#include <gtest/gtest.h>

#include <cmath>

#include "simhost/document/document_builder.h"
#include "tests/support/row_name.h"

namespace {

using simhost::AllotmentTable;
using simhost::DocumentBuilder;
using simhost::NoteWidths;
using simhost::Rational;
using simhost::SpacingPreferences;

struct WidthCase {
    Rational duration;
    double width;
};

void PrintTo(const WidthCase& c, std::ostream* os) {
    *os << "duration " << c.duration.Num() << '/' << c.duration.Den();
}

class AllotmentWidths : public ::testing::TestWithParam<WidthCase> {};

TEST_P(AllotmentWidths, InterpolatesBetweenRowsAndHoldsOrExtendsPastTheEnds) {
    const AllotmentTable table({{2048, 120}, {256, 42}, {512, 59}, {1024, 84}});
    EXPECT_NEAR(table.WidthOf(GetParam().duration.ToDouble()), GetParam().width, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Tight, AllotmentWidths,
                         ::testing::Values(WidthCase{128, 42},    // below the first row
                                           WidthCase{256, 42},    // on a row
                                           WidthCase{384, 50.5},  // halfway
                                           WidthCase{Rational(1024, 3),
                                                     42 + 17 / 3.0},  // a triplet eighth
                                           WidthCase{1536, 102},      // dotted quarter
                                           WidthCase{2048, 120},      // the last row
                                           WidthCase{4096, 192}),
                         quortest::RowName{});  // the last line, extended

TEST(AllotmentTable, ALastSegmentThatFallsNeverGoesBelowTheLastWidth) {
    const AllotmentTable table({{1024, 84}, {2048, 80}});
    EXPECT_DOUBLE_EQ(table.WidthOf(8192), 80);
    const AllotmentTable single({{1024, 84}});
    EXPECT_DOUBLE_EQ(single.WidthOf(64), 84);
    EXPECT_DOUBLE_EQ(single.WidthOf(8192), 84);
}

struct ScalingCase {
    std::int32_t factor;
    std::int16_t referenceWidth;
    std::int32_t duration;
    double width;
};

void PrintTo(const ScalingCase& c, std::ostream* os) {
    *os << "factor " << c.factor << " width " << c.referenceWidth << " duration " << c.duration;
}

class ScaledWidths : public ::testing::TestWithParam<ScalingCase> {};

TEST_P(ScaledWidths, FollowTheRatioPerDoublingOfTheReferenceDuration) {
    const ScalingCase& c = GetParam();
    const NoteWidths widths(SpacingPreferences{false, 1024, c.referenceWidth, c.factor}, {});
    EXPECT_NEAR(widths.WidthOf(c.duration), c.width, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Tasks, ScaledWidths,
    ::testing::Values(ScalingCase{16180, 84, 1024, 84}, ScalingCase{16180, 84, 2048, 84 * 1.618},
                      ScalingCase{16180, 84, 512, 84 / 1.618},
                      ScalingCase{14142, 84, 4096, 84 * 1.4142 * 1.4142},
                      ScalingCase{13500, 72, 768, 72 * std::pow(1.35, std::log2(0.75))},
                      ScalingCase{10000, 72, 128, 72}, ScalingCase{0, 72, 4096, 72}),
    quortest::RowName{});  // no ratio: 1

TEST(SpacingPreferences, AreReadFromTheThreePreferenceBlocks) {
    // The factor's low word ends block 1, its high word starts block 2.
    std::array<std::uint8_t, 36> bytes{};
    bytes[12] = 1;                       // allotment flag
    bytes[14] = 0x00, bytes[15] = 0x02;  // reference duration 512
    bytes[18] = 60;                      // reference width
    bytes[22] = 0x34, bytes[23] = 0x12, bytes[24] = 0x01, bytes[25] = 0x00;
    const auto document = DocumentBuilder().withPreferenceBytes(bytes).Build();

    const SpacingPreferences read = SpacingPreferences::Read(document.Records());
    EXPECT_TRUE(read.byAllotments);
    EXPECT_EQ(read.referenceDuration, 512);
    EXPECT_EQ(read.referenceWidth, 60);
    EXPECT_EQ(read.scalingFactor, 0x00011234);
}

TEST(NoteWidths, TheAllotmentFlagWithoutAnyAllotmentFallsBackToScaling) {
    std::array<std::uint8_t, 36> bytes{};
    SpacingPreferences{true, 1024, 72, 20000}.WriteInto(bytes);
    const auto document = DocumentBuilder().withPreferenceBytes(bytes).Build();
    const NoteWidths widths = NoteWidths::FromRecords(document.Records());
    EXPECT_FALSE(widths.ByAllotments());
    EXPECT_DOUBLE_EQ(widths.WidthOf(2048), 144);
}

TEST(NoteWidths, TheFlagChoosesBetweenTheTableAndScaling) {
    const auto byTable = DocumentBuilder().withAllotments({{1024, 90}}).Build();
    const auto byScaling =
        DocumentBuilder().withAllotments({{1024, 90}}).withScaling(10000, 50).Build();
    EXPECT_DOUBLE_EQ(NoteWidths::FromRecords(byTable.Records()).WidthOf(1024), 90);
    EXPECT_DOUBLE_EQ(NoteWidths::FromRecords(byScaling.Records()).WidthOf(1024), 50);
}

}  // namespace
