#include "host/module/entry_points.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "framework/ui/dialog_proc.h"
#include "framework/ui/reentry_guard.h"
#include "host/module/module_state.h"
#include "host/services/host_version.h"
#include "host/services/nx_services.h"
#include "spacing/note_spacing_window.h"

namespace {

constexpr const char* kMenuItemText = "Quor Note Spacing...";
constexpr const char* kMenuDescription =
    "Tool to apply and manipulate different kinds of note spacing.";
constexpr const char* kMenuGroup = "Note Spacing";
// The task the dialog selects at its first opening: "Square Root 2 Scaling".
constexpr std::int32_t kInitialTaskIndex = 6;

// The module offers one menu entry, index 0; the host asks until it gets 0.
bool IsOurEntry(std::int32_t index) { return static_cast<std::int16_t>(index & 0xFFFF) < 1; }

// Copies at most the field's size and pads the rest with zero bytes.
template <std::size_t N>
void FillField(char (&field)[N], const char* text) {
    std::strncpy(field, text, N);
}

// Writes at most 63 units and a terminator; the rest of the field stays as the host gave it.
template <std::size_t N>
void FillField(char16_t (&field)[N], const char* text) {
    const std::size_t units = std::min<std::size_t>(std::strlen(text), 63);
    for (std::size_t i = 0; i < units; ++i) field[i] = static_cast<unsigned char>(text[i]);
    field[units] = 0;
}

template <typename Entry>
std::int32_t FillEntry(std::int32_t index, Entry* entry) {
    if (!IsOurEntry(index)) return 0;
    if (entry == nullptr) return 0;
    FillField(entry->item, kMenuItemText);
    FillField(entry->description, kMenuDescription);
    FillField(entry->group, kMenuGroup);
    entry->reserved = 0;
    return 1;
}

// Opens the dialog on the one window, creating the window first when there is none, or shows
// and activates the dialog when it is open.
void OpenWindow() {
    ModuleState& module = Module();
    if (module.window == nullptr) {
        auto window = std::make_unique<NCNoteSpacingWindow>();
        window->SetRememberedTaskIndex(&module.rememberedTaskIndex);
        window->SetHostContext(module.ui ? &*module.ui : nullptr);
        window->BuildControls();
        module.window = window.release();
    }
    NCNoteSpacingWindow& window = *module.window;
    if (HWND dialog = window.DialogHandle(); dialog != nullptr) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        if (window.DialogHandle() != nullptr) SetActiveWindow(window.DialogHandle());
    } else {
        window.SetDialogProcedure(&ResourceWindowDialogProc);
        NX_Dialog(static_cast<std::int16_t>(window.DialogResourceId()), window.DialogProcedure(),
                  module.ui->Context(), 0, &window);
    }
}

// Closes a visible dialog and deletes the window. The window leaves the module state first, so
// that nothing the host calls meanwhile can reach it.
void CloseAndDeleteWindow() {
    ModuleState& module = Module();
    const std::unique_ptr<NCNoteSpacingWindow> window(std::exchange(module.window, nullptr));
    if (window == nullptr) return;
    try {
        HWND dialog = window->DialogHandle();
        if (dialog != nullptr && IsWindowVisible(dialog)) window->CloseWindow();
    } catch (...) {
        // The window goes regardless.
    }
}

void RunDeferredCalls() {
    // Taken whole, so that what the host calls while these run waits for the next round in the
    // order it came: a Terminate and an Invoke from inside this Terminate's close come after it.
    const auto calls = std::exchange(Module().deferred, {});
    if (calls.terminate) CloseAndDeleteWindow();
    if (calls.invoke) OpenWindow();
}

void DropDeferredCalls() { Module().deferred = {}; }

}  // namespace

extern "C" {

std::uint32_t WINAPI NotavoExtensionVersion(std::uint32_t hostVersion) {
    nx::SetHostVersion(hostVersion);
    return kExtensionVersion;
}

std::int32_t WINAPI NotavoExtensionInit(std::int32_t /*unused*/, std::uint32_t* flags) {
    Module().rememberedTaskIndex = kInitialTaskIndex;
    if (flags != nullptr) *flags |= 1u;
    return 1;
}

std::int32_t WINAPI NotavoExtensionEnumerate(std::int32_t /*unused*/, std::int32_t index,
                                             NXMenuEntry8* entry) {
    return FillEntry(index, entry);
}

std::int32_t WINAPI NotavoExtensionEnumerate_UTF16(std::int32_t /*unused*/, std::int32_t index,
                                                   NXMenuEntry16* entry) {
    return FillEntry(index, entry);
}

std::int32_t WINAPI NotavoExtensionInvoke(std::int32_t context, std::int32_t /*unused1*/,
                                          std::int32_t /*unused2*/, std::int32_t /*unused3*/) {
    try {
        ModuleState& module = Module();
        // Later calls keep the first call's context, whatever they pass.
        if (!module.ui) module.ui.emplace(context);
        // From inside a call of the module (a run, say) the window must not change under it.
        if (ReentryGuard::Active()) {
            module.deferred.invoke = true;
            ReentryGuard::Defer(&RunDeferredCalls, &DropDeferredCalls);
            return 0;
        }
        const ReentryGuard guard;
        OpenWindow();
    } catch (...) {
        // Nothing may unwind into the host; the invoke simply opens nothing.
    }
    return 0;
}

void WINAPI NotavoExtensionTerminate(std::int32_t /*unused*/) {
    ModuleState& module = Module();
    // A run may be using the window: it goes once the run has returned.
    if (ReentryGuard::Active()) {
        module.deferred.terminate = true;
        module.deferred.invoke = false;
        ReentryGuard::Defer(&RunDeferredCalls, &DropDeferredCalls);
        return;
    }
    // What the host calls meanwhile is dropped with the window: after Terminate the module has
    // none, whatever the host asked for on the way.
    const ReentryGuard guard(ReentryGuard::Deferred::Drop);
    CloseAndDeleteWindow();
}

std::int32_t WINAPI NotavoExtensionGetMenuStatus(std::int32_t /*unused*/) { return 1; }
}
