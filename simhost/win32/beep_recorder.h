// Counts the extension's MessageBeep calls: the module's import of USER32!MessageBeep is
// pointed at a function that records the sound and answers TRUE, as a machine with a sound
// card would. One recorder at a time is current; it stops recording when it goes.
#pragma once

#include <cstdint>
#include <vector>
#include <windows.h>

namespace simhost::win32 {

class BeepRecorder {
public:
    BeepRecorder();
    ~BeepRecorder();
    BeepRecorder(const BeepRecorder&) = delete;
    BeepRecorder& operator=(const BeepRecorder&) = delete;

    // Redirects the module's MessageBeep import; false when it imports none.
    bool Attach(HMODULE module);
    const std::vector<std::uint32_t>& Beeps() const { return beeps_; }

private:
    static BOOL WINAPI Record(UINT type);

    std::vector<std::uint32_t> beeps_;
    BeepRecorder* previous_ = nullptr;
};

}  // namespace simhost::win32
