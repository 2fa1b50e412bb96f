// A host may call back into the module from inside a service the module called: an entry
// point or another message for the dialog, while a run is going on. Nothing the run still uses
// may be freed under it, runs never nest, and once the run has returned the module is where the
// order of the calls puts it. A run that throws still tells the user.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <new>
#include <utility>

#include "framework/data/music_spacing_prefs.h"
#include "framework/ui/dialog_proc.h"
#include "framework/ui/reentry_guard.h"
#include "host/module/entry_points.h"
#include "host/module/module_state.h"
#include "spacing/note_spacing_window.h"
#include "tests/hostile/hostile_fixture.h"
#include "tests/support/row_name.h"

namespace hostile {
namespace {

constexpr std::int32_t kHostContext = 7;

// Where the module stands once the run has returned.
enum class WindowAfter {
    Gone,   // no window, no dialog
    Same,   // the window and dialog of before
    Fresh,  // the old dialog ended, a new window and dialog open
};

struct ReentryCase {
    const char* name;
    // What the host does from inside the run's first load of the preferences; answers what the
    // dialog procedure answered, when it sends a message.
    std::function<LRESULT(simhost::headless::Desktop& screen, HWND dialog)> callBack;
    WindowAfter after;
    std::int32_t dialogsOpened;
};

void PrintTo(const ReentryCase& c, std::ostream* os) { *os << c.name; }

LRESULT Command(simhost::headless::Desktop& screen, HWND dialog, std::int32_t item) {
    return screen.Send(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(item), BN_CLICKED), 0);
}

const ReentryCase kReentryCases[] = {
    {"Terminate",
     [](auto&, HWND) {
         NotavoExtensionTerminate(0);
         return LRESULT{1};
     },
     WindowAfter::Gone, 1},
    {"TerminateThenInvoke",
     [](auto&, HWND) {
         NotavoExtensionTerminate(0);
         NotavoExtensionInvoke(kHostContext, 0, 0, 0);
         return LRESULT{1};
     },
     WindowAfter::Fresh, 2},
    {"InvokeThenTerminate",
     [](auto&, HWND) {
         NotavoExtensionInvoke(kHostContext, 0, 0, 0);
         NotavoExtensionTerminate(0);
         return LRESULT{1};
     },
     WindowAfter::Gone, 1},
    {"Invoke",
     [](auto&, HWND) {
         NotavoExtensionInvoke(kHostContext, 0, 0, 0);
         return LRESULT{1};
     },
     WindowAfter::Same, 1},
    {"PressApplyAgain",
     [](auto& screen, HWND dialog) { return Command(screen, dialog, kApplyButton); },
     WindowAfter::Same, 1},
    {"PressSetAsDefault",
     [](auto& screen, HWND dialog) { return Command(screen, dialog, kSetAsDefaultButton); },
     WindowAfter::Same, 1},
    {"PressClose", [](auto& screen, HWND dialog) { return Command(screen, dialog, kCloseButton); },
     WindowAfter::Same, 1},
    {"CloseBox", [](auto& screen, HWND dialog) { return screen.Send(dialog, WM_CLOSE, 0, 0); },
     WindowAfter::Same, 1},
};

class Reentry : public HostileTest, public ::testing::WithParamInterface<ReentryCase> {};

TEST_P(Reentry, TheRunFinishesWithWhatItHoldsAndTheModuleFollowsTheCalls) {
    const ReentryCase& c = GetParam();
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    Invoke();
    const NCNoteSpacingWindow* window = Module().window;
    const HWND dialog = dialogs.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    bool calledBack = false;
    LRESULT answer = 0;
    faults.onCall = [&](nx::Service service, std::uint32_t tag) {
        if (calledBack || service != nx::Service::LoadEData || tag != kTagSpacingExtrasA) return;
        calledBack = true;
        answer = c.callBack(dialogs.Screen(), dialog);
    };
    ASSERT_TRUE(Apply(kTightAllotmentRow));
    faults.onCall = nullptr;
    dialogs.PumpMessages();
    ASSERT_TRUE(calledBack);

    // The run stood, once, and nothing it started was heard as a failure.
    EXPECT_EQ(Observe(settings, widths), (Outcome{0, 1, false, true, true}));
    EXPECT_EQ(host.RespaceCount(), 1);
    EXPECT_EQ(CallsTo("NX_StartNotavoEdit_UTF16"), 1u);  // runs never nest
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(faults.DialogsOpened(), c.dialogsOpened);
    switch (c.after) {
        case WindowAfter::Gone:
            EXPECT_EQ(Module().window, nullptr);
            EXPECT_EQ(dialogs.Screen().Find(dialog), nullptr);
            break;
        case WindowAfter::Same:
            EXPECT_EQ(Module().window, window);
            EXPECT_EQ(dialogs.OpenDialog(), dialog);
            EXPECT_EQ(Module().window->DialogHandle(), dialog);
            break;
        case WindowAfter::Fresh:
            ASSERT_NE(Module().window, nullptr);
            EXPECT_EQ(dialogs.Screen().Find(dialog), nullptr);
            EXPECT_NE(dialogs.OpenDialog(), nullptr);
            EXPECT_EQ(Module().window->DialogHandle(), dialogs.OpenDialog());
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, Reentry, ::testing::ValuesIn(kReentryCases), quortest::RowName{});

TEST_F(HostileTest, TerminateWhileTheDialogInitialisesLeavesNoWindow) {
    bool calledBack = false;
    faults.onCall = [&](nx::Service service, std::uint32_t) {
        if (calledBack || service != nx::Service::SetDlgStringUtf16) return;
        calledBack = true;
        NotavoExtensionTerminate(0);
    };
    Invoke();
    ASSERT_TRUE(calledBack);
    EXPECT_EQ(Module().window, nullptr);
    EXPECT_EQ(dialogs.OpenDialog(), nullptr);
    // And the module opens afresh on the next invoke.
    faults.onCall = nullptr;
    Invoke();
    EXPECT_NE(dialogs.OpenDialog(), nullptr);
}

// A host whose dialog string service, while a dialog initialises, terminates the module and
// invokes it again: each round ends the dialog and opens another, whose initialisation does the
// same, until the host stops or the module's rounds run out.
struct RoundsCase {
    const char* name;
    int rounds;  // the initialisations the host calls back from
    std::int32_t dialogsOpened;
};

void PrintTo(const RoundsCase& c, std::ostream* os) { *os << c.name; }

const RoundsCase kRoundsCases[] = {
    // Carried out as the host ordered: the last Invoke leaves a fresh window.
    {"BelowTheCap", 3, 4},
    // Past the rounds the module allows, the rest is dropped with the outermost call.
    {"ForEver", INT_MAX, 1 + ReentryGuard::kMaxDeferredRounds},
};

class DeferredRounds : public HostileTest, public ::testing::WithParamInterface<RoundsCase> {
protected:
    // Invokes with a host that calls back from `rounds` initialisations; answers the window and
    // dialog the invoke left.
    std::pair<NCNoteSpacingWindow*, HWND> InvokeCallingBack(int rounds) {
        int left = rounds;
        HWND last = nullptr;
        faults.onCall = [&left, &last](nx::Service service, std::uint32_t) {
            const NCNoteSpacingWindow* window = Module().window;
            const HWND dialog = window != nullptr ? window->DialogHandle() : nullptr;
            if (service != nx::Service::SetDlgStringUtf16 || dialog == nullptr || dialog == last ||
                left == 0) {
                return;
            }
            last = dialog;  // once for each dialog
            --left;
            NotavoExtensionTerminate(0);
            NotavoExtensionInvoke(kHostContext, 0, 0, 0);
        };
        Invoke();
        faults.onCall = nullptr;
        return {Module().window, dialogs.OpenDialog()};
    }
};

TEST_P(DeferredRounds, EndWithTheLastWindowOpenAndNothingLeftOver) {
    const auto [window, dialog] = InvokeCallingBack(GetParam().rounds);
    EXPECT_EQ(faults.DialogsOpened(), GetParam().dialogsOpened);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(window->DialogHandle(), dialog);

    // The user's next click on the dialog is the next outermost call: no Terminate the host
    // asked for long ago fires under it.
    ASSERT_TRUE(user.SelectRow(kTaskList, kGoldenRatioScalingRow));
    EXPECT_EQ(Module().window, window);
    EXPECT_EQ(dialogs.OpenDialog(), dialog);
    EXPECT_EQ(faults.DialogsOpened(), GetParam().dialogsOpened);
}

TEST_P(DeferredRounds, TheHostsTerminateLeavesNoWindowAndNoDialog) {
    InvokeCallingBack(GetParam().rounds);
    NotavoExtensionTerminate(0);
    EXPECT_EQ(Module().window, nullptr);
    EXPECT_EQ(dialogs.OpenDialog(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Hostile, DeferredRounds, ::testing::ValuesIn(kRoundsCases),
                         quortest::RowName{});

TEST_F(HostileTest, WhatTheHostCallsDuringTerminateIsDroppedWithTheWindow) {
    Invoke();
    const HWND dialog = dialogs.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    int calls = 0;
    faults.onCall = [&calls](nx::Service service, std::uint32_t) {
        if (service != nx::Service::EndDialog) return;
        ++calls;
        NotavoExtensionInvoke(kHostContext, 0, 0, 0);
        NotavoExtensionTerminate(0);
        NotavoExtensionInvoke(kHostContext, 0, 0, 0);
    };
    NotavoExtensionTerminate(0);
    faults.onCall = nullptr;
    ASSERT_EQ(calls, 1);
    EXPECT_EQ(Module().window, nullptr);
    EXPECT_EQ(dialogs.OpenDialog(), nullptr);
    EXPECT_EQ(faults.DialogsOpened(), 1);
    // Nothing of it is left for the next call either: it opens one dialog.
    Invoke();
    EXPECT_NE(dialogs.OpenDialog(), nullptr);
    EXPECT_EQ(faults.DialogsOpened(), 2);
    EXPECT_EQ(Module().window->DialogHandle(), dialogs.OpenDialog());
}

TEST_F(HostileTest, ATerminateThenInvokeWhileADeferredTerminateClosesEndsWithAFreshWindow) {
    Invoke();
    const HWND dialog = dialogs.OpenDialog();
    bool fromTheRun = false;
    bool fromTheClose = false;
    faults.onCall = [&](nx::Service service, std::uint32_t tag) {
        const bool runCalls = service == nx::Service::LoadEData && tag == kTagSpacingExtrasA;
        const bool closeCalls = service == nx::Service::EndDialog;
        if ((runCalls && !std::exchange(fromTheRun, true)) ||
            (closeCalls && fromTheRun && !std::exchange(fromTheClose, true))) {
            NotavoExtensionTerminate(0);
            NotavoExtensionInvoke(kHostContext, 0, 0, 0);
        }
    };
    ASSERT_TRUE(Apply(kTightAllotmentRow));
    faults.onCall = nullptr;
    ASSERT_TRUE(fromTheClose);
    // The dialog of the run, then the one the deferred Invoke opened, were closed in turn; the
    // last Invoke the host made opened a third.
    EXPECT_EQ(faults.DialogsOpened(), 3);
    EXPECT_EQ(dialogs.Screen().Find(dialog), nullptr);
    ASSERT_NE(Module().window, nullptr);
    EXPECT_NE(dialogs.OpenDialog(), nullptr);
    EXPECT_EQ(Module().window->DialogHandle(), dialogs.OpenDialog());
}

// Which button the user presses when the host throws from inside the run.
struct ThrowCase {
    const char* name;
    std::int32_t button;
};

void PrintTo(const ThrowCase& c, std::ostream* os) { *os << c.name; }

class ThrowingHost : public HostileTest, public ::testing::WithParamInterface<ThrowCase> {};

TEST_P(ThrowingHost, ARunThatThrowsIsCancelledWithAWarningAndAnsweredAsHandled) {
    const Records before = AllRecords();
    Invoke();
    const HWND dialog = dialogs.OpenDialog();
    ASSERT_TRUE(user.SelectRow(kTaskList, kGoldenRatioScalingRow));
    faults.onCall = [](nx::Service service, std::uint32_t) {
        if (service == nx::Service::SaveEData) throw std::bad_alloc();
    };
    EXPECT_EQ(ResourceWindowDialogProc(dialog, WM_COMMAND,
                                       MAKEWPARAM(static_cast<WORD>(GetParam().button), BN_CLICKED),
                                       0, Module().window),
              1);
    EXPECT_EQ(dialogs.Beeps().size(), 1u);
    EXPECT_EQ(host.RedrawCount(), 0);
    EXPECT_TRUE(host.GetDocument().History().UndoSteps().empty());
    EXPECT_FALSE(HostEditOpen());
    EXPECT_EQ(AllRecords(), before);
}

INSTANTIATE_TEST_SUITE_P(Hostile, ThrowingHost,
                         ::testing::Values(ThrowCase{"Apply", kApplyButton},
                                           ThrowCase{"SetAsDefault", kSetAsDefaultButton}),
                         quortest::RowName{});

}  // namespace
}  // namespace hostile
