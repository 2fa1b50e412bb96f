// The dialog side of a bad host: strings without a terminator, and dialog messages that come
// with no window object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/nc_string.h"
#include "framework/ui/dialog_proc.h"
#include "host/module/entry_points.h"
#include "host/module/module_state.h"
#include "host/services/host_window_codes.h"
#include "host/services/nx_services.h"
#include "spacing/note_spacing_window.h"
#include "tests/hostile/hostile_fixture.h"
#include "tests/support/row_name.h"

namespace hostile {
namespace {

class UnterminatedStrings : public HostileTest,
                            public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(UnterminatedStrings, ReadingAControlStopsAtTheCapacity) {
    NotavoExtensionVersion(GetParam());
    Invoke();
    ASSERT_NE(Module().window, nullptr);
    NCControl* description = Module().window->FindControl(kDescription);
    ASSERT_NE(description, nullptr);
    faults.unterminatedStrings = true;
    NCString text;
    description->GetText(&text);
    EXPECT_EQ(text.Length(), static_cast<std::uint32_t>(kDialogStringCapacity));
    EXPECT_EQ(text.Units()[kDialogStringCapacity], u'\0');
    // The window itself goes on as before.
    ASSERT_TRUE(Apply(kGoldenRatioScalingRow));
    EXPECT_TRUE(dialogs.Beeps().empty());
}

INSTANTIATE_TEST_SUITE_P(Hostile, UnterminatedStrings,
                         ::testing::Values(0x10000000u, 0x11000000u, 0x12050000u),
                         [](const auto& info) {
                             return quortest::TestName("host " + quortest::Hex(info.param));
                         });

struct Message {
    const char* name;
    UINT message;
    WPARAM wParam;
};

void PrintTo(const Message& testCase, std::ostream* os) { *os << testCase.name; }

const Message kRoutedMessages[] = {
    {"InitDialog", WM_INITDIALOG, 0},
    {"ApplyCommand", WM_COMMAND, MAKEWPARAM(kApplyButton, BN_CLICKED)},
    {"CloseCommand", WM_COMMAND, MAKEWPARAM(kCloseButton, BN_CLICKED)},
    {"ListCommand", WM_COMMAND, MAKEWPARAM(kTaskList, LBN_SELCHANGE)},
    {"SetAsDefaultCommand", WM_COMMAND, MAKEWPARAM(kSetAsDefaultButton, BN_CLICKED)},
    {"Close", WM_CLOSE, 0},
    {"Size", WM_SIZE, SIZE_RESTORED},
    {"GetMinMaxInfo", WM_GETMINMAXINFO, 0},
    {"ShowWindow", WM_SHOWWINDOW, TRUE},
    {"Activate", WM_ACTIVATE, WA_ACTIVE},
    {"WindowPosChanging", WM_WINDOWPOSCHANGING, 0},
    {"FloatStatus", kFloatStatusMessage, 0},
    {"Notify", WM_NOTIFY, kTaskList},
    {"Timer", WM_TIMER, 1},
};

class NullWindowMessages : public HostileTest, public ::testing::WithParamInterface<Message> {};

TEST_P(NullWindowMessages, AreAnsweredZeroAndReachNeitherTheHostNorTheOpenWindow) {
    const Message& m = GetParam();
    Invoke();
    const HWND dialog = dialogs.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    const Records before = AllRecords();
    const std::size_t calls = layer.Services().Journal().Calls().size();
    const std::int32_t remembered = Module().rememberedTaskIndex;

    // Every pointer a message may carry points at something real, so that only the missing
    // window is wrong.
    MINMAXINFO info{};
    info.ptMaxTrackSize = {1, 2};
    NMHDR header{dialog, static_cast<UINT_PTR>(kTaskList), 0};
    WINDOWPOS position{};
    LPARAM lParam = MAKELPARAM(400, 300);
    if (m.message == WM_GETMINMAXINFO) lParam = reinterpret_cast<LPARAM>(&info);
    if (m.message == WM_NOTIFY) lParam = reinterpret_cast<LPARAM>(&header);
    if (m.message == WM_WINDOWPOSCHANGING) lParam = reinterpret_cast<LPARAM>(&position);

    EXPECT_EQ(ResourceWindowDialogProc(dialog, m.message, m.wParam, lParam, nullptr), 0);
    EXPECT_EQ(info.ptMaxTrackSize.x, 1);
    EXPECT_EQ(info.ptMaxTrackSize.y, 2);
    EXPECT_EQ(layer.Services().Journal().Calls().size(), calls);
    EXPECT_EQ(AllRecords(), before);
    EXPECT_TRUE(dialogs.Beeps().empty());
    EXPECT_EQ(Module().window->DialogHandle(), dialog);
    EXPECT_EQ(Module().rememberedTaskIndex, remembered);
    EXPECT_TRUE(user.DialogVisible());
}

INSTANTIATE_TEST_SUITE_P(Hostile, NullWindowMessages, ::testing::ValuesIn(kRoutedMessages),
                         quortest::RowName{});

TEST_F(HostileTest, WithoutTheCurrentWindowServiceTheDialogTurnsItselfOffAndRunsNothing) {
    // No current window counts as a disabled host: the dialog must not take input the host
    // could not take either.
    SetAbsent({nx::Service::GetCurrentWindow});
    Invoke();
    ASSERT_NE(dialogs.OpenDialog(), nullptr);
    EXPECT_FALSE(user.DialogEnabled());
    EXPECT_FALSE(Apply(kTightAllotmentRow));
    EXPECT_EQ(host.RespaceCount(), 0);
    EXPECT_TRUE(host.GetDocument().History().UndoSteps().empty());
}

}  // namespace
}  // namespace hostile
