#include "simhost/win32/beep_recorder.h"

#include "simhost/win32/import_patch.h"

namespace simhost::win32 {

namespace {

BeepRecorder*& Current() {
    static BeepRecorder* current = nullptr;
    return current;
}

}  // namespace

BeepRecorder::BeepRecorder() : previous_(Current()) { Current() = this; }

BeepRecorder::~BeepRecorder() {
    if (Current() == this) Current() = previous_;
}

bool BeepRecorder::Attach(HMODULE module) {
    return PatchImport(module, "USER32.dll", "MessageBeep",
                       reinterpret_cast<void*>(&BeepRecorder::Record)) != nullptr;
}

BOOL WINAPI BeepRecorder::Record(UINT type) {
    if (Current() != nullptr) Current()->beeps_.push_back(type);
    return TRUE;
}

}  // namespace simhost::win32
