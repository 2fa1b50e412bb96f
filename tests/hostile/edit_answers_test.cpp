// Edit services that answer the wrong way round. The extension's own count of open edits always
// comes back to 0, the run goes on and the document keeps its settings; where the host's edit
// did not open, the changes land outside any edit.
#include <gtest/gtest.h>

#include "framework/data/allotment.h"
#include "host/services/nx_services.h"
#include "tests/hostile/hostile_fixture.h"
#include "tests/support/row_name.h"
#include "tests/support/task_tables.h"

namespace hostile {
namespace {

struct EditCase {
    const char* name;
    Answer FaultLayer::*service;
    Answer answer;
    Outcome expected;
    bool hostEditLeftOpen;
};

void PrintTo(const EditCase& testCase, std::ostream* os) { *os << testCase.name; }

const EditCase kEditCases[] = {
    {"StartRefused", &FaultLayer::starts, Answer::Refuse, {0, 0, true, true, true}, false},
    // Opened but answered 0: the run still ends the edit it cannot know is open.
    {"StartOpenedButDenied",
     &FaultLayer::starts,
     Answer::DenyDone,
     {0, 1, false, true, true},
     false},
    {"StartClaimedWithoutOpening",
     &FaultLayer::starts,
     Answer::ClaimOnly,
     {0, 0, true, true, true},
     false},
    {"EndRefused", &FaultLayer::ends, Answer::Refuse, {0, 0, false, true, true}, true},
    {"EndClaimedWithoutClosing",
     &FaultLayer::ends,
     Answer::ClaimOnly,
     {0, 0, false, true, true},
     true},
    {"EndClosedButDenied", &FaultLayer::ends, Answer::DenyDone, {0, 1, false, true, true}, false},
};

class EditAnswers : public HostileTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditAnswers, ApplyRunRestoresTheSettingsAndBalancesTheEditDepth) {
    const EditCase& c = GetParam();
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    faults.*c.service = c.answer;
    Invoke();
    ASSERT_TRUE(Apply(kTightAllotmentRow));
    EXPECT_EQ(Observe(settings, widths), c.expected);
    EXPECT_EQ(nx::EditDepth(), 0);
    EXPECT_EQ(HostEditOpen(), c.hostEditLeftOpen);
    EXPECT_EQ(CallsTo("NX_EndNotavoEdit"), 1u);
    EXPECT_EQ(CallsTo("NX_CancelNotavoEdit"), 0u);
    EXPECT_EQ(CallsTo("NX_RedrawMusic"), 1u);

    // A second run on top of whatever the host left behind behaves the same.
    ASSERT_TRUE(Apply(kGoldenRatioScalingRow));
    EXPECT_EQ(nx::EditDepth(), 0);
    EXPECT_EQ(Settings(), settings);
    EXPECT_EQ(dialogs.Beeps().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Hostile, EditAnswers, ::testing::ValuesIn(kEditCases),
                         quortest::RowName{});

// "Tight Allotment" on a host that refuses its third row (duration 128), with the host's edit
// open or refused.
struct RefusedRowCase {
    const char* name;
    bool asDefault;
    Answer starts;
    Outcome expected;
    bool everyOtherRow;  // the document ends with every row of the task but the refused one
};

void PrintTo(const RefusedRowCase& testCase, std::ostream* os) { *os << testCase.name; }

constexpr Outcome kCancelled{1, 0, false, true, true};

const RefusedRowCase kRefusedRowCases[] = {
    // Nothing can roll it back: the user has every row the host took, and hears the warning.
    {"DefaultWithoutAnEdit", true, Answer::Refuse, {1, 0, true, false, true}, true},
    {"DefaultInAnEdit", true, Answer::Honest, kCancelled, false},
    // The rows were only for the respacing, which is skipped; the restore puts the document's
    // own table back.
    {"ApplyWithoutAnEdit", false, Answer::Refuse, {1, 0, true, true, true}, false},
    {"ApplyInAnEdit", false, Answer::Honest, kCancelled, false},
};

class RefusedRow : public HostileTest, public ::testing::WithParamInterface<RefusedRowCase> {};

TEST_P(RefusedRow, LeavesTheUserWithTheDocumentOrEveryRowTheHostTook) {
    const RefusedRowCase& c = GetParam();
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    faults.starts = c.starts;
    faults.refusedSaves = {{kTagAllotment, 128, 0}};
    Invoke();
    ASSERT_TRUE(c.asDefault ? SetAsDefault(kTightAllotmentRow) : Apply(kTightAllotmentRow));
    EXPECT_EQ(Observe(settings, widths), c.expected);
    EXPECT_EQ(host.RespaceCount(), 0);
    EXPECT_EQ(nx::EditDepth(), 0);
    if (c.everyOtherRow) {
        quortest::AllotmentTable rows = quortest::TableOf(quortest::Table::Tight);
        rows.erase(128);
        EXPECT_EQ(AllotmentWidths(), rows);
        // And the preferences after them: the allotment flag, first in the second block.
        const auto& flag = AllRecords().at({MakeTag("ot94"), -2, 1}).bytes;
        EXPECT_EQ(flag.at(0) | (flag.at(1) << 8), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, RefusedRow, ::testing::ValuesIn(kRefusedRowCases),
                         quortest::RowName{});

}  // namespace
}  // namespace hostile
