// What a score's notation imports to beyond its rhythm: the clefs (read, placed where they
// stand, and warned about when they name no pitch), whole-measure and multi-measure rests, key
// and time changes, notes that are not shown, chords across staves, and the warnings and
// refusals, with their lines, for what cannot be drawn as written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simhost/app/musicxml_import.h"
#include "tests/app/imported_score.h"
#include "tests/app/musicxml_text.h"
#include "tests/support/row_name.h"

namespace {

using apptest::Attributes;
using apptest::ClefChanges;
using apptest::Import;
using apptest::Note;
using apptest::Partwise;
using apptest::StaffClefs;
using apptest::Voices;
using Texts = std::vector<std::string>;

std::string Clef(const std::string& body, int number = 0) {
    return "<attributes><clef" +
           (number == 0 ? std::string() : " number=\"" + std::to_string(number) + "\"") + ">" +
           body + "</clef></attributes>\n";
}

std::string Staff(std::string note, int staff) {
    return note.insert(note.rfind("</note>"), "<staff>" + std::to_string(staff) + "</staff>");
}

struct ClefCase {
    const char* name;
    std::string clef;  // the <clef> element's content
    const char* text;  // as the document writes it
};

void PrintTo(const ClefCase& c, std::ostream* os) { *os << c.name; }

class ClefElements : public ::testing::TestWithParam<ClefCase> {};

TEST_P(ClefElements, GiveTheStaffItsClef) {
    const auto parsed = simhost::ImportMusicXml(
        Partwise({{Attributes(1, 4) + Clef(GetParam().clef) + Note("C4", "4", "whole")}}),
        "clef.musicxml");
    ASSERT_TRUE(parsed.document) << parsed.error.Describe();
    EXPECT_EQ(StaffClefs(*parsed.document), (Texts{GetParam().text}));
    EXPECT_TRUE(parsed.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Signs, ClefElements,
    ::testing::Values(
        ClefCase{"Treble", "<sign>G</sign><line>2</line>", "G2"},
        ClefCase{"Bass", "<sign>F</sign><line>4</line>", "F4"},
        ClefCase{"Alto", "<sign>C</sign><line>3</line>", "C3"},
        ClefCase{"Tenor", "<sign>C</sign><line>4</line>", "C4"},
        ClefCase{"Soprano", "<sign>C</sign><line>1</line>", "C1"},
        ClefCase{"FrenchViolin", "<sign>G</sign><line>1</line>", "G1"},
        // Without a line, each sign's usual one.
        ClefCase{"BassWithoutLine", "<sign>F</sign>", "F4"},
        ClefCase{"AltoWithoutLine", "<sign>C</sign>", "C3"},
        ClefCase{"TenorVoiceTreble",
                 "<sign>G</sign><line>2</line><clef-octave-change>-1</clef-octave-change>", "G2-8"},
        ClefCase{"PiccoloTreble",
                 "<sign>G</sign><line>2</line><clef-octave-change>1</clef-octave-change>", "G2+8"},
        ClefCase{"ContrabassBass",
                 "<sign>F</sign><line>4</line><clef-octave-change>-2</clef-octave-change>",
                 "F4-15"}),
    quortest::RowName{});

// A second staff's clef is given by number; a clef that is already in force changes nothing;
// one with after-barline="yes" stands after the barline, in its own measure.
TEST(MusicXmlClefs, ChangesStandWhereTheyAreWritten) {
    const std::string staves = "<attributes><staves>2</staves></attributes>\n";
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) + staves + Clef("<sign>G</sign>", 1) + Clef("<sign>F</sign>", 2) +
            Staff(Note("C5", "4", "whole"), 1) + "<backup><duration>4</duration></backup>" +
            Staff(Note("C3", "1", "quarter"), 2) + Clef("<sign>C</sign><line>4</line>", 2) +
            Staff(Note("C4", "3", "half", "<dot/>"), 2),
        Clef("<sign>C</sign><line>4</line>", 2) + Staff(Note("C5", "4", "whole"), 1) +
            "<backup><duration>4</duration></backup>" + Staff(Note("C4", "4", "whole"), 2),
        "<attributes><clef number=\"2\" after-barline=\"yes\"><sign>F</sign></clef>"
        "</attributes>" +
            Staff(Note("C5", "4", "whole"), 1) + "<backup><duration>4</duration></backup>" +
            Staff(Note("C3", "4", "whole"), 2),
    }}));
    EXPECT_EQ(StaffClefs(document), (Texts{"G2", "F4"}));
    EXPECT_EQ(ClefChanges(document, 0), (Texts{"2@1024:C4"}));
    EXPECT_TRUE(ClefChanges(document, 1).empty()) << "the tenor clef was in force already";
    EXPECT_EQ(ClefChanges(document, 2), (Texts{"2@0:F4"}));
}

