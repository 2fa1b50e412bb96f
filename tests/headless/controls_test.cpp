#include <gtest/gtest.h>

#include <cstring>

#include "host/services/host_window_codes.h"
#include "tests/headless/recording_dialog.h"

namespace {

using headlesstest::Commands;
using headlesstest::kNoteSpacingDialog;
using headlesstest::RecordingDialog;
using simhost::headless::DialogUser;
using simhost::headless::HeadlessDialogs;

constexpr std::int32_t kList = IDC_SPACING_TASK_LIST;
constexpr std::int32_t kBox = IDC_SPACING_FIXED_BARLINES;
constexpr std::int32_t kText = IDC_SPACING_DESCRIPTION;
constexpr std::int32_t kButton = IDC_SPACING_SET_AS_DEFAULT;

class ControlsTest : public ::testing::Test {
protected:
    ControlsTest() {
        dialogs.Dialog(kNoteSpacingDialog, &RecordingDialog::Proc, 0, 0, &recorder);
        dialog = user.Dialog();
    }
    LRESULT ListA(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendDlgItemMessageA(dialog, kList, message, wParam, lParam);
    }
    LRESULT ListW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendDlgItemMessageW(dialog, kList, message, wParam, lParam);
    }
    void ActivateMainAndClear() {
        dialogs.ActivateMainWindow();
        dialogs.Screen().ClearMessageLog();
    }
    void AddRows(std::initializer_list<const char*> rows) {
        for (const char* row : rows) ListA(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    }

    HeadlessDialogs dialogs;
    RecordingDialog recorder;
    DialogUser user{dialogs};
    HWND dialog = nullptr;
};

TEST_F(ControlsTest, TheListKeepsRowsInOrderAndConvertsTextThroughTheAnsiCodePage) {
    // 0xE9 is e-acute in both code pages; 0x80 is the euro sign in the ANSI code page only.
    AddRows({"Tight", "Caf\xE9", "\x80 5"});
    EXPECT_EQ(ListW(LB_GETCOUNT), 3);
    EXPECT_EQ(user.Rows(kList), (std::vector<std::u16string>{u"Tight", u"Caf\u00E9", u"\u20AC 5"}));
    char16_t wide[16] = {};
    EXPECT_EQ(ListW(LB_GETTEXT, 2, reinterpret_cast<LPARAM>(wide)), 3);
    EXPECT_EQ(std::u16string(wide), u"\u20AC 5");
    ListW(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"\u0100x"));
    char narrow[16] = {};
    EXPECT_EQ(ListA(LB_GETTEXT, 3, reinterpret_cast<LPARAM>(narrow)), 2);
    EXPECT_STREQ(narrow, "?x");
    EXPECT_EQ(ListA(LB_GETTEXTLEN, 1), 4);
    EXPECT_EQ(ListA(LB_GETTEXTLEN, 9), LB_ERR);
    EXPECT_EQ(ListA(LB_GETTEXT, 9, reinterpret_cast<LPARAM>(narrow)), LB_ERR);
}

