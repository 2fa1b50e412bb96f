// The notavo-sim command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
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
    std::string svg;         // before and after
    std::string compareAll;  // one row per task
    std::string save;
    std::uint32_t hostVersion = 0x12050000;
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    std::optional<SimOptions> options;
    std::string error;
};

ParsedOptions ParseSimOptions(const std::vector<std::string>& args, const std::string& module);
const char* SimUsage();

}  // namespace simhost
