// State that lives as long as the loaded module: the task the dialog selects when it opens, the
// one note spacing window and the host context object. One copy per loaded module; everything
// runs on the host's UI thread, so nothing here is locked.
#pragma once

#include <cstdint>
#include <optional>

#include "host/module/nc_ui.h"
#include "host/services/nx_types.h"

class NCNoteSpacingWindow;

struct ModuleState {
    // Set to 6 by Init; rewritten by the window whenever it closes (-1: no row selected).
    std::int32_t rememberedTaskIndex = 0;
    // Owned; created by the first Invoke, deleted by Terminate.
    NCNoteSpacingWindow* window = nullptr;
    // Built on the first Invoke and kept until the module is unloaded.
    std::optional<NCUI> ui;
    // Invoke and Terminate calls that came while a call of the module was on the stack, to be
    // carried out in their order once it has returned. A Terminate drops an Invoke before it.
    // Cleared when the outermost call drops them instead (a Terminate, or too many rounds).
    struct {
        bool terminate = false;
        bool invoke = false;
    } deferred;
};

ModuleState& Module();

// Back to the state of a freshly loaded module, the host version included: for test hosts that
// load the module once and play many hosts.
void ResetModuleState();
