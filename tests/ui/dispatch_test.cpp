#include <gtest/gtest.h>

#include <stdexcept>

#include "host/services/nx_services.h"
#include "tests/ui/ui_fixture.h"

namespace {

using uitest::TestWindow;
using uitest::UiTest;

LRESULT Command(TestWindow& window, std::int32_t id, WORD code = BN_CLICKED) {
    return ResourceWindowDialogProc(window.DialogHandle(), WM_COMMAND,
                                    MAKEWPARAM(static_cast<WORD>(id), code), 0, &window);
}

TEST_F(UiTest, CommandsRunTheOperationOfTheControlsCommandKind) {
    struct Case {
        std::int32_t id;
        std::int32_t extraKind;
        const char* call;  // null: nothing is called
        LRESULT result;
    };
    const Case cases[] = {
        {1, 0, "OkPressed", 1},
        {2, 0, "CancelPressed", 1},
        {uitest::kExtra, 3, "ThirdButtonPressed", 1},
        {uitest::kExtra, 4, nullptr, 1},
        {uitest::kExtra, 0, "HandleCommand", 0},
    };
    for (const Case& c : cases) {
        TestWindow window(c.extraKind);
        window.passThrough = false;
        Open(window);
        window.calls.clear();
        EXPECT_EQ(Command(window, c.id, LBN_DBLCLK), c.result) << c.id << " kind " << c.extraKind;
        EXPECT_EQ(window.calls,
                  c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{});
    }
}

TEST_F(UiTest, ACommandFromAnItemWithoutControlAsksHandleCommandWithNull) {
    TestWindow window;
    Open(window);
    window.commands.clear();
    EXPECT_EQ(Command(window, 4711), 0);
    ASSERT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(window.commands[0], nullptr);
    window.commandAnswer = true;
    EXPECT_EQ(Command(window, uitest::kList, LBN_SELCHANGE), 1);
    EXPECT_EQ(window.commands.back(), window.Control(uitest::kList));
}

TEST_F(UiTest, OnlyRestoredSizesReachHandleResizeAndTheFirstOnlyRecords) {
    TestWindow window;  // never opened: no client size recorded yet
    const LPARAM size = MAKELPARAM(300, 200);
    ResourceWindowDialogProc(nullptr, WM_SIZE, SIZE_MINIMIZED, 0, &window);
    ResourceWindowDialogProc(nullptr, WM_SIZE, SIZE_MAXIMIZED, size, &window);
    EXPECT_EQ(window.LastClientWidth(), 0);
    ResourceWindowDialogProc(nullptr, WM_SIZE, SIZE_RESTORED, size, &window);
    EXPECT_TRUE(window.resizes.empty());
    EXPECT_EQ(window.LastClientWidth(), 300);
    ResourceWindowDialogProc(nullptr, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 240), &window);
    ASSERT_EQ(window.resizes.size(), 1u);
    EXPECT_EQ(window.resizes[0], (std::array<std::int32_t, 4>{300, 240, 300, 200}));
    EXPECT_EQ(window.LastClientHeight(), 240);
}

TEST_F(UiTest, ANullWindowAndAThrowingOperationBothAnswerZero) {
    EXPECT_EQ(ResourceWindowDialogProc(nullptr, WM_COMMAND, 1, 0, nullptr), 0);
    TestWindow window;
    Open(window);
    window.commandAnswer = true;
    window.onCommand = [] { throw std::runtime_error("inside a handler"); };
    EXPECT_EQ(Command(window, uitest::kText), 0);
}

TEST_F(UiTest, TheMinMaxAnswerPinsTheDialogToItsInitialSize) {
    TestWindow window;
    Open(window);
    MINMAXINFO info{};
    info.ptMaxSize = POINT{11, 12};
    ResourceWindowDialogProc(window.DialogHandle(), WM_GETMINMAXINFO, 0,
                             reinterpret_cast<LPARAM>(&info), &window);
    EXPECT_EQ(info.ptMinTrackSize.x, 383);
    EXPECT_EQ(info.ptMaxTrackSize.x, 383);
    EXPECT_EQ(info.ptMinTrackSize.y, 255);
    EXPECT_EQ(info.ptMaxTrackSize.y, 255);
    EXPECT_EQ(info.ptMaxSize.x, 11);  // the other members are left alone
    ASSERT_TRUE(user.DragBorder(WMSZ_BOTTOMRIGHT, 500, 400));
    EXPECT_EQ(user.WindowRect().bottom - user.WindowRect().top, 255);
    EXPECT_EQ(user.WindowRect().right - user.WindowRect().left, 383);
}

