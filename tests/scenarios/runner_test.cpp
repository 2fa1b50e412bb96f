// The runner reports what is wrong, at the step's line: a wrong expectation or an action the
// user could not take must fail the scenario, or a broken dialog would pass unnoticed.
#include <gtest/gtest.h>

#include <string>

#include "simhost/headless/headless_scenario_host.h"
#include "simhost/scenario/scenario_runner.h"
#include "tests/support/row_name.h"

namespace {

using simhost::scenario::ParseScript;
using simhost::scenario::RunScript;

constexpr const char* kOpened =
    "staff 1 \"q q 8 8 q | h h\"\n"
    "allotments 512:48 1024:72 2048:96\n"
    "select 1 2\n"
    "invoke\n"
    "mark before\n";

simhost::scenario::RunResult RunText(const std::string& text) {
    const auto parsed = ParseScript(text, "case.scenario");
    EXPECT_TRUE(parsed.script.has_value()) << parsed.error.Describe();
    if (!parsed.script) return {};
    simhost::headless::HeadlessScenarioHost host(QUOR_MODULE_PATH);
    return RunScript(*parsed.script, host);
}

struct FailingCase {
    const char* steps;  // after kOpened, whose five lines come first
    const char* failure;
};

void PrintTo(const FailingCase& c, std::ostream* os) { *os << c.steps; }

class WrongExpectation : public ::testing::TestWithParam<FailingCase> {};

TEST_P(WrongExpectation, FailsAtItsLineSayingWhatItSaw) {
    const auto result = RunText(std::string(kOpened) + GetParam().steps);
    EXPECT_FALSE(result.passed);
    EXPECT_NE(result.failure.find("case.scenario:6: "), std::string::npos) << result.failure;
    EXPECT_NE(result.failure.find(GetParam().failure), std::string::npos) << result.failure;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WrongExpectation,
    ::testing::Values(
        FailingCase{"expect selected \"Tight Scaling\"\n",
                    "the selected row is \"Square Root 2 Scaling\""},
        FailingCase{"expect beeps 1\n", "expected 1 beeps, got 0"},
        FailingCase{"expect closed\n", "the dialog is open"},
        FailingCase{"expect description empty\n", "the description is \"Scaled"},
        FailingCase{"expect checked\n", "Fixed Barlines is clear"},
        FailingCase{"expect edits \"Loose Allotment\"\n", "the edits are none"},
        FailingCase{"expect rows \"Tight Allotment\"\n", "the list shows \"Tight Allotment\" "},
        FailingCase{"expect document changed-from before\n", "unchanged from 'before'"},
        FailingCase{"expect window size before 0 10\n", "changed size by 0, 0"},
        FailingCase{"expect item apply moved before 0 10\n", "expected a move by 0, 10"},
        FailingCase{"expect widths 1 2\n", "the measure widths are 300 300"},
        FailingCase{"choose \"Slow Allotment\"\n", "no row \"Slow Allotment\""},
        FailingCase{"undo\n", "nothing to undo"},
        FailingCase{"expect document same-as later\n", "no mark named 'later'"}),
    quortest::RowName{});

TEST(ScenarioRunner, ARunChangesWhatTheExpectationsSee) {
    const auto result = RunText(std::string(kOpened) +
                                "choose \"Tight Allotment\"\n"
                                "click apply\n"
                                "expect document same-as before\n");
    EXPECT_FALSE(result.passed);
    EXPECT_NE(result.failure.find(":8: the document differs from 'before'"), std::string::npos)
        << result.failure;
}

TEST(ScenarioRunner, ActionsOnAClosedDialogFail) {
    const auto result = RunText(std::string(kOpened) + "click close\nclick apply\n");
    EXPECT_FALSE(result.passed);
    EXPECT_NE(result.failure.find(":7: the user could not click apply"), std::string::npos)
        << result.failure;
}

TEST(ScenarioRunner, AMissingModuleIsReported) {
    const auto parsed = ParseScript("invoke\n", "case.scenario");
    ASSERT_TRUE(parsed.script);
    simhost::headless::HeadlessScenarioHost host("/nonexistent/module.nxt");
    const auto result = RunScript(*parsed.script, host);
    EXPECT_FALSE(result.passed);
    EXPECT_NE(result.failure.find("cannot load /nonexistent/module.nxt"), std::string::npos)
        << result.failure;
}

TEST(ScenarioRunner, DocumentStepsAfterTheHostStartedAreRefused) {
    const auto result = RunText(std::string(kOpened) + "staff 2 \"w\"\n");
    EXPECT_FALSE(result.passed);
    EXPECT_NE(result.failure.find("before the host starts"), std::string::npos) << result.failure;
}

// Steps no sample scenario takes, each seen through what it should have built.
TEST(ScenarioRunner, DocumentStepsBuildWhatTheyName) {
    struct Case {
        const char* steps;
        bool passes;
    };
    const Case cases[] = {
        {"measures 3\nmeasure-width 250\nexpect widths 250 250 250\n", true},
        {"measures 3\nmeasure-width 250\nexpect widths 250 250\n", false},
        {"measures 2\nmeasure-width 180\nexpect widths 250 250\n", false},
        {"allotments 1024\n", false},
    };
    for (const Case& c : cases) {
        const auto result = RunText(c.steps);
        EXPECT_EQ(result.passed, c.passes) << c.steps << result.failure;
    }
}

}  // namespace
