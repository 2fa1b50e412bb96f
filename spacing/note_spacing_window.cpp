#include "spacing/note_spacing_window.h"

#include <memory>
#include <string>

#include "framework/core/nc_string.h"
#include "framework/core/undo_block.h"
#include "framework/data/music_region.h"
#include "host/services/nx_services.h"
#include "spacing/note_spacing_block_handler.h"

namespace {

constexpr const char* kDefaultSuffix = " (Default)";

template <typename Control>
Control* AddControl(NCNoteSpacingWindow& window, std::int16_t id,
                    std::int32_t kind = NCControl::kOrdinary) {
    auto control = std::make_unique<Control>(id, kind);
    Control* added = control.get();
    window.Append(std::move(control));
    added->SetOwner(&window);
    return added;
}

// The list takes 8-bit text: the low byte of every unit.
std::string ListText(const NCString& text) {
    std::string bytes;
    const char16_t* units = text.Units();
    if (units == nullptr) return bytes;
    bytes.reserve(text.Length());
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        bytes.push_back(static_cast<char>(units[i] & 0xFF));
    }
    return bytes;
}

}  // namespace

void WarningBeep() {
    if (MessageBeep(MB_ICONEXCLAMATION) == 0) MessageBeep(0xFFFFFFFFu);
}

NCNoteSpacingWindow::NCNoteSpacingWindow() {
    SetDialogResourceId(kDialogResourceId);
    BuildSpacingTasks(tasks_);
}

NCNoteSpacingWindow::~NCNoteSpacingWindow() { tasks_.DeleteAll(); }

void NCNoteSpacingWindow::BuildControls() {
    applyButton_ = AddControl<NCCtrlButton>(*this, kApplyButtonId, NCControl::kOkButton);
    closeButton_ = AddControl<NCCtrlButton>(*this, kCloseButtonId, NCControl::kCancelButton);
    tasksLabel_ = AddControl<NCCtrlStatic>(*this, kTasksLabelId);
    taskList_ = AddControl<NCCtrlListBox>(*this, kTaskListId);
    fixedBarlines_ = AddControl<NCCtrlCheckbox>(*this, kFixedBarlinesId);
    description_ = AddControl<NCCtrlStatic>(*this, kDescriptionId);
    setAsDefaultButton_ = AddControl<NCCtrlButton>(*this, kSetAsDefaultId);
}

std::int32_t NCNoteSpacingWindow::SelectedRow() const {
    return static_cast<std::int32_t>(
        SendDlgItemMessageW(DialogHandle(), kTaskListId, LB_GETCURSEL, 0, 0));
}

std::int32_t NCNoteSpacingWindow::SelectedTask() const {
    const std::int32_t row = SelectedRow();
    return row >= 0 && row < tasks_.Count() ? row : -1;
}

void NCNoteSpacingWindow::FillTaskList() {
    SendDlgItemMessageW(DialogHandle(), kTaskListId, LB_RESETCONTENT, 0, 0);
    for (std::int32_t i = 0; i < tasks_.Count(); ++i) {
        NCNoteSpacingTaskInfo* task = tasks_.TaskAt(i);
        if (task == nullptr || !task->IsListed()) continue;
        const std::string text = ListText(task->DisplayText());
        SendDlgItemMessageA(DialogHandle(), kTaskListId, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void NCNoteSpacingWindow::ShowDescription() {
    if (description_ == nullptr) return;
    const std::int32_t row = SelectedTask();
    if (row < 0) {
        description_->SetText(nullptr);
        return;
    }
    NCString text;
    text.AssignString(tasks_.TaskAt(row)->Description());
    description_->SetText(&text);
}

void NCNoteSpacingWindow::InitWindow() {
    NCResourceWindow::InitWindow();
    FillTaskList();
    // An index of -1 or past the rows leaves the list without a selection.
    SendDlgItemMessageW(DialogHandle(), kTaskListId, LB_SETCURSEL,
                        static_cast<WPARAM>(rememberedTaskIndex_ ? *rememberedTaskIndex_ : 0), 0);
    ShowDescription();
    const std::int32_t cap = GetSystemMetrics(SM_CYFULLSCREEN) * 8 / 10;
    if (cap > MaxTrackHeight()) SetMaxTrackHeight(cap);
    RECT window{};
    GetWindowRect(DialogHandle(), &window);
    SetMaxTrackWidth(window.right - window.left);
    RestoreGeometry();
}

void NCNoteSpacingWindow::CloseWindow() {
    SaveGeometry();
    if (rememberedTaskIndex_ != nullptr) *rememberedTaskIndex_ = SelectedRow();
    SetClosed(true);
    EndDialog();
}

void NCNoteSpacingWindow::OkPressed() { ApplyTask(false); }

bool NCNoteSpacingWindow::HandleCommand(NCControl* control) {
    if (control == nullptr) return false;
    if (control == taskList_) {
        ShowDescription();
        return true;
    }
    if (control == setAsDefaultButton_) {
        ApplyTask(true);
        return true;
    }
    return false;
}

void NCNoteSpacingWindow::HandleResize(std::int32_t newWidth, std::int32_t newHeight,
                                       std::int32_t oldWidth, std::int32_t oldHeight) {
    const std::int32_t dx = newWidth - oldWidth;
    const std::int32_t dy = newHeight - oldHeight;
    if (DialogHandle() != nullptr) BeginDeferredLayout();
    for (NCControl* button :
         {static_cast<NCControl*>(applyButton_), static_cast<NCControl*>(closeButton_),
          static_cast<NCControl*>(setAsDefaultButton_)}) {
        if (button != nullptr) button->MoveBy(dx, dy);
    }
    if (taskList_ != nullptr) taskList_->ResizeBy(dx, dy);
    ApplyDeferredLayout();
}

void NCNoteSpacingWindow::ApplyTask(bool asDefault) {
    // Runs never nest: a press the host delivers from inside a run is dropped.
    if (Busy()) return;
    const BusyScope busy(*this);
    const std::int32_t row = SelectedTask();
    if (row < 0) {
        WarningBeep();
        return;
    }
    const NCNoteSpacingTaskInfo* task = tasks_.TaskAt(row);

    // Cleared first, so that a host without the selection service reads as "nothing
    // selected" rather than as whatever the stack held.
    std::int32_t scratch = 0;
    NXRegionRecord selection{};
    NXRegionRecord other{};
    if (!asDefault) {
        // A host without the respacing command cannot apply a task: writing and restoring the
        // settings would only look like a run that did something.
        if (nx::Bound<nx::Service::ExecuteMenuItem>() == nullptr) {
            WarningBeep();
            return;
        }
        NX_GetCurERegions(&scratch, &selection, &other);
        NX_GetCurrentOstrinDocument();
        if (IsEmptyRegion(selection)) {
            WarningBeep();
            return;
        }
    }

    const bool fixedBarlines =
        fixedBarlines_ != nullptr && (fixedBarlines_->GetCheck() & 0xFFFF) != 0;
    NCUndoBlock block;
    NCNoteSpacingBlockHandler handler(task, asDefault, fixedBarlines, ui_);
    NCString editName;
    editName.AssignString(task->Title());
    if (asDefault) editName.AppendText8(kDefaultSuffix);

    bool done = false;
    try {
        done = block.Run(&handler, &editName);
    } catch (...) {
        // The block has cancelled the edit; the user still hears that the run failed.
    }
    if (done) {
        NX_GetCurERegions(&scratch, &other, &selection);
        NX_RedrawMusic(&selection);
    } else {
        WarningBeep();
    }
}
