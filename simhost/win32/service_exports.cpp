// The NX_ services as NOTAVO.EXE exports them by name, so that the extension finds them with
// GetProcAddress on the host's module. Each forwards to the service layer's own function, which
// journals the call and answers it (or to nothing, answering 0, when the layer made it absent).
#include <type_traits>
#include <windows.h>

#include "host/services/nx_service_list.h"
#include "simhost/services/service_layer.h"

namespace {

template <nx::Service S, typename Fn, typename... Args>
auto Forward(Args... args) {
    using Result = std::invoke_result_t<Fn, Args...>;
    simhost::ServiceLayer* layer = simhost::ServiceLayer::Current();
    void* address =
        layer ? layer->Resolve(nx::kServiceNames[static_cast<std::size_t>(S)]) : nullptr;
    if (address == nullptr) return Result();
    return reinterpret_cast<Fn>(address)(args...);
}

}  // namespace

#define NX_EXPORT_(Id, Name, Result, ...)                                                      \
    extern "C" __declspec(dllexport) Result WINAPI Name(NX_PARAMS_THEN_VERSION(__VA_ARGS__)) { \
        return Forward<nx::Service::Id, nxsig::Id>(NX_ARGS_THEN(version, __VA_ARGS__));        \
    }
NX_SERVICES(NX_EXPORT_)
#undef NX_EXPORT_
