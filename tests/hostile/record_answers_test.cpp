// Record services that answer 0 where they did the work, or success where they did nothing.
// Whatever they answer, the edit depth comes back to 0 and undo gives back every record byte
// for byte. A run that could not read the settings it must keep, or could not delete or write
// what it set out to, is no success: the user hears the warning, the edit is cancelled and the
// document stays as it was. What a host claims without doing cannot be told from the truth.
#include <gtest/gtest.h>

#include "host/services/nx_services.h"
#include "tests/hostile/hostile_fixture.h"
#include "tests/support/row_name.h"

namespace hostile {
namespace {

// Apply Spacing with "Tight Allotment" and Fixed Barlines ticked, Set as Default with "Golden
// Ratio Scaling", and Set as Default with "Tight Allotment".
struct RecordCase {
    const char* name;
    Answer FaultLayer::*service;
    Answer answer;
    Outcome apply;
    Outcome byDefault;
    Outcome tableByDefault;
};

void PrintTo(const RecordCase& testCase, std::ostream* os) { *os << testCase.name; }

// A run that fails: a warning, nothing kept.
constexpr Outcome kCancelled{1, 0, false, true, true};
// A default run that stands: one step, the settings now the task's.
constexpr Outcome kDefaultStands{0, 1, false, false, true};

const RecordCase kRecordCases[] = {
    {"Honest",
     &FaultLayer::loads,
     Answer::Honest,
     {0, 1, false, true, true},
     kDefaultStands,
     kDefaultStands},
    // The preferences cannot be read, so there is nothing sound to put back.
    {"LoadsRefused", &FaultLayer::loads, Answer::Refuse, kCancelled, kCancelled, kCancelled},
    {"LoadsDoneButDenied", &FaultLayer::loads, Answer::DenyDone, kCancelled, kCancelled,
     kCancelled},
    // Every probe "finds" a record: the walk still ends, at the last item number, and the host
    // then refuses to delete the records it never had.
    {"LoadsClaimedWithoutData", &FaultLayer::loads, Answer::ClaimOnly, kCancelled, kDefaultStands,
     kCancelled},
    // The task's rows are refused after the old ones were deleted.
    {"SavesRefused", &FaultLayer::saves, Answer::Refuse, kCancelled, kCancelled, kCancelled},
    {"SavesClaimedWithoutWriting",
     &FaultLayer::saves,
     Answer::ClaimOnly,
     {0, 1, false, false, false},
     {0, 1, false, true, true},
     kDefaultStands},
    {"SavesDoneButDenied", &FaultLayer::saves, Answer::DenyDone, kCancelled, kCancelled,
     kCancelled},
    // The old rows would stand beside the task's; a scaling task deletes nothing.
    {"DeletesRefused", &FaultLayer::deletes, Answer::Refuse, kCancelled, kDefaultStands,
     kCancelled},
    {"DeletesClaimedWithoutDeleting",
     &FaultLayer::deletes,
     Answer::ClaimOnly,
     {0, 1, false, false, true},
     kDefaultStands,
     kDefaultStands},
    {"DeletesDoneButDenied", &FaultLayer::deletes, Answer::DenyDone, kCancelled, kDefaultStands,
     kCancelled},
};

class RecordAnswers : public HostileTest, public ::testing::WithParamInterface<RecordCase> {
protected:
    // Clicks with the case's answer in place, then checks what the user and the document show
    // and what every run shares.
    template <typename Click>
    void ExpectRun(Click&& click, const Outcome& expected) {
        const Records before = AllRecords();
        const Records settings = Settings();
        const Widths widths = MeasureWidths();
        // A host claiming every load makes the scans walk every item number; nothing here reads
        // the journal, which would keep each call.
        layer.Services().Journal().SetEnabled(false);
        faults.*GetParam().service = GetParam().answer;
        Invoke();
        ASSERT_TRUE(click());
        EXPECT_EQ(Observe(settings, widths), expected);
        EXPECT_EQ(nx::EditDepth(), 0);
        EXPECT_FALSE(HostEditOpen());
        // Only a run that stands is redrawn; a cancelled one leaves the document as it was.
        EXPECT_EQ(host.RedrawCount(), expected.undoSteps == 1 ? 1 : 0);
        if (expected.undoSteps == 0) {
            EXPECT_EQ(AllRecords(), before);
        }
        faults.*GetParam().service = Answer::Honest;
        EXPECT_TRUE(UndoAllGivesBack(before));
    }
};

TEST_P(RecordAnswers, ApplyRunStandsOnlyWhenTheSettingsWentBack) {
    ExpectRun([this] { return Apply(kTightAllotmentRow); }, GetParam().apply);
}

TEST_P(RecordAnswers, SetAsDefaultStandsOnlyWhenTheTaskWasWritten) {
    ExpectRun([this] { return SetAsDefault(kGoldenRatioScalingRow); }, GetParam().byDefault);
    // A default run respaces nothing.
    EXPECT_EQ(faults.CallsTo(nx::Service::ExecuteMenuItem), 0u);
}

TEST_P(RecordAnswers, SetAsDefaultWithATableStandsOnlyWhenTheTableWasWritten) {
    ExpectRun([this] { return SetAsDefault(kTightAllotmentRow); }, GetParam().tableByDefault);
}

INSTANTIATE_TEST_SUITE_P(Hostile, RecordAnswers, ::testing::ValuesIn(kRecordCases),
                         quortest::RowName{});

}  // namespace
}  // namespace hostile
