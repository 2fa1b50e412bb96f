// The host's NX_ services, declared once. Everything that names, binds, exports, forwards or
// answers the services expands this list: the module's bindings, the substitute hosts' export
// tables and service layer, and the dialog forwarders. Adding a service means adding a row.
//
//   X(Id, Name, Result, Params, Args, Version, Binding, Answerer)
//
//   Id        the service in code: nx::Service::Id, nxsig::Id
//   Name      the name the host exports it under
//   Result    what it answers
//   Params    its arguments, named, all but the last
//   Args      the names of Params, in order
//   Version   what the last argument carries: Interface, the version this module speaks
//             (kInterfaceVersion, appended by the binding), or Data, the record's data version
//             (passed by the caller)
//   Binding   Plain when the module's binding takes Params (and the data version) and passes
//             them on; Own when the binding is written out by hand, because it adds to the call
//   Answerer  in the substitute host: Dialogs for the services its dialogs answer, Host for the
//             rest
//
// Every service is called with the Windows API calling convention.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/services/nx_types.h"

// clang-format off
#define NX_SERVICES(X)                                                                            \
    /* Records */                                                                                 \
    X(LoadEData, NX_LoadEData, std::int16_t,                                                      \
      (std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size),                   \
      (tag, key, buffer, size), Data, Own, Host)                                                  \
    X(SaveEData, NX_SaveEData, std::int16_t,                                                      \
      (std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size),                    \
      (tag, key, buffer, size), Data, Own, Host)                                                  \
    X(CreateEData, NX_CreateEData, std::int16_t,                                                  \
      (std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size),                    \
      (tag, key, buffer, size), Data, Plain, Host)                                                \
    X(DeleteEData, NX_DeleteEData, std::int16_t, (std::uint32_t tag, NXRecordKey* key),           \
      (tag, key), Data, Plain, Host)                                                              \
    X(NextEData, NX_NextEData, std::int16_t,                                                      \
      (std::uint32_t tag, NXRecordKey* key, void* reserved1, void* reserved2),                   \
      (tag, key, reserved1, reserved2), Data, Plain, Host)                                        \
    /* Dialogs and their items */                                                                 \
    X(Dialog, NX_Dialog, void,                                                                    \
      (std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,      \
       void* user),                                                                               \
      (resourceId, proc, context, zero, user), Interface, Plain, Dialogs)                         \
    X(EndDialog, NX_EndDialog, void, (HWND dialog), (dialog), Interface, Plain, Dialogs)          \
    X(EnableDlgItem, NX_EnableDlgItem, void,                                                      \
      (HWND dialog, std::int32_t item, std::int32_t enable), (dialog, item, enable), Interface,  \
      Plain, Dialogs)                                                                             \
    X(GetDlgItemVal, NX_GetDlgItemVal, std::int32_t,                                              \
      (HWND dialog, std::int32_t item, std::int32_t kind), (dialog, item, kind), Interface,      \
      Plain, Dialogs)                                                                             \
    X(SetDlgItemVal, NX_SetDlgItemVal, void,                                                      \
      (HWND dialog, std::int32_t item, std::int32_t kind, std::int32_t value),                   \
      (dialog, item, kind, value), Interface, Plain, Dialogs)                                     \
    X(GetDlgItemUser, NX_GetDlgItemUser, void,                                                    \
      (HWND dialog, std::int32_t item, std::int32_t zero, double* value),                        \
      (dialog, item, zero, value), Interface, Plain, Host)                                        \
    X(SetDlgItemUser, NX_SetDlgItemUser, void,                                                    \
      (HWND dialog, std::int32_t item, std::int32_t zero, double value),                         \
      (dialog, item, zero, value), Interface, Plain, Host)                                        \
    X(GetDlgString, NX_GetDlgString, void,                                                        \
      (HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity),                     \
      (dialog, item, buffer, capacity), Interface, Own, Dialogs)                                  \
    X(GetDlgStringUtf16, NX_GetDlgString_UTF16, void,                                             \
      (HWND dialog, std::int32_t item, char16_t* buffer, std::int32_t capacity),                 \
      (dialog, item, buffer, capacity), Interface, Own, Dialogs)                                  \
    X(SetDlgString, NX_SetDlgString, void,                                                        \
      (HWND dialog, std::int32_t item, const char* text), (dialog, item, text), Interface,       \
      Plain, Dialogs)                                                                             \
    X(SetDlgStringUtf16, NX_SetDlgString_UTF16, void,                                             \
      (HWND dialog, std::int32_t item, const char16_t* text), (dialog, item, text), Interface,   \
      Plain, Dialogs)                                                                             \
    /* Selection and document */                                                                  \
    X(SlotToInst, NX_SlotToInst, std::int16_t, (std::int16_t slot, std::int16_t slotKey),         \
      (slot, slotKey), Interface, Plain, Host)                                                    \
    X(GetCurERegions, NX_GetCurERegions, void,                                                    \
      (std::int32_t* scratch, NXRegionRecord* first, NXRegionRecord* second),                    \
      (scratch, first, second), Interface, Plain, Host)                                           \
    X(RedrawMusic, NX_RedrawMusic, void, (NXRegionRecord* region), (region), Interface, Plain,   \
      Host)                                                                                       \
    X(GetCurrentOstrinDocument, NX_GetCurrentOstrinDocument, std::int16_t, (), (), Interface,    \
      Plain, Host)                                                                                \
    /* Undoable edits */                                                                          \
    X(StartNotavoEdit, NX_StartNotavoEdit, std::int32_t, (const char* name), (name), Interface,   \
      Own, Host)                                                                                  \
    X(StartNotavoEditUtf16, NX_StartNotavoEdit_UTF16, std::int32_t, (const char16_t* name),       \
      (name), Interface, Own, Host)                                                               \
    X(EndNotavoEdit, NX_EndNotavoEdit, std::int32_t, (), (), Interface, Own, Host)                \
    X(CancelNotavoEdit, NX_CancelNotavoEdit, void, (), (), Interface, Own, Host)                  \
    /* Commands and windows */                                                                    \
    X(ExecuteMenuItem, NX_ExecuteMenuItem, void, (std::int32_t command), (command), Interface,   \
      Plain, Host)                                                                                \
    X(GetCurrentWindow, NX_GetCurrentWindow, HWND, (), (), Interface, Plain, Dialogs)
