// What a score that cannot be read gives back: no document, and an error naming the file, the
// line and what is wrong.
#include <gtest/gtest.h>

#include <string>

#include "simhost/app/musicxml_import.h"
#include "tests/app/musicxml_text.h"
#include "tests/support/row_name.h"

namespace {

std::string Repeated(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

using apptest::Attributes;
using apptest::Note;
using apptest::Partwise;

struct ErrorCase {
    const char* name;
    std::string text;
    std::string error;  // as Describe() gives it
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class UnreadableScore : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(UnreadableScore, GivesNoDocumentAndSaysWhereAndWhy) {
    const auto parsed = simhost::ImportMusicXml(GetParam().text, "score.musicxml");
    EXPECT_FALSE(parsed.document);
    EXPECT_EQ(parsed.error.Describe(), GetParam().error);
}

// Partwise() puts the first measure's contents on line 8.
INSTANTIATE_TEST_SUITE_P(
    Cases, UnreadableScore,
    ::testing::Values(
        ErrorCase{"MalformedXml",
                  "<?xml version=\"1.0\"?>\n<score-partwise>\n<part id=\"P1\">\n"
                  "<measure number=\"1\">\n</part>\n</score-partwise>\n",
                  "score.musicxml:5: malformed XML: Start-end tags mismatch"},
        ErrorCase{"EmptyFile", "", "score.musicxml:1: malformed XML: No document element found"},
        ErrorCase{"NotMusicXml", "<?xml version=\"1.0\"?>\n<html/>\n",
                  "score.musicxml:2: not a MusicXML score: the root element is <html>"},
        ErrorCase{"Timewise", "<score-timewise/>",
                  "score.musicxml:1: a timewise score: only partwise MusicXML "
                  "(<score-partwise>) is read"},
        ErrorCase{"NoPart", "<score-partwise>\n<part-list/>\n</score-partwise>",
                  "score.musicxml:1: the score has no <part>"},
        ErrorCase{"NoMeasure", Partwise({{}}), "score.musicxml:2: the score has no <measure>"},
        ErrorCase{"NoDivisions", Partwise({{Note("C5", "1", "quarter")}}),
                  "score.musicxml:8: part \"P1\", measure 1: <note> comes before any "
                  "<divisions>"},
        ErrorCase{"NoteWithoutDuration", Partwise({{Attributes(1) + Note("C5", "", "quarter")}}),
                  "score.musicxml:9: part \"P1\", measure 1: <note> has no <duration>"},
        ErrorCase{"DurationNotANumber", Partwise({{Attributes(1) + Note("C5", "one", "quarter")}}),
                  "score.musicxml:9: part \"P1\", measure 1: <duration> must be a positive "
                  "number, not \"one\""},
        ErrorCase{"ZeroDivisions", Partwise({{Attributes(0)}}),
                  "score.musicxml:8: part \"P1\", measure 1: <divisions> must be a positive "
                  "number, not \"0\""},
        ErrorCase{"DurationNoValueMakes", Partwise({{Attributes(4) + Note("C5", "5", "quarter")}}),
                  "score.musicxml:9: part \"P1\", measure 1: <note> lasts 5/4 of a quarter, "
                  "which no note value and dots make"},
        ErrorCase{
            "DurationNoValueMakesInATuplet",
            Partwise({{Attributes(5) + Note("C5", "1", "", apptest::TimeModification(3, 2))}}),
            "score.musicxml:9: part \"P1\", measure 1: <note> lasts 1/5 of a quarter, "
            "which no note value and dots make in a 3:2 <time-modification>"},
        ErrorCase{"BackupBeforeTheMeasure",
                  Partwise({{Attributes(1), Note("C5", "1", "quarter") +
                                                "<backup><duration>2</duration></backup>"}}),
                  "score.musicxml:13: part \"P1\", measure 2: <backup> goes back 2 quarters, "
                  "before the start of the measure"},
        ErrorCase{"NoteWithoutPitchOrRest",
                  Partwise({{Attributes(1) + "<note><duration>1</duration></note>"}}),
                  "score.musicxml:9: part \"P1\", measure 1: <note> has neither <pitch>, "
                  "<unpitched> nor <rest>"},
        ErrorCase{"BadStep",
                  Partwise({{Attributes(1) + "<note><pitch><step>H</step><octave>4</octave>"
                                             "</pitch><duration>1</duration></note>"}}),
                  "score.musicxml:9: part \"P1\", measure 1: <step> must be one of C D E F G A "
                  "B, not \"H\""},
        ErrorCase{"BadBeatType", Partwise({{Attributes(1, 3, 3)}}),
                  "score.musicxml:8: part \"P1\", measure 1: <beat-type> must be 1, 2, 4, 8, 16, "
                  "32 or 64"},
        // What the document file could not write is refused, so that a score that reads can be
        // saved and read again.
        ErrorCase{"MoreDotsThanAScoreHolds",
                  Partwise({{Attributes(32) + Note("C5", "63", "quarter", Repeated("<dot/>", 5))}}),
                  "score.musicxml:9: part \"P1\", measure 1: a <note> of more than 4 <dot>s"},
        ErrorCase{"ATupletOfMoreNotesThanAScoreHolds",
                  Partwise({{Attributes(65) +
                             Note("C5", "1", "16th", apptest::TimeModification(65, 16))}}),
                  "score.musicxml:9: part \"P1\", measure 1: <time-modification> needs "
                  "<actual-notes> and <normal-notes>, counts from 1 to 64"},
        ErrorCase{"AMeasureRestNoTupletAScoreHoldsMakes",
                  Partwise({{Attributes(24) + "<note><rest measure=\"yes\"/><duration>97"
                                              "</duration></note>"}}),
                  "score.musicxml:7: part \"P1\", measure 1: a tuplet of 96 in the time of 97: a "
                  "score holds from 1 to 64 of each"},
        // A measure numbered otherwise than its place says both.
        ErrorCase{"NamesTheMeasureByPlaceAndNumber",
                  "<score-partwise><part id=\"Vn\"><measure number=\"0\"/>\n"
                  "<measure number=\"1\"><note/></measure></part></score-partwise>",
                  "score.musicxml:2: part \"Vn\", measure 2 (numbered \"1\"): <note> has no "
                  "<duration>"}),
    quortest::RowName{});

TEST(MusicXmlImport, AFileThatCannotBeOpenedIsNamed) {
    const auto parsed = simhost::ImportMusicXmlFile("/nonexistent/dir/score.musicxml");
    EXPECT_FALSE(parsed.document);
    EXPECT_EQ(parsed.error.Describe(), "/nonexistent/dir/score.musicxml: cannot be read");
}

}  // namespace
