#include <gtest/gtest.h>

#include "host/services/host_window_codes.h"
#include "tests/headless/recording_dialog.h"

namespace {

using headlesstest::Commands;
using headlesstest::kNoteSpacingDialog;
using headlesstest::Messages;
using headlesstest::RecordingDialog;
using simhost::headless::DialogUser;
using simhost::headless::HeadlessDialogs;

class DialogCreationTest : public ::testing::Test {
protected:
    void Open() { dialogs.Dialog(kNoteSpacingDialog, &RecordingDialog::Proc, 0, 0, &recorder); }

    HeadlessDialogs dialogs;
    RecordingDialog recorder;
    DialogUser user{dialogs};
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(DialogCreationTest, DialogUnitsBecomePixelsThroughTheFontsBaseUnits) {
    Open();
    ASSERT_NE(user.Dialog(), nullptr) << dialogs.LastError();
    // 250 x 140 units of 8-point MS Sans Serif (6 x 13): MulDiv rounds 227.5 up.
    const RECT client = user.ClientRect();
    EXPECT_EQ(client.right, 375);
    EXPECT_EQ(client.bottom, 228);

    struct Case {
        std::int32_t id;
        RECT pixels;
    };
    const Case cases[] = {
        {IDC_SPACING_TASKS_LABEL, {15, 16, 165, 29}},
        {IDC_SPACING_TASK_LIST, {15, 33, 180, 179}},
        {IDC_SPACING_FIXED_BARLINES, {195, 33, 323, 46}},
        {IDC_SPACING_DESCRIPTION, {188, 68, 353, 159}},
        {IDC_SPACING_APPLY, {30, 195, 128, 218}},
        {IDC_SPACING_CLOSE, {143, 195, 203, 218}},
        {IDC_SPACING_SET_AS_DEFAULT, {255, 195, 353, 218}},
    };
    for (const Case& c : cases) {
        const RECT r = user.ControlRect(c.id);
        EXPECT_TRUE(SameRect(r, c.pixels)) << "item " << c.id << ": " << r.left << "," << r.top
                                           << "," << r.right << "," << r.bottom;
    }
}

TEST_F(DialogCreationTest, TheFrameAndCaptionSurroundTheClientAreaBelowTheOwnersClientOrigin) {
    Open();
    // The main window's client area starts 4 + 19 pixels into it; the template places the
    // dialog at (20, 40) units from there, and a sizing frame and caption go around it.
    const RECT window = user.WindowRect();
    EXPECT_EQ(window.left, 4 + 30);
    EXPECT_EQ(window.top, 23 + 65);
    EXPECT_EQ(window.right - window.left, 375 + 2 * 4);
    EXPECT_EQ(window.bottom - window.top, 228 + 2 * 4 + 19);
}

TEST_F(DialogCreationTest, TheProcedureHearsFontInitShowAndActivationInWindowsOrder) {
    Open();
    const auto& log = dialogs.MessageLog();
    const std::vector<UINT> expected = {WM_SETFONT,           WM_INITDIALOG,      WM_SHOWWINDOW,
                                        WM_WINDOWPOSCHANGING, WM_NCACTIVATE,      WM_ACTIVATE,
                                        WM_COMMAND,           WM_WINDOWPOSCHANGED};
    EXPECT_EQ(Messages(log), expected);
    ASSERT_EQ(log.size(), expected.size());
    // WM_INITDIALOG names the first tab stop, the list; the activation gives it the focus.
    EXPECT_EQ(reinterpret_cast<HWND>(log[1].wParam),
              GetDlgItem(user.Dialog(), IDC_SPACING_TASK_LIST));
    EXPECT_EQ(log[1].lParam, reinterpret_cast<LPARAM>(&recorder));
    EXPECT_EQ(log[2].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(LOWORD(log[5].wParam), WA_ACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(log[5].lParam), dialogs.MainWindow());
    EXPECT_EQ(Commands(log),
              (std::vector<std::pair<WORD, WORD>>{{IDC_SPACING_TASK_LIST, LBN_SETFOCUS}}));
    EXPECT_TRUE(user.DialogActive());
}

TEST_F(DialogCreationTest, AnUnknownResourceCreatesNothingAndSaysWhy) {
    dialogs.Dialog(999, &RecordingDialog::Proc, 0, 0, &recorder);
    EXPECT_EQ(user.Dialog(), nullptr);
    EXPECT_TRUE(dialogs.MessageLog().empty());
    EXPECT_NE(dialogs.LastError().find("999"), std::string::npos);
}

TEST_F(DialogCreationTest, EndDialogHidesDeactivatesAndDestroysTheDialog) {
    Open();
    dialogs.Screen().ClearMessageLog();
    const HWND dialog = user.Dialog();
    dialogs.EndDialog(dialog);
    EXPECT_EQ(user.Dialog(), nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(Messages(dialogs.MessageLog()),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE,
                                 WM_ACTIVATE, WM_COMMAND, WM_DESTROY, WM_NCDESTROY}));
    // The list loses the focus to the main window, which becomes active again.
    EXPECT_EQ(Commands(dialogs.MessageLog()),
              (std::vector<std::pair<WORD, WORD>>{{IDC_SPACING_TASK_LIST, LBN_KILLFOCUS}}));
    EXPECT_EQ(dialogs.Screen().Active(), dialogs.MainWindow());
}

TEST_F(DialogCreationTest, GetParentClimbsFromTheDocumentViewToTheMainWindow) {
    Open();
    EXPECT_EQ(GetParent(dialogs.GetCurrentWindow()), dialogs.MainWindow());
    EXPECT_EQ(GetParent(dialogs.MainWindow()), nullptr);
    // A pop-up answers its owner; a control its dialog.
    EXPECT_EQ(GetParent(user.Dialog()), dialogs.MainWindow());
    EXPECT_EQ(GetParent(GetDlgItem(user.Dialog(), IDC_SPACING_FIXED_BARLINES)), user.Dialog());
}

TEST_F(DialogCreationTest, TheMainWindowTellsTheDialogWhenItIsDisabledAndEnabled) {
    Open();
    dialogs.Screen().ClearMessageLog();
    dialogs.SetMainWindowEnabled(false);
    dialogs.SetMainWindowEnabled(true);
    const auto& log = dialogs.MessageLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].message, kFloatStatusMessage);
    EXPECT_EQ(log[0].wParam, kFloatStatusDisable);
    EXPECT_EQ(log[1].wParam, kFloatStatusEnable);
    EXPECT_TRUE(IsWindowEnabled(dialogs.MainWindow()));
}

TEST_F(DialogCreationTest, AHostModalDialogDisablesTheMainWindowAndTakesTheActivation) {
    Open();
    dialogs.Screen().ClearMessageLog();
    bool mainEnabledMeanwhile = true;
    dialogs.RunHostModal([&] { mainEnabledMeanwhile = IsWindowEnabled(dialogs.MainWindow()); });
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(dialogs.MainWindow()));
    // Disabled first, then deactivated (the list loses the focus), enabled again at the end;
    // the main window has the activation afterwards.
    EXPECT_EQ(Messages(dialogs.MessageLog()),
              (std::vector<UINT>{kFloatStatusMessage, WM_NCACTIVATE, WM_ACTIVATE, WM_COMMAND,
                                 kFloatStatusMessage}));
    EXPECT_EQ(dialogs.Screen().Active(), dialogs.MainWindow());
    EXPECT_FALSE(user.DialogActive());
}

}  // namespace
