#include "simhost/scenario/module_entry.h"

#include <cstring>

#include "simhost/scenario/scenario_host.h"

namespace simhost {

namespace {

// The host stops asking for menu entries after this many, whatever the module answers.
constexpr std::int32_t kMaxMenuEntries = 64;

}  // namespace

std::string StartModule(const EntryPoints& entry, std::uint32_t hostVersion) {
    std::string menuItem;
    entry.version(hostVersion);
    std::uint32_t flags = 0;
    entry.init(0, &flags);
    for (std::int32_t index = 0; index < kMaxMenuEntries; ++index) {
        if (hostVersion >= kFirstUtf16HostVersion) {
            NXMenuEntry16 record{};
            if (entry.enumerateUtf16(0, index, &record) == 0) break;
            if (index == 0) menuItem = scenario::NarrowText(record.item);
        } else {
            NXMenuEntry8 record{};
            if (entry.enumerate(0, index, &record) == 0) break;
            if (index == 0)
                menuItem.assign(record.item, ::strnlen(record.item, sizeof record.item));
        }
    }
    entry.getMenuStatus(0);
    return menuItem;
}

}  // namespace simhost
