// The notavo-sim command line: what a run is asked to do, read from its arguments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace simhost {

struct SimOptions {
    std::string module;
    std::string document;  // a document file (.ntv) or a MusicXML score
    std::string scenario;
    // The common case without a scenario: one run of a task on a range of measures.
    std::string task;
    std::optional<std::pair<std::int16_t, std::int16_t>> measures;
    bool fixedBarlines = false;
    bool asDefault = false;
    bool interactive = false;
    bool listTasks = false;  // the dialog's tasks and their descriptions, and nothing else
    std::string svg;         // before and after
    std::string compareAll;  // one row per task
    std::string save;
    std::uint32_t hostVersion = 0x12050000;
};

// Either the options of a run, or what to print instead of one: the help or the version (status
// 0, for the standard output) or what is wrong with the command line (status 2, for the
// standard error).
struct ParsedOptions {
    std::optional<SimOptions> options;
    std::string message;
    int status = 0;
};

// `module` is the extension the run loads unless --module names another; `version` is what
// --version prints.
ParsedOptions ParseSimOptions(const std::vector<std::string>& args, const std::string& module,
                              const std::string& version);

}  // namespace simhost
