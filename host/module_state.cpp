#include "host/module_state.h"

ModuleState& Module() {
    static ModuleState state;
    return state;
}
