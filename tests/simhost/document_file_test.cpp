// The document file: what is written reads back to the same document, a malformed file is
// refused with its line and reason, and a document left by a run survives a save and a load.
#include "simhost/document/document_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "simhost/document/document_builder.h"
#include "simhost/document/score_notation.h"
#include "simhost/services/document_backend.h"
#include "tests/support/row_name.h"

namespace {

using simhost::Document;
using simhost::DocumentBuilder;

constexpr std::uint32_t kTagAllotment = MakeTag("otDA");

Document RichDocument() {
    return DocumentBuilder()
        .withStaff(41, {"q:C4+E4+G4 r8 (3:2 8:F#5 (3:2 16 16 16) 8) | w", "h. rq | rw"}, "G2-8")
        .withStaff(57, {"(5:4 16 16 16 16 16) q g/8:D3 cq:E3 | sh g16:A3 g16:B3 h:C4 | Rw"}, "C4")
        .withStaff(57, {"w:C3"}, "F4")
        .withBrace(2, 3)
        .withClefChange(2, 2, simhost::Rational(1024, 3), "F4")
        .withClefChange(2, 3, 4096, "C3")
        .withMeasures(3)
        .withAllotments({{0, 72}, {341, 42}, {8192, 253}})
        .withRecord(0x01020304, -2, 7, {0xFF, 0x00, 0x7F}, {1, 2, 3, 4})
        .withRecord(MakeTag("zz#z"), 1, 0, {})
        .withSelection(2, 3)
        .withDocumentNumber(5)
        .Build();
}

TEST(DocumentFile, WhatIsWrittenReadsBackToTheSameDocument) {
    const Document document = RichDocument();
    const std::string text = simhost::FormatDocumentText(document);
    // Without marks, the file is the one builds before marks wrote.
    EXPECT_TRUE(text.starts_with("notavo-sim document 1\n"));
    const auto parsed = simhost::ParseDocumentText(text, "rich.ntv");
    ASSERT_TRUE(parsed.document) << parsed.error.Describe();
    EXPECT_TRUE(parsed.document->SameContentAs(document));
    EXPECT_EQ(simhost::FormatDocumentText(*parsed.document), text);
    EXPECT_NE(text.find("staff 2 2 57 C4\nstaff 3 3 57 F4\nbrace 2 3\n"), std::string::npos);
    EXPECT_NE(text.find("clef 2 1024/3 F4\nclef 3 4096 C3\n"), std::string::npos);
    // Tags that are not four printable characters are written in hex.
    EXPECT_NE(text.find("record 0x01020304 -2 7 01020304 ff007f"), std::string::npos);
    EXPECT_NE(text.find("record 0x7A7A237A 1 0 00000000 -"), std::string::npos);
}

TEST(DocumentFile, MarksAreWrittenAsVersionTwoAndReadBack) {
    const Document document =
        DocumentBuilder()
            .withStaff(1, {"8:G4[up,beam=b,slur+1^] 8:A4[up,beam=e] h:~C4~+E4 | "
                           "(3:2[bracket,num=none] 8:~C4 8 8[slur-1]) rh."})
            .withMeasures(2)
            .Build();
    const std::string text = simhost::FormatDocumentText(document);
    EXPECT_TRUE(text.starts_with("notavo-sim document 2\n"));
    EXPECT_NE(text.find("voice 1 1 8:G4[up,beam=b,slur+1^] 8:A4[up,beam=e] h:~C4~+E4\n"),
              std::string::npos);
    const auto parsed = simhost::ParseDocumentText(text, "marks.ntv");
    ASSERT_TRUE(parsed.document) << parsed.error.Describe();
    EXPECT_TRUE(parsed.document->SameContentAs(document));
    EXPECT_EQ(simhost::FormatDocumentText(*parsed.document), text);
}

// A file written before marks existed: it loads, it holds none, and it is written back as it
// was, byte for byte. Saved by notavo-sim from the piano sample before the format had marks.
TEST(DocumentFile, ADocumentSavedBeforeMarksLoadsAndIsWrittenBackUnchanged) {
    const auto path =
        std::filesystem::path(__FILE__).parent_path() / "documents" / "piano_prelude_v1.ntv";
    const auto parsed = simhost::ReadDocumentFile(path.string());
    ASSERT_TRUE(parsed.document) << parsed.error.Describe();
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(simhost::FormatDocumentText(*parsed.document), text);
    const simhost::Score& score = parsed.document->GetScore();
    ASSERT_FALSE(score.Measures().empty());
    for (const simhost::Measure& measure : score.Measures()) {
        for (const auto& staff : measure.staves) {
            for (const simhost::Voice& voice : staff) {
                for (const simhost::Event& event : voice.events) {
                    EXPECT_TRUE(event.marks.Empty());
                }
            }
        }
    }
}

struct MalformedCase {
    const char* name;
    const char* body;  // after the header line
    std::size_t line;
    const char* message;
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class MalformedFile : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFile, IsRefusedWithItsLineAndWhatIsWrong) {
    const std::string text = std::string("notavo-sim document 1\n") + GetParam().body;
    const auto parsed = simhost::ParseDocumentText(text, "bad.ntv");
    ASSERT_FALSE(parsed.document);
    EXPECT_EQ(parsed.error.file, "bad.ntv");
    EXPECT_EQ(parsed.error.line, GetParam().line);
    EXPECT_NE(parsed.error.message.find(GetParam().message), std::string::npos)
        << parsed.error.Describe();
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, MalformedFile,
    ::testing::Values(
        MalformedCase{"UnknownItem", "number 1\nstave 1 1 1\n", 3, "unknown item \"stave\""},
        MalformedCase{"MissingValue", "staff 1 1\n", 2, "takes 3 values"},
        MalformedCase{"NumberOutOfRange", "# note\n\nrecord otDA 40000 0 00000000 -\n", 4,
                      "from -32768 to 32767"},
        MalformedCase{"OddHex", "record otDA 1 0 00000000 abc\n", 2, "odd number"},
        MalformedCase{"NotHex", "record otDA 1 0 0000zz00 -\n", 2, "\"zz\", which is not hex"},
        MalformedCase{"BadTag", "record otD 1 0 00000000 -\n", 2, "a tag is four"},
        MalformedCase{"DuplicateRecord",
                      "record otDA 1 0 00000000 -\nrecord otDA 1 0 00000000 00\n", 3, "second"},
        MalformedCase{"MeasureOutOfOrder", "staff 1 1 1\nmeasure 2\n", 3, "measure 1 comes next"},
        MalformedCase{"VoiceOfNoStaff", "staff 1 1 1\nmeasure 1\nvoice 2 1 q\n", 4,
                      "no staff in slot 2"},
        MalformedCase{"BadNotes", "staff 1 1 1\nmeasure 1\nvoice 1 1 q q x\n", 4, "column 15"},
        MalformedCase{"StaffAfterMeasure", "staff 1 1 1\nmeasure 1\nstaff 2 2 2\n", 4,
                      "after the first measure"},
        MalformedCase{"UnknownClef", "staff 1 1 1 X2\n", 2, "a clef is written like G2"},
        MalformedCase{"BraceOfOneStaff", "staff 1 1 1\nbrace 1 1\n", 3, "at least two staves"},
        MalformedCase{"BraceOverAMissingStaff", "staff 1 1 1\nstaff 2 2 2\nbrace 1 3\n", 4,
                      "no staff in slot 3"},
        MalformedCase{"BracesThatOverlap",
                      "staff 1 1 1\nstaff 2 2 2\nstaff 3 3 3\nbrace 1 2\nbrace 2 3\n", 6,
                      "has a brace already"},
        MalformedCase{"ClefChangeBeforeAnyMeasure", "staff 1 1 1\nclef 1 0 F4\n", 3,
                      "before the first measure"},
        MalformedCase{"MarksInAVersionOneFile", "staff 1 1 1\nmeasure 1\nvoice 1 1 q q[up] h\n", 4,
                      "need \"notavo-sim document 2\""},
        MalformedCase{"ClefChangeAtNoTime", "staff 1 1 1\nmeasure 1\nclef 1 half F4\n", 4,
                      "a time in 1024ths"}),
    quortest::RowName{});

// Files written before staves had clefs and braces: every staff is a treble staff and none is
// joined to another. The samples were written so.
TEST(DocumentFile, AFileOfTheOlderFormatLoadsWithTrebleStavesAndNoBraces) {
    const auto parsed = simhost::ParseDocumentText(
        "notavo-sim document 1\nnumber 1\nstaff 1 1 1\nstaff 2 2 2\n"
        "selection 1 1 1 0 2 2 1 4096\nmeasure 1\nvoice 1 1 q:D5 q:B4 h:C5\n"
        "voice 2 1 w:G2+G3\nrecord SOMS 1 0 00000000 2c011800040000040100\n",
        "old.ntv");
    ASSERT_TRUE(parsed.document) << parsed.error.Describe();
    const simhost::Score& score = parsed.document->GetScore();
    ASSERT_EQ(score.Staves().size(), 2u);
    EXPECT_EQ(score.Staves()[0], (simhost::Staff{1, 1, 1, simhost::kTrebleClef}));
    EXPECT_EQ(score.Staves()[1], (simhost::Staff{2, 2, 2, simhost::kTrebleClef}));
    EXPECT_TRUE(score.Groups().empty());
    EXPECT_TRUE(score.Measures()[0].clefChanges.empty());
    EXPECT_EQ(simhost::FormatVoice(score.Measures()[0].staves[1][0]), "w:G2+G3");
}

TEST(DocumentFile, AFileWithoutTheHeaderIsNotADocument) {
    for (const char* text : {"", "number 1\n"}) {
        const auto parsed = simhost::ParseDocumentText(text, "x.ntv");
        ASSERT_FALSE(parsed.document);
        EXPECT_EQ(parsed.error.line, 1u);
    }
    EXPECT_EQ(simhost::ReadDocumentFile("/nonexistent/dir/x.ntv").error.Describe(),
              "/nonexistent/dir/x.ntv: cannot be read");
}

class DocumentFileOnDisk : public ::testing::Test {
protected:
    ~DocumentFileOnDisk() override { std::filesystem::remove(path); }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("simhost_document_" + std::to_string(::getpid()) + ".ntv"))
                                 .string();
};

