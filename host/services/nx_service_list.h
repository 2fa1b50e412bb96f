// The host's NX_ services, declared once. Everything that names, binds, exports, forwards or
// answers them expands these lists: the module's bindings, the substitute hosts' export tables
// and service layer, and the dialog forwarders.
//
// A row is X(Id, Name, Result, (Type, name)...):
//   Id            the service in code: nx::Service::Id, nxsig::Id
//   Name          the name the host exports it under
//   Result        what it answers
//   (Type, name)  its arguments before the last, each named once; five at most
// The comment above each row says what goes in, what comes out and what the answer means.
//
// Every service is called with the Windows API calling convention, and its last argument, left
// out of the rows, is a 32-bit version. The sub-lists sort the services by who answers them in
// the substitute host, what that version is, and how the module binds them:
//
//   sub-list                          answered by   last argument       module's binding
//   NX_RECORD_SERVICES                HostBackend   the data version    passes the call on
//   NX_RECORD_SERVICES_BOUND_BY_HAND  HostBackend   the data version    written by hand
//   NX_HOST_SERVICES                  HostBackend   kInterfaceVersion   appends the version
//   NX_HOST_SERVICES_BOUND_BY_HAND    HostBackend   kInterfaceVersion   written by hand
//   NX_DIALOG_SERVICES                the dialogs   kInterfaceVersion   appends the version
//   NX_DIALOG_SERVICES_BOUND_BY_HAND  the dialogs   kInterfaceVersion   written by hand
//
// The data version is that of the record the caller holds, and the caller passes it. The
// bindings written by hand are in nx_services.h, NX_LoadEData's and NX_SaveEData's with the
// record layer. Adding a service is a row in the sub-list of its kind, an answer in
// simhost/services/service_layer.cpp (the build fails without one) and, for a service bound by
// hand, its binding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/services/nx_types.h"

// clang-format off

// The document's records. The tag names a record's type and the key which record of it; the
// host may rewrite the key in place. A nonzero result is success.
#define NX_RECORD_SERVICES(X)                                                                      \
    /* Adds size bytes of buffer as a record; key, -1, -1 in, names it out. Nonzero: added. */     \
    X(CreateEData, NX_CreateEData, std::int16_t,                                                   \
      (std::uint32_t, tag), (NXRecordKey*, key), (void*, buffer), (std::int32_t, size))            \
    /* Removes the record. Nonzero: removed. */                                                    \
    X(DeleteEData, NX_DeleteEData, std::int16_t, (std::uint32_t, tag), (NXRecordKey*, key))        \
    /* Moves key on to the next record of tag; both reserved are null. Nonzero: there was one. */  \
    X(NextEData, NX_NextEData, std::int16_t,                                                       \
      (std::uint32_t, tag), (NXRecordKey*, key), (void*, reserved1), (void*, reserved2))

// The records whose bindings translate the preference tags before the host sees them;
// NX_LoadEDataRaw and NX_SaveEDataRaw pass a call on as it is.
#define NX_RECORD_SERVICES_BOUND_BY_HAND(X)                                                        \
    /* Reads the record into buffer; size: the capacity in, the bytes read out. Nonzero: read. */  \
    X(LoadEData, NX_LoadEData, std::int16_t,                                                       \
      (std::uint32_t, tag), (NXRecordKey*, key), (void*, buffer), (std::int32_t*, size))           \
    /* Writes size bytes of buffer as the record. Nonzero: written. */                             \
    X(SaveEData, NX_SaveEData, std::int16_t,                                                       \
      (std::uint32_t, tag), (NXRecordKey*, key), (void*, buffer), (std::int32_t, size))

// The host's selection, document, commands and the dialog values in the user's units, which
// only the host can convert.
#define NX_HOST_SERVICES(X)                                                                        \
    /* Stores item's number, in the user's units, through value; zero is 0. */                     \
    X(GetDlgItemUser, NX_GetDlgItemUser, void,                                                     \
      (HWND, dialog), (std::int32_t, item), (std::int32_t, zero), (double*, value))                \
    /* Shows value, in the user's units, in item; zero is 0. */                                    \
    X(SetDlgItemUser, NX_SetDlgItemUser, void,                                                     \
      (HWND, dialog), (std::int32_t, item), (std::int32_t, zero), (double, value))                 \
    /* Answers the instrument of the staff at a region's slot and slotKey; 0: none. */             \
    X(SlotToInst, NX_SlotToInst, std::int16_t, (std::int16_t, slot), (std::int16_t, slotKey))      \
    /* Fills first and second with the selection (start and end measure 0: none), and scratch. */  \
    X(GetCurERegions, NX_GetCurERegions, void,                                                     \
      (std::int32_t*, scratch), (NXRegionRecord*, first), (NXRegionRecord*, second))               \
    /* Redraws the music of region. */                                                             \
    X(RedrawMusic, NX_RedrawMusic, void, (NXRegionRecord*, region))                                \
    /* Answers the current document's number. */                                                   \
    X(GetCurrentOstrinDocument, NX_GetCurrentOstrinDocument, std::int16_t)                         \
    /* Runs host command `command` to its end; 12106 respaces the selection. */                    \
    X(ExecuteMenuItem, NX_ExecuteMenuItem, void, (std::int32_t, command))

