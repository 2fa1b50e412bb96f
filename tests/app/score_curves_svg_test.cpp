// Ties, slurs and tuplets in the pictures: ties join heads on the side away from the stem, one
// per tied pitch, and run to the row's edge where the other note lies outside it; slurs go where
// the file places them and clear the notes and slurs they span; both are filled crescents;
// tuplets show a number, and a bracket where no one beam holds them; all follow respacing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "simhost/app/score_svg.h"
#include "simhost/document/document_builder.h"
#include "simhost/document/respacer.h"
#include "tests/app/imported_score.h"
#include "tests/app/svg_query.h"

namespace {

using apptest::All;
using apptest::Attribute;
using apptest::DrawnRow;
using apptest::kStaffSpace;
using simhost::Document;
using simhost::DocumentBuilder;

// The marks of one class drawn in each measure of a picture (of its first system).
std::vector<std::size_t> PerMeasure(const pugi::xml_node& root, const std::string& mark, int first,
                                    int last) {
    std::vector<std::size_t> counts;
    for (int n = first; n <= last; ++n) {
        counts.push_back(All(root, "(//*[@class='system'])[1]//*[@class='measure'][@data-n='" +
                                       std::to_string(n) + "']//*[@class='" + mark + "']")
                             .size());
    }
    return counts;
}

// A tie's or slur's crescent: where it starts and ends, and where its outer and inner edges'
// first control points stand.
struct Crescent {
    double x1, y1, x2, y2;
    double outerY, innerY;
};

Crescent ShapeOf(const pugi::xml_node& curve) {
    const pugi::xml_node path = curve.child("path");
    EXPECT_STREQ(path.attribute("stroke").value(), "") << "a crescent is filled, not stroked";
    EXPECT_STRNE(path.attribute("fill").value(), "none");
    std::string d = path.attribute("d").value();
    std::vector<double> numbers;
    std::string letters;
    for (char& c : d) {
        if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
            letters += c;
            c = ' ';
        }
    }
    EXPECT_EQ(letters, "MCCZ") << "two curves, one out and one back";
    std::size_t at = 0;
    while (at < d.size()) {
        std::size_t used = 0;
        if (d.find_first_not_of(" ,", at) == std::string::npos) break;
        at = d.find_first_not_of(" ,", at);
        numbers.push_back(std::stod(d.substr(at), &used));
        at += used;
    }
    EXPECT_EQ(numbers.size(), 14u);
    if (numbers.size() < 14) return {};
    return Crescent{numbers[0], numbers[1], numbers[6], numbers[7], numbers[3], numbers[11]};
}

std::vector<Crescent> Shapes(const pugi::xml_node& root, const std::string& mark) {
    std::vector<Crescent> shapes;
    for (const auto& curve : All(root, ".//*[@class='" + mark + "']")) {
        shapes.push_back(ShapeOf(curve));
    }
    return shapes;
}

std::vector<double> HeadXs(const pugi::xml_node& root) {
    std::vector<double> xs;
    for (const auto& head : All(root, ".//*[@class='notehead']")) {
        xs.push_back(Attribute(head, "data-cx"));
    }
    return xs;
}

TEST(TiesDrawn, HeadToHeadAwayFromTheStemThickInTheMiddle) {
    // A4 stems up, so its tie bends down; D5 stems down, so its tie bends up.
    const Document document =
        DocumentBuilder().withStaff(1, {"h:A4~ h:~A4 | h:D5~ h:~D5"}).withMeasures(2).Build();
    const auto xml = DrawnRow(document, {1, 2});
    EXPECT_EQ(PerMeasure(xml, "tie", 1, 2), (std::vector<std::size_t>{1, 1}));
    const auto heads = HeadXs(xml);
    const auto ties = Shapes(xml, "tie");
    ASSERT_EQ(ties.size(), 2u);
    ASSERT_EQ(heads.size(), 4u);
    for (std::size_t t = 0; t < 2; ++t) {
        EXPECT_GT(ties[t].x1, heads[2 * t]) << "from the first head";
        EXPECT_LT(ties[t].x2, heads[2 * t + 1]) << "to the second";
        EXPECT_GT(ties[t].x2 - ties[t].x1, 0.5 * (heads[2 * t + 1] - heads[2 * t]));
        EXPECT_LT(std::abs(ties[t].innerY - ties[t].y1), std::abs(ties[t].outerY - ties[t].y1))
            << "the inner edge bends less: thick in the middle, thin at the ends";
    }
    EXPECT_GT(ties[0].outerY, ties[0].y1) << "stem up: the tie bends down";
    EXPECT_LT(ties[1].outerY, ties[1].y1) << "stem down: the tie bends up";
}

TEST(TiesDrawn, OnePerTiedPitchOfAChordTheUpperUpTheLowerDown) {
    const Document document = DocumentBuilder().withStaff(1, {"h:C5~+E5+G5~ h:~C5+~G5"}).Build();
    const auto ties = Shapes(DrawnRow(document, {1, 1}), "tie");
    ASSERT_EQ(ties.size(), 2u);
    // Lowest pitch first: C5 bends down, G5 up.
    EXPECT_GT(ties[0].outerY, ties[0].y1);
    EXPECT_LT(ties[1].outerY, ties[1].y1);
}

