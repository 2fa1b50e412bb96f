// Hosts that lack services. A missing service answers as a call that returns 0 and does
// nothing; the extension must neither crash nor leave its edit count or the document in a state
// the user cannot undo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/module/entry_points.h"
#include "host/module/module_state.h"
#include "host/services/nx_services.h"
#include "simhost/services/service_layer.h"
#include "spacing/note_spacing_window.h"
#include "tests/hostile/hostile_fixture.h"

namespace hostile {
namespace {

const std::vector<std::string> kEditServices = {"NX_StartNotavoEdit", "NX_StartNotavoEdit_UTF16",
                                                "NX_EndNotavoEdit", "NX_CancelNotavoEdit"};
const std::vector<std::string> kRecordServices = {"NX_LoadEData", "NX_SaveEData", "NX_CreateEData",
                                                  "NX_DeleteEData", "NX_NextEData"};

struct MissingCase {
    const char* name;
    std::vector<std::string> absent;
    Outcome expected;
    std::size_t redraws;
};

void PrintTo(const MissingCase& testCase, std::ostream* os) { *os << testCase.name; }

// Apply Spacing with "Tight Allotment" and Fixed Barlines ticked.
const MissingCase kMissingCases[] = {
    {"Nothing", {}, {0, 1, false, true, true}, 1},
    // No selection can be read: a warning and no edit.
    {"Selection", {"NX_GetCurERegions"}, {1, 0, false, true, true}, 0},
    // Nothing respaces: the run writes the settings back exactly as they were.
    {"RespacingCommand", {"NX_ExecuteMenuItem"}, {0, 1, false, true, true}, 1},
    {"Redraw", {"NX_RedrawMusic"}, {0, 1, false, true, true}, 0},
    {"EditServices", kEditServices, {0, 0, true, true, true}, 1},
    {"StartOnly", {"NX_StartNotavoEdit_UTF16"}, {0, 0, true, true, true}, 1},
    // Nothing can be read or written: the settings could not be kept, so the run fails and the
    // document stays as it was.
    {"RecordServices", kRecordServices, {1, 0, false, true, true}, 0},
    // The task's rows cannot be written once the old ones are deleted.
    {"SaveService", {"NX_SaveEData"}, {1, 0, false, true, true}, 0},
    // The tick cannot be read, so it counts as off.
    {"CheckState", {"NX_GetDlgItemVal"}, {0, 1, false, true, false}, 1},
    {"DocumentNumberAndInstruments",
     {"NX_GetCurrentOstrinDocument", "NX_SlotToInst"},
     {0, 1, false, true, true},
     1},
    {"DialogText", {"NX_SetDlgString", "NX_SetDlgString_UTF16"}, {0, 1, false, true, true}, 1},
};

class MissingServices : public HostileTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingServices, ApplyRunAnswersTheUserAndKeepsTheDocumentUndoable) {
    const MissingCase& c = GetParam();
    const Records before = AllRecords();
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    SetAbsent(c.absent);
    Invoke();
    ASSERT_TRUE(Apply(kTightAllotmentRow));
    EXPECT_EQ(Observe(settings, widths), c.expected);
    EXPECT_EQ(host.RedrawCount(), static_cast<std::int32_t>(c.redraws));
    EXPECT_EQ(nx::EditDepth(), 0);
    EXPECT_FALSE(HostEditOpen());
    if (c.expected.undoSteps > 0) {
        EXPECT_TRUE(UndoAllGivesBack(before));
    } else if (c.expected.beeps > 0) {
        // Refused before an edit, or cancelled: the document is as it was.
        EXPECT_EQ(AllRecords(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, MissingServices, ::testing::ValuesIn(kMissingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileTest, WithoutTheSelectionServiceSetAsDefaultStillRuns) {
    SetAbsent({"NX_GetCurERegions"});
    Invoke();
    ASSERT_TRUE(SetAsDefault(kGoldenRatioScalingRow));
    EXPECT_TRUE(dialogs.Beeps().empty());
    ASSERT_EQ(host.GetDocument().History().UndoSteps().size(), 1u);
    EXPECT_EQ(host.GetDocument().History().UndoSteps()[0].name, u"Golden Ratio Scaling (Default)");
}

TEST_F(HostileTest, WithoutTheDialogServiceInvokeOpensNothingAndTerminateIsClean) {
    SetAbsent({"NX_Dialog"});
    Invoke();
    Invoke();
    EXPECT_EQ(dialogs.OpenDialog(), nullptr);
    ASSERT_NE(Module().window, nullptr);
    EXPECT_EQ(Module().window->DialogHandle(), nullptr);
    NotavoExtensionTerminate(0);
    EXPECT_EQ(Module().window, nullptr);
    EXPECT_TRUE(dialogs.Beeps().empty());
    EXPECT_TRUE(host.GetDocument().History().UndoSteps().empty());
}

TEST_F(HostileTest, WithNoServiceAtAllEveryEntryPointAnswersAndTouchesNothing) {
    SetAbsent(simhost::ServiceLayer::ServiceNames());
    const Records before = AllRecords();
    Invoke();
    EXPECT_EQ(dialogs.OpenDialog(), nullptr);
    NXMenuEntry16 entry{};
    EXPECT_EQ(NotavoExtensionEnumerate_UTF16(0, 0, &entry), 1);
    EXPECT_EQ(NotavoExtensionGetMenuStatus(0), 1);
    NotavoExtensionTerminate(0);
    Invoke();
    EXPECT_EQ(AllRecords(), before);
    EXPECT_TRUE(layer.Services().Journal().Calls().empty());
}

TEST_F(HostileTest, WithoutEndDialogAClosedDialogStaysAndTheNextInvokeOpensAnother) {
    SetAbsent({"NX_EndDialog"});
    Invoke();
    const HWND first = dialogs.OpenDialog();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(user.Click(kCloseButton));
    // The host could not be told; the window lets the dialog go all the same.
    EXPECT_NE(dialogs.Screen().Find(first), nullptr);
    EXPECT_EQ(Module().window->DialogHandle(), nullptr);
    Invoke();
    EXPECT_EQ(host.DialogsOpened(), 2);
    ASSERT_NE(dialogs.OpenDialog(), first);
    // The new dialog runs tasks as usual.
    ASSERT_TRUE(Apply(kTightAllotmentRow));
    EXPECT_TRUE(dialogs.Beeps().empty());
    EXPECT_EQ(host.RespaceCount(), 1);
}

TEST_F(HostileTest, WithoutEndDialogTheDialogLeftAfterTerminateReachesNoWindow) {
    SetAbsent({"NX_EndDialog"});
    Invoke();
    const HWND dialog = dialogs.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    NotavoExtensionTerminate(0);
    EXPECT_EQ(Module().window, nullptr);
    // The host could not end the dialog, so the user can still click it; the window object it
    // was opened with is gone.
    ASSERT_NE(dialogs.Screen().Find(dialog), nullptr);
    const std::size_t calls = layer.Services().Journal().Calls().size();
    EXPECT_TRUE(user.Activate());
    EXPECT_TRUE(user.SelectRow(kTaskList, kTightAllotmentRow));
    EXPECT_TRUE(user.Click(kApplyButton));
    EXPECT_TRUE(user.UseCloseBox());
    dialogs.ActivateMainWindow();
    EXPECT_EQ(layer.Services().Journal().Calls().size(), calls);
    EXPECT_EQ(host.RespaceCount(), 0);
    EXPECT_TRUE(dialogs.Beeps().empty());
}

}  // namespace
}  // namespace hostile
