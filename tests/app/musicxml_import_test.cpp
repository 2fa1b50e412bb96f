// Reading MusicXML: durations from any divisions, note values, dots, tuplets, chords, rests,
// voices, parts of different lengths, and the measure records the score gets.
#include "simhost/app/musicxml_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simhost/document/respacer.h"
#include "simhost/document/score_notation.h"
#include "tests/app/imported_score.h"
#include "tests/app/musicxml_text.h"
#include "tests/support/row_name.h"

namespace {

using apptest::Attributes;
using apptest::Import;
using apptest::Note;
using apptest::Partwise;
using apptest::TimeModification;
using apptest::Voices;

using Texts = std::vector<std::string>;

class Divisions : public ::testing::TestWithParam<int> {};

TEST_P(Divisions, GiveTheSameValuesWhateverTheirCount) {
    const int q = GetParam();
    const auto d = [](int n) { return std::to_string(n); };
    const simhost::Document document = Import(Partwise({{
        Attributes(q, 4) + Note("C5", d(q), "quarter") + Note("D5", d(q / 2), "eighth") +
            Note("E5", d(q / 2), "eighth") + Note("F5", d(2 * q), "half"),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"q:C5 8:D5 8:E5 h:F5"}));
}

INSTANTIATE_TEST_SUITE_P(Counts, Divisions, ::testing::Values(2, 4, 12, 480, 10080),
                         quortest::RowName{});

TEST(MusicXmlImport, DivisionsThatChangeMidPartApplyFromWhereTheyChange) {
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) + Note("C5", "2", "half") + Attributes(8) + Note("D5", "16", "half"),
        Note("E5", "32", "whole"),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"h:C5 h:D5"}));
    EXPECT_EQ(Voices(document, 1), (Texts{"w:E5"}));
}

