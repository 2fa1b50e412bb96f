// The window framework against the headless stand-in: a small resource window opened on the
// real template through NX_Dialog, with the host's bindings and module state reset per test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/ui/control.h"
#include "framework/ui/dialog_proc.h"
#include "framework/ui/resource_window.h"
#include "simhost/headless/dialog_user.h"
#include "simhost/headless/headless_dialogs.h"
#include "simhost/headless/headless_host.h"
#include "simhost/scenario/dialog_items.h"
#include "simhost/services/dialog_backend.h"

namespace uitest {

// The real template's items, under the framework's own control classes.
using simhost::scenario::kApplyButton;
using simhost::scenario::kCloseButton;
using simhost::scenario::kDescription;
using simhost::scenario::kFixedBarlinesBox;
using simhost::scenario::kNoteSpacingDialog;
using simhost::scenario::kSetAsDefaultButton;
using simhost::scenario::kTaskList;
using simhost::scenario::kTasksLabel;

// Records the virtual operations it is asked for. With `passThrough` the closing operations
// also do what NCResourceWindow does; the resize moves the buttons and stretches the list, as
// a window that follows its bottom edge does.
class TestWindow : public NCResourceWindow {
public:
    explicit TestWindow(std::int32_t extraKind = NCControl::kOrdinary);

    void InitWindow() override;
    void OkPressed() override;
    void CancelPressed() override;
    void ThirdButtonPressed() override;
    bool HandleCommand(NCControl* control) override;
    void HandleSpinStep(NCControl* control, std::int32_t step) override;
    void HandleActivate(bool active) override;
    void HandleResize(std::int32_t newWidth, std::int32_t newHeight, std::int32_t oldWidth,
                      std::int32_t oldHeight) override;

    NCControl* Control(std::int32_t id) { return FindControl(id); }

    bool passThrough = true;
    bool commandAnswer = false;
    // Height the dialog may grow to; InitWindow widens the limit to it.
    std::int32_t growTo = 0;
    std::vector<std::string> calls;
    std::vector<NCControl*> commands;
    std::vector<std::int32_t> steps;
    std::vector<std::array<std::int32_t, 4>> resizes;
    std::function<void()> onCommand;
};

class UiTest : public ::testing::Test {
protected:
    UiTest();
    ~UiTest() override;

    // Opens the dialog as the invoke path does.
    void Open(TestWindow& window);
    simhost::ServiceJournal& Journal() { return host.Services().Journal(); }

    simhost::headless::HeadlessDialogs dialogs;
    simhost::DialogBackend backend{dialogs};
    simhost::headless::HeadlessHost host{backend};
    simhost::headless::DialogUser user{dialogs};
};

}  // namespace uitest