struct WarningCase {
    const char* name;
    std::string measure;  // the first measure's contents, from line 8
    Texts warnings;
};

void PrintTo(const WarningCase& c, std::ostream* os) { *os << c.name; }

class Warnings : public ::testing::TestWithParam<WarningCase> {};

TEST_P(Warnings, NameTheLineAndWhatIsNotDrawnAsWritten) {
    const auto parsed = simhost::ImportMusicXml(Partwise({{GetParam().measure}}), "w.musicxml");
    ASSERT_TRUE(parsed.document) << parsed.error.Describe();
    EXPECT_EQ(apptest::Warnings(parsed), GetParam().warnings);
}

const std::string kTreble = Clef("<sign>G</sign><line>2</line>");

INSTANTIATE_TEST_SUITE_P(
    Cases, Warnings,
    ::testing::Values(
        WarningCase{"NoClef",
                    Attributes(1, 4) + Note("C5", "4", "whole"),
                    {"7: warning: part \"P1\", measure 1: the part has no <clef>: it is drawn "
                     "under a treble clef"}},
        WarningCase{"PercussionClef",
                    Attributes(1, 4) + Clef("<sign>percussion</sign>") +
                        "<note><unpitched><display-step>C</display-step><display-octave>5"
                        "</display-octave></unpitched><duration>4</duration></note>",
                    {"9: warning: part \"P1\", measure 1: a percussion clef: its notes are "
                     "drawn as plain heads where their display steps put them, as under a "
                     "treble clef, and stand for no pitch"}},
        WarningCase{
            "TabClef",
            Attributes(1, 4) + Clef("<sign>TAB</sign><line>5</line>") + Note("E2", "4", "whole"),
            {"9: warning: part \"P1\", measure 1: a TAB clef: its notes are drawn as "
             "plain heads on the middle line, without strings or frets"}},
        WarningCase{"NoClefSign",
                    Attributes(1, 4) + Clef("<sign>none</sign>") + Note("C5", "4", "whole"),
                    {"9: warning: part \"P1\", measure 1: <sign> \"none\" is no clef that can "
                     "be drawn: the staff is drawn under a treble clef"}},
        WarningCase{"OctaveShift",
                    Attributes(1, 4) + kTreble +
                        "<direction><direction-type>\n<octave-shift type=\"down\" size=\"8\"/>"
                        "</direction-type></direction>" +
                        Note("C7", "4", "whole"),
                    {"11: warning: part \"P1\", measure 1: <octave-shift>: the notes under it "
                     "are drawn at their own pitch, without the octave line"}},
        WarningCase{"OneLineStaff",
                    "<attributes><divisions>1</divisions>\n<staff-details><staff-lines>1"
                    "</staff-lines></staff-details><clef><sign>percussion</sign></clef>"
                    "</attributes>" +
                        Note("C5", "4", "whole"),
                    {"9: warning: part \"P1\", measure 1: a percussion clef: its notes are "
                     "drawn as plain heads where their display steps put them, as under a "
                     "treble clef, and stand for no pitch",
                     "9: warning: part \"P1\", measure 1: a staff of 1 lines is drawn with "
                     "five"}},
        WarningCase{"SlashMeasures",
                    Attributes(1, 4) + kTreble +
                        "<attributes><measure-style>\n<slash type=\"start\"/></measure-style>"
                        "</attributes>" +
                        Note("B4", "4", "whole"),
                    {"11: warning: part \"P1\", measure 1: <slash>: the notes are drawn as "
                     "written, not as the repeat or slash signs it shows"}},
        // A measure record has one key and one time signature: a change inside a measure
        // takes effect at the next measure.
        WarningCase{"KeyChangeInsideAMeasure",
                    Attributes(1, 4) + kTreble + Note("C5", "2", "half") +
                        "<attributes>\n<key><fifths>3</fifths></key></attributes>" +
                        Note("C#5", "2", "half"),
                    {"12: warning: part \"P1\", measure 1: <key> inside the measure: a "
                     "measure has one, so it is taken from the next measure on"}}),
    quortest::RowName{});

