// The music in the pictures as a musician reads it: staves of one instrument braced and barred
// together, each staff's own clef, notes on the lines their clef gives them, key signatures
// and accidentals, grace and cue notes small, clef changes where they happen, whole-measure
// rests in the middle, and nothing for a space.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "simhost/app/notation_glyphs.h"
#include "simhost/app/score_svg.h"
#include "simhost/app/shown_accidentals.h"
#include "simhost/document/document_builder.h"
#include "simhost/document/respacer.h"
#include "simhost/document/score_notation.h"
#include "simhost/document/signature_room.h"
#include "tests/app/svg_query.h"
#include "tests/support/row_name.h"

namespace {

using apptest::All;
using apptest::Attribute;
using apptest::DrawnRow;
using apptest::kStaffSpace;
using simhost::Document;
using simhost::DocumentBuilder;

Document Respaced(Document document) {
    simhost::Respacer(document).RespaceSelection();
    return document;
}

double StaffTop(const pugi::xml_node& root, int staff) {
    return Attribute(
        root.select_node(
                (".//*[@class='staff-lines'][@data-staff='" + std::to_string(staff) + "']").c_str())
            .node(),
        "data-top");
}

// A piano's two staves braced, and a third instrument's staff alone.
TEST(ScoreNotationSvg, AnInstrumentsStavesShareABraceAndBarlinesOthersStandAlone) {
    const Document document = Respaced(DocumentBuilder()
                                           .withStaff(1, {"w:E5 | w:F5"})
                                           .withStaff(1, {"w:C3 | w:D3"}, "F4")
                                           .withStaff(2, {"w:G4 | w:A4"})
                                           .withBrace(1, 2)
                                           .withSelection(1, 2)
                                           .Build());
    const auto xml = DrawnRow(document, {1, 2});
    EXPECT_EQ(All(xml, "//*[@class='brace']").size(), 1u);
    const auto barlines = All(xml, "//*[@class='barLine']");
    ASSERT_EQ(barlines.size(), 4u);  // two per measure
    const double staffHeight = 4 * kStaffSpace;
    for (const std::size_t first : {0u, 2u}) {
        EXPECT_EQ(Attribute(barlines[first], "y1"), StaffTop(xml, 1));
        EXPECT_EQ(Attribute(barlines[first], "y2"), StaffTop(xml, 2) + staffHeight);
        EXPECT_EQ(Attribute(barlines[first + 1], "y1"), StaffTop(xml, 3));
        EXPECT_EQ(Attribute(barlines[first + 1], "y2"), StaffTop(xml, 3) + staffHeight);
    }
    // The system line opens all of them.
    const auto system = All(xml, "//*[@class='system-line']");
    ASSERT_EQ(system.size(), 1u);
    EXPECT_EQ(Attribute(system[0], "y1"), StaffTop(xml, 1));
    EXPECT_EQ(Attribute(system[0], "y2"), StaffTop(xml, 3) + staffHeight);
}

std::vector<std::string> HeaderClefs(const pugi::xml_node& root) {
    std::vector<std::string> clefs;
    for (const auto& clef : All(root, "//*[@class='staff-start']/*[@class='clef']")) {
        clefs.push_back(clef.attribute("data-clef").value());
    }
    return clefs;
}

// A row opens with the clef in force at its first measure: after a change, the new one.
TEST(ScoreNotationSvg, EachStaffOpensWithItsOwnClef) {
    const Document document = DocumentBuilder()
                                  .withStaff(1, {"w | w"}, "C3")
                                  .withStaff(1, {"w | w"}, "F4")
                                  .withClefChange(1, 2, 4096, "C4")
                                  .Build();
    EXPECT_EQ(HeaderClefs(DrawnRow(document, {1, 2})), (std::vector<std::string>{"C3", "F4"}));
    EXPECT_EQ(HeaderClefs(DrawnRow(document, {2, 2})), (std::vector<std::string>{"C3", "C4"}));
}

struct LineCase {
    const char* clef;
    const char* pitch;
    double stepsAboveMiddle;  // where the head stands
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.clef << ' ' << c.pitch; }

class NotesOnTheirLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(NotesOnTheirLines, StandWhereTheClefPutsThem) {
    const LineCase& c = GetParam();
    const Document document =
        DocumentBuilder().withStaff(1, {std::string("w:") + c.pitch}, c.clef).Build();
    const auto xml = DrawnRow(document);
    const auto heads = All(xml, "//*[@class='notehead']");
    ASSERT_EQ(heads.size(), 1u);
    const double middle = StaffTop(xml, 1) + 2 * kStaffSpace;
    EXPECT_DOUBLE_EQ(Attribute(heads[0], "data-cy"), middle - c.stepsAboveMiddle * kStaffSpace / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Clefs, NotesOnTheirLines,
    ::testing::Values(LineCase{"G2", "B4", 0}, LineCase{"G2", "G4", -2},
                      LineCase{"G2", "C4", -6},  // on the first ledger line below
                      LineCase{"F4", "D3", 0}, LineCase{"F4", "F3", 2}, LineCase{"F4", "C4", 6},
                      LineCase{"C3", "C4", 0}, LineCase{"C3", "A3", -2}, LineCase{"C4", "C4", 2},
                      LineCase{"C4", "A3", 0}, LineCase{"C1", "C4", -4},
                      // The tenor's treble clef: G3 sounds on the second line.
                      LineCase{"G2-8", "G3", -2}, LineCase{"G2-8", "B3", 0},
                      // Unpitched notes as under a treble clef; TAB on the middle line.
                      LineCase{"percussion", "E4", -4}, LineCase{"TAB", "E2", 0},
                      LineCase{"TAB", "G5", 0}),
    quortest::RowName{});

// Under a clef that names no pitch a sharp would claim one: the head is drawn plainly.
TEST(ScoreNotationSvg, AccidentalsAreDrawnOnlyUnderAClefThatNamesPitches) {
    for (const auto& [clef, accidentals] : {std::pair{"G2", 1u}, {"TAB", 0u}}) {
        const Document document = DocumentBuilder().withStaff(1, {"w:F#4"}, clef).Build();
        EXPECT_EQ(All(DrawnRow(document), "//*[@class='accid']").size(), accidentals) << clef;
    }
}

// The treble clef taken at beat 3 stands small before the note there, which it places.
TEST(ScoreNotationSvg, AClefChangeStandsSmallBeforeTheNoteItPlaces) {
    const Document document = Respaced(DocumentBuilder()
                                           .withStaff(1, {"h:C4 h:C4"}, "F4")
                                           .withClefChange(1, 1, 2048, "G2")
                                           .withSelection(1, 1)
                                           .Build());
    const auto xml = DrawnRow(document);
    const auto changes = All(xml, "//*[@class='clef-change']");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(std::string(changes[0].attribute("data-clef").value()), "G2");
    const auto heads = All(xml, "//*[@class='notehead']");
    ASSERT_EQ(heads.size(), 2u);
    const double middle = StaffTop(xml, 1) + 2 * kStaffSpace;
    EXPECT_DOUBLE_EQ(Attribute(heads[0], "data-cy"), middle - 3 * kStaffSpace) << "a ledger above";
    EXPECT_DOUBLE_EQ(Attribute(heads[1], "data-cy"), middle + 3 * kStaffSpace) << "a ledger below";
    // Every stroke of the small clef lies between the two notes.
    for (const auto& path : All(changes[0], ".//*[@d]")) {
        const std::string d = path.attribute("d").value();
        const double x = std::stod(d.substr(d.find(' ') + 1));
        EXPECT_GT(x, Attribute(heads[0], "data-cx"));
        EXPECT_LT(x, Attribute(heads[1], "data-cx"));
    }
}

TEST(ScoreNotationSvg, GraceNotesAreSmallStemUpAndBeforeTheirNote) {
    const Document document = Respaced(DocumentBuilder()
                                           .withStaff(1, {"q:C5 g/8:F5 g16:E5 q:D5 cq:C5 cq:B4"})
                                           .withSelection(1, 1)
                                           .Build());
    const auto xml = DrawnRow(document);
    const auto heads = All(xml, "//*[@class='notehead']");
    ASSERT_EQ(heads.size(), 6u);
    std::vector<std::string> sizes;
    for (const auto& head : heads) sizes.push_back(head.attribute("data-size").value());
    EXPECT_EQ(sizes, (std::vector<std::string>{"full", "grace", "grace", "full", "cue", "cue"}));
    EXPECT_LT(Attribute(heads[1], "data-cx"), Attribute(heads[2], "data-cx"));
    EXPECT_LT(Attribute(heads[2], "data-cx"), Attribute(heads[3], "data-cx"));
    EXPECT_EQ(All(xml, "//*[@class='grace-slash']").size(), 1u) << "only the slashed one";
    // Both graces lie above the middle line with their stems still going up.
    const auto stems = All(xml, "//*[@class='stem']");
    ASSERT_EQ(stems.size(), 6u);
    for (const std::size_t grace : {1u, 2u}) {
        EXPECT_LT(Attribute(stems[grace], "y2"), Attribute(stems[grace], "y1"));
    }
}

TEST(ScoreNotationSvg, AWholeMeasureRestStandsInTheMiddleAndASpaceIsNotDrawn) {
    const Document document = Respaced(DocumentBuilder()
                                           .withStaff(1, {"Rh."})
                                           .withStaff(2, {"q:C5 q:D5 q:E5", "sh q:G4"})
                                           .withTimeSignature(3, 1024)
                                           .withSelection(1, 1)
                                           .Build());
    const auto xml = DrawnRow(document);
    const auto rests = All(xml, "//*[@class='rest'][@data-fills='measure']");
    ASSERT_EQ(rests.size(), 1u);
    const auto block = rests[0].child("rect");
    const double centre = Attribute(block, "x") + Attribute(block, "width") / 2;
    const simhost::MeasureFields fields = *document.MeasureRecord(1);
    const double measureX = apptest::MeasureX(xml, 1);
    EXPECT_NEAR(centre,
                measureX + (fields.leadingSpace + fields.width - fields.trailingSpace) / 4.0, 0.6);
    // Hanging from the fourth line, as a whole rest does, though the measure is of 3/4.
    EXPECT_EQ(Attribute(block, "y"), StaffTop(xml, 1) + kStaffSpace);
    EXPECT_EQ(All(xml, "//*[@class='rest']").size(), 1u);
    EXPECT_EQ(All(xml, "//*[@class='notehead']").size(), 4u);
}

// Three sharps open each staff; measure 2 goes to C major, which cancels them with naturals
// in its leading space.
TEST(ScoreNotationSvg, KeySignaturesOpenTheRowAndStandAtAChange) {
    simhost::MeasureFields threeSharps{300, 24, 4, 1024, 3, {}, 0, 0, 12};
    simhost::MeasureFields noKey = threeSharps;
    noKey.key = 0;
    noKey.leadingSpace = 24 + simhost::SignatureRoom(3, 0, false);
    const Document document = DocumentBuilder()
                                  .withStaff(1, {"w:C5 | w:C5"})
                                  .withStaff(1, {"w:C3 | w:C3"}, "F4")
                                  .withMeasureFields(threeSharps)
                                  .withRecord(simhost::kTagMeasureRecord, 2, 0, noKey.ToRecord())
                                  .Build();
    const auto xml = DrawnRow(document, {1, 2});
    const auto opening = All(xml, "//*[@class='staff-start']/*[@class='keySig']");
    ASSERT_EQ(opening.size(), 2u);
    for (const auto& key : opening) {
        EXPECT_EQ(All(key, "*[@class='key-accidental'][@data-alter='1']").size(), 3u);
    }
    const auto changes = All(xml, "//*[@class='measure']/*[@class='keySig']");
    ASSERT_EQ(changes.size(), 2u);
    for (const auto& key : changes) {
        EXPECT_EQ(All(key, "*[@class='key-accidental'][@data-alter='0']").size(), 3u);
        for (const auto& natural : All(key, ".//*[@d]")) {
            const std::string d = natural.attribute("d").value();
            const double x = std::stod(d.substr(d.find(' ') + 1));
            EXPECT_GT(x, apptest::MeasureX(xml, 2));
            EXPECT_LT(x, apptest::MeasureX(xml, 2) + noKey.leadingSpace / 2.0);
        }
    }
}

struct KeyCase {
    const char* clef;
    int key;
    std::vector<int> steps;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.clef << " key " << c.key; }

class KeySignaturePlaces : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeySignaturePlaces, KeepEachClefsSignatureOnItsStaff) {
    EXPECT_EQ(simhost::KeySignatureSteps(*simhost::ParseClef(GetParam().clef), GetParam().key),
              GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Clefs, KeySignaturePlaces,
                         ::testing::Values(KeyCase{"G2", 7, {4, 1, 5, 2, -1, 3, 0}},
                                           KeyCase{"G2", -7, {0, 3, -1, 2, -2, 1, -3}},
                                           KeyCase{"F4", 7, {2, -1, 3, 0, -3, 1, -2}},
                                           KeyCase{"F4", -7, {-2, 1, -3, 0, -4, -1, -5}},
                                           KeyCase{"C3", 7, {3, 0, 4, 1, -2, 2, -1}},
                                           KeyCase{"C3", -7, {-1, 2, -2, 1, -3, 0, -4}},
                                           // The tenor clef's sharps start low: its F# on the top
                                           // line would leave the G# above the staff.
                                           KeyCase{"C4", 7, {-2, 2, -1, 3, 0, 4, 1}},
                                           KeyCase{"C4", -7, {1, 4, 0, 3, -1, 2, -2}},
                                           KeyCase{"G2-8", 2, {4, 1}}, KeyCase{"percussion", 3, {}},
                                           KeyCase{"G2", 0, {}}),
                         quortest::RowName{});

struct AccidentalCase {
    const char* name;
    int key;
    const char* voice;
    std::vector<int> shown;  // per note, the accidental drawn; 9 for none
};

void PrintTo(const AccidentalCase& c, std::ostream* os) { *os << c.name; }

class Accidentals : public ::testing::TestWithParam<AccidentalCase> {};

TEST_P(Accidentals, AreShownWhereKeyAndMeasureDoNotAlreadySayThem) {
    const AccidentalCase& c = GetParam();
    const simhost::Voice voice = *simhost::ParseVoice(c.voice, nullptr);
    const auto timed = voice.Timed();
    const auto shown = simhost::ShownAccidentals(timed, c.key);
    std::vector<int> drawn;
    for (const auto& event : timed) {
        const auto found = shown.find({event.event, 0});
        drawn.push_back(found == shown.end() ? 9 : found->second);
    }
    EXPECT_EQ(drawn, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Accidentals,
    ::testing::Values(
        // In G major F# needs nothing, F a natural, and the natural holds for the measure.
        AccidentalCase{"KeyAndNatural", 1, "q:F#5 q:F5 q:F5 q:F#5", {9, 0, 9, 1}},
        // An accidental holds only on its own line: the octave below needs its own.
        AccidentalCase{"OnlyOnItsLine", 0, "q:C#5 q:C#5 q:C#4 q:C5", {1, 9, 1, 0}},
        AccidentalCase{"FlatsAndDoubles", -2, "q:Bb4 q:Bbb4 q:Eb5 q:E##5", {9, -2, 9, 2}},
        // A grace note sounds before its note and its accidental holds for it.
        AccidentalCase{"GraceFirst", 0, "g8:G#4 q:G#4 h:A4", {1, 9, 9}}),
    quortest::RowName{});

}  // namespace
