// Every scenario shipped in samples/scenarios, run against the headless host with the module
// loaded from disk. The Win32 host runs the same files under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "simhost/headless/headless_scenario_host.h"
#include "simhost/scenario/scenario_runner.h"

namespace {

std::vector<std::string> ScenarioFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(QUOR_SCENARIO_DIR)) {
        if (entry.path().extension() == ".scenario") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class ScenarioFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ScenarioFile, PassesOnTheHeadlessHost) {
    const simhost::scenario::ParsedScript parsed = simhost::scenario::ReadScriptFile(GetParam());
    ASSERT_TRUE(parsed.script.has_value()) << parsed.error.Describe();
    simhost::headless::HeadlessScenarioHost host(QUOR_MODULE_PATH);
    const simhost::scenario::RunResult result = simhost::scenario::RunScript(*parsed.script, host);
    EXPECT_TRUE(result.passed) << result.failure;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = std::filesystem::path(info.param).stem().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Samples, ScenarioFile, ::testing::ValuesIn(ScenarioFiles()), TestName);

TEST(ScenarioFiles, AreShipped) { EXPECT_GE(ScenarioFiles().size(), 10u); }

}  // namespace
