#include "tests/headless/recording_dialog.h"

namespace headlesstest {

LRESULT WINAPI RecordingDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                     void* user) {
    auto* self = static_cast<RecordingDialog*>(user);
    if (message == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (self->minTrack) info->ptMinTrackSize = *self->minTrack;
        if (self->maxTrack) info->ptMaxTrackSize = *self->maxTrack;
    }
    return self->onMessage ? self->onMessage(dialog, message, wParam, lParam) : 0;
}

std::vector<UINT> Messages(const std::vector<simhost::headless::LoggedMessage>& log) {
    std::vector<UINT> messages;
    for (const auto& entry : log) messages.push_back(entry.message);
    return messages;
}

std::vector<std::pair<WORD, WORD>> Commands(
    const std::vector<simhost::headless::LoggedMessage>& log) {
    std::vector<std::pair<WORD, WORD>> commands;
    for (const auto& entry : log) {
        if (entry.message == WM_COMMAND) {
            commands.emplace_back(LOWORD(entry.wParam), HIWORD(entry.wParam));
        }
    }
    return commands;
}

}  // namespace headlesstest
