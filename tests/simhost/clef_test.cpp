// Clefs: the text they are written as, the pitch of the middle line each one gives, the names
// musicians call them by, and which one rules a staff at a point of the score.
#include "simhost/document/clef.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

#include "simhost/document/document_builder.h"
#include "tests/support/row_name.h"

namespace {

using simhost::Clef;
using simhost::ClefSign;

struct ClefCase {
    const char* text;
    Clef clef;
    std::optional<int> middleLine;  // as a diatonic step: C4 is 28
    const char* name;
};

void PrintTo(const ClefCase& c, std::ostream* os) { *os << c.text; }

class Clefs : public ::testing::TestWithParam<ClefCase> {};

TEST_P(Clefs, ReadBackAndPlaceTheirMiddleLine) {
    const ClefCase& c = GetParam();
    EXPECT_EQ(simhost::ParseClef(c.text), c.clef);
    EXPECT_EQ(simhost::ClefText(c.clef), c.text);
    EXPECT_EQ(c.clef.MiddleLine(), c.middleLine);
    EXPECT_EQ(simhost::ClefName(c.clef), c.name);
}

constexpr int kB4 = 34;
constexpr int kD3 = 22;
constexpr int kC4 = 28;

INSTANTIATE_TEST_SUITE_P(
    Cases, Clefs,
    ::testing::Values(
        ClefCase{"G2", {ClefSign::G, 2, 0}, kB4, "treble"},
        ClefCase{"F4", {ClefSign::F, 4, 0}, kD3, "bass"},
        ClefCase{"C3", {ClefSign::C, 3, 0}, kC4, "alto"},
        // The tenor clef's C on the fourth line leaves A3 on the middle one.
        ClefCase{"C4", {ClefSign::C, 4, 0}, kC4 - 2, "tenor"},
        ClefCase{"C1", {ClefSign::C, 1, 0}, kC4 + 4, "soprano"},
        ClefCase{"G1", {ClefSign::G, 1, 0}, kB4 + 2, "French violin"},
        ClefCase{"F3", {ClefSign::F, 3, 0}, kD3 + 2, "baritone"},
        // The tenor voice's treble clef with an 8 below: every note an octave lower.
        ClefCase{"G2-8", {ClefSign::G, 2, -1}, kB4 - 7, "treble 8 below"},
        ClefCase{"F4+15", {ClefSign::F, 4, 2}, kD3 + 14, "bass 15 above"},
        ClefCase{"C2-8", {ClefSign::C, 2, -1}, kC4 + 2 - 7, "mezzo-soprano 8 below"},
        ClefCase{"G3", {ClefSign::G, 3, 0}, kB4 - 2, "G clef on line 3"},
        // Unpitched notes sit as they would under a treble clef; TAB has no such line.
        ClefCase{"percussion", {ClefSign::Percussion, 3, 0}, kB4, "percussion"},
        ClefCase{"TAB", {ClefSign::Tab, 5, 0}, std::nullopt, "TAB"}),
    quortest::RowName{});

TEST(Clefs, TextsThatNameNoClefAreRefused) {
    for (const char* text : {"", "G", "G0", "G6", "H2", "g2", "G2-7", "G2+16", "G2-8x", "tab"}) {
        EXPECT_FALSE(simhost::ParseClef(text)) << text;
    }
}

// Staff 2 starts in the bass clef, takes the treble clef at beat 3 of measure 1 and is given
// the bass clef again at the end of measure 2, before measure 3's barline.
TEST(Clefs, TheClefInForceIsTheLastChangeAtOrBeforeThePoint) {
    const simhost::Score score = simhost::DocumentBuilder()
                                     .withStaff(1, {"w | w | w"})
                                     .withStaff(1, {"w | w | w"}, "F4")
                                     .withClefChange(1, 2, 2048, "G2")
                                     .withClefChange(2, 2, 4096, "F4")
                                     .Build()
                                     .GetScore();
    EXPECT_EQ(score.ClefAt(1, 1, 0), simhost::kBassClef);
    EXPECT_EQ(score.ClefAt(1, 1, 2047), simhost::kBassClef);
    EXPECT_EQ(score.ClefAt(1, 1, 2048), simhost::kTrebleClef);
    EXPECT_EQ(score.ClefAt(1, 2, 0), simhost::kTrebleClef);
    EXPECT_EQ(score.ClefAt(1, 2, 3072), simhost::kTrebleClef);
    EXPECT_EQ(score.ClefAt(1, 3, 0), simhost::kBassClef);
    EXPECT_EQ(score.ClefAt(0, 3, 0), simhost::kTrebleClef) << "the other staff keeps its clef";
}

}  // namespace