TEST_F(DocumentFileOnDisk, ASetAsDefaultSurvivesASaveAndALoad) {
    simhost::DocumentBackend session(DocumentBuilder().withMeasures(2).Build());
    session.StartEdit(u"Tight Allotment (Default)");
    for (const auto& [duration, width] : {std::pair{0, 72}, {1024, 72}, {2048, 95}}) {
        NXRecordKey key{static_cast<std::int16_t>(duration), 0, {}};
        std::uint8_t bytes[12] = {static_cast<std::uint8_t>(width)};
        session.SaveEData(kTagAllotment, &key, bytes, 12, 0x12050000);
    }
    session.EndEdit();
    ASSERT_FALSE(session.SaveDocumentFile(path));

    simhost::DocumentBackend next;
    ASSERT_FALSE(next.LoadDocumentFile(path));
    EXPECT_TRUE(next.GetDocument().SameContentAs(session.GetDocument()));
    EXPECT_EQ(next.GetDocument().Records().IdsOfTag(kTagAllotment).size(), 3u);
}

TEST_F(DocumentFileOnDisk, LoadingAMalformedFileLeavesTheDocumentAsItWas) {
    simhost::DocumentBackend session(RichDocument());
    ASSERT_FALSE(session.SaveDocumentFile(path));
    {
        std::FILE* file = std::fopen(path.c_str(), "a");
        std::fputs("record otDA 1 0 00000000 0g\n", file);
        std::fclose(file);
    }
    simhost::DocumentBackend other(DocumentBuilder().withMeasures(1).Build());
    const Document before = other.GetDocument();
    const auto error = other.LoadDocumentFile(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->file, path);
    EXPECT_GT(error->line, 1u);
    EXPECT_TRUE(other.GetDocument().SameContentAs(before));
}

}  // namespace
