#include "host/module/module_state.h"

#include "host/services/host_version.h"

ModuleState& Module() {
    static ModuleState state;
    return state;
}

void ResetModuleState() {
    Module() = ModuleState{};
    nx::SetHostVersion(kInterfaceVersion);
}
