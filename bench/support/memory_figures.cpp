#include "bench/support/memory_figures.h"

#include <fstream>
#include <malloc.h>
#include <string>

namespace quorbench {

namespace {

// A "Name:   1234 kB" line of /proc/self/status, in KiB; -1 when it is not there.
std::int64_t StatusKiB(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) return std::stoll(line.substr(name.size() + 1));
    }
    return -1;
}

}  // namespace

MemoryFigures ReadMemoryFigures() {
    MemoryFigures figures;
    figures.peakResidentKiB = StatusKiB("VmHWM");
    figures.residentKiB = StatusKiB("VmRSS");
    const struct mallinfo2 heap = mallinfo2();
    // Small blocks from the arenas plus the large ones mapped on their own.
    figures.heapInUse = heap.uordblks + heap.hblkhd;
    return figures;
}

}  // namespace quorbench
