#include "host/services/nx_services.h"

#include <array>

namespace nx {
namespace {

constexpr std::array<const char*, static_cast<int>(Service::Count)> kServiceNames = {
    "NX_LoadEData",       "NX_SaveEData",
    "NX_CreateEData",     "NX_DeleteEData",
    "NX_NextEData",       "NX_Dialog",
    "NX_EndDialog",       "NX_EnableDlgItem",
    "NX_GetDlgItemVal",   "NX_SetDlgItemVal",
    "NX_GetDlgItemUser",  "NX_SetDlgItemUser",
    "NX_GetDlgString",    "NX_GetDlgString_UTF16",
    "NX_SetDlgString",    "NX_SetDlgString_UTF16",
    "NX_SlotToInst",      "NX_GetCurERegions",
    "NX_RedrawMusic",     "NX_GetCurrentOstrinDocument",
    "NX_StartNotavoEdit", "NX_StartNotavoEdit_UTF16",
    "NX_EndNotavoEdit",   "NX_CancelNotavoEdit",
    "NX_ExecuteMenuItem", "NX_GetCurrentWindow",
};

struct Binding {
    bool lookedUp = false;
    void* address = nullptr;
};

struct Bindings {
    bool hostLookedUp = false;
    HMODULE host = nullptr;
    std::array<Binding, static_cast<int>(Service::Count)> services{};
    std::int32_t editDepth = 0;
};

Bindings& State() {
    static Bindings bindings;
    return bindings;
}

std::int32_t& Depth() { return State().editDepth; }

HMODULE HostModule() {
    Bindings& state = State();
    if (!state.hostLookedUp) {
        state.hostLookedUp = true;
        state.host = GetModuleHandleA("NOTAVO.EXE");
        if (state.host == nullptr) state.host = GetModuleHandleA("NTVDEMO.EXE");
    }
    return state.host;
}

}  // namespace

const char* ServiceName(Service service) { return kServiceNames[static_cast<int>(service)]; }

void* BoundAddress(Service service) {
    Binding& binding = State().services[static_cast<int>(service)];
    if (!binding.lookedUp) {
        binding.lookedUp = true;
        // Asked even when neither program name was found: with a null module Windows looks in
        // the main program, so a host under another name still binds through its own exports.
        binding.address =
            reinterpret_cast<void*>(GetProcAddress(HostModule(), ServiceName(service)));
    }
    return binding.address;
}

void ResetBindings() { State() = Bindings{}; }

std::int32_t EditDepth() { return Depth(); }

// The bound service as its own signature, or null.
template <typename Fn>
Fn Bound(Service service) {
    return reinterpret_cast<Fn>(BoundAddress(service));
}

}  // namespace nx

using nx::Bound;
using nx::Service;

std::int16_t NX_LoadEDataRaw(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                             std::uint32_t version) {
    auto fn = Bound<nxsig::LoadEData>(Service::LoadEData);
    return fn ? fn(tag, key, buffer, size, version) : 0;
}

std::int16_t NX_SaveEDataRaw(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                             std::uint32_t version) {
    auto fn = Bound<nxsig::SaveEData>(Service::SaveEData);
    return fn ? fn(tag, key, buffer, size, version) : 0;
}

std::int16_t NX_CreateEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                            std::uint32_t version) {
    auto fn = Bound<nxsig::CreateEData>(Service::CreateEData);
    return fn ? fn(tag, key, buffer, size, version) : 0;
}

std::int16_t NX_DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) {
    auto fn = Bound<nxsig::DeleteEData>(Service::DeleteEData);
    return fn ? fn(tag, key, version) : 0;
}

std::int16_t NX_NextEData(std::uint32_t tag, NXRecordKey* key, void* reserved1, void* reserved2,
                          std::uint32_t version) {
    auto fn = Bound<nxsig::NextEData>(Service::NextEData);
    return fn ? fn(tag, key, reserved1, reserved2, version) : 0;
}

void NX_Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
               void* user) {
    if (auto fn = Bound<nxsig::Dialog>(Service::Dialog)) {
        fn(resourceId, proc, context, zero, user, kInterfaceVersion);
    }
}

void NX_EndDialog(HWND dialog) {
    if (auto fn = Bound<nxsig::EndDialog>(Service::EndDialog)) fn(dialog, kInterfaceVersion);
}

void NX_EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) {
    if (auto fn = Bound<nxsig::EnableDlgItem>(Service::EnableDlgItem)) {
        fn(dialog, item, enable, kInterfaceVersion);
    }
}

