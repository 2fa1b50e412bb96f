#include <gtest/gtest.h>

#include <string>

#include "simhost/scenario/scenario_script.h"
#include "tests/support/row_name.h"

namespace {

using simhost::scenario::kAnyCount;
using simhost::scenario::kVerbs;
using simhost::scenario::ParseScript;
using simhost::scenario::VerbShape;

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

void PrintTo(const BadLine& c, std::ostream* os) { *os << c.text; }

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
                      BadLine{"invoke now", "expected: invoke"},
                      BadLine{"staff 1 \"q qq\"",
                              "voice \"q qq\", column 4: unexpected character after an event"}),
    quortest::RowName{});

// Each verb as a script writes it (an expectation as two words), followed by `count` words; the
// first names a control, as click and expect item need, and a staff's voices are quarters.
std::string VerbLine(const VerbShape& shape, int count) {
    std::string line(shape.word);
    if (line.starts_with("expect-")) line[line.find('-')] = ' ';
    const char* later = shape.verb == simhost::scenario::Verb::Staff ? " q" : " 1";
    for (int i = 0; i < count; ++i) line += i == 0 ? " apply" : later;
    return line + "\n";
}

TEST(ScenarioScript, EveryVerbParsesToItselfWithinItsWordCounts) {
    for (const VerbShape& shape : kVerbs) {
        const std::string usage = "expected: " + std::string(shape.usage);
        const auto fewest = ParseScript(VerbLine(shape, shape.fewestWords), "v.scenario");
        ASSERT_TRUE(fewest.script) << fewest.error.Describe();
        EXPECT_EQ(fewest.script->steps.at(0).verb, shape.verb) << shape.word;
        if (shape.fewestWords > 0) {
            const auto parsed = ParseScript(VerbLine(shape, shape.fewestWords - 1), "v.scenario");
            EXPECT_EQ(parsed.error.message, usage) << shape.word;
        }
        const int most = shape.mostWords == kAnyCount ? 9 : shape.mostWords;
        const auto longest = ParseScript(VerbLine(shape, most), "v.scenario");
        ASSERT_TRUE(longest.script) << longest.error.Describe();
        EXPECT_EQ(longest.script->steps.at(0).verb, shape.verb) << shape.word;
        if (shape.mostWords != kAnyCount) {
            const auto parsed = ParseScript(VerbLine(shape, most + 1), "v.scenario");
            EXPECT_EQ(parsed.error.message, usage) << shape.word;
        }
    }
}

TEST(ScenarioScript, AMissingFileIsNamed) {
    const auto parsed = simhost::scenario::ReadScriptFile("/nonexistent/x.scenario");
    EXPECT_FALSE(parsed.script.has_value());
    EXPECT_EQ(parsed.error.Describe(), "/nonexistent/x.scenario: cannot open the file");
}

}  // namespace
