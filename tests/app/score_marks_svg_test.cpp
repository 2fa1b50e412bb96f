// Beams in the pictures: notes that share a beam carry no flags and their stems end on it, the
// beam slants by no more than a staff space; a score without beams is beamed by the beat, one
// with beams as written; broken marks draw what can be drawn and never stop the picture.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "simhost/app/score_svg.h"
#include "simhost/document/document_builder.h"
#include "tests/app/imported_score.h"
#include "tests/app/svg_query.h"

namespace {

using apptest::All;
using apptest::Attribute;
using apptest::DrawnRow;
using apptest::kStaffSpace;
using simhost::Document;
using simhost::DocumentBuilder;

// The beam groups drawn in each measure, in order.
std::vector<std::size_t> BeamsPerMeasure(const pugi::xml_node& root, int measures) {
    std::vector<std::size_t> counts;
    for (int n = 1; n <= measures; ++n) {
        counts.push_back(All(root, "//*[@class='measure'][@data-n='" + std::to_string(n) +
                                       "']//*[@class='beam']")
                             .size());
    }
    return counts;
}

TEST(BeamsDrawn, BeamedNotesHaveNoFlagsAndTheirStemsEndOnTheSlantedBeam) {
    // A rising group: C5 D5 E5 F5 G5 A5, stems down, beamed over two beats as the file says.
    const Document document =
        DocumentBuilder()
            .withStaff(1, {"8:G4[beam=b] 8:B4[beam=c] 8:D5[beam=c] 8:F5[beam=c] 8:A5[beam=c] "
                           "8:C6[beam=e] q"})
            .Build();
    const auto xml = DrawnRow(document, {1, 1});
    EXPECT_TRUE(All(xml, "//*[@class='flag']").empty());
    ASSERT_EQ(All(xml, "//*[@class='beam']").size(), 1u);
    const auto stems = All(xml, "//*[@class='note']/*[@class='stem']");
    ASSERT_EQ(stems.size(), 7u);
    // Every stem of the group goes one way; the slant over the group is at most a space.
    const double firstEnd = Attribute(stems[0], "y2");
    const double lastEnd = Attribute(stems[5], "y2");
    EXPECT_LE(std::abs(lastEnd - firstEnd), kStaffSpace + 0.01);
    EXPECT_LT(lastEnd, firstEnd) << "the beam rises with the notes";
    for (std::size_t i = 0; i < 6; ++i) {
        const bool up = Attribute(stems[i], "y2") < Attribute(stems[i], "y1");
        EXPECT_EQ(up, Attribute(stems[0], "y2") < Attribute(stems[0], "y1")) << i;
        // At least its plain length from its head, the beam moved clear of every head.
        EXPECT_GE(std::abs(Attribute(stems[i], "y2") - Attribute(stems[i], "y1")),
                  2.5 * kStaffSpace)
            << i;
    }
}

TEST(BeamsDrawn, SixteenthsGetASecondBeamAndADottedPairAHook) {
    const Document document =
        DocumentBuilder()
            .withStaff(1, {"16:C5[beam=bb] 16:D5[beam=cc] 16:E5[beam=cc] 16:F5[beam=ee] "
                           "8.:G5[beam=b] 16:A5[beam=ek] h"})
            .Build();
    const auto xml = DrawnRow(document, {1, 1});
    const auto groups = All(xml, "//*[@class='beam']");
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(All(groups[0], "*[@d]").size(), 2u) << "a primary and a secondary beam";
    EXPECT_EQ(All(groups[1], "*[@d]").size(), 2u) << "a primary beam and a hook";
    EXPECT_TRUE(All(xml, "//*[@class='flag']").empty());
}

struct BeatCase {
    const char* name;
    std::vector<std::string> voices;
    std::vector<std::size_t> beams;  // per measure
};

class BeamsByTheBeat : public ::testing::TestWithParam<BeatCase> {};

TEST_P(BeamsByTheBeat, OnlyWhereTheScoreStatesNone) {
    const auto& c = GetParam();
    const Document document = DocumentBuilder().withStaff(1, c.voices).withMeasures(2).Build();
    EXPECT_EQ(BeamsPerMeasure(DrawnRow(document, {1, 2}), 2), c.beams);
}

INSTANTIATE_TEST_SUITE_P(
    Scores, BeamsByTheBeat,
    ::testing::Values(
        BeatCase{"NoneStatedBeamsEachBeat", {"8 8 8 8 16 16 16 16 q | 8 r8 8 8 h"}, {3, 1}},
        BeatCase{"OneStatedBeamMeansTheRestAreMeantUnbeamed",
                 {"8 8 8 8 16 16 16 16 q | 8[beam=b] 8[beam=e] 8 8 h"},
                 {0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BeamsDrawn, TwoVoicesStemApartUnlessTheFileSaysOtherwise) {
    const Document document =
        DocumentBuilder().withStaff(1, {"q:C5 q:C5 q:C5[down] q:C5", "q:A4 q:A4 h:A4"}).Build();
    const auto xml = DrawnRow(document, {1, 1});
    std::vector<bool> up;
    for (const auto& stem : All(xml, "//*[@class='stem']")) {
        up.push_back(Attribute(stem, "y2") < Attribute(stem, "y1"));
    }
    EXPECT_EQ(up, (std::vector<bool>{true, true, false, true, false, false, false}));
}

// Where a rest's glyph starts, from the "M x,y" that opens its path.
double RestTop(const pugi::xml_node& rest) {
    const std::string d = rest.select_node(".//*[@d]").node().attribute("d").value();
    return std::stod(d.substr(d.find(',') + 1));
}

TEST(BeamsDrawn, RestsOfTwoVoicesMoveApart) {
    const auto rests = [](const Document& document) {
        std::vector<double> tops;
        const auto xml = DrawnRow(document, {1, 1});
        for (const auto& rest : All(xml, "//*[@class='rest']")) {
            tops.push_back(RestTop(rest));
        }
        return tops;
    };
    const auto alone = rests(DocumentBuilder().withStaff(1, {"q:C5 rq h:C5"}).Build());
    const auto two =
        rests(DocumentBuilder().withStaff(1, {"q:C5 rq h:C5", "q:A4 rq h:A4"}).Build());
    ASSERT_EQ(alone.size(), 1u);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_NEAR(two[0], alone[0] - 1.5 * kStaffSpace, 0.01) << "the upper voice's rest moves up";
    EXPECT_NEAR(two[1], alone[0] + 1.5 * kStaffSpace, 0.01) << "the lower voice's rest moves down";
}

// Each broken case of bad_beams.musicxml, a measure each (named in the file): what can be
// drawn is, a mark that cannot is left out, and the picture goes on.
TEST(BrokenMarks, BeamsAreDrawnAsFarAsTheyMakeSense) {
    const auto parsed = apptest::ImportScoreFile("bad_beams.musicxml");
    ASSERT_TRUE(parsed.document) << parsed.error.Describe();
    EXPECT_EQ(BeamsPerMeasure(DrawnRow(*parsed.document, {1, 9}), 9),
              (std::vector<std::size_t>{0, 1, 1, 1, 1, 1, 1, 0, 1}));
}

TEST(BrokenMarks, TiesSlursAndChordStemsNeverStopThePicture) {
    for (const char* name : {"bad_ties_and_slurs.musicxml", "bad_chord_stems.musicxml"}) {
        const auto parsed = apptest::ImportScoreFile(name);
        ASSERT_TRUE(parsed.document) << parsed.error.Describe();
        const auto count = static_cast<std::int16_t>(parsed.document->GetScore().Measures().size());
        const auto xml = DrawnRow(*parsed.document, {1, count});
        EXPECT_EQ(All(xml, "//*[@class='measure']").size(), static_cast<std::size_t>(count))
            << name;
        EXPECT_FALSE(All(xml, "//*[@class='notehead']").empty()) << name;
    }
}

}  // namespace