std::int32_t NX_GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) {
    auto fn = Bound<nxsig::GetDlgItemVal>(Service::GetDlgItemVal);
    return fn ? fn(dialog, item, kind, kInterfaceVersion) : 0;
}

void NX_SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind, std::int32_t value) {
    if (auto fn = Bound<nxsig::SetDlgItemVal>(Service::SetDlgItemVal)) {
        fn(dialog, item, kind, value, kInterfaceVersion);
    }
}

void NX_GetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double* value) {
    if (auto fn = Bound<nxsig::GetDlgItemUser>(Service::GetDlgItemUser)) {
        fn(dialog, item, zero, value, kInterfaceVersion);
    }
}

void NX_SetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double value) {
    if (auto fn = Bound<nxsig::SetDlgItemUser>(Service::SetDlgItemUser)) {
        fn(dialog, item, zero, value, kInterfaceVersion);
    }
}

void NX_GetDlgString(HWND dialog, std::int32_t item, char* buffer) {
    if (auto fn = Bound<nxsig::GetDlgString>(Service::GetDlgString)) {
        fn(dialog, item, buffer, kDialogStringCapacity, kInterfaceVersion);
    }
}

void NX_GetDlgString_UTF16(HWND dialog, std::int32_t item, char16_t* buffer) {
    if (auto fn = Bound<nxsig::GetDlgStringUtf16>(Service::GetDlgStringUtf16)) {
        fn(dialog, item, buffer, kDialogStringCapacity, kInterfaceVersion);
    }
}

void NX_SetDlgString(HWND dialog, std::int32_t item, const char* text) {
    if (auto fn = Bound<nxsig::SetDlgString>(Service::SetDlgString)) {
        fn(dialog, item, text, kInterfaceVersion);
    }
}

void NX_SetDlgString_UTF16(HWND dialog, std::int32_t item, const char16_t* text) {
    if (auto fn = Bound<nxsig::SetDlgStringUtf16>(Service::SetDlgStringUtf16)) {
        fn(dialog, item, text, kInterfaceVersion);
    }
}

std::int16_t NX_SlotToInst(std::int16_t slot, std::int16_t slotKey) {
    auto fn = Bound<nxsig::SlotToInst>(Service::SlotToInst);
    return fn ? fn(slot, slotKey, kInterfaceVersion) : 0;
}

void NX_GetCurERegions(std::int32_t* scratch, NXRegionRecord* first, NXRegionRecord* second) {
    if (auto fn = Bound<nxsig::GetCurERegions>(Service::GetCurERegions)) {
        fn(scratch, first, second, kInterfaceVersion);
    }
}

void NX_RedrawMusic(NXRegionRecord* region) {
    if (auto fn = Bound<nxsig::RedrawMusic>(Service::RedrawMusic)) fn(region, kInterfaceVersion);
}

std::int16_t NX_GetCurrentOstrinDocument() {
    auto fn = Bound<nxsig::GetCurrentOstrinDocument>(Service::GetCurrentOstrinDocument);
    return fn ? fn(kInterfaceVersion) : 0;
}

std::int32_t NX_StartNotavoEdit(const char* name) {
    ++nx::Depth();
    auto fn = Bound<nxsig::StartNotavoEdit>(Service::StartNotavoEdit);
    return fn ? fn(name, kInterfaceVersion) : 0;
}

std::int32_t NX_StartNotavoEdit_UTF16(const char16_t* name) {
    ++nx::Depth();
    auto fn = Bound<nxsig::StartNotavoEditUtf16>(Service::StartNotavoEditUtf16);
    return fn ? fn(name, kInterfaceVersion) : 0;
}

std::int32_t NX_EndNotavoEdit() {
    std::int32_t& depth = nx::Depth();
    if (depth <= 0) return 1;
    --depth;
    auto fn = Bound<nxsig::EndNotavoEdit>(Service::EndNotavoEdit);
    return fn ? fn(kInterfaceVersion) : 0;
}

void NX_CancelNotavoEdit() {
    std::int32_t& depth = nx::Depth();
    if (depth <= 0) return;
    --depth;
    if (auto fn = Bound<nxsig::CancelNotavoEdit>(Service::CancelNotavoEdit)) {
        fn(kInterfaceVersion);
    }
}

void NX_ExecuteMenuItem(std::int32_t command) {
    if (auto fn = Bound<nxsig::ExecuteMenuItem>(Service::ExecuteMenuItem)) {
        fn(command, kInterfaceVersion);
    }
}

HWND NX_GetCurrentWindow() {
    auto fn = Bound<nxsig::GetCurrentWindow>(Service::GetCurrentWindow);
    return fn ? fn(kInterfaceVersion) : nullptr;
}
