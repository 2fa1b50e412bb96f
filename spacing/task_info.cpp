#include "spacing/task_info.h"

#include <memory>

#include "spacing/spacing_tasks.h"

namespace {

constexpr std::int32_t kSettingsPerTask = 18;

}  // namespace

NCNoteSpacingSettings::NCNoteSpacingSettings() {
    for (std::int32_t i = 0; i < kSettingsPerTask; ++i) {
        Append(std::make_unique<NCNoteSpacingSetting>(i));
    }
}

NCString& NCNoteSpacingTaskInfo::DisplayText() {
    displayText_.AssignString(title_);
    return displayText_;
}

void BuildSpacingTasks(NCNoteSpacingTaskInfos& tasks) {
    tasks.DeleteAll();
    for (const SpacingTaskEntry& entry : SpacingTaskTable()) {
        auto task = std::make_unique<NCNoteSpacingTaskInfo>();
        task->SetTaskId(entry.id);
        task->SetTitle(entry.title);
        task->SetDescription(entry.description);
        task->SetListed(true);
        tasks.Append(std::move(task));
    }
}
