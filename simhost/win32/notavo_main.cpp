// NOTAVO.EXE --module <path to .nxt> --scenario <file>...   runs each scenario on fresh host
//     state (the module loaded for it and freed after it), one line each: "PASS name" or
//     "FAIL name: why"; exits 1 when any failed.
// NOTAVO.EXE --module <path> --screenshot <file.bmp>         opens the dialog with a task chosen
//     on a small document, writes its picture and prints "size WxH", its real size.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "simhost/scenario/scenario_runner.h"
#include "simhost/scenario/scenario_script.h"
#include "simhost/win32/win32_scenario_host.h"
#include "simhost/win32/window_capture.h"

namespace {

using namespace simhost;

// The picture's document and the dialog's state: a task chosen, Fixed Barlines ticked.
constexpr char kScreenshotScript[] =
    "staff 1 \"q q 8 8 q | h q q | w\"\n"
    "select 1 2\n"
    "invoke\n"
    "choose \"Loose Allotment\"\n"
    "click fixed-barlines\n";

struct Options {
    std::wstring module;
    std::vector<std::string> scenarios;
    std::wstring screenshot;
};

int Usage() {
    std::fputs(
        "usage: NOTAVO.EXE --module <file.nxt> (--scenario <file>... | --screenshot "
        "<file.bmp>)\n",
        stderr);
    return 2;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--module" && i + 1 < argc) {
            options.module = std::filesystem::path(argv[++i]).wstring();
        } else if (word == "--screenshot" && i + 1 < argc) {
            options.screenshot = std::filesystem::path(argv[++i]).wstring();
        } else if (word == "--scenario") {
            while (i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0) {
                options.scenarios.emplace_back(argv[++i]);
            }
        } else {
            return false;
        }
    }
    return !options.module.empty() && (!options.scenarios.empty() || !options.screenshot.empty());
}

bool RunScenario(const std::wstring& module, const std::string& path) {
    const std::string name = std::filesystem::path(path).stem().string();
    const scenario::ParsedScript parsed = scenario::ReadScriptFile(path);
    if (!parsed.script) {
        std::printf("FAIL %s: %s\n", name.c_str(), parsed.error.Describe().c_str());
        return false;
    }
    win32::Win32ScenarioHost host(module);
    const scenario::RunResult result = scenario::RunScript(*parsed.script, host);
    if (result.passed) {
        std::printf("PASS %s\n", name.c_str());
    } else {
        std::printf("FAIL %s: %s\n", name.c_str(), result.failure.c_str());
    }
    std::fflush(stdout);
    return result.passed;
}

bool Screenshot(const std::wstring& module, const std::wstring& bmpPath) {
    const scenario::ParsedScript parsed = scenario::ParseScript(kScreenshotScript, "screenshot");
    if (!parsed.script) {
        std::printf("FAIL screenshot: %s\n", parsed.error.Describe().c_str());
        return false;
    }
    win32::Win32ScenarioHost host(module);
    const scenario::RunResult result = scenario::RunScript(*parsed.script, host);
    if (!result.passed) {
        std::printf("FAIL screenshot: %s\n", result.failure.c_str());
        return false;
    }
    host.Dialogs().PumpMessages();
    const win32::CaptureResult picture = win32::CaptureWindow(host.Dialogs().OpenDialog(), bmpPath);
    if (!picture.written) {
        std::printf("FAIL screenshot: %s\n", picture.error.c_str());
        return false;
    }
    std::printf("size %dx%d\n", picture.width, picture.height);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return Usage();
    std::size_t failures = 0;
    for (const std::string& path : options.scenarios) {
        if (!RunScenario(options.module, path)) ++failures;
    }
    if (!options.scenarios.empty()) {
        std::printf("%zu passed, %zu failed\n", options.scenarios.size() - failures, failures);
    }
    const bool pictured =
        options.screenshot.empty() || Screenshot(options.module, options.screenshot);
    std::fflush(stdout);
    return failures == 0 && pictured ? 0 : 1;
}
