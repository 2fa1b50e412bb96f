// NX_GetCurERegions answering measure numbers that are negative, reversed, 0 or 32767, or a
// different selection on each call. An empty answer stops the run before any edit; any other
// runs, and Fixed Barlines puts back exactly the measures of the answer that exist.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "host/services/nx_services.h"
#include "tests/hostile/hostile_fixture.h"
#include "tests/support/row_name.h"

namespace hostile {
namespace {

NXRegionRecord Region(std::int16_t start, std::int16_t end) {
    NXRegionRecord region{};
    region.startSlot = 1;
    region.startSlotKey = 1;
    region.endSlot = 1;
    region.endSlotKey = 1;
    region.startMeasure = start;
    region.endMeasure = end;
    return region;
}

struct RegionCase {
    const char* name;
    std::vector<NXRegionRecord> answers;  // one per call, the last repeating
    bool runs;
    std::set<std::int16_t> widthsKept;
};

void PrintTo(const RegionCase& testCase, std::ostream* os) { *os << testCase.name; }

const RegionCase kRegionCases[] = {
    {"Empty", {Region(0, 0)}, false, {1, 2, 3, 4}},
    {"Negative", {Region(-5, -1)}, true, {}},
    {"Reversed", {Region(3, 2)}, true, {}},
    {"EndBeforeAnEmptyEnd", {Region(2, 0)}, true, {}},
    {"FromZero", {Region(0, 2)}, true, {1, 2}},
    {"UpTo32767", {Region(0, 32767)}, true, {1, 2, 3, 4}},
    {"EveryMeasureNumber", {Region(-32768, 32767)}, true, {1, 2, 3, 4}},
    {"Only32767", {Region(32767, 32767)}, true, {}},
    // The window sees a selection, the run then captures none.
    {"GoneByTheRun", {Region(1, 4), Region(0, 0)}, true, {}},
    {"AppearsAfterTheCheck", {Region(0, 0), Region(1, 4)}, false, {1, 2, 3, 4}},
};

class RegionAnswers : public HostileTest, public ::testing::WithParamInterface<RegionCase> {};

// Without this, "kept" below would say nothing.
TEST_F(HostileTest, RespacingWithoutFixedBarlinesChangesTheWidthOfEveryMeasure) {
    const Widths before = MeasureWidths();
    Invoke();
    ASSERT_TRUE(Apply(kTightAllotmentRow, false));
    const Widths after = MeasureWidths();
    ASSERT_EQ(after.size(), 4u);
    for (const auto& [measure, width] : after) EXPECT_NE(width, before.at(measure)) << measure;
}

TEST_P(RegionAnswers, FixedBarlinesKeepsExactlyTheMeasuresOfTheAnswerThatExist) {
    const RegionCase& c = GetParam();
    const Records before = AllRecords();
    const Widths widths = MeasureWidths();
    faults.regions = c.answers;
    Invoke();
    ASSERT_TRUE(Apply(kTightAllotmentRow));

    EXPECT_EQ(dialogs.Beeps().size(), c.runs ? 0u : 1u);
    EXPECT_EQ(CallsTo("NX_StartNotavoEdit_UTF16"), c.runs ? 1u : 0u);
    EXPECT_EQ(CallsTo("NX_RedrawMusic"), c.runs ? 1u : 0u);
    EXPECT_EQ(nx::EditDepth(), 0);
    if (!c.runs) {
        EXPECT_EQ(AllRecords(), before);
        return;
    }
    std::set<std::int16_t> kept;
    for (const auto& [measure, width] : MeasureWidths()) {
        if (width == widths.at(measure)) kept.insert(measure);
    }
    EXPECT_EQ(kept, c.widthsKept);
    EXPECT_TRUE(UndoAllGivesBack(before));
}

INSTANTIATE_TEST_SUITE_P(Hostile, RegionAnswers, ::testing::ValuesIn(kRegionCases),
                         quortest::RowName{});

}  // namespace
}  // namespace hostile