struct RefusalCase {
    const char* name;
    std::string measure;
    const char* error;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class Refusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, GiveNoDocumentAndNameTheLineAndElement) {
    const auto parsed = simhost::ImportMusicXml(Partwise({{GetParam().measure}}), "r.musicxml");
    EXPECT_FALSE(parsed.document);
    EXPECT_EQ(parsed.error.Describe(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusals,
    ::testing::Values(
        RefusalCase{"StaffBeyondThePart", Attributes(1, 4) + Staff(Note("C5", "4", "whole"), 2),
                    "r.musicxml:9: part \"P1\", measure 1: <staff> \"2\" names no staff of the "
                    "part, which has 1 staff"},
        RefusalCase{"ClefOfNoStaff", Attributes(1, 4) + Clef("<sign>G</sign>", 3),
                    "r.musicxml:9: part \"P1\", measure 1: <clef number=\"3\"> names no staff "
                    "of the part"},
        RefusalCase{"ClefLineOffTheStaff",
                    Attributes(1, 4) + Clef("<sign>C</sign>\n<line>6</line>"),
                    "r.musicxml:10: part \"P1\", measure 1: <line> must be a staff line from 1 "
                    "to 5, not \"6\""},
        RefusalCase{"TooManyStaves", "<attributes>\n<staves>40</staves></attributes>",
                    "r.musicxml:9: part \"P1\": <staves> must be a number from 1 to 16"},
        RefusalCase{"GraceRest",
                    Attributes(1, 4) + "<note><grace/><rest/><type>eighth</type></note>",
                    "r.musicxml:9: part \"P1\", measure 1: a <grace> note that is a <rest>"}),
    quortest::RowName{});

// Written out one by one, each measure of a multi-measure rest has its whole-measure rest,
// whether the file writes it or leaves the measure empty.
TEST(MusicXmlRests, AMultipleRestIsItsSingleMeasuresEachWithItsRest) {
    const std::string rest = "<note><rest measure=\"yes\"/><duration>3</duration></note>";
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 3) + kTreble +
            "<attributes><measure-style><multiple-rest>3</multiple-rest></measure-style>"
            "</attributes>" +
            rest,
        rest,
        "",
        Note("G4", "3", "half", "<dot/>"),
    }}));
    for (std::size_t m = 0; m < 3; ++m) EXPECT_EQ(Voices(document, m), (Texts{"Rh."})) << m;
    EXPECT_EQ(Voices(document, 3), (Texts{"h.:G4"}));
}

// A rest that fills the measure from its start is the measure's rest when it says so, or is
// written as a whole rest or without a value, as exporters write them; in a measure of 3/4 it
// lasts three quarters.
TEST(MusicXmlRests, WholeMeasureRestsAreKnownHoweverTheyAreWritten) {
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 3) + kTreble + "<note><rest/><duration>3</duration><type>whole</type></note>",
        "<note><rest/><duration>3</duration></note>",
        "<note><rest/><duration>3</duration><type>half</type><dot/></note>",
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"Rh."}));
    EXPECT_EQ(Voices(document, 1), (Texts{"Rh."}));
    EXPECT_EQ(Voices(document, 2), (Texts{"rh."})) << "a dotted half rest is written as one";
}

