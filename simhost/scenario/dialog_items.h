// The note spacing dialog as its user and the host see it: its template's id and the ids of
// its seven items.
#pragma once

#include <array>
#include <cstdint>

namespace simhost::scenario {

constexpr std::int16_t kNoteSpacingDialog = 20128;

constexpr std::int32_t kApplyButton = 1;
constexpr std::int32_t kCloseButton = 2;
constexpr std::int32_t kTasksLabel = 101;
constexpr std::int32_t kTaskList = 102;
constexpr std::int32_t kFixedBarlinesBox = 103;
constexpr std::int32_t kDescription = 104;
constexpr std::int32_t kSetAsDefaultButton = 105;

constexpr std::array<std::int32_t, 7> kDialogItems{
    kApplyButton,      kCloseButton, kTasksLabel,        kTaskList,
    kFixedBarlinesBox, kDescription, kSetAsDefaultButton};

}  // namespace simhost::scenario