// clang-format on

// Helpers for expanding the list.

// The parameters of a row with the trailing version appended: (Params..., std::uint32_t version).
#define NX_PARAMS_WITH_VERSION(Params) NX_APPEND_VERSION_ Params
#define NX_APPEND_VERSION_(...) (__VA_ARGS__ __VA_OPT__(, ) std::uint32_t version)
// The arguments of a row with the version appended: (Args..., version).
#define NX_ARGS_WITH_VERSION(Args) NX_APPEND_VERSION_ARG_ Args
#define NX_APPEND_VERSION_ARG_(...) (__VA_ARGS__ __VA_OPT__(, ) version)
// The parameters the module's binding of a row takes: a record call's caller passes the data
// version; otherwise the binding appends the interface version itself.
#define NX_BINDING_PARAMS(Params, Version) NX_BINDING_PARAMS_##Version(Params)
#define NX_BINDING_PARAMS_Data(Params) NX_PARAMS_WITH_VERSION(Params)
#define NX_BINDING_PARAMS_Interface(Params) Params
// The version a binding passes on.
#define NX_BINDING_VERSION(Version) NX_BINDING_VERSION_##Version
#define NX_BINDING_VERSION_Data version
#define NX_BINDING_VERSION_Interface kInterfaceVersion
// NX_IF_<Binding or Answerer>(code) keeps the code for the rows of one kind only.
#define NX_IF_Plain(...) __VA_ARGS__
#define NX_IF_Own(...)
#define NX_IF_Dialogs(...) __VA_ARGS__
#define NX_IF_Host(...)

// The services' signatures, as the host exports them by name.
namespace nxsig {
// Result is a type, which parentheses would break.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define NX_SIGNATURE_(Id, Name, Result, Params, Args, Version, Binding, Answerer) \
    using Id = Result(WINAPI*) NX_PARAMS_WITH_VERSION(Params);
NX_SERVICES(NX_SIGNATURE_)
#undef NX_SIGNATURE_
// NOLINTEND(bugprone-macro-parentheses)
}  // namespace nxsig

namespace nx {

enum class Service : int {
#define NX_SERVICE_ID_(Id, ...) Id,
    NX_SERVICES(NX_SERVICE_ID_)
#undef NX_SERVICE_ID_
        Count
};

constexpr auto kServiceCount = static_cast<std::size_t>(Service::Count);

// The exported names, in the order of Service.
inline constexpr std::array<std::string_view, kServiceCount> kServiceNames = {
#define NX_SERVICE_NAME_(Id, Name, ...) #Name,
    NX_SERVICES(NX_SERVICE_NAME_)
#undef NX_SERVICE_NAME_
};

// A service as a type, for overloads that answer one service each.
template <Service S>
struct ServiceTag {};

}  // namespace nx
