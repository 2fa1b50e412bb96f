// A dialog the host could not end (it lacks NX_EndDialog) outlives its window object, and the
// host keeps handing the procedure the pointer it was given. A new window may be given the same
// address; the old dialog's messages must still reach nothing.
#include <gtest/gtest.h>

#include <cstddef>
#include <new>

#include "framework/ui/dialog_proc.h"
#include "host/services/nx_services.h"
#include "spacing/note_spacing_window.h"
#include "tests/hostile/hostile_fixture.h"

namespace hostile {
namespace {

// Window objects built in one place, as an allocator that reuses a freed block at once would
// build them; the sanitizers' and valgrind's allocators never do.
class ReusedAddress {
public:
    ReusedAddress() = default;
    ReusedAddress(const ReusedAddress&) = delete;
    ReusedAddress& operator=(const ReusedAddress&) = delete;
    ~ReusedAddress() { Destroy(); }

    NCNoteSpacingWindow* Create() {
        Destroy();
        window_ = new (storage_) NCNoteSpacingWindow;
        window_->BuildControls();
        return window_;
    }
    void Destroy() {
        if (window_ != nullptr) window_->~NCNoteSpacingWindow();
        window_ = nullptr;
    }

private:
    alignas(NCNoteSpacingWindow) std::byte storage_[sizeof(NCNoteSpacingWindow)]{};
    NCNoteSpacingWindow* window_ = nullptr;
};

// Opens the dialog on `window` as the invoke path does; answers it.
HWND OpenOn(NCNoteSpacingWindow& window, const simhost::headless::HeadlessDialogs& dialogs) {
    window.SetDialogProcedure(&ResourceWindowDialogProc);
    NX_Dialog(static_cast<std::int16_t>(window.DialogResourceId()), window.DialogProcedure(), 7, 0,
              &window);
    return dialogs.OpenDialog();
}

LRESULT Command(simhost::headless::Desktop& screen, HWND dialog, std::int32_t item) {
    return screen.Send(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(item), BN_CLICKED), 0);
}

TEST_F(HostileTest, AStaleDialogReachesNoWindowThatTookItsWindowsAddress) {
    SetAbsent({nx::Service::EndDialog});
    ReusedAddress place;
    const HWND stale = OpenOn(*place.Create(), dialogs);
    ASSERT_NE(stale, nullptr);
    NCNoteSpacingWindow* window = place.Create();  // the old dialog stays on screen
    const HWND current = OpenOn(*window, dialogs);
    ASSERT_NE(current, nullptr);
    ASSERT_NE(current, stale);
    ASSERT_EQ(window->DialogHandle(), current);

    // "Set as Default" and "Apply Spacing" from the stale dialog write nothing; its
    // initialisation binds nothing; its close box closes nothing.
    const Records before = AllRecords();
    simhost::headless::Desktop& screen = dialogs.Screen();
    EXPECT_EQ(Command(screen, stale, kSetAsDefaultButton), 0);
    EXPECT_EQ(Command(screen, stale, kApplyButton), 0);
    screen.Send(stale, WM_INITDIALOG, 0, 0);
    screen.Send(stale, WM_CLOSE, 0, 0);
    dialogs.PumpMessages();
    EXPECT_EQ(AllRecords(), before);
    EXPECT_TRUE(host.GetDocument().History().UndoSteps().empty());
    EXPECT_EQ(window->DialogHandle(), current);
    EXPECT_FALSE(window->Closed());

    // The window's own dialog still runs its tasks.
    EXPECT_EQ(Command(screen, current, kSetAsDefaultButton), 1);
    EXPECT_EQ(host.GetDocument().History().UndoSteps().size(), 1u);
    EXPECT_TRUE(dialogs.Beeps().empty());
}

}  // namespace
}  // namespace hostile