TEST(TiesDrawn, OfTwoVoicesEachBendsToItsStemsSide) {
    const Document document =
        DocumentBuilder().withStaff(1, {"h:C5~ h:~C5", "h:A4~ h:~A4"}).Build();
    const auto ties = Shapes(DrawnRow(document, {1, 1}), "tie");
    ASSERT_EQ(ties.size(), 2u);
    EXPECT_LT(ties[0].outerY, ties[0].y1) << "the upper voice's tie bends up";
    EXPECT_GT(ties[1].outerY, ties[1].y1) << "the lower voice's bends down";
}

TEST(TiesDrawn, IntoAMeasureOutsideThePictureAHalfTieToTheEdge) {
    const Document document =
        DocumentBuilder().withStaff(1, {"h q q:C5~ | h:~C5 h | w"}).withMeasures(3).Build();
    // Across the barline, the whole tie is drawn in the measure it starts in.
    EXPECT_EQ(PerMeasure(DrawnRow(document, {1, 2}), "tie", 1, 2),
              (std::vector<std::size_t>{1, 0}));
    const auto left = DrawnRow(document, {1, 1});
    const auto out = Shapes(left, "tie");
    ASSERT_EQ(out.size(), 1u);
    const double end = apptest::MeasureX(left, 1) +
                       document.MeasureRecord(1)->width * simhost::kSvgUnitsPerHostUnit;
    EXPECT_NEAR(out[0].x2, end, kStaffSpace) << "runs to the row's right edge";
    const auto right = DrawnRow(document, {2, 3});
    const auto in = Shapes(right, "tie");
    ASSERT_EQ(in.size(), 1u);
    EXPECT_EQ(PerMeasure(right, "tie", 2, 3), (std::vector<std::size_t>{1, 0}));
    EXPECT_NEAR(in[0].x1, apptest::MeasureX(right, 2), kStaffSpace) << "from the row's left edge";
    EXPECT_LT(in[0].x2, HeadXs(right).front());
}

struct PlacementCase {
    const char* name;
    std::string voice;
    bool above;
};

class SlurPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(SlurPlacement, AsTheFilePlacesItElseByTheStems) {
    const auto& c = GetParam();
    const auto xml = DrawnRow(DocumentBuilder().withStaff(1, {c.voice}).Build(), {1, 1});
    const auto slurs = Shapes(xml, "slur");
    ASSERT_EQ(slurs.size(), 1u);
    EXPECT_EQ(slurs[0].outerY < slurs[0].y1, c.above);
}

