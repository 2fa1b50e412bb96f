#include "host/services/host_version.h"

namespace nx {
namespace {

std::uint32_t& Version() {
    static std::uint32_t version = kInterfaceVersion;
    return version;
}

}  // namespace

std::uint32_t HostVersion() { return Version(); }

void SetHostVersion(std::uint32_t version) { Version() = version; }

}  // namespace nx
