#include "tests/ui/ui_fixture.h"

#include <memory>

#include "host/module/module_state.h"
#include "host/services/nx_services.h"

namespace uitest {

TestWindow::TestWindow(std::int32_t extraKind) {
    SetDialogResourceId(kDialogId);
    const auto add = [this](std::unique_ptr<NCControl> control) {
        NCControl* added = control.get();
        Append(std::move(control));
        added->SetOwner(this);
    };
    add(std::make_unique<NCCtrlButton>(1, NCControl::kOkButton));
    add(std::make_unique<NCCtrlButton>(2, NCControl::kCancelButton));
    add(std::make_unique<NCCtrlStatic>(101));
    add(std::make_unique<NCCtrlListBox>(kList));
    add(std::make_unique<NCCtrlCheckbox>(kBox));
    add(std::make_unique<NCCtrlStatic>(kText));
    add(std::make_unique<NCCtrlButton>(kExtra, extraKind));
}

void TestWindow::InitWindow() {
    calls.push_back("InitWindow");
    NCResourceWindow::InitWindow();
    if (growTo > MaxTrackHeight()) SetMaxTrackHeight(growTo);
    RestoreGeometry();
}

void TestWindow::OkPressed() {
    calls.push_back("OkPressed");
    if (passThrough) NCResourceWindow::OkPressed();
}

void TestWindow::CancelPressed() {
    calls.push_back("CancelPressed");
    if (passThrough) NCResourceWindow::CancelPressed();
}

void TestWindow::ThirdButtonPressed() {
    calls.push_back("ThirdButtonPressed");
    if (passThrough) NCResourceWindow::ThirdButtonPressed();
}

bool TestWindow::HandleCommand(NCControl* control) {
    calls.push_back("HandleCommand");
    commands.push_back(control);
    if (onCommand) onCommand();
    return commandAnswer;
}

void TestWindow::HandleSpinStep(NCControl* /*control*/, std::int32_t step) {
    steps.push_back(step);
}

void TestWindow::HandleActivate(bool active) {
    calls.push_back(active ? "Activate" : "Deactivate");
}

void TestWindow::HandleResize(std::int32_t newWidth, std::int32_t newHeight, std::int32_t oldWidth,
                              std::int32_t oldHeight) {
    resizes.push_back({newWidth, newHeight, oldWidth, oldHeight});
    const std::int32_t dy = newHeight - oldHeight;
    const std::int32_t dx = newWidth - oldWidth;
    if (DialogHandle() != nullptr) BeginDeferredLayout();
    for (const std::int32_t id : {1, 2, kExtra}) FindControl(id)->MoveBy(dx, dy);
    FindControl(kList)->ResizeBy(dx, dy);
    ApplyDeferredLayout();
}

UiTest::UiTest() {
    nx::ResetBindings();
    ResetModuleState();
}

UiTest::~UiTest() {
    nx::ResetBindings();
    ResetModuleState();
}

void UiTest::Open(TestWindow& window) {
    window.SetDialogProcedure(&ResourceWindowDialogProc);
    NX_Dialog(static_cast<std::int16_t>(window.DialogResourceId()), window.DialogProcedure(), 7, 0,
              &window);
}

}  // namespace uitest
