#include <gtest/gtest.h>

#include <algorithm>

#include "tests/headless/recording_dialog.h"

namespace {

using headlesstest::kNoteSpacingDialog;
using headlesstest::Messages;
using headlesstest::RecordingDialog;
using simhost::headless::DialogUser;
using simhost::headless::HeadlessConfig;
using simhost::headless::HeadlessDialogs;

class PlacementTest : public ::testing::Test {
protected:
    PlacementTest() {
        dialogs.Dialog(kNoteSpacingDialog, &RecordingDialog::Proc, 0, 0, &recorder);
        dialogs.Screen().ClearMessageLog();
    }

    std::int32_t Height() const {
        const RECT r = user.WindowRect();
        return r.bottom - r.top;
    }
    std::int32_t Width() const {
        const RECT r = user.WindowRect();
        return r.right - r.left;
    }
    // Where a message first appears in the log, or -1.
    std::ptrdiff_t IndexOf(UINT message, std::size_t from = 0) const {
        const auto messages = Messages(dialogs.MessageLog());
        const auto it = std::find(messages.begin() + static_cast<std::ptrdiff_t>(from),
                                  messages.end(), message);
        return it == messages.end() ? -1 : it - messages.begin();
    }

    HeadlessDialogs dialogs;
    RecordingDialog recorder;
    DialogUser user{dialogs};
};

TEST_F(PlacementTest, DraggingABorderStopsAtTheTrackingLimitsTheDialogAnswers) {
    recorder.minTrack = POINT{383, 255};
    recorder.maxTrack = POINT{383, 400};
    struct Case {
        std::int32_t askedHeight;
        std::int32_t height;
    };
    for (const Case c : {Case{300, 300}, Case{900, 400}, Case{100, 255}}) {
        ASSERT_TRUE(user.DragBorder(WMSZ_BOTTOM, 383, c.askedHeight));
        EXPECT_EQ(Height(), c.height) << "asked " << c.askedHeight;
        EXPECT_EQ(Width(), 383);
    }
}

TEST_F(PlacementTest, DraggingSendsTheSizingLoopsMessagesAndTheNewClientSize) {
    ASSERT_TRUE(user.DragBorder(WMSZ_BOTTOM, 383, 295));
    const auto& log = dialogs.MessageLog();
    EXPECT_EQ(IndexOf(WM_SYSCOMMAND), 0);
    const auto enter = IndexOf(WM_ENTERSIZEMOVE);
    EXPECT_GT(enter, IndexOf(WM_GETMINMAXINFO));
    const auto changing = IndexOf(WM_WINDOWPOSCHANGING);
    EXPECT_GT(changing, IndexOf(WM_SIZING));
    // DefWindowProc consults WM_GETMINMAXINFO again for the new size.
    EXPECT_GT(IndexOf(WM_GETMINMAXINFO, static_cast<std::size_t>(changing)), changing);
    const auto size = IndexOf(WM_SIZE);
    ASSERT_GT(size, 0);
    EXPECT_EQ(log[static_cast<std::size_t>(size)].wParam, SIZE_RESTORED);
    EXPECT_EQ(LOWORD(log[static_cast<std::size_t>(size)].lParam), 375);
    EXPECT_EQ(HIWORD(log[static_cast<std::size_t>(size)].lParam), 228 + 40);
    // The top edge stayed, so the client area did not move: no WM_MOVE.
    EXPECT_EQ(IndexOf(WM_MOVE), -1);
    EXPECT_EQ(log.back().message, WM_EXITSIZEMOVE);
}

TEST_F(PlacementTest, SetWindowPosOnTheDialogIsHeldToItsLimitsByDefaultProcessing) {
    recorder.minTrack = POINT{383, 255};
    recorder.maxTrack = POINT{383, 255};
    SetWindowPos(user.Dialog(), nullptr, 50, 60, 200, 700, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT r = user.WindowRect();
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(Width(), 383);
    EXPECT_EQ(Height(), 255);
    SetWindowPos(user.Dialog(), nullptr, 0, 0, 900, 100, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(Width(), 383);
    EXPECT_EQ(Height(), 255);
    // A dialog that handles WM_WINDOWPOSCHANGING itself gets no clamp.
    recorder.onMessage = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == WM_WINDOWPOSCHANGING ? 1 : 0;
    };
    SetWindowPos(user.Dialog(), nullptr, 0, 0, 200, 700, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(Height(), 700);
}

TEST_F(PlacementTest, ADeferredBatchMovesNothingUntilItEndsAndThenEverything) {
    const HWND dialog = user.Dialog();
    HDWP batch = BeginDeferWindowPos(2);
    ASSERT_NE(batch, nullptr);
    batch = DeferWindowPos(batch, GetDlgItem(dialog, 1), nullptr, 30, 235, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER);
    batch = DeferWindowPos(batch, GetDlgItem(dialog, IDC_SPACING_TASK_LIST), nullptr, 0, 0, 165,
                           186, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(user.ControlRect(1).top, 195);
    EXPECT_EQ(user.ControlRect(IDC_SPACING_TASK_LIST).bottom, 179);
    EXPECT_TRUE(EndDeferWindowPos(batch));
    EXPECT_EQ(user.ControlRect(1).top, 235);
    EXPECT_EQ(user.ControlRect(IDC_SPACING_TASK_LIST).bottom, 33 + 186);
    ASSERT_EQ(dialogs.Screen().AppliedBatches().size(), 1u);
    EXPECT_EQ(dialogs.Screen().AppliedBatches()[0].size(), 2u);
    // A batch is spent once it ends.
    EXPECT_FALSE(EndDeferWindowPos(batch));
}

TEST_F(PlacementTest, ABatchGivesUpOnAWindowOfAnotherParentOrNoWindow) {
    const HWND dialog = user.Dialog();
    HDWP batch = BeginDeferWindowPos(2);
    batch = DeferWindowPos(batch, GetDlgItem(dialog, 1), nullptr, 0, 0, 0, 0, SWP_NOSIZE);
    EXPECT_EQ(DeferWindowPos(batch, dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE), nullptr);
    EXPECT_FALSE(EndDeferWindowPos(batch));
    HDWP other = BeginDeferWindowPos(1);
    EXPECT_EQ(DeferWindowPos(other, nullptr, nullptr, 0, 0, 0, 0, SWP_NOSIZE), nullptr);
    EXPECT_EQ(BeginDeferWindowPos(-1), nullptr);
    EXPECT_TRUE(dialogs.Screen().AppliedBatches().empty());
}

TEST_F(PlacementTest, MinimisingReportsAnEmptyClientAndRestoringActivatesBeforeTheSize) {
    ASSERT_TRUE(user.Minimise());
    EXPECT_TRUE(user.DialogMinimised());
    EXPECT_EQ(user.ClientRect().right, 0);
    const auto& log = dialogs.MessageLog();
    const auto minimized = IndexOf(WM_SIZE);
    ASSERT_GE(minimized, 0);
    EXPECT_EQ(log[static_cast<std::size_t>(minimized)].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(log[static_cast<std::size_t>(minimized)].lParam, 0);
    EXPECT_FALSE(user.DialogActive());

    dialogs.Screen().ClearMessageLog();
    ASSERT_TRUE(user.Restore());
    EXPECT_EQ(IndexOf(WM_QUERYOPEN), 1);
    const auto size = IndexOf(WM_SIZE);
    ASSERT_GE(size, 0);
    EXPECT_LT(IndexOf(WM_ACTIVATE), size);
    EXPECT_EQ(log[static_cast<std::size_t>(size)].wParam, SIZE_RESTORED);
    EXPECT_EQ(LOWORD(log[static_cast<std::size_t>(size)].lParam), 375);
    EXPECT_EQ(Height(), 255);
    EXPECT_EQ(user.WindowRect().left, 34);
}

TEST_F(PlacementTest, MovingTheCaptionKeepsTheSizeAndReportsTheNewClientOrigin) {
    ASSERT_TRUE(user.MoveTo(100, 120));
    EXPECT_EQ(user.WindowRect().left, 100);
    EXPECT_EQ(user.WindowRect().top, 120);
    EXPECT_EQ(Height(), 255);
    const auto move = IndexOf(WM_MOVE);
    ASSERT_GE(move, 0);
    const LPARAM origin = dialogs.MessageLog()[static_cast<std::size_t>(move)].lParam;
    EXPECT_EQ(LOWORD(origin), IDC_SPACING_DESCRIPTION);
    EXPECT_EQ(HIWORD(origin), 120 + 4 + 19);
    EXPECT_EQ(IndexOf(WM_SIZE), -1);
}

TEST_F(PlacementTest, ADisabledDialogTakesNoMouseInput) {
    EnableWindow(user.Dialog(), FALSE);
    dialogs.Screen().ClearMessageLog();
    EXPECT_FALSE(user.DragBorder(WMSZ_BOTTOM, 383, 300));
    EXPECT_FALSE(user.Click(IDC_SPACING_FIXED_BARLINES));
    EXPECT_FALSE(user.UseCloseBox());
    EXPECT_TRUE(dialogs.MessageLog().empty());
}

TEST(SystemMetricsTest, FullScreenHeightLeavesOutTheTaskbarAndTheCaption) {
    HeadlessConfig config;
    config.screen = {1280, 1024, 40};
    HeadlessDialogs dialogs(config);
    struct Case {
        INT index;
        INT value;
    };
    const Case cases[] = {{SM_CXSCREEN, 1280},     {SM_CYSCREEN, 1024},
                          {SM_CXFULLSCREEN, 1280}, {SM_CYFULLSCREEN, 1024 - 40 - 19},
                          {SM_CYCAPTION, 19},      {SM_CXFRAME, 4},
                          {SM_CYFRAME, 4},         {SM_CXMAXTRACK, 1280 + 4 + 8}};
    for (const Case& c : cases) EXPECT_EQ(GetSystemMetrics(c.index), c.value) << c.index;
}

TEST(SystemMetricsTest, WithoutADesktopUser32CallsFail) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 0);
    RECT r{};
    EXPECT_FALSE(GetWindowRect(nullptr, &r));
    EXPECT_FALSE(MessageBeep(MB_ICONEXCLAMATION));
}

}  // namespace
