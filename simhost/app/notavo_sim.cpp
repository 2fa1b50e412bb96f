// notavo-sim: loads an extension module the way the host does and reports what its entry
// points answer.
#include <cstdio>
#include <cstring>
#include <string>

#include "simhost/headless/extension_module.h"
#include "simhost/headless/headless_host.h"

namespace {

constexpr std::uint32_t kPlayedHostVersion = 0x12050000;

std::string Narrow(const char16_t* units) {
    std::string text;
    for (; *units != 0; ++units) text.push_back(static_cast<char>(*units & 0xFF));
    return text;
}

int Usage() {
    std::fprintf(stderr, "usage: notavo-sim [--module PATH]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = QUOR_DEFAULT_MODULE;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--module") == 0 && i + 1 < argc) {
            path = argv[++i];
        } else {
            return Usage();
        }
    }

    simhost::HostBackend backend;
    simhost::headless::HeadlessHost host(backend);
    simhost::headless::ExtensionModule module(path);
    if (!module.Loaded()) {
        std::fprintf(stderr, "notavo-sim: %s\n", module.Error().c_str());
        return 1;
    }
    const auto& entry = module.Entry();

    std::printf("module          %s\n", path.c_str());
    const std::uint32_t version = entry.version(kPlayedHostVersion);
    std::printf("Version         host 0x%08X -> extension 0x%08X\n", kPlayedHostVersion, version);
    std::uint32_t flags = 0;
    const std::int32_t init = entry.init(0, &flags);
    std::printf("Init            -> %d, flag word 0x%08X\n", init, flags);

    for (std::int32_t index = 0;; ++index) {
        NXMenuEntry16 menu{};
        if (entry.enumerateUtf16(0, index, &menu) == 0) {
            std::printf("Enumerate_UTF16 index %d -> 0 (no more entries)\n", index);
            break;
        }
        std::printf("Enumerate_UTF16 index %d -> \"%s\" in \"%s\"\n", index,
                    Narrow(menu.item).c_str(), Narrow(menu.group).c_str());
        std::printf("                \"%s\"\n", Narrow(menu.description).c_str());
    }
    NXMenuEntry8 menu8{};
    const std::int32_t enumerated = entry.enumerate(0, 0, &menu8);
    std::printf("Enumerate       index 0 -> %d, \"%s\"\n", enumerated, menu8.item);
    std::printf("GetMenuStatus   -> %d\n", entry.getMenuStatus(0));
    std::printf("Invoke          -> %d\n", entry.invoke(1, 0, 0, 0));
    entry.terminate(0);
    std::printf("Terminate       done; %zu host service calls\n",
                host.Services().Journal().Calls().size());
    return 0;
}