TEST_F(ControlsTest, SettingTheSelectionAnswersAsWindowsDoes) {
    AddRows({"a", "b", "c"});
    EXPECT_EQ(ListW(LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(ListW(LB_SETCURSEL, 2), 2);
    EXPECT_EQ(ListW(LB_GETCURSEL), 2);
    // Past the rows: refused, the selection stays.
    EXPECT_EQ(ListW(LB_SETCURSEL, 3), LB_ERR);
    EXPECT_EQ(ListW(LB_GETCURSEL), 2);
    // -1 clears it and still answers LB_ERR.
    EXPECT_EQ(ListW(LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR);
    EXPECT_EQ(ListW(LB_GETCURSEL), LB_ERR);
    ListW(LB_SETCURSEL, 1);
    ListW(LB_RESETCONTENT);
    EXPECT_EQ(ListW(LB_GETCOUNT), 0);
    EXPECT_EQ(ListW(LB_GETCURSEL), LB_ERR);
    // Programmatic changes notify nobody.
    EXPECT_EQ(Commands(dialogs.MessageLog()).size(), 1u);  // only the focus at the show
}

TEST_F(ControlsTest, ClickingARowSelectsItThenNotifiesAndADoubleClickAddsDblClk) {
    AddRows({"a", "b", "c"});
    ActivateMainAndClear();
    ASSERT_TRUE(user.SelectRow(kList, 1));
    EXPECT_EQ(user.SelectedRow(kList), 1);
    ASSERT_TRUE(user.DoubleClickRow(kList, 2));
    // Clicking the selected row again changes nothing, so it sends no LBN_SELCHANGE.
    ASSERT_TRUE(user.SelectRow(kList, 2));
    EXPECT_FALSE(user.SelectRow(kList, 3));
    EXPECT_EQ(Commands(dialogs.MessageLog()),
              (std::vector<std::pair<WORD, WORD>>{{kList, LBN_SETFOCUS},
                                                  {kList, LBN_SELCHANGE},
                                                  {kList, LBN_SELCHANGE},
                                                  {kList, LBN_DBLCLK}}));
}

TEST_F(ControlsTest, AnAutomaticCheckBoxTogglesItselfBeforeItReportsTheClick) {
    std::vector<std::int32_t> stateAtClick;
    recorder.onMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_COMMAND && LOWORD(wParam) == kBox && HIWORD(wParam) == BN_CLICKED) {
            stateAtClick.push_back(dialogs.GetDlgItemVal(dialog, kBox, kItemValueCheckState));
        }
        return 0;
    };
    ASSERT_TRUE(user.Click(kBox));
    ASSERT_TRUE(user.Click(kBox));
    EXPECT_EQ(stateAtClick, (std::vector<std::int32_t>{1, 0}));
    // The list had the focus and reports losing it to the box.
    EXPECT_EQ(Commands(dialogs.MessageLog())[1], (std::pair<WORD, WORD>{kList, LBN_KILLFOCUS}));
}

TEST_F(ControlsTest, PushButtonsReportClicksAndStaticsIgnoreThem) {
    ASSERT_TRUE(user.Click(kButton));
    ASSERT_TRUE(user.Click(kText));
    const auto commands = Commands(dialogs.MessageLog());
    EXPECT_EQ(commands.back(), (std::pair<WORD, WORD>{kButton, BN_CLICKED}));
    // A push button has no check state to set.
    dialogs.SetDlgItemVal(dialog, kButton, kItemValueCheckState, 1);
    EXPECT_EQ(dialogs.GetDlgItemVal(dialog, kButton, kItemValueCheckState), 0);
}

TEST_F(ControlsTest, DisabledOrHiddenControlsCannotBeClicked) {
    dialogs.EnableDlgItem(dialog, 1, 0);
    EXPECT_FALSE(user.IsEnabled(1));
    EXPECT_FALSE(user.Click(1));
    ShowWindow(GetDlgItem(dialog, kButton), SW_HIDE);
    EXPECT_FALSE(user.IsVisible(kButton));
    EXPECT_FALSE(user.Click(kButton));
    dialogs.EnableDlgItem(dialog, 1, 1);
    EXPECT_TRUE(user.Click(1));
}

TEST_F(ControlsTest, DialogStringsAreCapacityBoundedAndTerminated) {
    dialogs.SetDlgStringUtf16(dialog, kText, u"Golden \u00E9");
    char16_t wide[5];
    std::memset(wide, 0x7F, sizeof wide);
    dialogs.GetDlgStringUtf16(dialog, kText, wide, 5);
    EXPECT_EQ(std::u16string(wide), u"Gold");
    char narrow[32];
    dialogs.GetDlgString(dialog, kText, narrow, 32);
    EXPECT_STREQ(narrow, "Golden \xE9");
    dialogs.GetDlgString(dialog, 999, narrow, 32);
    EXPECT_STREQ(narrow, "");
    dialogs.SetDlgString(dialog, kText, "-42 ");
    EXPECT_EQ(dialogs.GetDlgItemVal(dialog, kText, kItemValueNumber), -42);
    dialogs.SetDlgString(dialog, kText, "4x");
    EXPECT_EQ(dialogs.GetDlgItemVal(dialog, kText, kItemValueNumber), 0);
}

TEST_F(ControlsTest, BeepsAreRecordedInOrderAndCanBeMadeToFail) {
    dialogs.Screen().failingBeeps = {MB_ICONEXCLAMATION};
    EXPECT_FALSE(MessageBeep(MB_ICONEXCLAMATION));
    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
    EXPECT_EQ(dialogs.Beeps(), (std::vector<UINT>{MB_ICONEXCLAMATION, 0xFFFFFFFF}));
}

TEST_F(ControlsTest, TheCloseBoxSendsCloseAndTheDialogManagerPostsCancel) {
    dialogs.Screen().ClearMessageLog();
    ASSERT_TRUE(user.UseCloseBox());
    const auto& log = dialogs.MessageLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0].message, WM_SYSCOMMAND);
    EXPECT_EQ(log[1].message, WM_CLOSE);
    // The procedure left WM_CLOSE to the dialog manager, which presses Cancel (item 2).
    EXPECT_EQ(log[2].message, WM_COMMAND);
    EXPECT_EQ(log[2].wParam, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_EQ(reinterpret_cast<HWND>(log[2].lParam), GetDlgItem(dialog, IDCANCEL));
}

}  // namespace
