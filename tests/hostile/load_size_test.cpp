// NX_LoadEData reporting more or fewer bytes than the capacity it was given. A report is never
// trusted past the buffer: no save sends more than the record's own size, whatever came back.
#include <gtest/gtest.h>

#include <climits>

#include "framework/data/allotment.h"
#include "framework/data/measure.h"
#include "host/services/nx_services.h"
#include "tests/hostile/hostile_fixture.h"

namespace hostile {
namespace {

struct SizeCase {
    const char* name;
    std::int32_t (*report)(std::int32_t capacity, std::int32_t filled);
    bool settingsKept;
    bool widthsKept;
};

void PrintTo(const SizeCase& testCase, std::ostream* os) { *os << testCase.name; }

const SizeCase kSizeCases[] = {
    {"OneMoreThanTheCapacity", [](std::int32_t c, std::int32_t) { return c + 1; }, true, true},
    {"Int32Max", [](std::int32_t, std::int32_t) { return INT_MAX; }, true, true},
    // Nothing delivered: the measures cannot be written back, and the preference blocks read
    // as the zeros of a fresh buffer, which the restore then writes.
    {"Zero", [](std::int32_t, std::int32_t) { return 0; }, false, false},
    {"MinusOne", [](std::int32_t, std::int32_t) { return -1; }, false, false},
    {"Int32Min", [](std::int32_t, std::int32_t) { return INT_MIN; }, false, false},
    // One byte: only the width's low byte goes back.
    {"OneByte", [](std::int32_t, std::int32_t) { return 1; }, false, false},
};

class LoadSizes : public HostileTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(LoadSizes, NoSaveSendsMoreThanTheRecordHoldsWhateverSizeTheLoadsReport) {
    const SizeCase& c = GetParam();
    const Records before = AllRecords();
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    host.reportSize = c.report;
    Invoke();
    ASSERT_TRUE(Apply(kTightAllotmentRow));

    const Outcome outcome = Observe(settings, widths);
    EXPECT_EQ(outcome.beeps, 0u);
    EXPECT_EQ(outcome.settingsKept, c.settingsKept);
    EXPECT_EQ(outcome.widthsKept, c.widthsKept);
    std::size_t saves = 0;
    for (const simhost::ServiceCall& call : layer.Services().Journal().Calls()) {
        if (call.service != "NX_SaveEData") continue;
        ++saves;
        const std::int64_t tag = call.args[0];
        const std::int64_t size = call.args[3];
        EXPECT_GE(size, 1);
        EXPECT_LE(size, tag == kTagMeasure ? 30 : 12) << std::hex << tag;
    }
    EXPECT_GT(saves, 0u);
    EXPECT_TRUE(UndoAllGivesBack(before));
}

INSTANTIATE_TEST_SUITE_P(Hostile, LoadSizes, ::testing::ValuesIn(kSizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace hostile