// The undoable edits, whose bindings keep the edit depth: a start raises it even when the host
// lacks the service, and end and cancel call the host only above depth 0.
#define NX_HOST_SERVICES_BOUND_BY_HAND(X)                                                          \
    /* Opens an undoable edit named by the 8-bit name. Nonzero: opened. */                         \
    X(StartNotavoEdit, NX_StartNotavoEdit, std::int32_t, (const char*, name))                      \
    /* Opens an undoable edit named by the UTF-16 name. Nonzero: opened. */                        \
    X(StartNotavoEditUtf16, NX_StartNotavoEdit_UTF16, std::int32_t, (const char16_t*, name))       \
    /* Ends the open edit; its changes stay as one undoable step. Nonzero: ended. */               \
    X(EndNotavoEdit, NX_EndNotavoEdit, std::int32_t)                                               \
    /* Cancels the open edit and undoes its changes. */                                            \
    X(CancelNotavoEdit, NX_CancelNotavoEdit, void)

// The dialogs, their items and the host's current window: the window system's part. dialog is a
// dialog's window, item an item id in it.
#define NX_DIALOG_SERVICES(X)                                                                      \
    /* Opens dialog resourceId of this module; proc gets its messages, with user as the fifth. */  \
    X(Dialog, NX_Dialog, void,                                                                     \
      (std::int16_t, resourceId), (NXDialogProc, proc), (std::int32_t, hostContext),               \
      (std::int32_t, zero), (void*, user))                                                         \
    /* Closes dialog. */                                                                           \
    X(EndDialog, NX_EndDialog, void, (HWND, dialog))                                               \
    /* Enables item (enable 1) or disables it (0). */                                              \
    X(EnableDlgItem, NX_EnableDlgItem, void,                                                       \
      (HWND, dialog), (std::int32_t, item), (std::int32_t, enable))                                \
    /* Answers item's value of kind: 1 its check state, 3 its text as a number. */                 \
    X(GetDlgItemVal, NX_GetDlgItemVal, std::int32_t,                                               \
      (HWND, dialog), (std::int32_t, item), (std::int32_t, kind))                                  \
    /* Sets item's value of kind (1 check state, 3 number) to value. */                            \
    X(SetDlgItemVal, NX_SetDlgItemVal, void,                                                       \
      (HWND, dialog), (std::int32_t, item), (std::int32_t, kind), (std::int32_t, value))           \
    /* Sets item's text to the terminated 8-bit text. */                                           \
    X(SetDlgString, NX_SetDlgString, void,                                                         \
      (HWND, dialog), (std::int32_t, item), (const char*, text))                                   \
    /* Sets item's text to the terminated UTF-16 text. */                                          \
    X(SetDlgStringUtf16, NX_SetDlgString_UTF16, void,                                              \
      (HWND, dialog), (std::int32_t, item), (const char16_t*, text))                               \
    /* Answers the host's current window; null when there is none. */                              \
    X(GetCurrentWindow, NX_GetCurrentWindow, HWND)

// The dialog string reads, whose bindings pass the capacity 5000 themselves.
#define NX_DIALOG_SERVICES_BOUND_BY_HAND(X)                                                        \
    /* Copies item's text into buffer, terminated, in at most capacity bytes. */                   \
    X(GetDlgString, NX_GetDlgString, void,                                                         \
      (HWND, dialog), (std::int32_t, item), (char*, buffer), (std::int32_t, capacity))             \
    /* Copies item's text into buffer, terminated, in at most capacity UTF-16 units. */            \
    X(GetDlgStringUtf16, NX_GetDlgString_UTF16, void,                                              \
      (HWND, dialog), (std::int32_t, item), (char16_t*, buffer), (std::int32_t, capacity))

// clang-format on

// Every service.
#define NX_SERVICES(X)                  \
    NX_RECORD_SERVICES(X)               \
    NX_RECORD_SERVICES_BOUND_BY_HAND(X) \
    NX_HOST_SERVICES(X)                 \
    NX_HOST_SERVICES_BOUND_BY_HAND(X)   \
    NX_DIALOG_SERVICES(X)               \
    NX_DIALOG_SERVICES_BOUND_BY_HAND(X)

// Helpers for expanding a row's (Type, name)... pairs, at most five of them.
// NX_PARAMS: "Type name, ..."; NX_ARGS: "name, ...".
#define NX_PARAMS(...) NX_EACH_(NX_PARAM_, __VA_ARGS__)
#define NX_ARGS(...) NX_EACH_(NX_ARG_, __VA_ARGS__)
// The parameters with the version last: "Type name, ..., std::uint32_t version".
#define NX_PARAMS_THEN_VERSION(...) NX_PARAMS(__VA_ARGS__) __VA_OPT__(, ) std::uint32_t version
// The arguments with Last after them: "name, ..., Last".
#define NX_ARGS_THEN(Last, ...) NX_ARGS(__VA_ARGS__) __VA_OPT__(, ) Last

#define NX_PARAM_(Type, name) Type name
#define NX_ARG_(Type, name) name
// F applied to each pair, separated by commas; a sixth pair does not build.
#define NX_EACH_(F, ...) __VA_OPT__(NX_EACH1_(F, __VA_ARGS__))
#define NX_EACH1_(F, pair, ...) F pair __VA_OPT__(, NX_EACH2_(F, __VA_ARGS__))
#define NX_EACH2_(F, pair, ...) F pair __VA_OPT__(, NX_EACH3_(F, __VA_ARGS__))
#define NX_EACH3_(F, pair, ...) F pair __VA_OPT__(, NX_EACH4_(F, __VA_ARGS__))
#define NX_EACH4_(F, pair, ...) F pair __VA_OPT__(, NX_EACH5_(F, __VA_ARGS__))
#define NX_EACH5_(F, pair) F pair

// The services' signatures, as the host exports them by name.
namespace nxsig {
// Result is a type, which parentheses would break.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define NX_SIGNATURE_(Id, Name, Result, ...) \
    using Id = Result(WINAPI*)(NX_PARAMS_THEN_VERSION(__VA_ARGS__));
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
