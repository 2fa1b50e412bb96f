#include "framework/core/undo_block.h"

#include <algorithm>
#include <array>

#include "framework/core/nc_string.h"
#include "host/services/host_version.h"
#include "host/services/nx_services.h"

namespace {

// The UTF-16 start service takes a name of at most 499 units and its terminator.
constexpr std::uint32_t kEditNameUnits = 500;

std::int32_t StartEdit(NCString& name) {
    if (HostTakesUtf16()) {
        std::array<char16_t, kEditNameUnits> buffer{};
        const std::uint32_t units = std::min(name.Length(), kEditNameUnits - 1);
        std::copy_n(name.Units(), units, buffer.begin());
        buffer[units] = 0;
        return NX_StartNotavoEdit_UTF16(buffer.data());
    }
    return NX_StartNotavoEdit(name.Text8());
}

}  // namespace

bool NCUndoBlock::Run(__NCUndoBlockHandler* handler, NCString* name) {
    if (handler == nullptr || name == nullptr) return false;

    // Whatever Work does, the handler must not be left pointing at this block.
    struct Detach {
        __NCUndoBlockHandler* handler;
        bool& running;
        ~Detach() {
            handler->block_ = nullptr;
            running = false;
        }
    } detach{handler, running_};

    handler->block_ = this;
    if (StartEdit(*name) == 0) {
        handler->block_ = nullptr;
        running_ = false;
    }

    bool kept = false;
    running_ = true;
    try {
        kept = handler->Work();
    } catch (...) {
        // A failed allocation inside the work must not leave the host edit open.
        running_ = false;
        NX_CancelNotavoEdit();
        throw;
    }
    running_ = false;

    if (kept) {
        NX_EndNotavoEdit();
    } else {
        NX_CancelNotavoEdit();
    }
    return kept;
}