TEST(MusicXmlTime, KeyAndTimeChangesGiveEachMeasureItsOwnAndRoomForThem) {
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) + kTreble + Note("C5", "4", "whole"),
        Note("C5", "4", "whole"),
        "<attributes><key><fifths>-3</fifths></key><time><beats>3</beats><beat-type>8"
        "</beat-type></time></attributes>" +
            Note("C5", "1", "quarter") + Note("C5", "0.5", "eighth"),
        "<attributes><key><fifths>0</fifths></key></attributes>" +
            Note("C5", "1.5", "quarter", "<dot/>"),
    }}));
    const auto fields = [&](std::int16_t m) { return *document.MeasureRecord(m); };
    EXPECT_EQ(fields(2).beats, 4);
    EXPECT_EQ(fields(2).beatDuration, 1024);
    EXPECT_EQ(fields(3).beats, 3);
    EXPECT_EQ(fields(3).beatDuration, 512);
    EXPECT_EQ(fields(3).key, -3);
    EXPECT_EQ(fields(4).key, 0);
    EXPECT_EQ(fields(4).beats, 3);
    // Room for three flats and the time signature; for three naturals; none without a change.
    EXPECT_EQ(fields(2).leadingSpace, simhost::kImportedLeadingSpace);
    EXPECT_EQ(fields(3).leadingSpace, simhost::kImportedLeadingSpace + 8 + 3 * 22 + 48);
    EXPECT_EQ(fields(4).leadingSpace, simhost::kImportedLeadingSpace + 8 + 3 * 22);
}

// A key inside a measure rules from the next one; one after a <backup> to the measure's start
// (given for the second staff after the first staff's notes) is the measure's own.
TEST(MusicXmlTime, AKeyInsideAMeasureRulesFromTheNextAndOneAtItsStartFromItsOwn) {
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) + "<attributes><staves>2</staves></attributes>" + kTreble +
            Staff(Note("C5", "4", "whole"), 1) + "<backup><duration>4</duration></backup>" +
            "<attributes><key><fifths>-1</fifths></key></attributes>" +
            Staff(Note("C3", "2", "half"), 2) +
            "<attributes><key><fifths>2</fifths></key></attributes>" +
            Staff(Note("C3", "2", "half"), 2),
        Staff(Note("C5", "4", "whole"), 1),
    }}));
    EXPECT_EQ(document.MeasureRecord(1)->key, -1);
    EXPECT_EQ(document.MeasureRecord(2)->key, 2);
}

// A note that is not shown leaves its time as a space in its voice, and its chord with it; a
// grace note that is not shown takes its chord with it too.
TEST(MusicXmlNotes, HiddenNotesAreSpaces) {
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) + kTreble + Note("C5", "1", "quarter") +
            "<note print-object=\"no\"><grace/><pitch><step>A</step><octave>5</octave>"
            "</pitch><type>eighth</type></note>"
            "<note><grace/><chord/><pitch><step>C</step><octave>6</octave></pitch>"
            "<type>eighth</type></note>" +
            Note("D5", "1", "quarter").insert(5, " print-object=\"no\"") +
            Note("F5", "1", "quarter", "<chord/>") + Note("E5", "2", "half"),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"q:C5 sq h:E5"}));
}

// A chord's note on the other staff is a note of its own there, at the chord's onset.
TEST(MusicXmlNotes, AChordReachingIntoTheOtherStaffSoundsAtTheChordsOnset) {
    const simhost::Document document = Import(Partwise({{
        Attributes(1, 4) + "<attributes><staves>2</staves></attributes>" +
            Staff(Note("C5", "2", "half"), 1) +
            Staff(Note("G3", "2", "half"), 2).insert(6, "<chord/>") +
            Staff(Note("E5", "2", "half"), 1) +
            Staff(Note("C4", "2", "half"), 2).insert(6, "<chord/>"),
    }}));
    EXPECT_EQ(Voices(document, 0, 0), (Texts{"h:C5 h:E5"}));
    EXPECT_EQ(Voices(document, 0, 1), (Texts{"h:G3 h:C4"}));
}

}  // namespace
