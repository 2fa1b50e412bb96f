// The note spacing dialog as its user and the host see it: its template's id and the ids of
// its seven items, typed, from the names the resource script uses.
#pragma once

#include <array>
#include <cstdint>

#include "resources/note_spacing_dialog_ids.h"

namespace simhost::scenario {

constexpr std::int16_t kNoteSpacingDialog = IDD_NOTE_SPACING;

constexpr std::int32_t kApplyButton = IDC_SPACING_APPLY;
constexpr std::int32_t kCloseButton = IDC_SPACING_CLOSE;
constexpr std::int32_t kTasksLabel = IDC_SPACING_TASKS_LABEL;
constexpr std::int32_t kTaskList = IDC_SPACING_TASK_LIST;
constexpr std::int32_t kFixedBarlinesBox = IDC_SPACING_FIXED_BARLINES;
constexpr std::int32_t kDescription = IDC_SPACING_DESCRIPTION;
constexpr std::int32_t kSetAsDefaultButton = IDC_SPACING_SET_AS_DEFAULT;

constexpr std::array<std::int32_t, 7> kDialogItems{
    kApplyButton,      kCloseButton, kTasksLabel,        kTaskList,
    kFixedBarlinesBox, kDescription, kSetAsDefaultButton};

}  // namespace simhost::scenario
