// Hosts that lack services, beyond a run of Apply Spacing (apply_faults_test.cpp). A missing
// service answers as a call that returns 0 and does nothing; the extension must neither crash
// nor leave its edit count or the document in a state the user cannot undo.
#include <gtest/gtest.h>

#include "host/module/entry_points.h"
#include "host/module/module_state.h"
#include "host/services/nx_services.h"
#include "spacing/note_spacing_window.h"
#include "tests/hostile/hostile_fixture.h"

namespace hostile {
namespace {

TEST_F(HostileTest, WithoutTheSelectionServiceSetAsDefaultStillRuns) {
    SetAbsent({nx::Service::GetCurERegions});
    Invoke();
    ASSERT_TRUE(SetAsDefault(kGoldenRatioScalingRow));
    EXPECT_TRUE(dialogs.Beeps().empty());
    ASSERT_EQ(host.GetDocument().History().UndoSteps().size(), 1u);
    EXPECT_EQ(host.GetDocument().History().UndoSteps()[0].name, u"Golden Ratio Scaling (Default)");
}

TEST_F(HostileTest, WithoutTheRespacingCommandSetAsDefaultStillRuns) {
    SetAbsent({nx::Service::ExecuteMenuItem});
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    Invoke();
    ASSERT_TRUE(SetAsDefault(kTightAllotmentRow));
    EXPECT_EQ(Observe(settings, widths), (Outcome{0, 1, false, false, true}));
    EXPECT_EQ(host.GetDocument().History().UndoSteps().at(0).name, u"Tight Allotment (Default)");
}

TEST_F(HostileTest, WithoutTheDialogServiceInvokeOpensNothingAndTerminateIsClean) {
    SetAbsent({nx::Service::Dialog});
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
    for (std::size_t i = 0; i < nx::kServiceCount; ++i) {
        faults.missing.insert(static_cast<nx::Service>(i));
    }
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
    SetAbsent({nx::Service::EndDialog});
    Invoke();
    const HWND first = dialogs.OpenDialog();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(user.Click(kCloseButton));
    // The host could not be told; the window lets the dialog go all the same.
    EXPECT_NE(dialogs.Screen().Find(first), nullptr);
    EXPECT_EQ(Module().window->DialogHandle(), nullptr);
    Invoke();
    EXPECT_EQ(faults.DialogsOpened(), 2);
    ASSERT_NE(dialogs.OpenDialog(), first);
    // The new dialog runs tasks as usual.
    ASSERT_TRUE(Apply(kTightAllotmentRow));
    EXPECT_TRUE(dialogs.Beeps().empty());
    EXPECT_EQ(host.RespaceCount(), 1);
}

TEST_F(HostileTest, WithoutEndDialogTheDialogLeftAfterTerminateReachesNoWindow) {
    SetAbsent({nx::Service::EndDialog});
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