TEST_F(UiTest, TheCloseButtonAndTheCloseBoxBothCancelAndEndTheDialog) {
    for (const bool closeBox : {false, true}) {
        TestWindow window;
        Open(window);
        ASSERT_TRUE(closeBox ? user.UseCloseBox() : user.Click(2));
        EXPECT_EQ(window.ResultCodeValue(), NCResourceWindow::kCancel);
        EXPECT_TRUE(window.Closed());
        EXPECT_EQ(window.DialogHandle(), nullptr);
        EXPECT_EQ(window.DialogProcedure(), nullptr);
        EXPECT_EQ(user.Dialog(), nullptr);
        // Closed already: a second cancel only sets the result code.
        const std::size_t ends = Journal().CountOf("NX_EndDialog");
        window.CancelPressed();
        EXPECT_EQ(Journal().CountOf("NX_EndDialog"), ends);
    }
}

TEST_F(UiTest, DeletingAWindowEndsItsVisibleDialog) {
    auto window = std::make_unique<TestWindow>();
    Open(*window);
    ASSERT_NE(user.Dialog(), nullptr);
    window.reset();
    EXPECT_EQ(user.Dialog(), nullptr);
    EXPECT_EQ(Journal().CountOf("NX_EndDialog"), 1u);
}

TEST_F(UiTest, NotificationsRouteTabTreeAndSpinChangesAndListViewText) {
    TestWindow window;
    Open(window);
    window.commands.clear();
    NMHDR header{GetDlgItem(window.DialogHandle(), uitest::kList), uitest::kList, TCN_SELCHANGE};
    EXPECT_EQ(ResourceWindowDialogProc(window.DialogHandle(), WM_NOTIFY, uitest::kList,
                                       reinterpret_cast<LPARAM>(&header), &window),
              0);
    ASSERT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(window.commands[0], window.Control(uitest::kList));

    // The list's style lacks bit 0x0002, so the delta counts the other way.
    NMUPDOWN spin{{header.hwndFrom, uitest::kList, UDN_DELTAPOS}, 0, 3};
    window.HandleNotify(uitest::kList, &spin.hdr);
    EXPECT_EQ(window.steps, (std::vector<std::int32_t>{-3}));

    __NCCollection strings;
    auto text = std::make_unique<NCString>();
    text->AssignText8("Quarter");
    strings.Append(std::move(text));
    NMLVDISPINFOW info{};
    info.hdr = NMHDR{header.hwndFrom, uitest::kList, LVN_GETDISPINFOW};
    info.item.lParam = reinterpret_cast<LPARAM>(&strings);
    window.HandleNotify(uitest::kList, &info.hdr);
    EXPECT_EQ(std::u16string(info.item.pszText), u"Quarter");
    info.item.iSubItem = 1;
    window.HandleNotify(uitest::kList, &info.hdr);
    EXPECT_EQ(std::u16string(info.item.pszText), u"???");
    NMLVDISPINFOA narrow{};
    narrow.hdr = NMHDR{header.hwndFrom, uitest::kList, LVN_GETDISPINFOA};
    window.HandleNotify(uitest::kList, &narrow.hdr);
    EXPECT_STREQ(narrow.item.pszText, "???");
    // An id without a control routes nothing.
    header.code = TCN_SELCHANGE;
    window.HandleNotify(4711, &header);
    EXPECT_EQ(window.commands.size(), 1u);
}

TEST(ControlTypeNamesTest, EachControlClassAnswersItsClassName) {
    struct Case {
        std::unique_ptr<NCControl> control;
        const char* name;
    };
    Case cases[] = {{std::make_unique<NCControl>(1), "NCControl"},
                    {std::make_unique<NCCtrlStatic>(1), "NCCtrlStatic"},
                    {std::make_unique<NCCtrlListBox>(1), "NCCtrlListBox"},
                    {std::make_unique<NCCtrlCheckbox>(1), "NCControl"},
                    {std::make_unique<NCCtrlButton>(1), "NCControl"}};
    for (const Case& c : cases) {
        EXPECT_STREQ(c.control->TypeName(), c.name);
        EXPECT_EQ(c.control->ControlKind(), 0);
    }
    TestWindow window;
    EXPECT_STREQ(window.TypeName(), "__NCCollection");
}

}  // namespace
