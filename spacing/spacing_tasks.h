// The nine predefined spacing tasks: their ids, titles and descriptions in list order, the
// allotment tables, the scaling constants, and the rule that maps a task id to its content.
// Durations count 1024 per quarter note; widths count 24 per staff space.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

struct SpacingTaskEntry {
    std::int32_t id;
    std::uint8_t flag;
    const char* title;
    const char* description;
};

struct AllotmentRow {
    std::int32_t duration;
    std::int16_t width;
};

struct ScalingSetting {
    double ratio;
    std::int16_t referenceWidth;
};

// Reference duration of every scaling task: the quarter note.
constexpr std::int16_t kScalingReferenceDuration = 1024;

// The task table, in the order the dialog lists the tasks.
std::span<const SpacingTaskEntry> SpacingTaskTable();

// What a task writes into the document: an allotment table or scaling values. A task id
// outside 1 to 9 has neither.
struct SpacingTaskContent {
    std::span<const AllotmentRow> allotments;
    std::optional<ScalingSetting> scaling;
};
std::optional<SpacingTaskContent> SpacingTaskContentFor(std::int32_t taskId);

// The scaling factor the preferences store: the ratio times 10000, truncated toward zero.
std::int32_t ScalingFactorFor(double ratio);
