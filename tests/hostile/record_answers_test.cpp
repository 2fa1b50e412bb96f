// Record services that answer 0 where they did the work, or success where they did nothing.
// Whatever they answer, a run stays one undoable step of the host, the user hears no warning
// (the run itself did not fail) and undo gives back every record byte for byte.
#include <gtest/gtest.h>

#include "host/nx_services.h"
#include "tests/hostile/hostile_fixture.h"

namespace hostile {
namespace {

struct RecordCase {
    const char* name;
    Answer HostileHost::*service;
    Answer answer;
    Outcome expected;
};

void PrintTo(const RecordCase& testCase, std::ostream* os) { *os << testCase.name; }

// Apply Spacing with "Tight Allotment" and Fixed Barlines ticked.
const RecordCase kRecordCases[] = {
    {"Honest", &HostileHost::loads, Answer::Honest, {0, 1, false, true, true}},
    // Nothing to snapshot: the task's rows and blank preferences stay, the widths respaced.
    {"LoadsRefused", &HostileHost::loads, Answer::Refuse, {0, 1, false, false, false}},
    {"LoadsDoneButDenied", &HostileHost::loads, Answer::DenyDone, {0, 1, false, false, false}},
    // Every probe "finds" a record of zeros: the walk still ends, at the last item number.
    {"LoadsClaimedWithoutData",
     &HostileHost::loads,
     Answer::ClaimOnly,
     {0, 1, false, false, false}},
    // The deletions go through, the saves do not: the allotments are gone until undone.
    {"SavesRefused", &HostileHost::saves, Answer::Refuse, {0, 1, false, false, false}},
    {"SavesClaimedWithoutWriting",
     &HostileHost::saves,
     Answer::ClaimOnly,
     {0, 1, false, false, false}},
    // The restore stops at the first denied save; the widths are written all the same.
    {"SavesDoneButDenied", &HostileHost::saves, Answer::DenyDone, {0, 1, false, false, true}},
    // The task's rows stay beside the restored allotments.
    {"DeletesRefused", &HostileHost::deletes, Answer::Refuse, {0, 1, false, false, true}},
    {"DeletesClaimedWithoutDeleting",
     &HostileHost::deletes,
     Answer::ClaimOnly,
     {0, 1, false, false, true}},
    {"DeletesDoneButDenied", &HostileHost::deletes, Answer::DenyDone, {0, 1, false, true, true}},
};

class RecordAnswers : public HostileTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordAnswers, ApplyRunStaysOneUndoableStepWhateverTheRecordServicesAnswer) {
    const RecordCase& c = GetParam();
    const Records before = AllRecords();
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    host.*c.service = c.answer;
    Invoke();
    ASSERT_TRUE(Apply(kTightAllotmentRow));
    EXPECT_EQ(Observe(settings, widths), c.expected);
    EXPECT_EQ(CallsTo("NX_RedrawMusic"), 1u);
    EXPECT_EQ(nx::EditDepth(), 0);
    EXPECT_FALSE(HostEditOpen());
    host.*c.service = Answer::Honest;
    EXPECT_TRUE(UndoAllGivesBack(before));
}

TEST_P(RecordAnswers, SetAsDefaultStaysOneUndoableStepWhateverTheRecordServicesAnswer) {
    const RecordCase& c = GetParam();
    const Records before = AllRecords();
    const Widths widths = MeasureWidths();
    host.*c.service = c.answer;
    Invoke();
    ASSERT_TRUE(SetAsDefault(kGoldenRatioScalingRow));
    EXPECT_EQ(dialogs.Beeps().size(), 0u);
    EXPECT_EQ(host.GetDocument().History().UndoSteps().size(), 1u);
    // A default run respaces nothing.
    EXPECT_EQ(MeasureWidths(), widths);
    EXPECT_EQ(CallsTo("NX_ExecuteMenuItem"), 0u);
    host.*c.service = Answer::Honest;
    EXPECT_TRUE(UndoAllGivesBack(before));
}

INSTANTIATE_TEST_SUITE_P(Hostile, RecordAnswers, ::testing::ValuesIn(kRecordCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace hostile
