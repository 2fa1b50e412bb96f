// The tasks as the note spacing window lists them.
#pragma once

#include <cstdint>

#include "framework/core/nc_collection.h"
#include "framework/core/nc_string.h"

class NCNoteSpacingSetting : public __NCBase {
public:
    explicit NCNoteSpacingSetting(std::int32_t index) : index_(index) {}
    std::int32_t Index() const { return index_; }
    std::int16_t Value() const { return value_; }
    std::uint8_t Flag() const { return flag_; }

private:
    std::int32_t index_;
    std::int16_t value_ = 0;
    std::uint8_t flag_ = 0;
};

// The eighteen settings every task carries; applying a task reads none of them.
class NCNoteSpacingSettings : public __NCCollection {
public:
    NCNoteSpacingSettings();
};

class NCNoteSpacingMethod : public __NCBase {
public:
    std::uint8_t Flag() const { return flag_; }
    std::int32_t ReferenceDuration() const { return referenceDuration_; }
    std::int16_t ReferenceWidth() const { return referenceWidth_; }
    float Ratio() const { return ratio_; }

private:
    std::uint8_t flag_ = 0;
    std::int32_t referenceDuration_ = 1024;
    std::int16_t referenceWidth_ = 84;
    float ratio_ = 1.6179f;
};

class NCNoteSpacingTaskInfo : public __NCBase {
public:
    const NCString& Title() const { return title_; }
    const NCString& Description() const { return description_; }
    std::int32_t TaskId() const { return taskId_; }
    bool IsListed() const { return listed_; }
    bool IsPredefined() const { return predefined_; }
    const NCNoteSpacingSettings& Settings() const { return settings_; }
    const NCNoteSpacingMethod& Method() const { return method_; }

    // What the list shows: a copy of the title, owned by the task.
    NCString& DisplayText();

    void SetTaskId(std::int32_t id) { taskId_ = id; }
    void SetTitle(const char* title) { title_.AssignText8(title); }
    void SetDescription(const char* description) { description_.AssignText8(description); }
    void SetListed(bool listed) { listed_ = listed; }

private:
    NCString title_;
    NCString displayText_;
    NCString description_;
    bool listed_ = false;
    bool predefined_ = true;
    std::int32_t taskId_ = 0;
    NCNoteSpacingSettings settings_;
    NCNoteSpacingMethod method_;
};

class NCNoteSpacingTaskInfos : public __NCCollection {
public:
    NCNoteSpacingTaskInfo* TaskAt(std::int32_t index) const {
        return static_cast<NCNoteSpacingTaskInfo*>(ItemAt(index));
    }
};

// Empties tasks, then appends one listed task per entry of the task table, in table order.
void BuildSpacingTasks(NCNoteSpacingTaskInfos& tasks);
