// Bindings of the host's NX_ services. Each service is looked up by name on its first use and
// the outcome kept: a service the host lacks is never looked up again, and its binding answers
// 0 and does nothing. Every call appends the interface version, except the record calls, whose
// caller passes the record's data version. All of them run on the host's UI thread.
//
// A bound call costs a flag test, a load and the indirect call: the record scans make tens of
// thousands of them in a run.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "host/services/nx_service_list.h"
#include "host/services/nx_types.h"

namespace nx {

// The exported name of a service, for example "NX_LoadEData".
const char* ServiceName(Service service);

// The bound address of a service, or null when the host lacks it. The host module is found
// once (NOTAVO.EXE, else NTVDEMO.EXE; else the main program, through a null module) and each
// name is looked up at most once.
void* BoundAddress(Service service);

// Forgets every binding, the host module and the edit depth, as after a fresh load of the
// module. Only a test host that swaps its services between cases needs this.
void ResetBindings();

// Number of host edits opened through the start bindings and not yet ended or cancelled.
std::int32_t EditDepth();

namespace detail {

// What the bindings have found. Zero-initialised before anything runs, so a binding may be used
// from any constructor.
struct BindingTable {
    std::array<bool, kServiceCount> lookedUp;
    std::array<void*, kServiceCount> addresses;
    std::int32_t editDepth;
};
extern constinit BindingTable table;

template <Service S>
struct Signature;
#define NX_SIGNATURE_OF_(Id, ...)   \
    template <>                     \
    struct Signature<Service::Id> { \
        using Type = nxsig::Id;     \
    };
NX_SERVICES(NX_SIGNATURE_OF_)
#undef NX_SIGNATURE_OF_

}  // namespace detail

// The service's bound function, or null when the host lacks it. A loop that calls one service
// thousands of times reads it once.
template <Service S>
inline typename detail::Signature<S>::Type Bound() {
    constexpr auto index = static_cast<std::size_t>(S);
    void* address =
        detail::table.lookedUp[index] ? detail::table.addresses[index] : BoundAddress(S);
    return reinterpret_cast<typename detail::Signature<S>::Type>(address);
}

// Calls the service when the host has it; otherwise answers zero (null, nothing).
template <Service S, typename... Args>
inline auto Call(Args... args) {
    const auto function = Bound<S>();
    if (function != nullptr) return function(args...);
    using Result = std::invoke_result_t<decltype(function), Args...>;
    if constexpr (!std::is_void_v<Result>) return Result{};
}

}  // namespace nx

// The bindings that pass their arguments on as they are: a record call's caller passes the
// record's data version, and the others append the interface version.
#define NX_RECORD_BINDING_(Id, Name, Result, ...)                             \
    inline Result Name(NX_PARAMS_THEN_VERSION(__VA_ARGS__)) {                 \
        return nx::Call<nx::Service::Id>(NX_ARGS_THEN(version, __VA_ARGS__)); \
    }
#define NX_INTERFACE_BINDING_(Id, Name, Result, ...)                                    \
    inline Result Name(NX_PARAMS(__VA_ARGS__)) {                                        \
        return nx::Call<nx::Service::Id>(NX_ARGS_THEN(kInterfaceVersion, __VA_ARGS__)); \
    }
NX_RECORD_SERVICES(NX_RECORD_BINDING_)
NX_HOST_SERVICES(NX_INTERFACE_BINDING_)
NX_DIALOG_SERVICES(NX_INTERFACE_BINDING_)
#undef NX_RECORD_BINDING_
#undef NX_INTERFACE_BINDING_

// Record services whose raw forms reach the host unchanged; NX_LoadEData and NX_SaveEData
// (declared with the record layer) add the translation of preference tags on top of them.
inline std::int16_t NX_LoadEDataRaw(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                    std::int32_t* size, std::uint32_t version) {
    return nx::Call<nx::Service::LoadEData>(tag, key, buffer, size, version);
}
inline std::int16_t NX_SaveEDataRaw(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                    std::int32_t size, std::uint32_t version) {
    return nx::Call<nx::Service::SaveEData>(tag, key, buffer, size, version);
}

// Both pass the capacity 5000 (bytes or UTF-16 units). NX_GetDlgItemUser, like every binding,
// leaves what it would write untouched when the host lacks the service.
constexpr std::int32_t kDialogStringCapacity = 5000;
inline void NX_GetDlgString(HWND dialog, std::int32_t item, char* buffer) {
    nx::Call<nx::Service::GetDlgString>(dialog, item, buffer, kDialogStringCapacity,
                                        kInterfaceVersion);
}
inline void NX_GetDlgString_UTF16(HWND dialog, std::int32_t item, char16_t* buffer) {
    nx::Call<nx::Service::GetDlgStringUtf16>(dialog, item, buffer, kDialogStringCapacity,
                                             kInterfaceVersion);
}

// Undoable edits. The start bindings raise the edit depth before anything else, even when the
// host lacks the service. End answers 1 without calling the host at depth 0 or less; cancel
// then does nothing.
std::int32_t NX_StartNotavoEdit(const char* name);
std::int32_t NX_StartNotavoEdit_UTF16(const char16_t* name);
std::int32_t NX_EndNotavoEdit();
void NX_CancelNotavoEdit();
