// The version the host reported through NotavoExtensionVersion. Every layer reads it: it picks
// between the 8-bit and UTF-16 services and between the two measure layouts.
#pragma once

#include <cstdint>

#include "host/services/nx_types.h"

namespace nx {

// Until the host reports its own, the module assumes the newest host it knows.
std::uint32_t HostVersion();
void SetHostVersion(std::uint32_t version);

}  // namespace nx

inline bool HostTakesUtf16() { return nx::HostVersion() >= kFirstUtf16HostVersion; }
inline bool HostUsesLongMeasures() { return nx::HostVersion() >= kFirstLongMeasureHostVersion; }
