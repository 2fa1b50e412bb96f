#include <gtest/gtest.h>

#include "host/services/host_version.h"
#include "host/services/nx_services.h"
#include "tests/ui/ui_fixture.h"

namespace {

using uitest::TestWindow;
using uitest::UiTest;

std::int32_t Height(const RECT& r) { return r.bottom - r.top; }

TEST_F(UiTest, AReopenedDialogComesBackWhereAndAsLargeAsItWasClosed) {
    TestWindow window;
    window.growTo = 400;
    Open(window);
    ASSERT_TRUE(user.MoveTo(100, 120));
    ASSERT_TRUE(user.DragBorder(WMSZ_BOTTOM, 383, 300));
    window.SaveGeometry();
    ASSERT_TRUE(user.Click(2));
    Open(window);
    EXPECT_EQ(user.WindowRect().left, 100);
    EXPECT_EQ(user.WindowRect().top, 120);
    EXPECT_EQ(Height(user.WindowRect()), 300);
    // The restore made while initialising is applied once more at the first show.
    EXPECT_EQ(Journal().CountOf("NX_Dialog"), 2u);
    EXPECT_FALSE(window.Initialising());
    EXPECT_FALSE(window.GeometryRestored());
}

TEST_F(UiTest, RestoringASizeBelowTheMinimumRestoresTheMinimum) {
    TestWindow window;
    Open(window);
    window.SaveGeometry();
    window.SetMinTrackHeight(300);
    window.SetMaxTrackHeight(600);
    ASSERT_TRUE(window.RestoreGeometry());
    EXPECT_EQ(window.SavedHeight(), 300);
    EXPECT_EQ(Height(user.WindowRect()), 300);
    EXPECT_EQ(user.WindowRect().left, 34);
    // Nothing saved, nothing restored.
    TestWindow fresh;
    EXPECT_FALSE(fresh.RestoreGeometry());
}

TEST_F(UiTest, EnlargingTheDialogMovesTheButtonsAndStretchesTheListInOneBatch) {
    TestWindow window;
    window.growTo = 600;
    Open(window);
    const RECT apply = user.ControlRect(1);
    const RECT list = user.ControlRect(uitest::kList);
    const RECT label = user.ControlRect(101);
    ASSERT_TRUE(user.DragBorder(WMSZ_BOTTOM, 383, 255 + 40));
    ASSERT_EQ(window.resizes.size(), 1u);
    EXPECT_EQ(window.resizes[0], (std::array<std::int32_t, 4>{375, 268, 375, 228}));
    EXPECT_EQ(user.ControlRect(1).top, apply.top + 40);
    EXPECT_EQ(user.ControlRect(1).left, apply.left);
    EXPECT_EQ(user.ControlRect(uitest::kList).bottom, list.bottom + 40);
    EXPECT_EQ(user.ControlRect(uitest::kList).top, list.top);
    EXPECT_EQ(user.ControlRect(101).top, label.top);
    ASSERT_EQ(dialogs.Screen().AppliedBatches().size(), 1u);
    EXPECT_EQ(dialogs.Screen().AppliedBatches()[0].size(), 4u);
    EXPECT_FALSE(window.DeferringLayout());
}

TEST_F(UiTest, MinimisingAndRestoringLeavesTheControlsWhereTheyWere) {
    TestWindow window;
    Open(window);
    const RECT apply = user.ControlRect(1);
    ASSERT_TRUE(user.Minimise());
    ASSERT_TRUE(user.Restore());
    EXPECT_EQ(user.ControlRect(1).top, apply.top);
    EXPECT_EQ(window.LastClientHeight(), 228);
    // The restore reports the size it had, so the resize moves nothing.
    for (const auto& resize : window.resizes) EXPECT_EQ(resize[1], resize[3]);
}

TEST_F(UiTest, ApplyingWithNothingPendingAnswersFalseAndKeepsDeferring) {
    TestWindow window;
    EXPECT_FALSE(window.ApplyDeferredLayout());  // not deferring
    Open(window);
    window.BeginDeferredLayout();
    EXPECT_FALSE(window.ApplyDeferredLayout());
    EXPECT_TRUE(window.DeferringLayout());
    // Recorded moves wait for the batch.
    window.Control(1)->MoveBy(0, 10);
    EXPECT_TRUE(window.Control(1)->MovePending());
    EXPECT_EQ(user.ControlRect(1).top, 195);
    EXPECT_TRUE(window.ApplyDeferredLayout());
    EXPECT_EQ(user.ControlRect(1).top, 205);
    EXPECT_FALSE(window.Control(1)->MovePending());
}

TEST_F(UiTest, ControlsMoveAndResizeAtOnceWhenNotDeferring) {
    TestWindow window;
    Open(window);
    window.Control(uitest::kBox)->MoveBy(5, -3);
    window.Control(uitest::kList)->ResizeBy(-15, 20);
    EXPECT_EQ(user.ControlRect(uitest::kBox).left, 195 + 5);
    EXPECT_EQ(user.ControlRect(uitest::kBox).top, 33 - 3);
    EXPECT_EQ(user.ControlRect(uitest::kList).right, 180 - 15);
    EXPECT_EQ(user.ControlRect(uitest::kList).bottom, 179 + 20);
    EXPECT_TRUE(dialogs.Screen().AppliedBatches().empty());
}

TEST_F(UiTest, TheDialogFollowsTheHostsTopWindowAndNoCurrentWindowDisablesIt) {
    TestWindow window;
    Open(window);
    EXPECT_TRUE(user.DialogEnabled());
    dialogs.SetMainWindowEnabled(false);
    EXPECT_FALSE(user.DialogEnabled());
    dialogs.SetMainWindowEnabled(true);
    EXPECT_TRUE(user.DialogEnabled());
    bool enabledDuringModal = true;
    dialogs.RunHostModal([&] { enabledDuringModal = user.DialogEnabled(); });
    EXPECT_FALSE(enabledDuringModal);
    EXPECT_TRUE(user.DialogEnabled());

    dialogs.SetCurrentWindow(nullptr);
    window.FollowHostEnabled();
    EXPECT_FALSE(user.DialogEnabled());
}

TEST_F(UiTest, ControlsEnableShowAndCheckThroughTheHost) {
    TestWindow window;
    Open(window);
    auto* box = dynamic_cast<NCCtrlCheckbox*>(window.Control(uitest::kBox));
    ASSERT_NE(box, nullptr);
    box->SetCheck(1);
    EXPECT_EQ(user.CheckState(uitest::kBox), 1);
    ASSERT_TRUE(user.Click(uitest::kBox));
    EXPECT_EQ(box->GetCheck() & 0xFFFF, 0);
    window.Control(1)->Enable(false);
    EXPECT_FALSE(window.Control(1)->IsEnabled());
    EXPECT_FALSE(user.IsEnabled(1));
    window.Control(uitest::kExtra)->Show(false);
    EXPECT_FALSE(user.IsVisible(uitest::kExtra));
    EXPECT_TRUE(window.Control(uitest::kText)->Redraw());
    EXPECT_EQ(user.Invalidations(uitest::kText), 1);
    // Without an owner the item calls reach no window.
    NCCtrlStatic orphan(uitest::kText);
    EXPECT_FALSE(orphan.IsEnabled());
}

TEST_F(UiTest, TextGoesThroughTheServicesTheHostVersionChooses) {
    struct Case {
        std::uint32_t hostVersion;
        const char* setService;
        const char* getService;
    };
    const Case cases[] = {{0x10FFFFFF, "NX_SetDlgString", "NX_GetDlgString"},
                          {0x11000000, "NX_SetDlgString_UTF16", "NX_GetDlgString_UTF16"}};
    for (const Case& c : cases) {
        nx::SetHostVersion(c.hostVersion);
        TestWindow window;
        Open(window);
        NCString text;
        text.AssignText8("Tight \xE9");
        window.Control(uitest::kText)->SetText(&text);
        EXPECT_EQ(user.Text(uitest::kText), u"Tight \u00E9") << c.hostVersion;
        NCString read;
        window.Control(uitest::kText)->GetText(&read);
        EXPECT_EQ(std::u16string(read.Units()), u"Tight \u00E9");
        window.Control(uitest::kText)->SetText(nullptr);
        EXPECT_EQ(user.Text(uitest::kText), u"");
        EXPECT_EQ(Journal().CountOf(c.setService), 2u);
        EXPECT_EQ(Journal().CountOf(c.getService), 1u);
        Journal().Clear();
    }
}

// A host that fills the whole buffer and writes no terminator.
class UnterminatedBackend : public simhost::DialogBackend {
public:
    using simhost::DialogBackend::WithDialogs;
    void GetDlgString(HWND, std::int32_t, char* buffer, std::int32_t capacity) override {
        for (std::int32_t i = 0; i < capacity; ++i) buffer[i] = 'x';
    }
    void GetDlgStringUtf16(HWND, std::int32_t, char16_t* buffer, std::int32_t capacity) override {
        for (std::int32_t i = 0; i < capacity; ++i) buffer[i] = u'y';
    }
};

TEST_F(UiTest, GetTextReadsNoFurtherThanTheCapacityWhenTheHostLeavesNoTerminator) {
    UnterminatedBackend unterminated(dialogs);
    host.Services().SetBackend(unterminated);
    TestWindow window;
    for (const std::uint32_t version : {0x10000000u, 0x12050000u}) {
        nx::SetHostVersion(version);
        NCString read;
        window.Control(uitest::kText)->GetText(&read);
        EXPECT_EQ(read.Length(), 5000u) << std::hex << version;
        EXPECT_EQ(read.Units()[4999], version < 0x11000000u ? u'x' : u'y');
    }
    host.Services().SetBackend(backend);
}

}  // namespace
