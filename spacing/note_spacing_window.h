// The module's one window: the modeless note spacing dialog (resource 20128). It lists the
// spacing tasks, shows the selected task's description and runs the selected task on the
// selection ("Apply Spacing") or makes it the document's spacing ("Set as Default"), each run
// one named host edit. The object outlives the dialog, so the selection and the dialog's
// position and size come back when the user opens it again.
#pragma once

#include <cstdint>

#include "framework/ui/resource_window.h"
#include "spacing/task_info.h"

class NCUI;

class NCNoteSpacingWindow : public NCResourceWindow {
public:
    static constexpr std::int32_t kDialogResourceId = 20128;
    static constexpr std::int16_t kApplyButtonId = 1;
    static constexpr std::int16_t kCloseButtonId = 2;
    static constexpr std::int16_t kTasksLabelId = 101;
    static constexpr std::int16_t kTaskListId = 102;
    static constexpr std::int16_t kFixedBarlinesId = 103;
    static constexpr std::int16_t kDescriptionId = 104;
    static constexpr std::int16_t kSetAsDefaultId = 105;

    // Builds the task list. Whoever owns the window hands it the module's links right after.
    NCNoteSpacingWindow();
    ~NCNoteSpacingWindow() override;

    // Saves the geometry, remembers the selected row for the next opening and ends the dialog.
    void CloseWindow() override;
    // Fills and selects the list, shows the description, lets the height grow to 80 % of the
    // full-screen height and restores the saved geometry.
    void InitWindow() override;
    // "Apply Spacing": runs the selected task on the selection; the dialog stays open.
    void OkPressed() override;
    // The list refreshes the description; "Set as Default" runs the task as the default.
    bool HandleCommand(NCControl* control) override;
    // The buttons follow the bottom edge and the list follows the height.
    void HandleResize(std::int32_t newWidth, std::int32_t newHeight, std::int32_t oldWidth,
                      std::int32_t oldHeight) override;

    // Creates the seven control objects, owned by the window.
    void BuildControls();
    void FillTaskList();
    void ShowDescription();
    void ApplyTask(bool asDefault);

    // The module-wide task index the dialog selects when it opens and rewrites when it closes.
    // Without one the dialog opens on the first row and forgets the selection.
    void SetRememberedTaskIndex(std::int32_t* index) { rememberedTaskIndex_ = index; }
    // The host context object the runs are handed (null before the first invoke built it).
    void SetHostContext(const NCUI* ui) { ui_ = ui; }

    const NCNoteSpacingTaskInfos& Tasks() const { return tasks_; }
    const NCUI* HostContext() const { return ui_; }

private:
    // The selected row when it names a task, otherwise -1.
    std::int32_t SelectedTask() const;
    std::int32_t SelectedRow() const;

    NCCtrlButton* applyButton_ = nullptr;
    NCCtrlButton* closeButton_ = nullptr;
    NCCtrlStatic* tasksLabel_ = nullptr;
    NCCtrlListBox* taskList_ = nullptr;
    NCCtrlCheckbox* fixedBarlines_ = nullptr;
    NCCtrlStatic* description_ = nullptr;
    NCCtrlButton* setAsDefaultButton_ = nullptr;
    const NCUI* ui_ = nullptr;
    std::int32_t* rememberedTaskIndex_ = nullptr;
    NCNoteSpacingTaskInfos tasks_;
};

// The warning the window gives instead of a message: the exclamation sound, or the simple
// beep when that cannot play.
void WarningBeep();
