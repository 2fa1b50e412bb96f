// NX_LoadEData answering success with more or fewer bytes than the capacity it was given. A
// report is never trusted past the buffer: no save sends more than the record's own size. A
// report short of the record's size means the rest was never given: settings or widths read
// that way could not be put back, so the run is cancelled with a warning before it writes them.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "framework/data/allotment.h"
#include "framework/data/measure.h"
#include "framework/data/music_spacing_prefs.h"
#include "host/services/nx_services.h"
#include "tests/hostile/hostile_fixture.h"
#include "tests/support/row_name.h"

namespace hostile {
namespace {

using Report = std::int32_t (*)(std::int32_t capacity);

struct SizeCase {
    const char* name;
    Report report;
    std::optional<std::uint32_t> onlyTag;  // the loads of this tag alone report so
    bool fromCommand;                      // only once the respacing command has run
    Outcome expected;
};

void PrintTo(const SizeCase& testCase, std::ostream* os) { *os << testCase.name; }

constexpr Outcome kStands{0, 1, false, true, true};
constexpr Outcome kCancelled{1, 0, false, true, true};

const SizeCase kSizeCases[] = {
    {"OneMoreThanTheCapacity", [](std::int32_t c) { return c + 1; }, {}, false, kStands},
    {"Int32Max", [](std::int32_t) { return INT_MAX; }, {}, false, kStands},
    {"Zero", [](std::int32_t) { return 0; }, {}, false, kCancelled},
    {"MinusOne", [](std::int32_t) { return -1; }, {}, false, kCancelled},
    {"Int32Min", [](std::int32_t) { return INT_MIN; }, {}, false, kCancelled},
    {"OneByte", [](std::int32_t) { return 1; }, {}, false, kCancelled},
    // One kind of record at a time, half of it.
    {"ShortAllotments", [](std::int32_t c) { return c / 2; }, kTagAllotment, false, kCancelled},
    {"ShortPreferenceBlocks", [](std::int32_t c) { return c / 2; }, kTagSpacingExtrasA, false,
     kCancelled},
    // A host that gives the 26-byte layout of older hosts for the 30 bytes asked.
    {"ShortMeasures", [](std::int32_t) { return 26; }, kTagMeasure, false, kCancelled},
    // Extra values read short are neither used nor written: the record keeps its own.
    {"ShortExtraRecord", [](std::int32_t c) { return c / 2; }, kTagSpacingExtrasB, false, kStands},
    // A measure read short on the way back is not written, so its barline moved.
    {"ShortMeasuresAfterTheRespacing", [](std::int32_t) { return 2; }, kTagMeasure, true,
     kCancelled},
    // Found short, the respacing's rows are still deleted.
    {"ShortAllotmentsAfterTheRespacing", [](std::int32_t) { return 2; }, kTagAllotment, true,
     kStands},
};

class LoadSizes : public HostileTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(LoadSizes, ARunStandsOnlyOnRecordsTheHostGaveWhole) {
    const SizeCase& c = GetParam();
    const Records before = AllRecords();
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    const auto bend = [this, &c] {
        faults.reportSize = [&c](std::uint32_t tag, std::int32_t capacity, std::int32_t filled) {
            return !c.onlyTag || tag == *c.onlyTag ? c.report(capacity) : filled;
        };
    };
    if (c.fromCommand) {
        faults.onCall = [&bend](nx::Service service, std::uint32_t) {
            if (service == nx::Service::ExecuteMenuItem) bend();
        };
    } else {
        bend();
    }
    Invoke();
    ASSERT_TRUE(Apply(kTightAllotmentRow));

    EXPECT_EQ(Observe(settings, widths), c.expected);
    EXPECT_EQ(host.RespaceCount(), c.expected.undoSteps == 1 || c.fromCommand ? 1 : 0);
    for (const simhost::ServiceCall& call : layer.Services().Journal().Calls()) {
        if (call.service != "NX_SaveEData") continue;
        const std::int64_t tag = call.args[0];
        const std::int64_t size = call.args[3];
        EXPECT_EQ(size, tag == kTagMeasure ? 30 : 12) << std::hex << tag;
    }
    faults.reportSize = nullptr;
    EXPECT_TRUE(UndoAllGivesBack(before));
}

INSTANTIATE_TEST_SUITE_P(Hostile, LoadSizes, ::testing::ValuesIn(kSizeCases), quortest::RowName{});

}  // namespace
}  // namespace hostile
