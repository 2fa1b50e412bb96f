// The marks a score states on its notes: beams per level with their hooks, stems, ties from
// <tie> and <tied>, numbered slurs with their placement, and how tuplet groups ask to be shown;
// a chord's further notes add theirs to the chord; and the test scores keep every mark they
// write.
#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "simhost/app/musicxml_import.h"
#include "tests/app/imported_score.h"
#include "tests/app/musicxml_text.h"

namespace {

using apptest::Attributes;
using apptest::Import;
using apptest::Note;
using apptest::Partwise;
using apptest::Voices;
using Texts = std::vector<std::string>;

struct MarkCase {
    const char* name;
    std::string extra;  // inside a quarter note C5 alone in a measure of 1/4
    const char* text;   // the voice as the document writes it
};

class NoteMarkElements : public ::testing::TestWithParam<MarkCase> {};

TEST_P(NoteMarkElements, AreKeptOnTheirNote) {
    const auto document =
        Import(Partwise({{Attributes(1, 1) + Note("C5", "1", "quarter", GetParam().extra)}}));
    EXPECT_EQ(Voices(document, 0), (Texts{GetParam().text}));
}

INSTANTIATE_TEST_SUITE_P(
    Elements, NoteMarkElements,
    ::testing::Values(
        MarkCase{"None", "", "q:C5"}, MarkCase{"StemUp", "<stem>up</stem>", "q:C5[up]"},
        MarkCase{"StemDown", "<stem>down</stem>", "q:C5[down]"},
        MarkCase{"NoStem", "<stem>none</stem>", "q:C5[nostem]"},
        MarkCase{"DoubleStemIsLeftUnstated", "<stem>double</stem>", "q:C5"},
        MarkCase{"BeamWithForwardHook",
                 "<beam number=\"1\">begin</beam><beam number=\"2\">forward hook</beam>",
                 "q:C5[beam=bf]"},
        MarkCase{"BeamWithoutNumberIsThePrimary", "<beam>continue</beam>", "q:C5[beam=c]"},
        MarkCase{"SkippedLevelIsUnstated", "<beam number=\"2\">backward hook</beam>",
                 "q:C5[beam=-k]"},
        MarkCase{"LevelBeyondEightIsLeftOut", "<beam number=\"9\">begin</beam>", "q:C5"},
        MarkCase{"UnknownBeamValueIsLeftOut", "<beam number=\"1\">sideways</beam>", "q:C5"},
        MarkCase{"TieStart", "<tie type=\"start\"/>", "q:C5~"},
        MarkCase{"TiedStop", "<notations><tied type=\"stop\"/></notations>", "q:~C5"},
        MarkCase{"TieAndTiedTogetherCountOnce",
                 "<tie type=\"stop\"/><tie type=\"start\"/><notations><tied type=\"stop\"/>"
                 "<tied type=\"start\"/></notations>",
                 "q:~C5~"},
        MarkCase{"SlurWithPlacement",
                 "<notations><slur type=\"start\" number=\"2\" placement=\"below\"/></notations>",
                 "q:C5[slur+2_]"},
        MarkCase{"SlurStopAndStart",
                 "<notations><slur type=\"stop\"/><slur type=\"start\" "
                 "placement=\"above\"/></notations>",
                 "q:C5[slur-1,slur+1^]"},
        MarkCase{"SlurContinueIsLeftOut", "<notations><slur type=\"continue\"/></notations>",
                 "q:C5"},
        MarkCase{"SlurNumberBeyondSixteenIsLeftOut",
                 "<notations><slur type=\"start\" number=\"17\"/></notations>", "q:C5"},
        MarkCase{"AllTogether",
                 "<stem>down</stem><beam number=\"1\">end</beam><notations><tied "
                 "type=\"stop\"/><slur type=\"stop\"/></notations>",
                 "q:~C5[down,beam=e,slur-1]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoteMarks, AChordTakesTheStemAndBeamsOfItsFirstNoteAndTheTiesOfEach) {
    const std::string chord = "<chord/>";
    const auto document = Import(Partwise({{
        Attributes(1, 1) +
            Note("C5", "1", "quarter", "<stem>up</stem><beam number=\"1\">begin</beam>") +
            // A chord note that disagrees on the stem, as a careless export writes it.
            Note("E5", "1", "quarter",
                 chord + "<stem>down</stem><tie type=\"start\"/><notations><slur "
                         "type=\"start\"/></notations>") +
            Note("G5", "1", "quarter", chord + "<stem>up</stem>"),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"q:C5+E5~+G5[up,beam=b,slur+1]"}));
}

TEST(NoteMarks, ATupletGroupKeepsItsBracketAndNumber) {
    const std::string modification = apptest::TimeModification(3, 2);
    const auto tuplet = [&](const std::string& attributes) {
        return modification + "<notations><tuplet type=\"start\"" + attributes + "/></notations>";
    };
    const std::string stop = modification + "<notations><tuplet type=\"stop\"/></notations>";
    const auto document = Import(Partwise({{
        Attributes(3, 2) +
            Note("C5", "1", "eighth", tuplet(" bracket=\"yes\" show-number=\"none\"")) +
            Note("D5", "1", "eighth", modification) + Note("E5", "1", "eighth", stop) +
            Note("C5", "1", "eighth", tuplet("")) + Note("D5", "1", "eighth", modification) +
            Note("E5", "1", "eighth", stop),
    }}));
    EXPECT_EQ(Voices(document, 0), (Texts{"(3:2[bracket,num=none] 8:C5 8:D5 8:E5) "
                                          "(3:2 8:C5 8:D5 8:E5)"}));
}

// Every mark a test score writes is kept: as many tie and slur starts and stops, and primary
// beams begun, as the file has notes stating them (a tie by <tie>, <tied> or both).
struct Tally {
    int tieStarts = 0;
    int tieStops = 0;
    int slurStarts = 0;
    int slurStops = 0;
    int beamsBegun = 0;

    bool operator==(const Tally&) const = default;
};

void PrintTo(const Tally& t, std::ostream* out) {
    *out << "ties " << t.tieStarts << "/" << t.tieStops << " slurs " << t.slurStarts << "/"
         << t.slurStops << " beams " << t.beamsBegun;
}

Tally FileTally(const std::filesystem::path& path) {
    pugi::xml_document xml;
    EXPECT_TRUE(xml.load_file(path.c_str()));
    Tally tally;
    for (const pugi::xpath_node found : xml.select_nodes("//note")) {
        const pugi::xml_node note = found.node();
        const pugi::xml_node notations = note.child("notations");
        const auto tied = [&](const char* type) {
            return note.find_child_by_attribute("tie", "type", type) ||
                   notations.find_child_by_attribute("tied", "type", type);
        };
        tally.tieStarts += tied("start") ? 1 : 0;
        tally.tieStops += tied("stop") ? 1 : 0;
        for (const pugi::xml_node slur : note.child("notations").children("slur")) {
            const std::string type = slur.attribute("type").value();
            tally.slurStarts += type == "start" ? 1 : 0;
            tally.slurStops += type == "stop" ? 1 : 0;
        }
        for (const pugi::xml_node beam : note.children("beam")) {
            if (beam.attribute("number").as_int(1) == 1 &&
                std::string(beam.text().get()) == "begin") {
                ++tally.beamsBegun;
            }
        }
    }
    return tally;
}

Tally DocumentTally(const simhost::Document& document) {
    Tally tally;
    for (const simhost::Measure& measure : document.GetScore().Measures()) {
        for (const auto& staff : measure.staves) {
            for (const simhost::Voice& voice : staff) {
                for (const simhost::Event& event : voice.events) {
                    for (const simhost::TieMark& tie : event.marks.ties) {
                        tally.tieStarts += tie.start ? 1 : 0;
                        tally.tieStops += tie.stop ? 1 : 0;
                    }
                    for (const simhost::SlurMark& slur : event.marks.slurs) {
                        tally.slurStarts += slur.start ? 1 : 0;
                        tally.slurStops += slur.start ? 0 : 1;
                    }
                    if (!event.marks.beams.empty() &&
                        event.marks.beams.front() == simhost::BeamMark::Begin) {
                        ++tally.beamsBegun;
                    }
                }
            }
        }
    }
    return tally;
}

TEST(NoteMarks, TheTestScoresKeepEveryMarkTheyWrite) {
    const auto root = std::filesystem::path(__FILE__).parent_path();
    std::vector<std::filesystem::path> scores = {root /
                                                 "../../samples/scores/piano_prelude.musicxml"};
    for (const auto& entry : std::filesystem::directory_iterator(root / "scores")) {
        scores.push_back(entry.path());
    }
    Tally all;
    for (const auto& path : scores) {
        const auto parsed = simhost::ImportMusicXmlFile(path.string());
        ASSERT_TRUE(parsed.document) << parsed.error.Describe();
        const Tally expected = FileTally(path);
        EXPECT_EQ(DocumentTally(*parsed.document), expected) << path;
        all.tieStarts += expected.tieStarts;
        all.slurStarts += expected.slurStarts;
        all.beamsBegun += expected.beamsBegun;
    }
    // The scores do hold the marks this counts.
    EXPECT_GE(all.tieStarts, 20);
    EXPECT_GE(all.slurStarts, 20);
    EXPECT_GE(all.beamsBegun, 100);
}

}  // namespace
