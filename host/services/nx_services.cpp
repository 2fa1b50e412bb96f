#include "host/services/nx_services.h"

namespace nx {
namespace detail {

constinit BindingTable table{};

}  // namespace detail

namespace {

struct HostModule {
    bool lookedUp = false;
    HMODULE module = nullptr;
};

HostModule& Host() {
    static HostModule host;
    return host;
}

HMODULE FindHost() {
    HostModule& host = Host();
    if (!host.lookedUp) {
        host.lookedUp = true;
        host.module = GetModuleHandleA("NOTAVO.EXE");
        if (host.module == nullptr) host.module = GetModuleHandleA("NTVDEMO.EXE");
    }
    return host.module;
}

std::int32_t& Depth() { return detail::table.editDepth; }

}  // namespace

const char* ServiceName(Service service) {
    // Each name is a literal of the list, so it ends in a terminator.
    return kServiceNames[static_cast<std::size_t>(service)].data();
}

void* BoundAddress(Service service) {
    const auto index = static_cast<std::size_t>(service);
    if (!detail::table.lookedUp[index]) {
        detail::table.lookedUp[index] = true;
        // Asked even when neither program name was found: with a null module Windows looks in
        // the main program, so a host under another name still binds through its own exports.
        detail::table.addresses[index] =
            reinterpret_cast<void*>(GetProcAddress(FindHost(), ServiceName(service)));
    }
    return detail::table.addresses[index];
}

void ResetBindings() {
    detail::table = detail::BindingTable{};
    Host() = HostModule{};
}

std::int32_t EditDepth() { return Depth(); }

}  // namespace nx

using nx::Call;
using nx::Service;

std::int32_t NX_StartNotavoEdit(const char* name) {
    ++nx::Depth();
    return Call<Service::StartNotavoEdit>(name, kInterfaceVersion);
}

std::int32_t NX_StartNotavoEdit_UTF16(const char16_t* name) {
    ++nx::Depth();
    return Call<Service::StartNotavoEditUtf16>(name, kInterfaceVersion);
}

std::int32_t NX_EndNotavoEdit() {
    std::int32_t& depth = nx::Depth();
    if (depth <= 0) return 1;
    --depth;
    return Call<Service::EndNotavoEdit>(kInterfaceVersion);
}

void NX_CancelNotavoEdit() {
    std::int32_t& depth = nx::Depth();
    if (depth <= 0) return;
    --depth;
    Call<Service::CancelNotavoEdit>(kInterfaceVersion);
}