INSTANTIATE_TEST_SUITE_P(
    Slurs, SlurPlacement,
    ::testing::Values(PlacementCase{"StemsUpUnder", "q:G4[slur+1] q:A4 h:G4[slur-1]", false},
                      PlacementCase{"StemsDownOver", "q:D5[slur+1] q:E5 h:F5[slur-1]", true},
                      PlacementCase{"StatedOver", "q:G4[slur+1^] q:A4 h:G4[slur-1]", true},
                      PlacementCase{"StatedUnder", "q:D5[slur+1_] q:E5 h:F5[slur-1]", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SlursDrawn, ClearTheHeadsAndStemsTheySpan) {
    // Over a leap: the slur from C5 to C5 bends over the A5 between them and its stem.
    const auto xml = DrawnRow(
        DocumentBuilder().withStaff(1, {"q:C5[slur+1^] q:A5 q:C6 q:C5[slur-1]"}).Build(), {1, 1});
    const auto slurs = Shapes(xml, "slur");
    ASSERT_EQ(slurs.size(), 1u);
    // The curve's highest point, three quarters of the control points' rise.
    const double peak = slurs[0].y1 + 0.75 * (slurs[0].outerY - slurs[0].y1);
    double highest = 1e9;
    for (const auto& head : All(xml, "//*[@class='notehead']")) {
        highest = std::min(highest, Attribute(head, "data-cy"));
    }
    EXPECT_LT(peak, highest - 0.5 * kStaffSpace);
}

TEST(SlursDrawn, NestAsTheirNumbersNest) {
    const auto xml =
        DrawnRow(DocumentBuilder()
                     .withStaff(1, {"q:D5[slur+1] q:E5[slur+2] q:F5[slur-2] q:E5[slur-1]"})
                     .Build(),
                 {1, 1});
    const auto slurs = Shapes(xml, "slur");
    ASSERT_EQ(slurs.size(), 2u);
    const Crescent& outer = slurs[0].x1 < slurs[1].x1 ? slurs[0] : slurs[1];
    const Crescent& inner = slurs[0].x1 < slurs[1].x1 ? slurs[1] : slurs[0];
    EXPECT_LT(outer.x1, inner.x1);
    EXPECT_GT(outer.x2, inner.x2);
    EXPECT_LT(outer.y1 + 0.75 * (outer.outerY - outer.y1),
              inner.y1 + 0.75 * (inner.outerY - inner.y1) - 0.3 * kStaffSpace)
        << "the outer slur passes over the inner one";
}

TEST(SlursDrawn, AnEndOutsideThePictureRunsToTheEdge) {
    const Document document =
        DocumentBuilder().withStaff(1, {"h q q:C5[slur+1] | q:D5 q h:E5[slur-1]"}).Build();
    const auto xml = DrawnRow(document, {1, 1});
    const auto slurs = Shapes(xml, "slur");
    ASSERT_EQ(slurs.size(), 1u);
    EXPECT_NEAR(slurs[0].x2,
                apptest::MeasureX(xml, 1) +
                    document.MeasureRecord(1)->width * simhost::kSvgUnitsPerHostUnit,
                kStaffSpace);
}

struct TupletCase {
    const char* name;
    std::string voice;
    std::size_t brackets;
    std::vector<std::string> numbers;
};

class TupletsDrawn : public ::testing::TestWithParam<TupletCase> {};

TEST_P(TupletsDrawn, ANumberAndABracketWhereNoOneBeamHoldsThem) {
    const auto& c = GetParam();
    const auto xml = DrawnRow(DocumentBuilder().withStaff(1, {c.voice}).Build(), {1, 1});
    EXPECT_EQ(All(xml, "//*[@class='tuplet']//*[@class='tupletBracket']").size(), c.brackets);
    std::vector<std::string> numbers;
    for (const auto& number : All(xml, "//*[@class='tuplet']//*[@class='tupletNum']")) {
        numbers.emplace_back(number.text().get());
    }
    EXPECT_EQ(numbers, c.numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Tuplets, TupletsDrawn,
    ::testing::Values(TupletCase{"BeamedByTheBeat", "(3:2 8 8 8) h.", 0, {"3"}},
                      TupletCase{"Unbeamed", "(3:2 q q q) h", 1, {"3"}},
                      TupletCase{"BeamedOverARest", "(3:2 8[beam=b] r8 8[beam=e]) h.", 0, {"3"}},
                      TupletCase{"BracketAskedFor", "(3:2[bracket] 8 8 8) h.", 1, {"3"}},
                      TupletCase{"BracketRefused", "(3:2[nobracket] q q q) h", 0, {"3"}},
                      TupletCase{"NumberHidden", "(3:2[num=none] q q q) h", 1, {}},
                      TupletCase{"RatioShown", "(3:2[num=both] 8 8 8) h.", 0, {"3:2"}},
                      TupletCase{"NothingToShow", "(3:2[nobracket,num=none] 8 8 8) h.", 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MarksDrawn, FollowTheNotesWhenTheSpacingChanges) {
    Document before = DocumentBuilder()
                          .withAllotments({{512, 40}, {1024, 150}, {2048, 300}})
                          .withStaff(1, {"q:C5~[slur+1] q:~C5 8:D5 8:E5 q:F5[slur-1]"})
                          .withSelection(1, 1)
                          .Build();
    Document after = before;
    simhost::Respacer(after).RespaceSelection();
    const auto xml = apptest::ParseSvg(simhost::BeforeAfterSvg(before, after, {1, 1}));
    const auto systems = All(xml, "//*[@class='system']");
    ASSERT_EQ(systems.size(), 2u);
    std::vector<double> reach;
    for (const auto& system : systems) {
        const auto heads = HeadXs(system);
        const auto ties = Shapes(system, "tie");
        const auto slurs = Shapes(system, "slur");
        ASSERT_EQ(heads.size(), 5u);
        ASSERT_EQ(ties.size(), 1u);
        ASSERT_EQ(slurs.size(), 1u);
        EXPECT_GT(ties[0].x1, heads[0]);
        EXPECT_LT(ties[0].x2, heads[1]);
        EXPECT_NEAR(slurs[0].x1, heads[0], kStaffSpace);
        EXPECT_NEAR(slurs[0].x2, heads[4], kStaffSpace);
        reach.push_back(slurs[0].x2 - slurs[0].x1);
    }
    EXPECT_GT(std::abs(reach[1] - reach[0]), kStaffSpace)
        << "the slur's reach changed with the task";
}

// bad_ties_and_slurs.musicxml names its case in each measure.
TEST(BrokenMarks, TiesAndSlursDrawWhatMakesSense) {
    const auto parsed = apptest::ImportScoreFile("bad_ties_and_slurs.musicxml");
    ASSERT_TRUE(parsed.document) << parsed.error.Describe();
    const auto xml = DrawnRow(*parsed.document, {1, 8});
    // 1: a tie that never stops is a short tie; 2: a stop without a start ties nothing; 3 and
    // 8: a slur that never stops is left out; 4: nor does a stop without a start draw one; 5:
    // slur 1 started again while open ends there, so two slurs; 6: a tie to another pitch is
    // a short tie from the first note; 7: ties stated half still join their notes; 8: the last
    // note's tie never stops.
    EXPECT_EQ(PerMeasure(xml, "tie", 1, 8), (std::vector<std::size_t>{1, 0, 0, 0, 0, 1, 2, 1}));
    EXPECT_EQ(PerMeasure(xml, "slur", 1, 8), (std::vector<std::size_t>{0, 0, 0, 0, 2, 0, 0, 0}));
}

}  // namespace
