// The dialog and window services of a host's dialogs (the headless ones, or those on the real
// USER32) on top of any HostBackend: over HostBackend itself for tests of windows alone, over
// DocumentBackend for the whole host. The record, document and edit services stay those of the
// base.
#pragma once

#include <utility>

#include "host/services/nx_service_list.h"
#include "simhost/services/host_backend.h"

namespace simhost {

template <typename Dialogs, typename Base>
class WithDialogs : public Base {
public:
    template <typename... BaseArgs>
    explicit WithDialogs(Dialogs& dialogs, BaseArgs&&... args)
        : Base(std::forward<BaseArgs>(args)...), dialogs_(dialogs) {}

    // Every service of the dialogs' sub-lists goes to them as it came.
#define NX_FORWARD_TO_DIALOGS_(Id, Name, Result, ...) \
    Result Id(NX_PARAMS(__VA_ARGS__)) override { return dialogs_.Id(NX_ARGS(__VA_ARGS__)); }
    NX_DIALOG_SERVICES(NX_FORWARD_TO_DIALOGS_)
    NX_DIALOG_SERVICES_BOUND_BY_HAND(NX_FORWARD_TO_DIALOGS_)
#undef NX_FORWARD_TO_DIALOGS_

private:
    Dialogs& dialogs_;
};

}  // namespace simhost
