// The NX_ services as NOTAVO.EXE exports them by name, so that the extension finds them with
// GetProcAddress on the host's module. Each forwards to the service layer's own function, which
// journals the call and answers it (or to nothing, answering 0, when the layer made it absent).
#include <type_traits>
#include <windows.h>

#include "host/services/nx_types.h"
#include "simhost/services/service_layer.h"

namespace {

template <typename Fn, typename... Args>
auto Forward(const char* name, Args... args) {
    using Result = std::invoke_result_t<Fn, Args...>;
    simhost::ServiceLayer* layer = simhost::ServiceLayer::Current();
    void* address = layer ? layer->Resolve(name) : nullptr;
    if (address == nullptr) {
        if constexpr (std::is_void_v<Result>)
            return;
        else
            return Result{};
    }
    return reinterpret_cast<Fn>(address)(args...);
}

}  // namespace

#define QUOR_EXPORT extern "C" __declspec(dllexport)

QUOR_EXPORT std::int16_t WINAPI NX_LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                             std::int32_t* size, std::uint32_t version) {
    return Forward<nxsig::LoadEData>("NX_LoadEData", tag, key, buffer, size, version);
}
QUOR_EXPORT std::int16_t WINAPI NX_SaveEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                             std::int32_t size, std::uint32_t version) {
    return Forward<nxsig::SaveEData>("NX_SaveEData", tag, key, buffer, size, version);
}
QUOR_EXPORT std::int16_t WINAPI NX_CreateEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                               std::int32_t size, std::uint32_t version) {
    return Forward<nxsig::CreateEData>("NX_CreateEData", tag, key, buffer, size, version);
}
QUOR_EXPORT std::int16_t WINAPI NX_DeleteEData(std::uint32_t tag, NXRecordKey* key,
                                               std::uint32_t version) {
    return Forward<nxsig::DeleteEData>("NX_DeleteEData", tag, key, version);
}
QUOR_EXPORT std::int16_t WINAPI NX_NextEData(std::uint32_t tag, NXRecordKey* key, void* reserved1,
                                             void* reserved2, std::uint32_t version) {
    return Forward<nxsig::NextEData>("NX_NextEData", tag, key, reserved1, reserved2, version);
}
QUOR_EXPORT void WINAPI NX_Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context,
                                  std::int32_t zero, void* user, std::uint32_t version) {
    Forward<nxsig::Dialog>("NX_Dialog", resourceId, proc, context, zero, user, version);
}
QUOR_EXPORT void WINAPI NX_EndDialog(HWND dialog, std::uint32_t version) {
    Forward<nxsig::EndDialog>("NX_EndDialog", dialog, version);
}
QUOR_EXPORT void WINAPI NX_EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable,
                                         std::uint32_t version) {
    Forward<nxsig::EnableDlgItem>("NX_EnableDlgItem", dialog, item, enable, version);
}
QUOR_EXPORT std::int32_t WINAPI NX_GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                                                 std::uint32_t version) {
    return Forward<nxsig::GetDlgItemVal>("NX_GetDlgItemVal", dialog, item, kind, version);
}
QUOR_EXPORT void WINAPI NX_SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                                         std::int32_t value, std::uint32_t version) {
    Forward<nxsig::SetDlgItemVal>("NX_SetDlgItemVal", dialog, item, kind, value, version);
}
QUOR_EXPORT void WINAPI NX_GetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero,
                                          double* value, std::uint32_t version) {
    Forward<nxsig::GetDlgItemUser>("NX_GetDlgItemUser", dialog, item, zero, value, version);
}
QUOR_EXPORT void WINAPI NX_SetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero,
                                          double value, std::uint32_t version) {
    Forward<nxsig::SetDlgItemUser>("NX_SetDlgItemUser", dialog, item, zero, value, version);
}
QUOR_EXPORT void WINAPI NX_GetDlgString(HWND dialog, std::int32_t item, char* buffer,
                                        std::int32_t capacity, std::uint32_t version) {
    Forward<nxsig::GetDlgString>("NX_GetDlgString", dialog, item, buffer, capacity, version);
}
QUOR_EXPORT void WINAPI NX_GetDlgString_UTF16(HWND dialog, std::int32_t item, char16_t* buffer,
                                              std::int32_t capacity, std::uint32_t version) {
    Forward<nxsig::GetDlgStringUtf16>("NX_GetDlgString_UTF16", dialog, item, buffer, capacity,
                                      version);
}
QUOR_EXPORT void WINAPI NX_SetDlgString(HWND dialog, std::int32_t item, const char* text,
                                        std::uint32_t version) {
    Forward<nxsig::SetDlgString>("NX_SetDlgString", dialog, item, text, version);
}
QUOR_EXPORT void WINAPI NX_SetDlgString_UTF16(HWND dialog, std::int32_t item, const char16_t* text,
                                              std::uint32_t version) {
    Forward<nxsig::SetDlgStringUtf16>("NX_SetDlgString_UTF16", dialog, item, text, version);
}
QUOR_EXPORT std::int16_t WINAPI NX_SlotToInst(std::int16_t slot, std::int16_t slotKey,
                                              std::uint32_t version) {
    return Forward<nxsig::SlotToInst>("NX_SlotToInst", slot, slotKey, version);
}
QUOR_EXPORT void WINAPI NX_GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                                          NXRegionRecord* second, std::uint32_t version) {
    Forward<nxsig::GetCurERegions>("NX_GetCurERegions", scratch, first, second, version);
}
QUOR_EXPORT void WINAPI NX_RedrawMusic(NXRegionRecord* region, std::uint32_t version) {
    Forward<nxsig::RedrawMusic>("NX_RedrawMusic", region, version);
}
QUOR_EXPORT std::int16_t WINAPI NX_GetCurrentOstrinDocument(std::uint32_t version) {
    return Forward<nxsig::GetCurrentOstrinDocument>("NX_GetCurrentOstrinDocument", version);
}
QUOR_EXPORT std::int32_t WINAPI NX_StartNotavoEdit(const char* name, std::uint32_t version) {
    return Forward<nxsig::StartNotavoEdit>("NX_StartNotavoEdit", name, version);
}
QUOR_EXPORT std::int32_t WINAPI NX_StartNotavoEdit_UTF16(const char16_t* name,
                                                         std::uint32_t version) {
    return Forward<nxsig::StartNotavoEditUtf16>("NX_StartNotavoEdit_UTF16", name, version);
}
QUOR_EXPORT std::int32_t WINAPI NX_EndNotavoEdit(std::uint32_t version) {
    return Forward<nxsig::EndNotavoEdit>("NX_EndNotavoEdit", version);
}
QUOR_EXPORT void WINAPI NX_CancelNotavoEdit(std::uint32_t version) {
    Forward<nxsig::CancelNotavoEdit>("NX_CancelNotavoEdit", version);
}
QUOR_EXPORT void WINAPI NX_ExecuteMenuItem(std::int32_t command, std::uint32_t version) {
    Forward<nxsig::ExecuteMenuItem>("NX_ExecuteMenuItem", command, version);
}
QUOR_EXPORT HWND WINAPI NX_GetCurrentWindow(std::uint32_t version) {
    return Forward<nxsig::GetCurrentWindow>("NX_GetCurrentWindow", version);
}