TEST(MusicXmlImport, DotsComeFromDotElementsOrFromTheDuration) {
    const simhost::Document document = Import(Partwise({{
        Attributes(8, 4) + Note("C5", "12", "quarter", "<dot/>") +
            Note("D5", "7", "eighth", "<dot/><dot/>") + Note("E5", "1", "32nd") +
            // No <type>, and a <type> whose dots are missing: the duration decides.
            Note("F5", "6", "") + Note("G5", "6", "eighth"),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"q.:C5 8..:D5 32:E5 8.:F5 8.:G5"}));
}

struct TupletCase {
    const char* name;
    int divisions;
    std::string notes;  // one measure of 4/4
    std::string expected;
};

void PrintTo(const TupletCase& c, std::ostream* os) { *os << c.name; }

class Tuplets : public ::testing::TestWithParam<TupletCase> {};

TEST_P(Tuplets, AreGroupedSoThatEveryOnsetIsExact) {
    const TupletCase& c = GetParam();
    const simhost::Document document = Import(Partwise({{Attributes(c.divisions, 4) + c.notes}}));
    ASSERT_EQ(Voices(document, 0), (Texts{c.expected}));
    // However the groups fall, the voice ends exactly at the barline.
    const auto timed = document.GetScore().Measures()[0].staves[0][0].Timed();
    EXPECT_EQ(timed.back().onset + timed.back().duration, simhost::Rational(simhost::kWhole));
}

std::string Tuplet(const char* type, int number = 1, const std::string& ratio = "") {
    return "<notations><tuplet type=\"" + std::string(type) + "\" number=\"" +
           std::to_string(number) + "\">" + ratio + "</tuplet></notations>";
}

const std::string kTriplet = TimeModification(3, 2);
const std::string kNested = TimeModification(9, 4);
const std::string kStatedTriplet =
    "<tuplet-actual><tuplet-number>3</tuplet-number></tuplet-actual>"
    "<tuplet-normal><tuplet-number>2</tuplet-number></tuplet-normal>";

// At 9 divisions a quarter: a triplet quarter is 6, an eighth of a triplet in a triplet 2.
const std::string kNestedRest = Note("A5", "18", "half");

INSTANTIATE_TEST_SUITE_P(
    Cases, Tuplets,
    ::testing::Values(
        TupletCase{"MarkedTriplet", 24,
                   Note("C5", "8", "eighth", kTriplet + Tuplet("start")) +
                       Note("D5", "8", "eighth", kTriplet) +
                       Note("E5", "8", "eighth", kTriplet + Tuplet("stop")) +
                       Note("F5", "24", "quarter") + Note("G5", "48", "half"),
                   "(3:2 8:C5 8:D5 8:E5) q:F5 h:G5"},
        // Without marks, a run of one modification is cut into groups as its notes add up.
        TupletCase{"UnmarkedTripletsInARow", 24,
                   Note("C5", "8", "eighth", kTriplet) + Note("D5", "8", "eighth", kTriplet) +
                       Note("E5", "8", "eighth", kTriplet) + Note("F5", "16", "quarter", kTriplet) +
                       Note("G5", "8", "eighth", kTriplet) + Note("A5", "48", "half"),
                   "(3:2 8:C5 8:D5 8:E5) (3:2 q:F5 8:G5) h:A5"},
        TupletCase{"SextupletKeepsItsCounts", 24,
                   Note("C5", "4", "16th", TimeModification(6, 4)) +
                       Note("D5", "4", "16th", TimeModification(6, 4)) +
                       Note("E5", "4", "16th", TimeModification(6, 4)) +
                       Note("F5", "4", "16th", TimeModification(6, 4)) +
                       Note("G5", "4", "16th", TimeModification(6, 4)) +
                       Note("A5", "4", "16th", TimeModification(6, 4)) +
                       Note("B5", "72", "half", "<dot/>"),
                   "(6:4 16:C5 16:D5 16:E5 16:F5 16:G5 16:A5) h.:B5"},
        // The inner notes carry the product of both groups, 9:4; the inner group states its
        // own ratio, the outer one takes it from its first note.
        TupletCase{"NestedAndMarked", 9,
                   Note("C5", "6", "quarter", kTriplet + Tuplet("start", 1)) +
                       Note("D5", "2", "eighth", kNested + Tuplet("start", 2, kStatedTriplet)) +
                       Note("E5", "2", "eighth", kNested) +
                       Note("F5", "2", "eighth", kNested + Tuplet("stop", 2)) +
                       Note("G5", "6", "quarter", kTriplet + Tuplet("stop", 1)) + kNestedRest,
                   "(3:2 q:C5 (3:2 8:D5 8:E5 8:F5) q:G5) h:A5"},
        // Only the outer group is marked: the inner one is what its notes' modification
        // leaves over, 3:2.
        TupletCase{"NestedWithTheInnerGroupUnmarked", 9,
                   Note("C5", "6", "quarter", kTriplet + Tuplet("start")) +
                       Note("D5", "2", "eighth", kNested) + Note("E5", "2", "eighth", kNested) +
                       Note("F5", "2", "eighth", kNested) +
                       Note("G5", "6", "quarter", kTriplet + Tuplet("stop")) + kNestedRest,
                   "(3:2 q:C5 (3:2 8:D5 8:E5 8:F5) q:G5) h:A5"},
        // No marks at all: the groups come out flat, and every onset is still exact.
        TupletCase{"NestedWithoutAnyMarks", 9,
                   Note("C5", "6", "quarter", kTriplet) + Note("D5", "2", "eighth", kNested) +
                       Note("E5", "2", "eighth", kNested) + Note("F5", "2", "eighth", kNested) +
                       Note("G5", "6", "quarter", kTriplet) + kNestedRest,
                   "(3:2 q:C5) (9:4 8:D5 8:E5 8:F5) (3:2 q:G5) h:A5"},
        // Three quarters in the time of one half, stated with different types.
        TupletCase{"StatedRatioOfDifferentTypes", 24,
                   Note("C5", "16", "quarter",
                        kTriplet + Tuplet("start", 1,
                                          "<tuplet-actual><tuplet-number>3</tuplet-number>"
                                          "<tuplet-type>quarter</tuplet-type></tuplet-actual>"
                                          "<tuplet-normal><tuplet-number>1</tuplet-number>"
                                          "<tuplet-type>half</tuplet-type></tuplet-normal>")) +
                       Note("D5", "16", "quarter", kTriplet) +
                       Note("E5", "16", "quarter", kTriplet + Tuplet("stop")) +
                       Note("F5", "48", "half"),
                   "(3:2 q:C5 q:D5 q:E5) h:F5"}),
    quortest::RowName{});

TEST(MusicXmlImport, ChordNotesJoinTheNoteBeforeThem) {
    const std::string chord = "<chord/>";
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) + Note("C4", "2", "half") + Note("E4", "2", "half").insert(6, chord) +
            Note("G4", "2", "half").insert(6, chord) + Note("", "1", "quarter") +
            Note("D5", "1", "quarter") + Note("F5", "1", "quarter").insert(6, chord),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"h:C4+E4+G4 rq q:D5+F5"}));
}

