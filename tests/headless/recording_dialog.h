// A dialog procedure for the stand-in's own tests: it answers 0 to everything, except that it
// answers WM_GETMINMAXINFO with the limits a test sets, and lets a test react to a message.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "resources/note_spacing_dialog_ids.h"
#include "simhost/headless/dialog_user.h"
#include "simhost/headless/headless_dialogs.h"

namespace headlesstest {

constexpr std::int16_t kNoteSpacingDialog = IDD_NOTE_SPACING;

struct RecordingDialog {
    std::optional<POINT> minTrack;
    std::optional<POINT> maxTrack;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> onMessage;

    static LRESULT WINAPI Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void* user);
};

// The messages the log holds, by number only.
std::vector<UINT> Messages(const std::vector<simhost::headless::LoggedMessage>& log);
// Just the WM_COMMAND notification codes and ids, as (id, code).
std::vector<std::pair<WORD, WORD>> Commands(
    const std::vector<simhost::headless::LoggedMessage>& log);

}  // namespace headlesstest
