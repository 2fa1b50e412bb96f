#include <gtest/gtest.h>

#include <string>

#include "simhost/scenario/scenario_script.h"

namespace {

using simhost::scenario::ParseScript;

TEST(ScenarioScript, SplitsQuotedWordsEscapesAndExpectations) {
    const auto parsed = ParseScript(
        "# a comment\n"
        "\n"
        "choose \"Golden Ratio with Edited Dots\"   # trailing comment\n"
        "expect description \"a \\\"b\\\"\\nc\\\\\"\n",
        "s.scenario");
    ASSERT_TRUE(parsed.script) << parsed.error.Describe();
    const auto& steps = parsed.script->steps;
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].line, 3u);
    EXPECT_EQ(steps[0].command, "choose");
    EXPECT_EQ(steps[0].words, std::vector<std::string>{"Golden Ratio with Edited Dots"});
    EXPECT_EQ(steps[1].command, "expect-description");
    EXPECT_EQ(steps[1].words, std::vector<std::string>{"a \"b\"\nc\\"});
}

struct BadLine {
    const char* text;
    const char* message;
};

class BadScript : public ::testing::TestWithParam<BadLine> {};

TEST_P(BadScript, IsRefusedWithTheLineAndTheReason) {
    const auto parsed = ParseScript(std::string("invoke\n") + GetParam().text, "bad.scenario");
    EXPECT_FALSE(parsed.script.has_value());
    EXPECT_EQ(parsed.error.Describe(), std::string("bad.scenario:2: ") + GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadScript,
    ::testing::Values(BadLine{"jump", "unknown step 'jump'"},
                      BadLine{"expect", "expect what? (for example: expect beeps 1)"},
                      BadLine{"expect colour red", "unknown step 'expect-colour'"},
                      BadLine{"click ok", "unknown control 'ok'"},
                      BadLine{"choose \"Tight", "a quoted text is not closed"},
                      BadLine{"choose \"a\\tb\"", "unknown escape \\t"},
                      BadLine{"move 1", "expected: move <dx> <dy>"},
                      BadLine{"invoke now", "expected: invoke"}));

TEST(ScenarioScript, AMissingFileIsNamed) {
    const auto parsed = simhost::scenario::ReadScriptFile("/nonexistent/x.scenario");
    EXPECT_FALSE(parsed.script.has_value());
    EXPECT_EQ(parsed.error.Describe(), "/nonexistent/x.scenario: cannot open the file");
}

}  // namespace