struct MeasureRestCase {
    const char* name;
    int beats;
    int beatType;
    std::string expected;
};

void PrintTo(const MeasureRestCase& c, std::ostream* os) { *os << c.name; }

class MeasureRests : public ::testing::TestWithParam<MeasureRestCase> {};

TEST_P(MeasureRests, AreOneRestLastingTheMeasure) {
    const MeasureRestCase& c = GetParam();
    const int length = 8 * 4 * c.beats / c.beatType;  // at 8 divisions a quarter
    const simhost::Document document = Import(Partwise({{
        Attributes(8, c.beats, c.beatType) + "<note><rest measure=\"yes\"/><duration>" +
            std::to_string(length) + "</duration><type>whole</type></note>",
    }}));
    ASSERT_EQ(Voices(document, 0), (Texts{c.expected}));
    const auto timed = document.GetScore().Measures()[0].staves[0][0].Timed();
    EXPECT_EQ(timed.back().duration, simhost::Rational(1024 * 4 * c.beats / c.beatType));
}

INSTANTIATE_TEST_SUITE_P(Cases, MeasureRests,
                         ::testing::Values(MeasureRestCase{"FourFour", 4, 4, "Rw"},
                                           MeasureRestCase{"ThreeFour", 3, 4, "Rh."},
                                           MeasureRestCase{"SixEight", 6, 8, "Rh."},
                                           MeasureRestCase{"FiveFour", 5, 4, "(4:5 Rw)"},
                                           MeasureRestCase{"SevenEight", 7, 8, "Rh.."}),
                         quortest::RowName{});

// MusicXML writes every rest it shows as a note; the time a voice skips is a space, not drawn.
TEST(MusicXmlImport, BackupAndForwardMakeVoicesAndTheTimeAVoiceSkipsIsASpace) {
    const simhost::Document document = Import(Partwise({{
        Attributes(2, 4) + Note("C5", "4", "half", "", "1") + Note("D5", "4", "half", "", "1") +
            "<backup><duration>8</duration></backup>" +
            // A forward that names its voice is a space there at once.
            "<forward><duration>2</duration><voice>2</voice></forward>" +
            Note("G4", "2", "quarter", "", "2") +
            // One without a voice leaves a gap that the next note of the voice fills.
            "<forward><duration>1</duration></forward>" + Note("A4", "1", "eighth", "", "2") +
            Note("B4", "2", "quarter", "", "2"),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"h:C5 h:D5", "sq q:G4 s8 8:A4 q:B4"}));
}

TEST(MusicXmlImport, AVoiceGapOfATupletValueIsASpaceInATupletOfItsOwn) {
    const simhost::Document document = Import(Partwise({{
        Attributes(3, 4) + Note("C5", "1", "eighth", TimeModification(3, 2), "1") +
            Note("D5", "1", "eighth", TimeModification(3, 2), "1") +
            Note("E5", "1", "eighth", TimeModification(3, 2), "1") +
            Note("F5", "9", "half", "<dot/>", "1") + "<backup><duration>12</duration></backup>" +
            "<forward><duration>1</duration></forward>" +
            Note("G4", "2", "quarter", TimeModification(3, 2), "2") +
            Note("A4", "9", "half", "<dot/>", "2"),
    }}));
    EXPECT_EQ(Voices(document, 0),
              (Texts{"(3:2 8:C5 8:D5 8:E5) h.:F5", "(3:2 s8) (3:2 q:G4) h.:A4"}));
}

TEST(MusicXmlImport, ANoteThatOverlapsItsVoiceGoesIntoALaneOfItsOwn) {
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) + Note("C5", "4", "whole") + "<backup><duration>2</duration></backup>" +
            Note("E5", "2", "half"),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"w:C5", "sh h:E5"}));
}

TEST(MusicXmlImport, PartsAreStavesAlignedByMeasureAndShorterPartsEndInEmptyMeasures) {
    const simhost::Document document = Import(Partwise({
        {Attributes(1, 4) + Note("C5", "4", "whole"), Note("D5", "4", "whole"),
         Note("E5", "4", "whole")},
        {Attributes(4, 4) + Note("C3", "16", "whole")},
    }));
    const simhost::Score& score = document.GetScore();
    ASSERT_EQ(score.Staves().size(), 2u);
    EXPECT_EQ(score.Staves()[0], (simhost::Staff{1, 1, 1}));
    EXPECT_EQ(score.Staves()[1], (simhost::Staff{2, 2, 2}));
    ASSERT_EQ(score.Measures().size(), 3u);
    EXPECT_EQ(Voices(document, 0, 1), (Texts{"w:C3"}));
    EXPECT_TRUE(Voices(document, 1, 1).empty());
    EXPECT_TRUE(Voices(document, 2, 1).empty());
    EXPECT_EQ(Voices(document, 2, 0), (Texts{"w:E5"}));
}

TEST(MusicXmlImport, TiedNotesStaySeparateAndGraceAndCueNotesAreKept) {
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) +
            Note("F4", "2", "half", "<notations><tied type=\"start\"/></notations>")
                .insert(6, "<tie type=\"start\"/>") +
            Note("F4", "1", "quarter", "<notations><tied type=\"stop\"/></notations>") +
            "<note><grace/><pitch><step>A</step><octave>4</octave></pitch><type>eighth</type>"
            "</note>" +
            Note("G4", "1", "quarter"),
        // A cue note takes its time like any note, and is marked to be drawn small.
        Note("C5", "1", "quarter") + Note("D5", "1", "quarter").insert(6, "<cue/>") +
            Note("E5", "2", "half"),
    }}));
    // Each of the tied notes carries its end of the tie.
    EXPECT_EQ(Voices(document, 0), (Texts{"h:F4~ q:~F4 g8:A4 q:G4"}));
    EXPECT_EQ(Voices(document, 1), (Texts{"q:C5 cq:D5 h:E5"}));
}

TEST(MusicXmlImport, MeasureRecordsTakeTimeKeyAndBarlineAndCarryThemOn) {
    const simhost::Document document = Import(Partwise({
        {Attributes(1, 3) + "<attributes><key><fifths>-2</fifths></key></attributes>" +
             Note("C5", "3", "half", "<dot/>"),
         Note("C5", "3", "half", "<dot/>") +
             "<barline location=\"right\"><bar-style>light-light</bar-style></barline>",
         Attributes(1, 6, 8) + Note("C5", "3", "half", "<dot/>") +
             "<barline><bar-style>light-heavy</bar-style></barline>"},
        // A later part's time signature does not override the first part's.
        {Attributes(1, 2) + Note("C3", "3", "half", "<dot/>")},
    }));
    using Barline = simhost::MeasureFields::Barline;
    const auto fields = [&](std::int16_t m) { return *document.MeasureRecord(m); };
    EXPECT_EQ(fields(1).beats, 3);
    EXPECT_EQ(fields(1).beatDuration, 1024);
    EXPECT_EQ(fields(1).key, -2);
    EXPECT_EQ(fields(1).barline, Barline::Single);
    EXPECT_EQ(fields(2).beats, 3);
    EXPECT_EQ(fields(2).key, -2);
    EXPECT_EQ(fields(2).barline, Barline::Double);
    EXPECT_EQ(fields(3).beats, 6);
    EXPECT_EQ(fields(3).beatDuration, 512);
    EXPECT_EQ(fields(3).barline, Barline::Final);
    EXPECT_EQ(fields(1).leadingSpace, simhost::kImportedLeadingSpace);
    EXPECT_EQ(fields(1).trailingSpace, simhost::kImportedTrailingSpace);
    EXPECT_EQ(fields(1).width, simhost::kImportedMeasureWidth);
}

TEST(MusicXmlImport, TheWholeScoreIsSelectedAndRespacesByTheDefaultAllotments) {
    simhost::Document document = Import(Partwise({
        {Attributes(1, 4) + Note("C5", "1", "quarter") + Note("C5", "1", "quarter") +
             Note("C5", "2", "half"),
         Note("C5", "4", "whole")},
        {Attributes(1, 4) + Note("C4", "4", "whole")},
    }));
    const NXRegionRecord& selection = document.Selection();
    EXPECT_EQ(selection.startMeasure, 1);
    EXPECT_EQ(selection.endMeasure, 2);
    EXPECT_EQ(selection.startSlot, 1);
    EXPECT_EQ(selection.endSlot, 2);

    ASSERT_EQ(simhost::Respacer(document).RespaceSelection(), 2);
    // Quarter 84, quarter 84, half 120 by the table, between the leading and trailing space.
    EXPECT_EQ(document.MeasureRecord(1)->width, 24 + 84 + 84 + 120 + 12);
    EXPECT_EQ(simhost::NotePositions(document, 1, 1), (std::vector<std::int16_t>{24, 108, 192}));
    EXPECT_EQ(simhost::NotePositions(document, 1, 2), (std::vector<std::int16_t>{24}));
}

}  // namespace
